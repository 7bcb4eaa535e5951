#pragma once

#include "platform/Service.h"

#include <QString>
#include <QStringList>
#include <QUrl>

namespace platform {

// Starts programs, and opens web addresses and files outside the program.
class Launcher {
public:
    virtual ~Launcher() = default;
    // Starts `program` with a normal window and does not wait; false when it
    // could not be started.
    virtual bool start(const QString& program, const QStringList& arguments = {}) = 0;
    // Opens a web address in the desktop's browser, or a file (a file URL)
    // in the desktop's application for its kind, in a window of its own.
    virtual bool openUrl(const QUrl& url) = 0;
};

ServiceSlot<Launcher>& launcherSlot();
inline Launcher& launcher() { return launcherSlot().get(); }

} // namespace platform
