#include "platform/TextBox.h"

#include "platform/Files.h"
#include "platform/FireEvent.h"
#include "platform/KeyCodes.h"
#include "platform/LengthLimit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>

namespace platform {

QColor toolTipBackColor()
{
    return QApplication::palette().color(QPalette::ToolTipBase);
}

QColor windowBackColor()
{
    return QApplication::palette().color(QPalette::Base);
}

TextBox::TextBox(QWidget* parent) : QLineEdit(parent), FocusEvents(this)
{
    // The line edit's own limit counts UTF-16 units and would cut a
    // character in two; the validator limits instead.
    QLineEdit::setMaxLength(32767);
}

void TextBox::setText(const QString& text)
{
    {
        const LengthLimit::Unchecked whole(limit_);
        QLineEdit::setText(text);
    }
    // The cursor goes to the start, so a text longer than the box shows its
    // beginning.
    setCursorPosition(0);
}

void TextBox::setMaxLength(int length)
{
    maxLength_ = std::max(length, 0);
    if (limit_) {
        limit_->setLimit(maxLength_);
    } else if (maxLength_ > 0) {
        limit_ = new LengthLimit(this, maxLength_, LengthLimit::Count::Characters);
        setValidator(limit_);
    }
}

QColor TextBox::BackColor() const
{
    return palette().color(QPalette::Base);
}

void TextBox::setBackColor(const QColor& color)
{
    QPalette p = palette();
    p.setColor(QPalette::Base, color);
    setPalette(p);
}

void TextBox::keyPressEvent(QKeyEvent* event)
{
    if (KeyDown && !fire(this, KeyDown, keyCodeOf(*event), shiftOf(*event)))
        return;
    int keyAscii = keyAsciiOf(*event);
    const auto modifiers = event->modifiers();
    const bool shortcut = modifiers.testFlag(Qt::ControlModifier) && !modifiers.testFlag(Qt::AltModifier);
    if (keyAscii != 0 && keyAscii != 9 && !shortcut && KeyPress) {
        const int pressed = keyAscii;
        if (!fire(this, KeyPress, keyAscii))
            return;
        if (keyAscii == 0) {
            event->accept();
            return;
        }
        if (keyAscii != pressed) {
            // The window changed the key: the changed character is typed.
            event->accept();
            if (keyAscii == 8)
                backspace();
            else if (keyAscii >= 32 && !isReadOnly())
                insert(fromCp1252(QByteArray(1, static_cast<char>(keyAscii))));
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void TextBox::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    fire(this, GotFocus);
}

void TextBox::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    focusLeaving(*event);
}

void TextBox::mouseReleaseEvent(QMouseEvent* event)
{
    QLineEdit::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        fire(this, Click);
}

void TextBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    QLineEdit::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        fire(this, DblClick);
}

} // namespace platform
