#include "platform/FocusEvents.h"

#include "platform/FireEvent.h"

#include <QApplication>
#include <QFocusEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>

namespace platform {

namespace {

// Set while a box takes the focus back after a cancelled validation: the
// control the focus was going to loses it again and must not validate.
bool retakingFocus = false;

// After a leaving answered by the box (a cancelled validation, a message),
// the click that moved the focus goes no further: the pressed button must not
// act as if the focus had left. Only that click is held: its press, still on
// its way to the control, and its release. A press that reaches a window of
// the program afterwards is a click of its own: the held one's release went
// where the program never saw it (to a window that a dialog opened
// meanwhile blocks), and the hold ends there.
class ClickSwallower : public QObject {
public:
    explicit ClickSwallower(QObject* parent) : QObject(parent)
    {
        qApp->installEventFilter(this);
        // The button may be up already (a message box of the validation took
        // the release): then only the press on its way is held back.
        if (QGuiApplication::mouseButtons() == Qt::NoButton)
            deleteLater();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            // The held press has passed its window before the focus moved.
            if (watched->isWindowType()) {
                release();
                return false;
            }
            return watched->isWidgetType();
        case QEvent::MouseButtonDblClick:
            return watched->isWidgetType();
        case QEvent::MouseButtonRelease:
            if (!watched->isWidgetType())
                return false;
            if (static_cast<QMouseEvent*>(event)->buttons() == Qt::NoButton)
                release();
            return true;
        default:
            return false;
        }
    }

private:
    void release()
    {
        qApp->removeEventFilter(this);
        deleteLater();
    }
};

} // namespace

bool FocusEvents::leaveFocus()
{
    // A handler that moves the focus or hides the box makes the focus leave
    // again: the leaving under way decides.
    if (leaving_)
        return true;
    QPointer<QWidget> self(box_);
    leaving_ = true;
    bool cancel = false;
    fire(box_, Validate, cancel);
    if (self && !cancel)
        fire(box_, LostFocus);
    if (self)
        leaving_ = false;
    return !cancel;
}

void FocusEvents::focusLeaving(const QFocusEvent& event)
{
    // A menu or a popup opening, or another window becoming active, is no
    // leaving of the box.
    const Qt::FocusReason reason = event.reason();
    if (reason == Qt::PopupFocusReason || reason == Qt::MenuBarFocusReason || reason == Qt::ActiveWindowFocusReason)
        return;
    if (leaving_ || retakingFocus)
        return;
    QPointer<QWidget> self(box_);
    holdClick_ = false;
    const bool left = leaveFocus();
    if (!self)
        return;
    const bool hold = holdClick_;
    holdClick_ = false;
    if (left) {
        if (hold && reason == Qt::MouseFocusReason)
            new ClickSwallower(box_);
        return;
    }
    if (!box_->isVisible() || !box_->isEnabled())
        return;
    if (reason == Qt::MouseFocusReason)
        new ClickSwallower(box_);
    retakingFocus = true;
    box_->setFocus(Qt::OtherFocusReason);
    retakingFocus = false;
}

} // namespace platform
