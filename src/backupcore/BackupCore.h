#pragma once

#include "backupcore/BackupResult.h"
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

// The entries of the scripts folder a backup copies (folders and plain files,
// links followed, nothing hidden), in list order, each with its name's bytes on
// disk as the key. A link that leads nowhere is listed too, so
// the backup stops at it instead of leaving it out unseen.
Items sources(const QString& scriptsDir);

// Whether dir already holds an entry (folder, file or link, even a broken one)
// called name.
bool entryExists(const QString& dir, const QString& name);

// Creates dir/name, then one folder per entry in it, named with the entry's
// bytes; a category's folder gets copies of the category's plain files (a link
// copied as what it leads to) under the same bytes. Hidden entries, sub-folders
// and special files (pipes, devices) stay behind, as the program never shows
// them. Several files are copied at once, by up to kCopiers threads. Stops at
// the first entry, in list order, that cannot be read or copied, and keeps
// everything finished: all that comes before it, and what was already under
// way after it. A file copied half-way is removed. A failure names the folder
// or file it stopped at and the backup folder.
inline constexpr int kCopiers = 32;
Result copyLibrary(const QString& scriptsDir, const QList<QByteArray>& entries, const QString& dir,
                   const QString& name, int copiers = kCopiers);

}  // namespace corvane::backup
