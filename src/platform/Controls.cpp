#include "platform/Controls.h"

#include "platform/Files.h"

#include <QLineEdit>
#include <QValidator>

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

namespace {

class SingleByteValidator final : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override { return fitsCp1252(input) ? Acceptable : Invalid; }
};

} // namespace

void fitToField(QLineEdit* box, int width)
{
    box->setMaxLength(width);
    box->setValidator(new SingleByteValidator(box));
}

} // namespace platform
