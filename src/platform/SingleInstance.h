#pragma once

#include <QString>

namespace platform {

// Keeps a second copy of the program from running on the same host folder.
// The lock is a file in the folder that stands for drive C:; a copy that
// crashed leaves no stuck lock, since the lock names a process that is gone.
class SingleInstance {
public:
    // Takes the lock for the rest of the process. False when another running
    // copy holds it. Taking it again in the same process succeeds.
    static bool acquire();
    // Gives the lock back (for tests; the end of the process does it too).
    static void release();
    static QString lockPath();
};

} // namespace platform
