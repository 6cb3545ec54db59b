#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>
#include <vector>

// The program's door to the file system: the calls of the operating system
// itself are made here (Fs*.cpp, one set of files per platform chosen by the
// build) and nowhere else; the floors above use this or Qt. Names are kept as
// the bytes found on disk, so a name another program wrote in Windows-1252 (or
// any bytes) is listed, opened, renamed and deleted as exactly that entry. On
// Windows a path is the UTF-8 of its UTF-16 name.
namespace corvane::fs {

// A path in the file system's own bytes.
using Path = QByteArray;

Path fromQString(const QString& path);
// The path as Qt's own calls take it; empty when the system's encoding cannot
// carry its bytes (such a file is still read and written through this door).
QString qtPath(const Path& path);
// dir and name joined by one '/'.
Path join(QByteArrayView dir, QByteArrayView name);

// How a name on disk is shown: as UTF-8 when it is valid UTF-8, otherwise as
// Windows-1252, the library's own code page.
QString shownName(QByteArrayView raw);
// The bytes a typed name takes on disk.
QByteArray rawName(const QString& name);

enum class Type { None, File, Dir, Other };

struct Entry {
    QByteArray name;
    Type type = Type::None;  // of what a link points at; None for a broken link
    bool link = false;       // the entry itself is a symbolic link
    bool hidden = false;
    qint64 size = 0;         // of a file
};

// Type, link flag and size of one path, following a final link for the type.
Entry info(const Path& path);

// Every entry of a folder but "." and ".."; false when it cannot be read.
bool list(const Path& dir, std::vector<Entry>& out);

// Like list, without looking at each entry itself, so a cold disk reads only the
// folder: type is what the folder records (None where it cannot tell, and for a
// link, whose target is not looked at), size is 0.
bool listQuick(const Path& dir, std::vector<Entry>& out);

// An open folder: files in it are then opened by their names alone, sparing the
// system a walk along the whole path for each one.
class Folder {
public:
    Folder() = default;
    ~Folder() { close(); }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;

    // The path is kept even when opening fails, so files can still be opened
    // by their whole paths.
    bool open(const Path& path);
    void close();
    const Path& path() const { return path_; }

private:
    friend class Reader;
    int fd_ = -1;
    Path path_;
};

// A plain file open for reading. Anything else (a folder, a pipe, a device) is
// refused, and opening never waits on a pipe.
class Reader {
public:
    Reader() = default;
    ~Reader() { close(); }
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;

    // knownPlain: a listing already said the entry is a plain file, so it need
    // not be looked at again.
    bool open(const Path& path, bool knownPlain = false);
    bool open(const Folder& folder, const QByteArray& name, bool knownPlain = false);
    // Bytes read into buffer, 0 at the end of the file, -1 on an error.
    qint64 read(char* buffer, qint64 size);
    void close();

private:
    int fd_ = -1;
};

// The path with every link resolved, or empty when some part does not exist.
Path realPath(const Path& path);
// Whether path, links resolved, is root or lies beneath it.
bool within(const Path& root, const Path& path);


// Every writing call stops at the first failing step and leaves nothing half-done
// at the final path; the error code of that step is kept for lastError().
enum class Replace { Allowed, Refused };
// Writes bytes to a hidden temporary in the target's folder, flushes it to the
// disk and moves it over the target (or, with Replace::Refused, into a name that
// must still be free).
bool writeFile(const Path& target, QByteArrayView bytes, Replace replace = Replace::Allowed);
// Copies a file to a new name that must not exist yet; a failed copy is removed.
bool copyFile(const Path& source, const Path& target);
bool rename(const Path& from, const Path& to);
// Moves a file (a link as a link) to a name that must still be free, never
// replacing what is there. On one file system it is one rename; across file
// systems a flushed copy takes the name before the source goes, so a failure
// leaves the source as it was and nothing new beside the target.
bool moveFile(const Path& from, const Path& to);
bool removeFile(const Path& path);  // a link is removed, never its target
bool removeDir(const Path& path);
// Moves a file, a folder with all it holds, or a link (never what it leads to)
// to the desktop's trash, where the user can restore it. NoTrash: there is no
// trash that could take it, and nothing was moved.
enum class Trashed { Yes, NoTrash, Failed };
Trashed moveToTrash(const Path& path);
// Flush::Now makes a new folder's name last through a power cut before the call
// returns; Flush::Later leaves that to the system, for the many folders of a
// copy whose files are not flushed one by one either.
enum class Flush { Now, Later };
bool makeDir(const Path& path, Flush flush = Flush::Now);

// An exclusive lock that the system lets go when the process ends, however it
// ends; a program started from here never inherits it, and nothing is written
// into what is locked.
class Lock {
public:
    enum Result {
        Taken,    // ours until release() or the end of the process
        Held,     // another running process holds it
        NoLocks,  // the file system keeps no locks; what take() opened stays open
        Failed    // it cannot be opened, or no lock can be had on it
    };

    Lock() = default;
    ~Lock() { release(); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

    // Whether a folder itself can carry the lock; where not (Windows locks byte
    // ranges of files only), take() is given a file, made hidden when missing.
    static bool foldersLock();
    Result take(const Path& path);
    // After take() said NoLocks: a lock only this machine sees, named after the
    // identity of what take() opened, which stays open so that identity cannot
    // pass to another folder. Held when that name is taken.
    Result takeOnThisMachine();
    bool held() const { return held_; }
    void release();

private:
    qintptr handle_ = -1;  // the open descriptor (or handle) that carries the lock
    int local_ = -1;       // the lock this machine keeps, where there is one
    bool held_ = false;
};

// The system's error code of the last failed call of this thread.
int lastError();
bool diskFull(int error);

// Test seam: the k-th writing step from now (open for writing, write, flush,
// close, rename, link, remove, make folder) fails as an I/O error; 0 disarms.
// Returns the number of steps taken since the last call.
namespace testing {
int failStep(int k);
// The k-th writing step from now calls hanging, then waits for ever: a process
// killed there shows what a crash leaves behind.
void hangAtStep(int k, std::function<void()> hanging);
// Every read of an open file waits ms milliseconds first (a slow disk); 0 stops.
void slowReads(int ms);
// Lock::take() finds the file system keeps no locks, as some network shares do.
void withoutLocks(bool without);
}

}  // namespace corvane::fs
