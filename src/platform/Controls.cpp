#include "platform/Controls.h"

#include <QPainter>
#include <QStyleOptionButton>

namespace platform {

Shape::Shape(QWidget* parent) : QFrame(parent)
{
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);
}

void Shape::setFillColor(const QColor& color)
{
    QPalette p = palette();
    p.setColor(QPalette::Window, color);
    setPalette(p);
}

Picture::Picture(QWidget* parent) : QLabel(parent)
{
    setProperty(kNoFontProperty, true);
    setScaledContents(true);
}

OptionButton::OptionButton(const QString& caption, QWidget* parent) : QRadioButton(caption, parent)
{
    // Exclusivity is kept by hand so that code can clear the set option.
    setAutoExclusive(false);
    connect(this, &QAbstractButton::toggled, this, [this](bool on) {
        if (!on)
            return;
        if (QWidget* group = parentWidget()) {
            for (auto* other : group->findChildren<OptionButton*>(QString(), Qt::FindDirectChildrenOnly)) {
                if (other != this)
                    other->setValue(false);
            }
        }
    });
    // A click of the user on a set option leaves it set.
    connect(this, &QAbstractButton::clicked, this, [this] {
        if (!isChecked())
            setChecked(true);
    });
}

void OptionButton::setValue(bool value)
{
    if (isChecked() == value)
        return;
    setChecked(value);
    if (value)
        emit clicked(true);
}

CheckBox::CheckBox(const QString& caption, QWidget* parent) : QCheckBox(caption, parent) {}

void CheckBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QRect indicator = style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, this);
    QStyleOptionButton box = option;
    box.rect = QRect(QPoint(indicator.left(), 0), indicator.size());
    style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &box, &painter, this);
    const int gap = style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, &option, this);
    const QRect area = rect().adjusted(indicator.right() + gap + 1, 0, 0, 0);
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text());
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = box.rect.adjusted(-1, -1, 1, 1);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

bool CheckBox::hitButton(const QPoint& pos) const
{
    return rect().contains(pos);
}

} // namespace platform
