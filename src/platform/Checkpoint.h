#pragma once

#include <functional>

namespace platform {

// The points where work reaches the disk: just before and just after a
// transaction commits, and after a file is moved into place. A test stops
// the program at one of them, as a power cut would, to see that nothing is
// lost there; the program itself sets no hook and the points cost nothing.
void checkpoint();
// `hook` runs at every point from now on; an empty one removes it.
void setCheckpointHook(std::function<void()> hook);

} // namespace platform
