#include "platform/MaskEdBox.h"

#include "platform/Characters.h"
#include "platform/Files.h"
#include "platform/FireEvent.h"
#include "platform/KeyCodes.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>

#include <algorithm>

namespace platform {

namespace {

const QString kPlaceKinds = QStringLiteral("#9C&?Aa");

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

QChar charOf(int keyAscii)
{
    if (keyAscii > 255)
        return QChar(keyAscii);
    const QString c = fromCp1252(QByteArray(1, static_cast<char>(keyAscii)));
    return c.isEmpty() ? QChar(keyAscii) : c.at(0);
}

// Key code of the key that gives a character, for keys typed by code.
int keyCodeOfChar(int keyAscii)
{
    if (keyAscii >= '0' && keyAscii <= '9')
        return keyAscii;
    if (keyAscii >= 'A' && keyAscii <= 'Z')
        return keyAscii;
    if (keyAscii >= 'a' && keyAscii <= 'z')
        return keyAscii - ('a' - 'A');
    switch (keyAscii) {
    case 8:
    case 9:
    case 13:
    case 27:
    case 32:
        return keyAscii;
    case '.':
        return 190;
    case ',':
        return 188;
    case '-':
        return 189;
    default:
        return 0;
    }
}

} // namespace

MaskEdBox::MaskEdBox(QWidget* parent) : QLineEdit(parent), FocusEvents(this)
{
    // Whatever the line edit changes by itself goes back through the mask.
    connect(this, &QLineEdit::textChanged, this, [this](const QString& shown) {
        if (!showing_)
            takeEdit(shown);
    });
}

void MaskEdBox::setMask(const QString& mask)
{
    mask_ = mask;
    places_.clear();
    kinds_.clear();
    for (qsizetype i = 0; i < mask.size(); ++i) {
        const QChar m = mask.at(i);
        if (m == QLatin1Char('\\') && i + 1 < mask.size()) {
            places_ += mask.at(++i);
            kinds_ += QChar(0);
        } else {
            places_ += m;
            kinds_ += kPlaceKinds.contains(m) ? m : QChar(0);
        }
    }
    text_ = emptyText();
    display(0);
}

void MaskEdBox::setPromptChar(QChar prompt)
{
    for (qsizetype i = 0; i < text_.size() && !unmasked(); ++i) {
        if (!isLiteral(i) && text_.at(i) == prompt_)
            text_[i] = prompt;
    }
    prompt_ = prompt;
    display(SelStart());
}

QString MaskEdBox::Text() const
{
    return text_;
}

void MaskEdBox::setText(const QString& text)
{
    const int position = SelStart();
    if (unmasked()) {
        text_ = text;
    } else {
        for (qsizetype i = 0; i < places_.size(); ++i) {
            if (isLiteral(i))
                continue;
            const QChar c = i < text.size() ? text.at(i) : prompt_;
            text_[i] = c == prompt_ || accepts(i, c) ? c : prompt_;
        }
    }
    // An emptied box (a value refused, a number to type again) is typed
    // from its first place; otherwise the cursor stays where it was.
    display(!unmasked() && text_ == emptyText() ? 0 : position);
}

QString MaskEdBox::emptyText() const
{
    QString empty = places_;
    for (qsizetype i = 0; i < empty.size(); ++i) {
        if (!isLiteral(i))
            empty[i] = prompt_;
    }
    return empty;
}

int MaskEdBox::SelStart() const
{
    return hasSelectedText() ? selectionStart() : cursorPosition();
}

void MaskEdBox::setSelStart(int position)
{
    setCursorPosition(std::clamp(position, 0, static_cast<int>(text_.size())));
}

void MaskEdBox::typeKey(int keyAscii)
{
    QPointer<MaskEdBox> self(this);
    int key = keyAscii;
    if (!raiseKeyPress(key))
        return;
    applyKey(key);
    if (self)
        fire(this, KeyUp, keyCodeOfChar(keyAscii), 0);
}

void MaskEdBox::keyPressEvent(QKeyEvent* event)
{
    int keyAscii = keyAsciiOf(*event);
    // Ctrl with a character is a shortcut (copy, paste) whatever text the
    // platform gives it; Ctrl with Alt is AltGr and types.
    const auto modifiers = event->modifiers();
    if (keyAscii >= 32 && modifiers.testFlag(Qt::ControlModifier) && !modifiers.testFlag(Qt::AltModifier))
        keyAscii = 0;
    if (keyAscii != 0 && keyAscii != 9) {
        const int pressed = keyAscii;
        event->accept();
        if (!raiseKeyPress(keyAscii))
            return;
        if (keyAscii == 8 || keyAscii >= 32)
            applyKey(keyAscii);
        else if (keyAscii != 0 && keyAscii == pressed)
            QLineEdit::keyPressEvent(event); // Enter and Escape go on to the window's buttons
        return;
    }
    if (event->key() == Qt::Key_Delete && !modifiers.testFlag(Qt::ShiftModifier)) {
        event->accept();
        erase(false);
        return;
    }
    // Moving, selecting, copying; a paste or a cut comes back through takeEdit.
    QLineEdit::keyPressEvent(event);
}

void MaskEdBox::keyReleaseEvent(QKeyEvent* event)
{
    if (!event->isAutoRepeat() && !fire(this, KeyUp, keyCodeOf(*event), shiftOf(*event)))
        return;
    QLineEdit::keyReleaseEvent(event);
}

void MaskEdBox::mousePressEvent(QMouseEvent* event)
{
    QLineEdit::mousePressEvent(event);
    if (unmasked() || event->button() != Qt::LeftButton || event->modifiers().testFlag(Qt::ShiftModifier)
        || hasSelectedText())
        return;
    const int end = typedEnd();
    if (cursorPosition() > end)
        setCursorPosition(end);
}

void MaskEdBox::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    focusLeaving(*event);
}

