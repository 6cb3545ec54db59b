// Windows side of the file-system door: names are UTF-16 there, so Qt's own
// calls on the UTF-8 path are exact.
#include "library/FsPrivate_p.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QSaveFile>

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cerrno>

namespace corvane::fs {
using namespace detail;

namespace {

QString q(const Path& path)
{
    return QString::fromUtf8(path);
}

bool qtFailed()
{
    return fail(EIO);
}

}  // namespace

Entry info(const Path& path)
{
    const QFileInfo fi(q(path));
    Entry e;
    e.name = fi.fileName().toUtf8();
    e.link = fi.isSymLink();
    e.hidden = fi.isHidden();
    e.type = fi.isFile() ? Type::File : fi.isDir() ? Type::Dir : fi.exists() ? Type::Other : Type::None;
    e.size = e.type == Type::File ? fi.size() : 0;
    return e;
}

bool list(const Path& dir, std::vector<Entry>& out)
{
    out.clear();
    if (!QFileInfo(q(dir)).isDir())
        return fail(ENOENT);
    QDirIterator it(q(dir), QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        out.push_back(info(join(dir, it.fileName().toUtf8())));
    }
    return true;
}

bool listQuick(const Path& dir, std::vector<Entry>& out)
{
    return list(dir, out);
}

bool Folder::open(const Path& path)
{
    path_ = path;
    return QFileInfo(q(path)).isDir() || fail(ENOENT);
}

void Folder::close() {}

bool Reader::open(const Folder& folder, const QByteArray& name, bool knownPlain)
{
    return open(folder.path().isEmpty() ? Path(name) : join(folder.path(), name), knownPlain);
}

bool Reader::open(const Path& path, bool)
{
    close();
    fd_ = ::_wopen(reinterpret_cast<const wchar_t*>(q(path).utf16()), _O_RDONLY | _O_BINARY);
    if (fd_ < 0)
        return fail(errno);
    struct _stat64 st;
    if (::_fstat64(fd_, &st) != 0 || (st.st_mode & _S_IFMT) != _S_IFREG) {
        close();
        return fail(EINVAL);
    }
    return true;
}

qint64 Reader::read(char* buffer, qint64 size)
{
    readPause();
    const int n = ::_read(fd_, buffer, unsigned(qMin<qint64>(size, 1 << 30)));
    if (n < 0) {
        fail(errno);
        return -1;
    }
    return n;
}

void Reader::close()
{
    if (fd_ >= 0)
        ::_close(fd_);
    fd_ = -1;
}

Path realPath(const Path& path)
{
    return QFileInfo(q(path)).canonicalFilePath().toUtf8();
}

// Not QFile::encodeName, which gives the ANSI code page here: the door reads
// a path as UTF-8, and a name like "João" has no ANSI form on every system.
Path fromQString(const QString& path)
{
    return path.toUtf8();
}

QString qtPath(const Path& path)
{
    return q(path);
}

bool writeFile(const Path& target, QByteArrayView bytes, Replace replace)
{
    if (replace == Replace::Refused && QFileInfo::exists(q(target)))
        return fail(EEXIST);
    // Unbuffered, so a failed write shows at once rather than at commit.
    QSaveFile out(q(target));
    if (!step() || !out.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return qtFailed();
    if (!step() || out.write(bytes.data(), bytes.size()) != bytes.size() || !step() || !out.commit()) {
        out.cancelWriting();
        return qtFailed();
    }
    return true;
}

bool copyFile(const Path& source, const Path& target)
{
    if (!step() || QFileInfo::exists(q(target)))
        return fail(EEXIST);
    return QFile::copy(q(source), q(target)) || qtFailed();
}

bool rename(const Path& from, const Path& to)
{
    return (step() && QDir().rename(q(from), q(to))) || qtFailed();
}

bool moveFile(const Path& from, const Path& to)
{
    // Qt's rename never replaces a file; across drives it copies, removes the
    // source, and removes a copy that failed.
    if (!step())
        return false;
    if (QFileInfo::exists(q(to)))
        return fail(EEXIST);
    return QFile::rename(q(from), q(to)) || qtFailed();
}

bool removeFile(const Path& path)
{
    return (step() && QFile::remove(q(path))) || qtFailed();
}

bool removeDir(const Path& path)
{
    return (step() && QDir().rmdir(q(path))) || qtFailed();
}

Trashed moveToTrash(const Path& path)
{
    if (!step())
        return Trashed::Failed;
    // The Recycle Bin. Where a drive has none (a network share), the shell itself
    // deletes for good and reports success; a failure here is a file in use, a
    // denied access or the like, so nothing is deleted behind the user's back.
    if (QFile::moveToTrash(q(path)))
        return Trashed::Yes;
    qtFailed();
    return Trashed::Failed;
}

bool makeDir(const Path& path, Flush)
{
    return (step() && QDir().mkdir(q(path))) || qtFailed();
}

}  // namespace corvane::fs
