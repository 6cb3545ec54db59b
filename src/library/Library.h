#pragma once

#include "library/Fs.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace corvane {

// Order of the sorted lists: alphabetical ignoring case; names equal but for
// case keep a fixed order.
bool listLess(const QString& a, const QString& b);
void sortForList(QStringList& names);
// Where name belongs in a list already in listLess order.
int sortedInsertPosition(const QStringList& sorted, const QString& name);

// A script is a file whose name ends in the lower-case ".txt"; its list shows the
// name without that ending, so "a.txt.txt" is the script "a.txt".
bool isScriptFile(QByteArrayView fileName);
// The file name a typed script name takes on disk.
QByteArray scriptFileName(const QString& name);

// An entry of a list: the name shown and the exact bytes of its name on disk,
// which every operation acts on, so two entries shown alike stay two files.
struct Item {
    QString shown;
    QByteArray key;
};
using Items = QList<Item>;
void sortForList(Items& items);

// A script as a list shows it: its name, its category's shown name and bytes on
// disk, and its file's exact bytes on disk.
struct ScriptRef {
    QString name;
    QString category;
    QByteArray categoryKey;
    QByteArray fileName;
};

// The library is the folder tree under the scripts folder: one sub-folder per
// category, one file per script. Everything is read afresh on each call.
class Library {
public:
    explicit Library(const QString& scriptsDir);

    // The scripts folder, always with a trailing '/'.
    const QString& root() const { return root_; }
    const fs::Path& rootPath() const { return rootPath_; }
    fs::Path categoryPath(const QByteArray& category) const;
    fs::Path scriptPath(const QByteArray& category, const QByteArray& fileName) const;
    fs::Path pathOf(const ScriptRef& script) const;

    // Non-hidden sub-folders, in list order.
    Items categories() const;

    // One read of a category folder: its non-hidden sub-folders and plain files
    // (in list order), and the count and total size of the plain files.
    struct Contents {
        Items items;
        qint64 fileCount = 0;
        qint64 totalBytes = 0;
    };
    Contents readCategory(const QByteArray& category) const;

    // The name of the entry of dir (hidden ones included) that equals name
    // ignoring case, other than the entry whose bytes are except; empty for none.
    static QString taken(const fs::Path& dir, const QString& name, const QByteArray& except = {});

    // Whether a change at path stays inside the library once links are resolved.
    bool holds(const fs::Path& path) const;

    // Moves the plain files lying directly in the scripts folder to the trash;
    // returns the names left in place (no trash could take them, or it failed).
    QStringList trashStrayFiles() const;

private:
    QString root_;
    fs::Path rootPath_;
};

}  // namespace corvane
