#pragma once

#include <functional>

class QFocusEvent;
class QWidget;

namespace platform {

// The focus-leaving events of an entry box, as the windows handle them:
// Validate, which may cancel and so keep the focus in the box, then
// LostFocus. A box derives from this beside its widget class and calls
// focusLeaving() from its focusOutEvent.
class FocusEvents {
public:
    std::function<void(bool& cancel)> Validate;
    std::function<void()> LostFocus;

    // Runs the validation handler and, unless it cancels, the focus-leaving
    // handler, as the focus leaving the box does. False when cancelled.
    bool leaveFocus();
    // For a handler of the leaving that answers it with a message or a
    // dialog: the click that moved the focus out of the box goes no further.
    // A cancelled validation holds the click by itself.
    void holdClick() { holdClick_ = true; }

protected:
    explicit FocusEvents(QWidget* box) : box_(box) {}
    ~FocusEvents() = default;
    FocusEvents(const FocusEvents&) = delete;
    FocusEvents& operator=(const FocusEvents&) = delete;

    // The focus has left the box: runs the leaving unless the focus only went
    // to a menu, a popup or another window, and takes the focus back when the
    // validation cancels.
    void focusLeaving(const QFocusEvent& event);

private:
    QWidget* box_;
    bool leaving_ = false; // Validate or LostFocus is running
    bool holdClick_ = false;
};

} // namespace platform
