#include "platform/Clock.h"

#include <QEventLoop>
#include <QTimer>

namespace platform {

namespace {

class SystemClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }

    void wait(double seconds) override
    {
        if (seconds <= 0)
            return;
        // A nested event loop ended by a single-shot timer: window events keep
        // running and the processor is not kept busy.
        QEventLoop loop;
        QTimer::singleShot(static_cast<int>(seconds * 1000.0), Qt::PreciseTimer, &loop, &QEventLoop::quit);
        loop.exec();
    }
};

} // namespace

ServiceSlot<Clock>& clockSlot()
{
    static ServiceSlot<Clock> slot([]() -> std::unique_ptr<Clock> { return std::make_unique<SystemClock>(); });
    return slot;
}

} // namespace platform
