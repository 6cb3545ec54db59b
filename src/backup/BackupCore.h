#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include <functional>

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

// One line per entry of the scripts folder (folders and plain files, nothing
// hidden): "» " and the name, in list order.
QStringList sourceLines(const QString& scriptsDir);
// The entry name of a source line: the line without its first two characters.
QString nameOfLine(const QString& line);

// The message that refuses name as the destination folder's name, or an empty
// string when it may be used. Empty names, separators and names made only of
// full stops would point at the chosen folder itself or outside it.
QString nameRefusal(const QString& name);

// Whether dir already holds an entry (folder, file or link) called name.
bool entryExists(const QString& dir, const QString& name);

struct Result {
    bool ok = true;
    QString message;    // why it stopped, for the user; empty when ok
    int folders = 0;    // category folders created
    qint64 files = 0;   // files copied
};

// Creates dir/name, then one folder per category in it with copies of the
// category's plain files. Stops at the first folder or file that fails and
// keeps everything made before it.
Result copyLibrary(const QString& scriptsDir, const QStringList& categories, const QString& dir,
                   const QString& name);

// Test hook run before each file is copied.
using CopyHook = std::function<void(const QString& source, const QString& target)>;
void setBeforeCopyHook(CopyHook hook);

}  // namespace corvane::backup
