#pragma once

#include "library/Library.h"

#include <QObject>
#include <QString>

class QListWidget;
class QListWidgetItem;

namespace corvane {

class MainWindow;

// The category and script lists and the viewer. Four rules decide what the main
// window shows and which editing buttons are usable: a category selected, the
// category list receiving the focus, a script selected, and the double-clicks.
// The rules follow the lists' selections: setting a list's current row selects
// that entry and runs its rule, as a click would.
class Browser : public QObject {
    Q_OBJECT
public:
    explicit Browser(MainWindow& window);

    // The category rule for the selected entry of lstDir01: empties the viewer and
    // the name boxes, refills lstFile01 (nothing selected) and shows the count and
    // size. Runs by itself on every new selection; call it to reload the category
    // even when its entry is already selected. Does nothing without a selection.
    void categorySelected();

    // The focus rule: category buttons usable, script buttons not. Runs by itself
    // when the focus moves into lstDir01.
    void categoryListFocused();

    // The script rule for the selected entry of lstFile01: its name, size and
    // decoded text; a script too big to open is refused with a message. Runs by itself on every new selection. Does nothing without
    // a selection.
    void scriptSelected();

    // Text of a list's selected entry; empty when nothing is selected.
    static QString selectedText(const QListWidget* list);
    // On-disk bytes of a list's selected entry; empty when nothing is selected.
    static QByteArray selectedKey(const QListWidget* list);
    static QByteArray keyOf(const QListWidgetItem* item);
    // Replaces a list's entries, each keeping its on-disk bytes.
    static void fill(QListWidget* list, const Items& items);
    static QListWidgetItem* makeItem(const Item& item);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool keepsSelection(QListWidget* list, QEvent* event) const;

    MainWindow& window_;
    // lstDir01 lost the focus only because the window did (another window or a
    // popup came up); getting it back then is no move into the list.
    bool dirFocusParked_ = false;
};

}  // namespace corvane
