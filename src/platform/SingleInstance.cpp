#include "platform/SingleInstance.h"

#include "platform/Paths.h"

#include <QFile>
#include <QLockFile>

#include <cerrno>
#include <memory>

#include <fcntl.h>
#include <unistd.h>

namespace platform {

namespace {
std::unique_ptr<QLockFile>& heldLock()
{
    static std::unique_ptr<QLockFile> lock;
    return lock;
}

// Why no lock could be made in `folder`, told by writing a file of a lock's
// size there: a disk without room, or a folder that takes no file.
SingleInstance::Result whyNoLock(const QString& folder)
{
    const QByteArray probe = QFile::encodeName(folder + QStringLiteral("/tervalo.prueba.%1").arg(getpid()));
    const int file = ::open(probe.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    int error = file < 0 ? errno : 0;
    if (file >= 0) {
        const char content[256] = {};
        for (std::size_t written = 0; written < sizeof content && error == 0;) {
            const ssize_t step = ::write(file, content + written, sizeof content - written);
            if (step < 0)
                error = errno;
            else
                written += static_cast<std::size_t>(step);
        }
        ::close(file);
        ::unlink(probe.constData());
    }
    if (error == ENOSPC || error == EFBIG || error == EDQUOT)
        return SingleInstance::Result::DiskFull;
    return SingleInstance::Result::FolderNotWritable;
}
} // namespace

QString SingleInstance::lockPath()
{
    return driveCFolder() + QStringLiteral("/tervalo.lock");
}

SingleInstance::Result SingleInstance::acquire()
{
    auto& held = heldLock();
    if (held && held->isLocked())
        return Result::Taken;
    if (!makeDriveCFolder())
        return Result::FolderNotWritable;
    auto lock = std::make_unique<QLockFile>(lockPath());
    // A lock is stale only when the process named in it is gone, never by age.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) {
        // Only a lock that is there is another copy's; any other failure
        // is the folder's or the disk's.
        return lock->error() == QLockFile::LockFailedError ? Result::Running : whyNoLock(driveCFolder());
    }
    held = std::move(lock);
    return Result::Taken;
}

void SingleInstance::release()
{
    heldLock().reset();
}

} // namespace platform
