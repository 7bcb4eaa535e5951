#include "platform/Controls.h"

#include "platform/LengthLimit.h"

#include <QEvent>
#include <QLineEdit>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace platform {

void setBoldFont(QWidget* control, int points)
{
    QFont font = control->font();
    if (points > 0)
        font.setPointSize(points);
    font.setBold(true);
    control->setFont(font);
}

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

void Shape::follow(QWidget* panel)
{
    panel_ = panel;
    setVisible(isShown(panel));
    panel->installEventFilter(this);
}

bool Shape::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == panel_) {
        switch (event->type()) {
        case QEvent::ShowToParent:
            show();
            stackUnder(panel_);
            break;
        case QEvent::HideToParent:
            hide();
            break;
        case QEvent::ZOrderChange:
            stackUnder(panel_);
            break;
        default:
            break;
        }
    }
    return QFrame::eventFilter(watched, event);
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

bool CheckBox::hitButton(const QPoint& pos) const
{
    return rect().contains(pos);
}

void CheckBox::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    // The caption as shown: "&&" stands for "&", a single "&" marks a mnemonic.
    QString caption;
    for (qsizetype i = 0; i < option.text.size(); ++i) {
        if (option.text.at(i) == QLatin1Char('&') && i + 1 < option.text.size())
            ++i;
        caption += option.text.at(i);
    }
    option.text.clear();
    const QRect indicator = style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, this);
    const int line = fontMetrics().height();
    QStyleOptionButton box = option;
    box.rect = QRect(0, std::max(0, (line - indicator.height()) / 2), indicator.width(), indicator.height());
    painter.drawPrimitive(QStyle::PE_IndicatorCheckBox, box);
    const int gap = style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, &option, this);
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(rect().adjusted(indicator.width() + gap, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                     caption);
}

void fitToField(QLineEdit* box, int width)
{
    box->setValidator(new LengthLimit(box, width, LengthLimit::Count::SingleBytes));
}

} // namespace platform
