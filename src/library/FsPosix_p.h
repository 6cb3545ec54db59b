#pragma once

#include "library/FsPrivate_p.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

// What the POSIX files of the file-system door share.
namespace corvane::fs::detail {

// The one owner of an open descriptor: whatever it holds is closed when it goes.
struct Fd {
    int fd = -1;

    Fd() = default;
    explicit Fd(int f) : fd(f) {}
    ~Fd() { reset(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;

    // Lets go of the descriptor without closing it.
    int release() { return std::exchange(fd, -1); }
    void reset(int f = -1)
    {
        if (fd >= 0)
            ::close(fd);
        fd = f;
    }
    // Closing is a step of its own: on some file systems it reports a failed write.
    bool close()
    {
        const int f = release();
        if (!step()) {
            ::close(f);
            return false;
        }
        return ::close(f) == 0 || fail(errno);
    }
};

// Writing (FsPosixWrite.cpp).
bool writeAll(int fd, const char* data, qint64 size);
bool sync(int fd);
// The rest of in written to out, which then takes in's times (st); a failed
// read or write counts, the times do not.
bool copyContents(int in, int out, const struct stat& st);
// Makes a rename or a new name in a folder last through a power cut; a folder
// that cannot be opened or flushed does not undo what was done.
void syncDir(const Path& dir);
Path parentOf(const Path& path);
// A temporary in the folder of target, hidden so no list shows it.
int openTemp(const Path& target, Path& tempPath);
// Gives temp the name target only while that name is free.
bool placeUnderFreeName(const Path& temp, const Path& target);
// renameat2 with RENAME_NOREPLACE: Done, Failed (errno kept), or Unsupported
// where the system or the file system (FUSE answers EINVAL) has no such flag.
enum class NoReplace { Done, Failed, Unsupported };
NoReplace renameNoReplace(const Path& from, const Path& to);

// Moving (FsPosixMove.cpp): from to the free name to, errno set on a failure;
// a folder with all it holds.
bool moveEntry(const Path& from, const Path& to);

}  // namespace corvane::fs::detail
