#pragma once

#include "browse/ListRules.h"
#include "library/Library.h"

#include <QHash>
#include <QObject>

class QWidget;

namespace corvane {

class DiskFollower;
class HeaderPane;
class ListPane;
class ViewerPane;

// Browsing the library: what choosing in the lists shows, and which controls the
// lists' events make usable. The rules follow the lists' selections, not their
// current rows: tabbing into an unselected list makes an entry current without
// choosing it. Setting a list's current row selects that entry and runs its
// rule, as a click would. What the disk does to the lists is a DiskFollower's.
class Browser : public QObject {
    Q_OBJECT
public:
    Browser(const Library& library, QWidget* window, HeaderPane& header, ListPane& categories, ListPane& scripts,
            ViewerPane& viewer);

    // Lists the categories and selects the first, which lists its scripts.
    void loadCategories();
    // Rereads the category list and selects its first entry; with no category
    // left, the script side is emptied.
    void reloadCategories();
    // Selects the first category (its rule runs only when that is a change);
    // with the list empty, empties the script side.
    void selectFirstCategory();
    // Rereads both lists from the disk, keeping the selected entries where they
    // still exist. No rule runs, so the viewer keeps its text.
    void resyncLists();
    // The same, with the count and size: what another program or a sync tool
    // changed shows within a second.
    void followDisk();

    void apply(rules::Event event);
    void scriptDeleted();
    // A script left the chosen category; chosen: it was the one shown.
    void scriptMoved(bool chosen);

    // The search panel takes the lists' place and gives it back.
    void enterSearch();
    void leaveSearch();

    // The script the lists have chosen; empty names when none is.
    ScriptRef chosenScript() const;

private:
    void categorySelected();
    void categoryListFocused();
    void scriptSelected();
    void emptyScriptSide();
    void connectLists();
    // The header after the disk was read again: the chosen script, or else the
    // chosen category.
    void showReread(const Library::Contents& contents);
    // The script's name and size above the lists; what the disk says of it.
    fs::Entry showInHeader(const ScriptRef& script);
    void setEnlarged(bool enlarged);
    bool scriptChosen();
    bool eventFilter(QObject* watched, QEvent* event) override;

    const Library& library_;
    QWidget* window_;
    HeaderPane& header_;
    ListPane& categories_;
    ListPane& scripts_;
    ViewerPane& viewer_;
    QHash<rules::Control, QWidget*> controls_;
    // The category list lost the focus only because the window did (another
    // window or a popup came up); getting it back then is no move into the list.
    bool focusParked_ = false;
    bool searching_ = false;
    DiskFollower* follower_ = nullptr;
};

}  // namespace corvane
