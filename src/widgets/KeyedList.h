#pragma once

#include "library/Library.h"

#include <QListWidget>

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

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool onSelectedEntry(QMouseEvent* event) const;
};

}  // namespace corvane
