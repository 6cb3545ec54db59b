#pragma once

#include "library/Library.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QSet>
#include <QTimer>

#include <optional>

namespace corvane {

class KeyedList;

// Keeps the lists as the disk has them: watches the library folder and the
// chosen category, rereads both lists after a burst of changes (another program
// or a sync tool at work), keeping the chosen entries where they still exist,
// and looks every second for watched folders that are missing.
class DiskFollower : public QObject {
    Q_OBJECT
public:
    DiskFollower(const Library& library, KeyedList& categories, KeyedList& scripts, QObject* parent);

    // Watches the library folder and the chosen category; true when a folder
    // came to be watched that was not.
    bool rewatch();
    // Both lists brought up to date; the chosen category's contents, when the
    // script list shows them.
    std::optional<Library::Contents> rereadLists();
    // The same, watching before and after, so that no change falls between; a
    // category still chosen is reported as reread.
    void followDisk();
    // While the search panel is open the script list is not the category's.
    void setSearching(bool searching) { searching_ = searching; }

signals:
    // The chosen category is gone from the list.
    void choiceLost();
    void categoryReread(const Library::Contents& contents);

private:
    const Library& library_;
    KeyedList& categories_;
    KeyedList& scripts_;
    bool searching_ = false;
    QFileSystemWatcher watcher_;
    QTimer settle_;
    QTimer lookAgain_;
    QSet<QString> missing_;  // folders to watch that are not there
};

}  // namespace corvane
