#pragma once

#include "platform/Form.h"

#include <QObject>
#include <QPointer>

namespace platform {

// Runs an event handler of the window on a copy of it, so that the handler
// may replace itself or close the window, through runHandler. False when the
// control is gone afterwards.
template <class Handler, class... Args>
bool fire(QObject* control, const Handler& handler, Args&&... args)
{
    if (!handler)
        return true;
    QPointer<QObject> alive(control);
    auto copy = handler;
    runHandler([&] { copy(args...); });
    return !alive.isNull();
}

} // namespace platform
