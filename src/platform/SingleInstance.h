#pragma once

#include <QString>

namespace platform {

// Keeps a second copy of the program from running on the same host folder.
// The lock is a file in the folder that stands for drive C:; a copy that
// crashed leaves no stuck lock, since the lock names a process that is gone.
class SingleInstance {
public:
    enum class Result {
        Taken,             // this copy holds the lock
        Running,           // another running copy holds it
        FolderNotWritable, // the folder cannot be made or written
        DiskFull,          // the lock could not be written for want of room
    };

    // Takes the lock for the rest of the process. Taking it again in the
    // same process succeeds.
    static Result acquire();
    // Gives the lock back (for tests; the end of the process does it too).
    static void release();
    static QString lockPath();
};

} // namespace platform
