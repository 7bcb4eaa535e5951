#include "platform/Controls.h"

#include "platform/LengthLimit.h"

#include <QEvent>
#include <QLineEdit>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace platform {

namespace {

// A caption as it shows: "&&" stands for "&", a single "&" marks a shortcut.
QString shownCaption(const QString& caption)
{
    QString shown;
    shown.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == QLatin1Char('&') && i + 1 < caption.size())
            ++i;
        shown += caption.at(i);
    }
    return shown;
}

} // namespace

void setCaption(QAbstractButton* control, const QString& text)
{
    control->setText(QString(text).replace(QLatin1Char('&'), QLatin1String("&&")));
}

QString caption(const QAbstractButton* control)
{
    return shownCaption(control->text());
}

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
    const QString shown = shownCaption(option.text);
    option.text.clear();
    const QRect indicator = style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, this);
    const int line = fontMetrics().height();
    QStyleOptionButton box = option;
    box.rect = QRect(0, std::max(0, (line - indicator.height()) / 2), indicator.width(), indicator.height());
    painter.drawPrimitive(QStyle::PE_IndicatorCheckBox, box);
    const int gap = style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, &option, this);
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(rect().adjusted(indicator.width() + gap, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                     shown);
}

void makeCounter(QLineEdit* box)
{
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::ClickFocus);
}

void fitToField(QLineEdit* box, int width)
{
    box->setValidator(new LengthLimit(box, width, LengthLimit::Count::SingleBytes));
}

} // namespace platform
