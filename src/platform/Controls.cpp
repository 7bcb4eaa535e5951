#include "platform/Controls.h"

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

} // namespace platform
