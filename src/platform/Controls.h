#pragma once

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QRadioButton>

class QAbstractButton;
class QLineEdit;

namespace platform {

// Dynamic property of a control that has no font of its own (pictures).
inline constexpr auto kNoFontProperty = "sinFuente";

// Whether a control is set to be visible, whether or not its window is on
// the screen (QWidget::isVisible() is false for every control of a hidden
// window).
inline bool isShown(const QWidget* control)
{
    return !control->isHidden();
}

// Captions taken from stored or typed text. A button, an option button or a
// check box takes a single "&" in its caption for the marker of a keyboard
// shortcut and hides it; `setCaption` shows the text as typed, and `caption`
// gives it back so.
void setCaption(QAbstractButton* control, const QString& text);
QString caption(const QAbstractButton* control);

// Shows a control's text in bold, at `points` when given (its own size otherwise).
void setBoldFont(QWidget* control, int points = 0);

// A decorative shape: a filled rectangle behind a panel. It has no font.
class Shape : public QFrame {
    Q_OBJECT
public:
    explicit Shape(QWidget* parent = nullptr);
    void setFillColor(const QColor& color);
    // Keeps the shape behind `panel`, a control of the same container: shown,
    // hidden and raised with it, whatever code shows it.
    void follow(QWidget* panel);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* panel_ = nullptr;
};

// A picture: an image scaled to the control. It has no font.
class Picture : public QLabel {
    Q_OBJECT
public:
    explicit Picture(QWidget* parent = nullptr);
};

// An option button whose value can be set and cleared by code. It raises
// clicked() whenever its value becomes set, by the user or by code, and a
// button in a group can be left with none set.
class OptionButton : public QRadioButton {
    Q_OBJECT
public:
    explicit OptionButton(const QString& caption, QWidget* parent = nullptr);
    bool value() const { return isChecked(); }
    void setValue(bool value);
};

// A check box whose caption wraps over as many lines as the control is high,
// the box beside its first line. The whole control takes the click.
class CheckBox : public QCheckBox {
    Q_OBJECT
public:
    explicit CheckBox(const QString& caption = {}, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;
};

// Makes a text box a counter: it shows a number the window keeps, is never
// typed into, and Tab passes it by.
void makeCounter(QLineEdit* box);

// Makes a text box fit a fixed field of `width` characters of a record file:
// it takes no more than the field holds and refuses, as they are typed or
// pasted, characters the file cannot hold (outside Windows-1252).
void fitToField(QLineEdit* box, int width);

} // namespace platform
