#pragma once

#include <QString>
#include <QStringList>

namespace corvane {

// Order of the sorted lists: alphabetical ignoring case; names equal but for
// case keep a fixed order.
bool listLess(const QString& a, const QString& b);
void sortForList(QStringList& names);
// Where name belongs in a list already in listLess order.
int sortedInsertPosition(const QStringList& sorted, const QString& name);

// A script's shown name: its file name with every lower-case ".txt" removed.
QString shownName(QString fileName);

// The library is the folder tree under the scripts folder: one sub-folder per
// category, one file per script. Everything is read afresh on each call.
class Library {
public:
    explicit Library(const QString& scriptsDir);

    // The scripts folder, always with a trailing '/'.
    const QString& root() const { return root_; }
    QString categoryDir(const QString& category) const;
    QString scriptFile(const QString& category, const QString& name) const;

    // Non-hidden, non-system sub-folders, in list order.
    QStringList categories() const;

    // One read of a category folder: shown names of its sub-folders and plain
    // files (in list order), and the count and total size of the plain files.
    struct Contents {
        QStringList shownNames;
        qint64 fileCount = 0;
        qint64 totalBytes = 0;
    };
    Contents readCategory(const QString& category) const;

    // Whether the folder directly holds a non-hidden, non-system entry whose name
    // equals name ignoring case; returns that entry's name.
    static QString findEntryIgnoringCase(const QString& dir, const QString& name);

    // Deletes the plain files lying directly in the scripts folder; returns the
    // names that could not be deleted.
    QStringList removeStrayFiles() const;

private:
    QString root_;
};

}  // namespace corvane
