#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <vector>

// The library's only door to the file system. Names are kept as the bytes found
// on disk, so a name another program wrote in Windows-1252 (or any bytes) is
// listed, opened, renamed and deleted as exactly that entry. On Windows a path is
// the UTF-8 of its UTF-16 name.
namespace corvane::fs {

// A path in the file system's own bytes.
using Path = QByteArray;

Path fromQString(const QString& path);
QString toQString(const Path& path);
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

// The path with every link resolved, or empty when some part does not exist.
Path realPath(const Path& path);
// Whether path, links resolved, is root or lies beneath it.
bool within(const Path& root, const Path& path);

// Reads at most limit bytes from the start of a file; false when it cannot be
// opened or read. more is set when the file goes on past what was read.
bool readPrefix(const Path& path, qint64 limit, QByteArray& out, bool* more = nullptr);

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
bool removeFile(const Path& path);  // a link is removed, never its target
bool removeDir(const Path& path);
bool makeDir(const Path& path);

// The system's error code of the last failed call of this thread.
int lastError();
bool diskFull(int error);

// Test seam: the k-th writing step from now (open for writing, write, flush,
// close, rename, link, remove, make folder) fails as an I/O error; 0 disarms.
// Returns the number of steps taken since the last call.
namespace testing {
int failStep(int k);
}

}  // namespace corvane::fs
