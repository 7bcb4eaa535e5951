#pragma once

#include "platform/Service.h"

#include <QDateTime>

namespace platform {

// Time of day, today's date and timed waits. A wait keeps the windows working:
// their events are processed while it lasts. Tests put a virtual clock in place
// whose waits return at once and move its time forward.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    QDate today() const { return now().date(); }
    // Returns when `seconds` have passed on a monotonic clock (a wait across
    // midnight lasts its full length); zero or less returns at once.
    virtual void wait(double seconds) = 0;
};

ServiceSlot<Clock>& clockSlot();
inline Clock& clock() { return clockSlot().get(); }

} // namespace platform
