#include "editing/CategoryEditor.h"

#include "editing/EditingTexts.h"
#include "library/CategoryOps.h"
#include "library/Names.h"
#include "widgets/KeyedList.h"
#include "widgets/Msg.h"
#include "widgets/NameBox.h"
#include "widgets/Texts.h"

namespace corvane {
namespace {

using editing::Act;
using editing::words;

}  // namespace

CategoryEditor::CategoryEditor(const Library& library, QWidget* window, KeyedList& categories, NameBox& name)
    : QObject(window)
    , library_(library)
    , window_(window)
    , categories_(categories)
    , name_(name)
{
}

void CategoryEditor::add()
{
    const QString name = names::trimBlanks(name_.text());
    const QString& title = words(Act::AddCategory).title;
    if (name.isEmpty())
        return msg::ok(window_, texts::nameNeeded(), title);
    if (const QString unsafe = texts::unsafeName(name); !unsafe.isEmpty())
        return msg::ok(window_, unsafe, title);
    const Outcome added = categories::add(library_, name);
    if (added.code == Outcome::Code::NameTaken) {
        msg::ok(window_, texts::alreadyPresent(name));
        name_.clear();
        return;
    }
    if (!added.done()) {
        // The typed name stays in the box for another try.
        msg::ok(window_, editing::refusal(Act::AddCategory, added, {name, {}, {}}), title);
        emit listsStale();
        return;
    }
    // An entry whose folder had vanished behind our back is not listed twice.
    if (categories_.findItems(name, Qt::MatchExactly | Qt::MatchCaseSensitive).isEmpty())
        categories_.insertSorted({name, fs::rawName(name)});
    name_.clear();
}

void CategoryEditor::rename()
{
    const editing::Subject subject{categories_.selectedText(), {}, names::trimBlanks(name_.text())};
    const QByteArray oldKey = categories_.selectedKey();
    const QString& title = words(Act::RenameCategory).title;
    const auto say = [&](const QString& text, const QString& boxTitle) {
        msg::ok(window_, text, boxTitle);
        emit firstCategoryWanted();
    };
    if (subject.name.isEmpty())
        return say(editing::needCategory(), title);
    if (subject.newName.isEmpty())
        return say(editing::needNewName(), title);
    for (const QString& name : {subject.name, subject.newName}) {
        if (const QString unsafe = texts::unsafeName(name); !unsafe.isEmpty())
            return say(unsafe, title);
    }
    // Never onto another category, whatever its case.
    if (!categories::checkRename(library_, oldKey, subject.newName).done()) {
        name_.clear();
        return say(texts::alreadyPresent(subject.newName), msg::appTitle());
    }
    const auto finish = [&](const QString& text) {
        msg::ok(window_, text, title);
        name_.clear();
        emit firstCategoryWanted();
    };
    if (!msg::yesNo(window_, texts::renameQuestion(subject.name, subject.newName),
                    words(Act::RenameCategory).questionTitle))
        return finish(words(Act::RenameCategory).notDone);
    if (const Outcome renamed = categories::rename(library_, oldKey, subject.newName); !renamed.done()) {
        msg::ok(window_, editing::refusal(Act::RenameCategory, renamed, subject), title);
        name_.clear();
        emit categoriesStale();
        return;
    }
    categories_.removeSelected();
    categories_.insertSorted({subject.newName, fs::rawName(subject.newName)});
    finish(words(Act::RenameCategory).done);
}

void CategoryEditor::remove()
{
    const editing::Subject subject{categories_.selectedText(), {}, {}};
    const editing::Words& w = words(Act::DeleteCategory);
    // cleared: the name box is emptied once the box is closed.
    const auto say = [&](const QString& text, bool cleared = false) {
        msg::ok(window_, text, w.title);
        if (cleared)
            name_.clear();
        emit firstCategoryWanted();
    };
    if (subject.name.isEmpty())
        return say(editing::needCategory());
    if (const QString unsafe = texts::unsafeName(subject.name); !unsafe.isEmpty())
        return say(unsafe);
    const QByteArray key = categories_.selectedKey();
    const auto failed = [&](const Outcome& outcome) {
        msg::ok(window_, editing::refusal(Act::DeleteCategory, outcome, subject), w.title);
        name_.clear();
        emit categoriesStale();
    };
    if (const Outcome blocker = categories::checkRemove(library_, key); !blocker.done())
        return failed(blocker);
    if (!msg::yesNo(window_, editing::deleteCategoryQuestion(subject.name), w.questionTitle))
        return say(w.notDone, true);
    if (const Outcome removed = categories::remove(library_, key); !removed.done())
        return failed(removed);
    categories_.removeSelected();
    say(w.done, true);
}

}  // namespace corvane
