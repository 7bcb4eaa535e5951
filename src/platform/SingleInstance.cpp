#include "platform/SingleInstance.h"

#include "platform/Paths.h"

#include <QLockFile>

#include <memory>

namespace platform {

namespace {
std::unique_ptr<QLockFile>& heldLock()
{
    static std::unique_ptr<QLockFile> lock;
    return lock;
}
} // namespace

QString SingleInstance::lockPath()
{
    return driveCFolder() + QStringLiteral("/tervalo.lock");
}

bool SingleInstance::acquire()
{
    auto& held = heldLock();
    if (held && held->isLocked())
        return true;
    makeDriveCFolder();
    auto lock = std::make_unique<QLockFile>(lockPath());
    // A lock is stale only when the process named in it is gone, never by age.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return false;
    held = std::move(lock);
    return true;
}

void SingleInstance::release()
{
    heldLock().reset();
}

} // namespace platform
