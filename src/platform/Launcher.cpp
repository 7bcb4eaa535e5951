#include "platform/Launcher.h"

#include <QDesktopServices>
#include <QProcess>

namespace platform {

namespace {

class DesktopLauncher final : public Launcher {
public:
    bool start(const QString& program, const QStringList& arguments) override
    {
        return QProcess::startDetached(program, arguments);
    }
    bool openUrl(const QUrl& url) override { return QDesktopServices::openUrl(url); }
};

} // namespace

ServiceSlot<Launcher>& launcherSlot()
{
    static ServiceSlot<Launcher> slot([]() -> std::unique_ptr<Launcher> { return std::make_unique<DesktopLauncher>(); });
    return slot;
}

} // namespace platform
