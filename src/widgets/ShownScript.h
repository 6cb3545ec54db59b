#pragma once

#include "library/ScriptFile.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

#include <optional>

namespace corvane {

class TextViewer;

// The script file a viewer shows: which file, what it held when it was read,
// and whether the viewer still holds that text untouched. While it does, a
// change another program makes to the file (in place, or by writing a new file
// and renaming it over) shows within a second, the scroll position kept.
class ShownScript : public QObject {
    Q_OBJECT
public:
    explicit ShownScript(TextViewer& viewer);

    // Shows what read found at path: its text, or an empty viewer.
    void show(const fs::Path& path, const script::ReadResult& read);
    // What path held when the viewer loaded it; nullopt when the viewer did not
    // load its text from path.
    std::optional<script::Snapshot> loadedFrom(const fs::Path& path) const;
    // The viewer's text was just written to path.
    void saved(const fs::Path& path, const script::Snapshot& written);

signals:
    // The viewer took up the file's new text.
    void followed();

private:
    void follow();
    void rewatch();
    void textChanged();

    TextViewer& viewer_;
    fs::Path path_;
    script::Snapshot loaded_;
    bool loading_ = false;
    quint64 loads_ = 0;  // a check left from before the last load is void
    bool showsLoaded_ = false;  // no one has put other text in the viewer since
    QFileSystemWatcher watcher_;
    QTimer settle_;
};

}  // namespace corvane
