#pragma once

#include "library/Library.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>

// Copying the library into a new backup folder; no widgets, so it can be timed.
namespace corvane::backup {

// The destination name the window starts with.
QString defaultName();
// "scripts-dd-mm-yy".
QString datedName(const QDate& date);

// Today's date, replaceable so a fixed day can be used; nullptr restores the clock.
using DateSource = QDate (*)();
DateSource setDateSource(DateSource source);
QDate today();

// One line per entry of the scripts folder (folders and plain files, links
// followed, nothing hidden), in list order: "» " and the shown name, with the
// name's bytes on disk as the key. A link that leads nowhere is listed too, so
// the backup stops at it instead of leaving it out unseen.
Items sourceLines(const QString& scriptsDir);

// The message that refuses name as the destination folder's name, or an empty
// string when it may be used. Empty names, separators and names made only of
// full stops would point at the chosen folder itself or outside it.
QString nameRefusal(const QString& name);

// Whether dir already holds an entry (folder, file or link, even a broken one)
// called name.
bool entryExists(const QString& dir, const QString& name);

struct Result {
    bool ok = true;
    QString message;    // why it stopped, for the user; empty when ok
    int folders = 0;    // category folders created
    qint64 files = 0;   // files copied
};

// Creates dir/name, then one folder per entry in it, named with the entry's
// bytes; a category's folder gets copies of the category's plain files (a link
// copied as what it leads to) under the same bytes. Hidden entries, sub-folders
// and special files (pipes, devices) stay behind, as the program never shows
// them. Several files are copied at once, by up to kCopiers threads. Stops at
// the first entry, in list order, that cannot be read or copied, and keeps
// everything finished: all that comes before it, and what was already under
// way after it. A file copied half-way is removed.
inline constexpr int kCopiers = 32;
Result copyLibrary(const QString& scriptsDir, const QList<QByteArray>& entries, const QString& dir,
                   const QString& name, int copiers = kCopiers);

}  // namespace corvane::backup
