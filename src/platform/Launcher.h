#pragma once

#include "platform/Service.h"

#include <QString>
#include <QStringList>
#include <QUrl>

#include <chrono>
#include <memory>

class QProcess;

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
    // For a file it waits for the desktop's answer, the windows working
    // meanwhile: false when no application could open it.
    virtual bool openUrl(const QUrl& url) = 0;
};

ServiceSlot<Launcher>& launcherSlot();
inline Launcher& launcher() { return launcherSlot().get(); }

// The desktop's launcher. A file goes to the desktop's opener (xdg-open),
// whose exit status tells whether an application took it; some openers run
// the application to its end, so one still running after `handOver` has
// handed the file over and is left to run.
std::unique_ptr<Launcher> makeDesktopLauncher(std::chrono::milliseconds handOver = std::chrono::seconds(10));

// Waits for a started program to end, the windows working meanwhile: false
// when it still runs after `limit`.
bool awaitProcess(QProcess& process, std::chrono::milliseconds limit);

} // namespace platform
