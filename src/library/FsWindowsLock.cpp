// Windows side of the file-system door, locks: Windows locks byte ranges of
// files only, so the lock sits on a file; whatever a crash leaves in it is
// ignored, and the lock goes with the process.
#include "library/FsPrivate_p.h"

#include <QDir>

#include <windows.h>

namespace corvane::fs {

bool Lock::foldersLock()
{
    return false;
}

Lock::Result Lock::take(const Path& path)
{
    release();
    const QString native = QDir::toNativeSeparators(QString::fromUtf8(path));
    HANDLE h = CreateFileW(reinterpret_cast<const wchar_t*>(native.utf16()), GENERIC_READ | GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_HIDDEN, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return Failed;
    OVERLAPPED whole = {};
    if (!LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &whole)) {
        const DWORD error = GetLastError();
        CloseHandle(h);
        return error == ERROR_LOCK_VIOLATION ? Held : Failed;
    }
    handle_ = reinterpret_cast<qintptr>(h);
    held_ = true;
    return Taken;
}

// Windows has no lock of this kind; take() never says NoLocks here.
Lock::Result Lock::takeOnThisMachine()
{
    return Failed;
}

void Lock::release()
{
    if (handle_ != -1)
        CloseHandle(reinterpret_cast<HANDLE>(handle_));  // closing drops the lock
    handle_ = -1;
    held_ = false;
}

}  // namespace corvane::fs