void MaskEdBox::applyKey(int keyAscii)
{
    if (isReadOnly())
        return;
    if (keyAscii == 8) {
        erase(true);
        return;
    }
    if (keyAscii < 32)
        return;
    const QChar c = charOf(keyAscii);
    if (unmasked()) {
        QLineEdit::insert(QString(c));
        return;
    }
    // The prompt character is no input: typing it changes nothing.
    if (c == prompt_)
        return;
    const int start = SelStart();
    // Typing the literal the cursor stands on steps over it.
    if (start < places_.size() && isLiteral(start) && places_.at(start) == c) {
        display(start + 1);
        return;
    }
    const int place = nextPlace(start);
    if (place < 0 || !accepts(place, c))
        return;
    if (hasSelectedText())
        clearPlaces(start, start + selectionLength());
    text_[place] = c;
    display(place + 1);
}

bool MaskEdBox::isLiteral(int place) const
{
    return kinds_.at(place).isNull();
}

bool MaskEdBox::accepts(int place, QChar c) const
{
    const bool blank = c == QLatin1Char(' ');
    switch (kinds_.at(place).unicode()) {
    case '#':
        return isDigit(c);
    case '9':
        return isDigit(c) || blank;
    case 'C':
    case '&':
        return true;
    case '?':
        return c.isLetter();
    case 'A':
        return c.isLetter() || isDigit(c);
    case 'a':
        return c.isLetter() || isDigit(c) || blank;
    default:
        return false;
    }
}

bool MaskEdBox::raiseKeyPress(int& keyAscii)
{
    return fire(this, KeyPress, keyAscii);
}

// Backspace (before) or Delete: the prompt goes back in the nearest place
// before or after the cursor, or in every selected place.
void MaskEdBox::erase(bool before)
{
    if (isReadOnly())
        return;
    if (unmasked()) {
        before ? QLineEdit::backspace() : QLineEdit::del();
        return;
    }
    if (hasSelectedText()) {
        const int start = selectionStart();
        clearPlaces(start, start + selectionLength());
        display(start);
        return;
    }
    const int cursor = cursorPosition();
    const int place = before ? previousPlace(cursor) : nextPlace(cursor);
    if (place < 0)
        return;
    text_[place] = prompt_;
    display(before ? place : cursor);
}

void MaskEdBox::clearPlaces(int from, int to)
{
    to = std::min(to, static_cast<int>(places_.size()));
    for (int i = std::max(from, 0); i < to; ++i) {
        if (!isLiteral(i))
            text_[i] = prompt_;
    }
}

int MaskEdBox::nextPlace(int position) const
{
    for (int i = std::max(position, 0); i < places_.size(); ++i) {
        if (!isLiteral(i))
            return i;
    }
    return -1;
}

int MaskEdBox::previousPlace(int position) const
{
    for (int i = std::min(position, static_cast<int>(places_.size())) - 1; i >= 0; --i) {
        if (!isLiteral(i))
            return i;
    }
    return -1;
}

int MaskEdBox::typedEnd() const
{
    for (int i = static_cast<int>(places_.size()) - 1; i >= 0; --i) {
        if (!isLiteral(i) && text_.at(i) != prompt_)
            return i + 1;
    }
    return 0;
}

void MaskEdBox::display(int position)
{
    const bool wasShowing = showing_;
    showing_ = true;
    if (QLineEdit::text() != text_)
        QLineEdit::setText(text_);
    setCursorPosition(std::clamp(position, 0, static_cast<int>(text_.size())));
    showing_ = wasShowing;
}

void MaskEdBox::takeEdit(const QString& shown)
{
    if (unmasked()) {
        text_ = shown;
        return;
    }
    // The changed stretch: what is left of the old text around it stays. The
    // line edit leaves its cursor after what it put in, so the stretch ends
    // there at the earliest.
    const QString old = text_;
    const int common = static_cast<int>(std::min(old.size(), shown.size()));
    int tail = 0;
    while (tail < common && old.at(old.size() - 1 - tail) == shown.at(shown.size() - 1 - tail))
        ++tail;
    tail = std::min(tail, std::max(0, static_cast<int>(shown.size()) - cursorPosition()));
    int head = 0;
    while (head < common - tail && old.at(head) == shown.at(head))
        ++head;
    clearPlaces(head, static_cast<int>(old.size()) - tail);
    display(placeText(shown.mid(head, shown.size() - tail - head), head));
}

// Puts a pasted or dropped text in the places from `position` on: a character
// equal to the literal at its place steps over it, a character a place does
// not take is left out. A place holds a character of one UTF-16 unit: a letter
// and its combining accent are composed first, and a character that still
// takes more (an emoji), or an accent alone, is left out whole. Returns the
// position after the last place used.
int MaskEdBox::placeText(const QString& typed, int position)
{
    const QString composed = typed.normalized(QString::NormalizationForm_C);
    int at = position;
    qsizetype start = 0;
    for (const qsizetype end : characterEnds(composed)) {
        const QStringView character = QStringView(composed).mid(start, end - start);
        start = end;
        const QChar c = character.front();
        if (character.size() != 1 || c.isMark() || c.isSurrogate())
            continue;
        if (at >= places_.size())
            break;
        if (isLiteral(at) && places_.at(at) == c) {
            ++at;
            continue;
        }
        const int place = nextPlace(at);
        if (place < 0)
            break;
        if (!accepts(place, c))
            continue;
        text_[place] = c;
        at = place + 1;
    }
    return at;
}

} // namespace platform
