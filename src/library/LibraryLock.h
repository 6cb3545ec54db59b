#pragma once

#include "library/Fs.h"

#include <QString>

namespace corvane {

// Claims a library folder for this process, so that a second running copy of the
// program cannot work on the same folder. The operating system lets go when the
// process ends, however it ends: a copy that crashed or was killed never blocks
// the next start, and no file is written into the library.
class LibraryLock {
public:
    enum Result {
        Taken,          // ours until unlock() or the end of the process
        HeldElsewhere,  // another running process holds the folder
        Unavailable     // the folder cannot be opened, or no lock can be had on it
    };

    explicit LibraryLock(const QString& libraryDir);
    ~LibraryLock();
    LibraryLock(const LibraryLock&) = delete;
    LibraryLock& operator=(const LibraryLock&) = delete;

    Result tryLock();
    bool isLocked() const { return lock_.held(); }
    void unlock();

    // Test seam: the lock fails as on a file system that keeps no locks.
    static void testingWithoutFlock(bool without);

private:
    QString dir_;
    fs::Lock lock_;
};

}  // namespace corvane
