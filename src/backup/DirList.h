#pragma once

#include <QListWidget>

namespace corvane {

// A directory list: the folders from the root down to the current folder, then
// the current folder's sub-folders, each indented one step deeper than its
// parent. Opening an entry (double-click or Enter) makes it current; selecting
// one only moves the highlight.
class DirList : public QListWidget {
    Q_OBJECT
public:
    DirList(const QString& name, QWidget* parent);

    // The current folder, with '/' separators.
    const QString& path() const { return path_; }
    // Moves to folder; false (and nothing changes) when it cannot be listed.
    bool setPath(const QString& folder);

    // The folder an entry stands for.
    static constexpr int PathRole = Qt::UserRole;
    static constexpr int LevelRole = Qt::UserRole + 1;

signals:
    void pathChanged(const QString& path);

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void open(QListWidgetItem* item);
    QString path_;
};

}  // namespace corvane
