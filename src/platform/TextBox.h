#pragma once

#include "platform/FocusEvents.h"

#include <QLineEdit>

#include <functional>

namespace platform {

class LengthLimit;

// Background colours the windows give their boxes: the system's tool-tip
// background (&H80000018), which marks a locked box, and its window
// background (&H80000005).
QColor toolTipBackColor();
QColor windowBackColor();

// Plain text box with the events the windows handle: focus in, key press
// (character code, may be changed or dropped), key down (key code and shift
// state), click, double click, and the focus-leaving pair Validate and
// LostFocus (FocusEvents).
//
// MaxLength limits what the user types, pastes or composes to as many
// characters as the user sees, cut between characters, never inside one
// (LengthLimit); a longer text set by code is kept whole. A locked box shows
// its text and takes no typing.
class TextBox : public QLineEdit, public FocusEvents {
    Q_OBJECT
public:
    explicit TextBox(QWidget* parent = nullptr);

    // Hides QLineEdit's own: text set by code is never cut to MaxLength, and
    // the box shows it from its beginning.
    void setText(const QString& text);
    void setMaxLength(int length);
    int MaxLength() const { return maxLength_; }

    bool Locked() const { return isReadOnly(); }
    void setLocked(bool locked) { setReadOnly(locked); }
    QColor BackColor() const;
    void setBackColor(const QColor& color);

    std::function<void()> GotFocus;
    std::function<void(int& keyAscii)> KeyPress;
    std::function<void(int keyCode, int shift)> KeyDown;
    std::function<void()> Click;
    std::function<void()> DblClick;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    int maxLength_ = 0;            // 0: no limit
    LengthLimit* limit_ = nullptr; // its validator once it has had a limit
};

} // namespace platform
