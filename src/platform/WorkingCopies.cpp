#include "platform/WorkingCopies.h"

#include "platform/Files.h"
#include "platform/Office.h"
#include "platform/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <QTimer>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform {

namespace {

// A working folder's name; the leftovers of a killed run are known by it.
constexpr auto kFolderPattern = "tervalo-XXXXXX";

// Released working copies the word processor still shows.
QStringList& released()
{
    static QStringList paths;
    return paths;
}

// Looks every second for the word processor to let go of the copies while
// any is waiting, and a last time as the program ends.
QTimer& watcher()
{
    static QTimer* timer = nullptr;
    if (!timer) {
        timer = new QTimer(QCoreApplication::instance());
        timer->setInterval(1000);
        QObject::connect(timer, &QTimer::timeout, timer, &removeReleasedWorkingCopies);
        QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, timer,
                         &removeReleasedWorkingCopies);
    }
    return *timer;
}

// The lock of this user's share of the temporary folder: every running copy
// of the program holds it shared, a copy that starts takes it alone to remove
// what earlier runs left. Not inherited by the programs it starts.
int& shareLock()
{
    static int descriptor = -1;
    return descriptor;
}

void removeLeftovers(const QString& prefix, const QString& suffix)
{
    const QString pattern = QRegularExpression::escape(prefix) + QStringLiteral("[A-Za-z0-9]{6}")
                            + QRegularExpression::escape(suffix);
    const QRegularExpression copy(QStringLiteral("^") + pattern + QStringLiteral("(\\.[A-Za-z0-9]{6})?$"));
    const QRegularExpression officeLock(QStringLiteral("^\\.~lock\\.") + pattern + QStringLiteral("#$"));
    const QRegularExpression folder(QStringLiteral("^tervalo-[A-Za-z0-9]{6}$"));
    const QDir temporary(QDir::tempPath());
    const auto entries =
        temporary.entryInfoList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& entry : entries) {
        if (entry.isSymLink() || entry.ownerId() != ::getuid())
            continue;
        const QString name = entry.fileName();
        if (entry.isDir() && folder.match(name).hasMatch())
            QDir(entry.filePath()).removeRecursively();
        else if (entry.isFile() && (copy.match(name).hasMatch() || officeLock.match(name).hasMatch()))
            QFile::remove(entry.filePath());
    }
}

} // namespace

QString createWorkingCopy(const QString& prefix, const QString& suffix)
{
    QTemporaryFile file(QDir::tempPath() + QLatin1Char('/') + prefix + QStringLiteral("XXXXXX") + suffix);
    file.setAutoRemove(false);
    if (!file.open())
        throw FileError(QStringLiteral("No se puede crear un fichero temporal en %1.")
                            .arg(windowsPath(QDir::tempPath()))
                            .toStdString());
    return file.fileName();
}

void releaseWorkingCopy(const QString& hostPath)
{
    if (hostPath.isEmpty())
        return;
    if (!office().isShowing(hostPath)) {
        QFile::remove(hostPath);
        return;
    }
    if (!released().contains(hostPath))
        released().append(hostPath);
    watcher().start();
}

void removeReleasedWorkingCopies()
{
    released().removeIf([](const QString& path) {
        if (office().isShowing(path))
            return false;
        QFile::remove(path);
        return true;
    });
    if (released().isEmpty())
        watcher().stop();
}

WorkingFolder::WorkingFolder() : QTemporaryDir(QDir::tempPath() + QLatin1Char('/') + QLatin1String(kFolderPattern))
{
}

void removeLeftoverWorkingCopies(const QString& prefix, const QString& suffix)
{
    int& lock = shareLock();
    if (lock >= 0)
        ::close(lock); // taken by an earlier start in this process
    const QString path = QDir::tempPath() + QStringLiteral("/.tervalo-%1.lock").arg(::getuid());
    lock = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (lock < 0)
        return; // whose the files are cannot be told: they stay
    if (::flock(lock, LOCK_EX | LOCK_NB) == 0)
        removeLeftovers(prefix, suffix);
    ::flock(lock, LOCK_SH);
}

} // namespace platform
