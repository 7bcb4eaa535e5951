#pragma once

#include "platform/ElasticSurface.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <initializer_list>
#include <vector>

class QAbstractButton;
class QPushButton;

namespace platform {

// Base of every window. A window is created by the registry (Forms), builds
// its controls in its constructor at their designed places in twips, and
// offers the handlers the runtime runs: load, activation, resize and unload.
// Its controls are named (objectName) as the window's code names them.
class Form : public QWidget, public ElasticSurface {
    Q_OBJECT

public:
    explicit Form(const QString& name);
    ~Form() override;

    virtual void Form_Load() {}
    virtual void Form_Activate() {}
    virtual void Form_Resize() {}
    virtual void Form_Unload() {}

    // Mouse pointer: 0 default, 11 hourglass, 14 arrow with question mark.
    int MousePointer() const { return mousePointer_; }
    void setMousePointer(int pointer);

    // The controls in the window's order, as the proportional layout sees them.
    const std::vector<QWidget*>& controls() const { return controls_; }

    // Puts the window, frame included, in the middle of `owner` (of the
    // screen when null), wholly on the screen.
    void centreOn(const QWidget* owner);

    // The button that Escape presses in this window, as a dialog's Cancel
    // button; only while it can be used.
    void setCancelButton(QAbstractButton* button);

    // ElasticSurface. A window's size is its outer size: caption and borders
    // included, as the desktop draws them.
    double heightTwips() const override;
    double widthTwips() const override;
    void setHeightTwips(double twips) override;
    void setWidthTwips(double twips) override;
    double frameHeightTwips() const override;
    double frameWidthTwips() const override;
    bool isMaximised() const override;
    int controlCount() const override;
    Control control(int index) const override;
    void placeControl(int index, int top, int left, int height, int width) override;
    void setControlFontSize(int index, int points) override;
    void scaleControlColumns(int index, double ratio) override;
    void raiseResize() override;

protected:
    // Designed size of the window in twips.
    void designSize(int widthTwips, int heightTwips);
    // Puts `widget` in `container` (the window when null) at its designed
    // place in twips, names it and adds it to the window's controls.
    template <class W>
    W* place(W* widget, const char* name, int left, int top, int width, int height, QWidget* container = nullptr)
    {
        placeWidget(widget, name, left, top, width, height, container);
        return widget;
    }
    // Connects a button's click to a handler.
    void onClick(QAbstractButton* button, std::function<void()> handler);

    // A button of a row: the member that takes it, its name, caption and tool tip.
    struct RowButton {
        QPushButton** button;
        const char* name;
        const char* caption;
        const char* toolTip;
    };
    // Places buttons of one size side by side, the first at (left, top) in
    // twips, each next one `step` twips to the right of the one before.
    void placeButtonRow(std::initializer_list<RowButton> buttons, int left, int top, int width, int height, int step);

    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void placeWidget(QWidget* widget, const char* name, int left, int top, int width, int height,
                     QWidget* container);
    // What the frame adds round the inner area. Before the window is first on
    // the screen it is taken to be the frame of the last window that was.
    QSize frameExtra() const;
    // Sets the inner size that gives the outer size asked for by code.
    void applyOuterSize();
    // Once the desktop has framed the window, sizes set by code are made good
    // for the frame it really has.
    void settleFrame();

    std::vector<QWidget*> controls_;
    int mousePointer_ = 0;
    bool sizingByCode_ = false;
    // Outer size in pixels last set by code (-1: none), and the frame it was set for.
    QSize outerSize_{-1, -1};
    QSize frameAssumed_{0, 0};
    int blocks_ = 0; // BlockedWindow guards in place: the close box does nothing
    QPointer<QAbstractButton> cancelButton_;

    friend class BlockedWindow;
};

// Keeps a window from being used while a run of its handlers waits for the
// user or the printer: every control but the kept ones (and the containers
// that hold them) is disabled and the close box does nothing, so no second
// run can start inside the first. All comes back as it was when the guard
// goes out of scope, the focus on the control that had it (the button that
// started the run), shown. Guards may nest.
class BlockedWindow {
public:
    explicit BlockedWindow(Form& form, std::initializer_list<QWidget*> keep = {});
    ~BlockedWindow();
    BlockedWindow(const BlockedWindow&) = delete;
    BlockedWindow& operator=(const BlockedWindow&) = delete;

private:
    QPointer<Form> form_;
    std::vector<QPointer<QWidget>> disabled_;
    std::vector<QPointer<QWidget>> enabled_;
    // The control that had the focus: disabled, it lost it; it gets it back.
    QPointer<QWidget> focus_;
};

// Gives a control the keyboard focus, shown as after a Tab: its window draws
// which control has it (an option button's frame too) once it is active.
void giveFocus(QWidget* control);

// Runs a handler of a window. A database or file error it lets through is
// reported to the user in a critical message, and so is running out of
// memory ("No hay memoria suficiente para completar la operación."); the
// window stays usable: it never ends the program.
void runHandler(const std::function<void()>& handler);

// While it lives, a window of the program is kept above the windows of other
// programs: raised at once and again while it is on the screen. A document
// shown in the word processor opens its window a moment later, over whatever
// is there, and a desktop without a window manager never brings a covered
// window back up.
class KeepAbove {
public:
    explicit KeepAbove(QWidget& window);
    KeepAbove(const KeepAbove&) = delete;
    KeepAbove& operator=(const KeepAbove&) = delete;

private:
    QTimer timer_;
};

// Sets the hourglass pointer on a window and puts the default one back when
// it goes out of scope.
class Hourglass {
public:
    explicit Hourglass(Form& form) : form_(form) { form_.setMousePointer(11); }
    ~Hourglass() { form_.setMousePointer(0); }
    Hourglass(const Hourglass&) = delete;
    Hourglass& operator=(const Hourglass&) = delete;

private:
    Form& form_;
};

} // namespace platform
