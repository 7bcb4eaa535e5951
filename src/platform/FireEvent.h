#pragma once

#include <QObject>
#include <QPointer>

#include <utility>

namespace platform {

// Runs an event handler of the window on a copy of it, so that the handler
// may replace itself or close the window. False when the control is gone
// afterwards.
template <class Handler, class... Args>
bool fire(QObject* control, const Handler& handler, Args&&... args)
{
    if (!handler)
        return true;
    QPointer<QObject> alive(control);
    auto copy = handler;
    copy(std::forward<Args>(args)...);
    return !alive.isNull();
}

} // namespace platform
