#pragma once

#include "platform/FocusEvents.h"

#include <QLineEdit>

#include <functional>

namespace platform {

// Masked edit box. Text() always holds the whole mask: the literal characters
// and, in each place not typed yet, the prompt character ("_"), so an
// untouched box reads as its empty mask ("__/__/____").
//
// Mask characters: '#' a digit, '9' a digit or blank, 'C' any character or
// blank, '&' any character, '?' a letter, 'A' a letter or digit, 'a' a letter,
// digit or blank; '\' makes the next character literal; every other character
// is literal.
//
// Typing overwrites the place at the cursor and moves past it; a character
// typed at a literal place goes to the next place after it, except the
// literal itself, which only steps over it; a character the place does not
// take is dropped, and so is the prompt character; keys past the end are
// dropped; Backspace puts the prompt back in the place before the cursor and
// moves left (it jumps over literals). The window sees each key before the box does and may
// change or cancel it. A click past the last place typed puts the cursor just
// after it, as a text box puts it at the end of its text: a date typed into a
// box clicked in its middle starts at its first place.
class MaskEdBox : public QLineEdit, public FocusEvents {
    Q_OBJECT
public:
    explicit MaskEdBox(QWidget* parent = nullptr);

    void setMask(const QString& mask);
    QString mask() const { return mask_; }
    void setPromptChar(QChar prompt);
    QChar promptChar() const { return prompt_; }

    // The whole masked text. Setting it takes the text place by place: a text
    // shorter than the mask leaves prompts in the remaining places. The
    // cursor stays where it was, except in a box left empty: there it goes
    // to the start.
    QString Text() const;
    void setText(const QString& text);
    // The empty mask: literals and prompts only.
    QString emptyText() const;

    // Cursor position: the number of characters before the cursor.
    int SelStart() const;
    void setSelStart(int position);

    // Types one key as the user would (key press, then key release), going
    // through the window's handlers. KeyAscii 8 is Backspace.
    void typeKey(int keyAscii);
    // Events of the window. KeyPress gets the character code (8 for
    // Backspace) and may change it or set it to 0 to drop the key. KeyUp gets
    // the key code (Windows virtual-key numbering) and the shift state
    // (1 Shift, 2 Ctrl, 4 Alt). Validate may set its argument to cancel the
    // leaving of the focus (FocusEvents).
    std::function<void(int& keyAscii)> KeyPress;
    std::function<void(int keyCode, int shift)> KeyUp;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void applyKey(int keyAscii);
    bool isLiteral(int place) const;
    bool accepts(int place, QChar c) const;

    bool unmasked() const { return places_.isEmpty(); }
    // The key press as the window sees it first; false when the box is gone.
    bool raiseKeyPress(int& keyAscii);
    void erase(bool before);
    void clearPlaces(int from, int to);
    int nextPlace(int position) const;
    int previousPlace(int position) const;
    // The position just after the last place typed; 0 in a box left empty.
    int typedEnd() const;
    // Puts text_ on show with the cursor at `position`.
    void display(int position);
    // Brings back to the mask a change made by the line edit itself (paste,
    // cut, drop, undo, a call of QLineEdit's own setText or insert).
    void takeEdit(const QString& shown);
    int placeText(const QString& typed, int position);

    QString mask_;         // the mask as set
    QString places_;       // per place: the literal, or the mask character
    QString kinds_;        // per place: the mask character, or 0 for a literal
    QString text_;
    QChar prompt_ = QLatin1Char('_');
    bool showing_ = false; // text_ is being put on show
};

} // namespace platform
