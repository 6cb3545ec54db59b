#pragma once

#include "library/Library.h"

#include <QListWidget>
#include <QPersistentModelIndex>

#include <optional>

namespace corvane {

// A list of library entries: each shows its name and keeps the bytes of its name
// on disk, which is what every operation acts on. A selected entry stays
// selected: Ctrl+click or Ctrl+Space on it changes nothing, as any click on it.
class KeyedList : public QListWidget {
    Q_OBJECT
public:
    explicit KeyedList(QWidget* parent);

    static QByteArray keyOf(const QListWidgetItem* item);
    bool hasSelection() const { return !selectedItems().isEmpty(); }
    // Text and key of the selected entry; empty when nothing is selected.
    QString selectedText() const;
    QByteArray selectedKey() const;
    Items entries() const;

    // Replaces the entries, without selecting any.
    void fill(const Items& items);
    // These run no selection rule: the viewer and the boxes keep what they show.
    // Inserts an entry at its sorted place; the selection stays on its entry.
    void insertSorted(const Item& entry);
    // Removes the selected entry and leaves nothing selected.
    void removeSelected();
    // Brings the entries up to date, keeping the selected entry where it still is
    // and the scroll position; false when nothing differed.
    bool update(const Items& items);
    // Selects the entry with that key, if there is one.
    void selectQuietly(const QByteArray& key);
    void clearQuietly();

    // Entries may be dragged out of this list, one at a time.
    void allowDrags();
    // Entries of source dragged onto an entry of this list are offered to
    // entryDropped; the entry under the pointer is marked meanwhile.
    void takeDropsFrom(const KeyedList* source);

signals:
    // Sent once the drag is over, so the drag never waits on what follows.
    void entryDropped(const corvane::Item& dragged, const corvane::Item& target);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    QMimeData* mimeData(const QList<QListWidgetItem*>& items) const override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool onSelectedEntry(QMouseEvent* event) const;
    // The entry of source a drop carries, and the entry of this list under it.
    std::optional<Item> dragged(const QDropEvent* event) const;
    QListWidgetItem* dropTarget(const QDropEvent* event) const;
    void markDropTarget(QListWidgetItem* entry);

    const KeyedList* dropSource_ = nullptr;
    QPersistentModelIndex marked_;
};

}  // namespace corvane
