#include "platform/Launcher.h"

#include <QDesktopServices>
#include <QEventLoop>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

namespace platform {

namespace {

class DesktopLauncher final : public Launcher {
public:
    explicit DesktopLauncher(std::chrono::milliseconds handOver) : handOver_(handOver) {}

    bool start(const QString& program, const QStringList& arguments) override
    {
        return QProcess::startDetached(program, arguments);
    }

    bool openUrl(const QUrl& url) override
    {
        if (!url.isLocalFile())
            return QDesktopServices::openUrl(url);
        const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
        if (opener.isEmpty())
            return false;

        auto process = std::make_unique<QProcess>();
        // Its application may write for as long as it runs: nothing is kept.
        process->setProcessChannelMode(QProcess::ForwardedChannels);
        process->setStandardInputFile(QProcess::nullDevice());
        process->start(opener, {url.toLocalFile()});
        if (!process->waitForStarted(10000))
            return false;

        if (!awaitProcess(*process, handOver_)) {
            // The application runs inside the opener: left to run, and never
            // stopped by this program; it goes when it ends.
            QProcess* running = process.release();
            QObject::connect(running, &QProcess::finished, running, &QObject::deleteLater);
            return true;
        }
        return process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0;
    }

private:
    std::chrono::milliseconds handOver_;
};

} // namespace

ServiceSlot<Launcher>& launcherSlot()
{
    static ServiceSlot<Launcher> slot([]() -> std::unique_ptr<Launcher> { return makeDesktopLauncher(); });
    return slot;
}

std::unique_ptr<Launcher> makeDesktopLauncher(std::chrono::milliseconds handOver)
{
    return std::make_unique<DesktopLauncher>(handOver);
}

bool awaitProcess(QProcess& process, std::chrono::milliseconds limit)
{
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(limit);
    if (process.state() != QProcess::NotRunning)
        loop.exec();
    return process.state() == QProcess::NotRunning;
}

} // namespace platform
