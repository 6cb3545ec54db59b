#include "browse/Browser.h"

#include "browse/DiskFollower.h"
#include "browse/Panes.h"
#include "library/ScriptFile.h"
#include "library/Sizes.h"
#include "widgets/KeyedList.h"
#include "widgets/Msg.h"
#include "widgets/NameBox.h"
#include "widgets/TextViewer.h"
#include "widgets/Texts.h"

#include <QApplication>
#include <QFocusEvent>
#include <QPushButton>

namespace corvane {

using rules::Control;
using rules::Event;

Browser::Browser(const Library& library, QWidget* window, HeaderPane& header, ListPane& categories,
                 ListPane& scripts, ViewerPane& viewer)
    : QObject(window)
    , library_(library)
    , window_(window)
    , header_(header)
    , categories_(categories)
    , scripts_(scripts)
    , viewer_(viewer)
{
    controls_ = {
        {Control::CategoryName, categories.nameBox()},   {Control::AddCategory, categories.addButton()},
        {Control::RenameCategory, categories.renameButton()}, {Control::DeleteCategory, categories.deleteButton()},
        {Control::ScriptName, scripts.nameBox()},        {Control::AddScript, scripts.addButton()},
        {Control::RenameScript, scripts.renameButton()}, {Control::DeleteScript, scripts.deleteButton()},
        {Control::Save, viewer.saveButton()},            {Control::Copy, viewer.copyButton()},
        {Control::Print, viewer.printButton()},
    };
    apply(Event::Start);
    connectLists();

    follower_ = new DiskFollower(library_, *categories.list(), *scripts.list(), this);
    connect(follower_, &DiskFollower::choiceLost, &header_, &HeaderPane::clearChoice);
    connect(follower_, &DiskFollower::categoryReread, this, &Browser::showReread);
    // The viewer took up its file's new text: so does the size above it.
    connect(&viewer_.viewer()->script(), &ShownScript::followed, this, [this] {
        const ScriptRef script = chosenScript();
        if (!searching_ && !script.name.isEmpty())
            showInHeader(script);
    });

    connect(&viewer, &ViewerPane::enlargeClicked, this, [this] {
        if (scriptChosen())
            setEnlarged(true);
    });
    connect(&viewer, &ViewerPane::restoreClicked, this, [this] {
        if (scriptChosen())
            setEnlarged(false);
    });
}

void Browser::connectLists()
{
    KeyedList* categoryList = categories_.list();
    KeyedList* scriptList = scripts_.list();
    connect(categoryList, &QListWidget::itemSelectionChanged, this, [this, categoryList] {
        if (categoryList->hasSelection())
            categorySelected();
    });
    connect(scriptList, &QListWidget::itemSelectionChanged, this, [this, scriptList] {
        if (scriptList->hasSelection())
            scriptSelected();
    });
    // Name boxes get the double-clicked name as it is: no filter, no limit.
    for (ListPane* pane : {&categories_, &scripts_}) {
        connect(pane->list(), &QListWidget::itemDoubleClicked, this, [pane] {
            if (pane->list()->hasSelection())
                pane->nameBox()->setTextAsIs(pane->list()->selectedText());
        });
    }
    categoryList->installEventFilter(this);
}

void Browser::apply(Event event)
{
    const rules::Rule& rule = rules::ruleFor(event);
    for (Control c : rule.off)
        controls_.value(c)->setEnabled(false);
    for (Control c : rule.on)
        controls_.value(c)->setEnabled(true);
}

void Browser::loadCategories()
{
    follower_->rewatch();
    KeyedList* list = categories_.list();
    list->fill(library_.categories());
    if (list->count() > 0)
        list->setCurrentRow(0);
}

void Browser::reloadCategories()
{
    loadCategories();
    if (categories_.list()->count() == 0)
        emptyScriptSide();
}

void Browser::selectFirstCategory()
{
    KeyedList* list = categories_.list();
    if (list->count() > 0)
        list->setCurrentRow(0);
    else
        emptyScriptSide();
}

void Browser::emptyScriptSide()
{
    scripts_.list()->clearQuietly();
    viewer_.viewer()->clear();
    scripts_.nameBox()->clear();
    header_.clearChoice();
}

void Browser::resyncLists()
{
    follower_->rereadLists();
}

void Browser::followDisk()
{
    follower_->followDisk();
}

void Browser::showReread(const Library::Contents& contents)
{
    const ScriptRef script = chosenScript();
    if (!script.name.isEmpty())
        showInHeader(script);
    else
        header_.showCategory(script.category, contents.fileCount, contents.totalBytes);
}

fs::Entry Browser::showInHeader(const ScriptRef& script)
{
    // An entry that is no script file shows no size, whatever it is on disk.
    const fs::Entry info = isScriptFile(scripts_.list()->selectedKey()) ? fs::info(library_.pathOf(script)) : fs::Entry{};
    header_.showScript(script.name, info.type == fs::Type::File ? Numeric2Bytes(double(info.size)) : QString());
    return info;
}

void Browser::categorySelected()
{
    KeyedList* list = categories_.list();
    viewer_.viewer()->clear();
    scripts_.nameBox()->clear();
    categories_.nameBox()->clear();
    apply(Event::CategorySelected);

    // One pass over the folder gives the list, the count and the size, so the
    // three agree; a missing folder reads as empty.
    const Library::Contents contents = library_.readCategory(list->selectedKey());
    scripts_.list()->fill(contents.items);
    header_.showCategory(list->selectedText(), contents.fileCount, contents.totalBytes);
    follower_->rewatch();
}

void Browser::categoryListFocused()
{
    apply(Event::CategoryListFocused);
}

void Browser::scriptSelected()
{
    const ScriptRef script = chosenScript();
    apply(Event::ScriptSelected);
    categories_.nameBox()->clear();
    scripts_.nameBox()->clear();

    // A sub-folder, a file of another extension or one removed behind our back
    // shows its name with no size and an empty viewer.
    const fs::Path path = library_.pathOf(script);
    const bool isFile = showInHeader(script).type == fs::Type::File;

    const script::ReadResult read =
        isFile ? script::read(path) : script::ReadResult{script::ReadStatus::Unreadable, {}, script::snapshot(path)};
    viewer_.viewer()->script().show(path, read);
    if (read.status == script::ReadStatus::TooBig) {
        apply(Event::ScriptTooBig);
        msg::ok(window_, texts::tooBig(script.name));
    }
}

ScriptRef Browser::chosenScript() const
{
    const KeyedList* categoryList = categories_.list();
    const KeyedList* scriptList = scripts_.list();
    if (!scriptList->hasSelection())
        return {{}, categoryList->selectedText(), categoryList->selectedKey(), {}};
    // Text saved while another entry (a sub-folder, a ".doc") is chosen goes to
    // a script of its shown name.
    const QByteArray key = scriptList->selectedKey();
    return {scriptList->selectedText(), categoryList->selectedText(), categoryList->selectedKey(),
            isScriptFile(key) ? key : scriptFileName(scriptList->selectedText())};
}

void Browser::scriptDeleted()
{
    viewer_.viewer()->clear();
    apply(Event::ScriptDeleted);
}

void Browser::scriptMoved(bool chosen)
{
    if (chosen)
        scriptDeleted();
    // The lists, count and size as the disk now has them, without waiting for the watch.
    followDisk();
}

bool Browser::scriptChosen()
{
    if (scripts_.list()->hasSelection())
        return true;
    msg::ok(window_, texts::fileNeeded(), texts::viewingTitle());
    return false;
}

void Browser::setEnlarged(bool enlarged)
{
    if (enlarged) {
        // Hiding the focused control would hand the focus down the tab chain,
        // through the category list and its focus rule; the viewer takes it.
        QWidget* focus = QApplication::focusWidget();
        const QList<QWidget*> going{categories_.list(), categories_.nameBox(), scripts_.list(), scripts_.nameBox(),
                                    scripts_.addButton(), scripts_.renameButton(), scripts_.deleteButton(),
                                    scripts_.searchButton()};
        if (focus && going.contains(focus))
            viewer_.viewer()->setFocus(Qt::OtherFocusReason);
    }
    scripts_.searchButton()->setVisible(!enlarged);
    viewer_.setEnlarged(enlarged);
    categories_.setListShown(!enlarged);
    scripts_.setListShown(!enlarged);
    apply(enlarged ? Event::ViewerEnlarged : Event::ViewerRestored);
}

void Browser::enterSearch()
{
    searching_ = true;
    follower_->setSearching(true);
    categories_.setListShown(false);
    scripts_.setListShown(false);
    apply(Event::SearchOpened);
    viewer_.saveButton()->hide();
    viewer_.viewer()->clear();
    scripts_.list()->clear();
    viewer_.setMagnifiersShown(false);
    scripts_.searchButton()->hide();
}

void Browser::leaveSearch()
{
    searching_ = false;
    follower_->setSearching(false);
    categories_.setListShown(true);
    scripts_.setListShown(true);
    viewer_.viewer()->clear();
    apply(Event::SearchClosed);
    viewer_.saveButton()->show();
    viewer_.setMagnifiersShown(true);
    scripts_.searchButton()->show();
    header_.showBrowsing();

    KeyedList* categoryList = categories_.list();
    if (categoryList->count() > 0) {
        // The panel emptied the script list: reload even an unchanged selection.
        if (categoryList->item(0)->isSelected())
            categorySelected();
        else
            categoryList->setCurrentRow(0);
    }
    if (scripts_.list()->count() > 0)
        scripts_.list()->setCurrentRow(0);
}

bool Browser::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == categories_.list()) {
        if (event->type() == QEvent::FocusOut) {
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            focusParked_ = reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
        } else if (event->type() == QEvent::FocusIn) {
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            const bool returning =
                focusParked_ && (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason);
            focusParked_ = false;
            if (!returning)
                categoryListFocused();
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace corvane
