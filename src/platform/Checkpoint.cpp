#include "platform/Checkpoint.h"

namespace platform {

namespace {

std::function<void()>& hook()
{
    static std::function<void()> instance;
    return instance;
}

} // namespace

void checkpoint()
{
    if (hook())
        hook()();
}

void setCheckpointHook(std::function<void()> newHook)
{
    hook() = std::move(newHook);
}

} // namespace platform
