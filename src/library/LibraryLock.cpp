#include "library/LibraryLock.h"

#ifdef Q_OS_WIN
#include <QDir>
#include <QFileInfo>

#include <windows.h>
#else
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace corvane {

LibraryLock::LibraryLock(const QString& libraryDir)
    : dir_(libraryDir)
{
}

LibraryLock::~LibraryLock()
{
    unlock();
}

#ifdef Q_OS_WIN

// Windows locks byte ranges of files only: the lock sits on a hidden file beside
// the library folder, named after it. The file itself means nothing; whatever a
// crash leaves in it is ignored, and the lock goes with the process.
LibraryLock::Result LibraryLock::tryLock()
{
    if (isLocked())
        return Taken;
    const QFileInfo library(QDir::cleanPath(QFileInfo(dir_).absoluteFilePath()));
    const QString path = QDir::toNativeSeparators(library.absolutePath() + QStringLiteral("/.")
                                                  + library.fileName() + QStringLiteral(".lock"));
    HANDLE h = CreateFileW(reinterpret_cast<const wchar_t*>(path.utf16()), GENERIC_READ | GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_HIDDEN, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return Unavailable;
    OVERLAPPED whole = {};
    if (!LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &whole)) {
        const DWORD error = GetLastError();
        CloseHandle(h);
        return error == ERROR_LOCK_VIOLATION ? HeldElsewhere : Unavailable;
    }
    handle_ = reinterpret_cast<qintptr>(h);
    return Taken;
}

void LibraryLock::unlock()
{
    if (isLocked())
        CloseHandle(reinterpret_cast<HANDLE>(handle_));  // closing drops the lock
    handle_ = -1;
}

#else

// The lock sits on the library folder itself. It belongs to the open descriptor,
// which children never inherit, so a program started from here (a print command)
// cannot keep the folder claimed after this process ends.
LibraryLock::Result LibraryLock::tryLock()
{
    if (isLocked())
        return Taken;
    const QByteArray path = QFile::encodeName(dir_);
    int fd;
    do
        fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    while (fd == -1 && errno == EINTR);
    if (fd == -1)
        return Unavailable;
    int locked;
    do
        locked = ::flock(fd, LOCK_EX | LOCK_NB);
    while (locked == -1 && errno == EINTR);
    if (locked == -1) {
        const int error = errno;
        ::close(fd);
        return error == EWOULDBLOCK ? HeldElsewhere : Unavailable;
    }
    handle_ = fd;
    return Taken;
}

void LibraryLock::unlock()
{
    if (isLocked())
        ::close(int(handle_));  // closing the only descriptor drops the lock
    handle_ = -1;
}

#endif

}  // namespace corvane
