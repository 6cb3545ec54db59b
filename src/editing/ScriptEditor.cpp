#include "editing/ScriptEditor.h"

#include "editing/EditingTexts.h"
#include "library/Names.h"
#include "library/ScriptMove.h"
#include "library/ScriptOps.h"
#include "widgets/KeyedList.h"
#include "widgets/Msg.h"
#include "widgets/NameBox.h"
#include "widgets/TextViewer.h"
#include "widgets/Texts.h"

#include <QTextDocument>

namespace corvane {
namespace {

using editing::Act;
using editing::words;
using Code = Outcome::Code;

// The first name of a script operation that must not reach the file system.
QString unsafeNames(const QString& category, std::initializer_list<QString> scripts)
{
    if (QString unsafe = texts::unsafeName(category); !unsafe.isEmpty())
        return unsafe;
    for (const QString& name : scripts) {
        if (QString unsafe = texts::unsafeScriptName(name); !unsafe.isEmpty())
            return unsafe;
    }
    return {};
}

}  // namespace

ScriptEditor::ScriptEditor(const Library& library, QWidget* window, const KeyedList& categories,
                           KeyedList& scripts, NameBox& name, TextViewer& viewer)
    : QObject(window)
    , library_(library)
    , window_(window)
    , categories_(categories)
    , scripts_(scripts)
    , name_(name)
    , viewer_(viewer)
{
}

void ScriptEditor::say(const QString& text, Act act) const
{
    msg::ok(window_, text, words(act).title);
}

void ScriptEditor::add()
{
    const QString name = names::trimBlanks(name_.text());
    if (name.isEmpty()) {
        msg::ok(window_, editing::needName());
        return;
    }
    // Without a category there is no folder to write into; the box and the
    // viewer keep their text.
    const QString category = categories_.selectedText();
    if (category.isEmpty())
        return say(editing::needCategory(), Act::AddScript);
    if (const QString unsafe = unsafeNames(category, {name}); !unsafe.isEmpty())
        return say(unsafe, Act::AddScript);
    const Outcome added = scripts::add(library_, categories_.selectedKey(), name, viewer_.rawText());
    if (added.code == Code::NameTaken) {
        msg::ok(window_, texts::alreadyPresent(name));
        name_.clear();
        return;
    }
    // A failed write keeps the name and the viewer's text for another try.
    if (!added.done()) {
        say(editing::refusal(Act::AddScript, added, {name, category, {}}), Act::AddScript);
        if (added.code == Code::WriteFailed || added.code == Code::FolderMissing)
            emit listsStale();
        return;
    }
    scripts_.insertSorted({name, scriptFileName(name)});
    name_.clear();
    viewer_.clear();
}

void ScriptEditor::rename()
{
    const editing::Subject subject{scripts_.selectedText(), categories_.selectedText(), names::trimBlanks(name_.text())};
    // What is refused before the question is titled like the question.
    const auto refuse = [&](const QString& text) { msg::ok(window_, text, words(Act::RenameScript).questionTitle); };
    if (subject.name.isEmpty())
        return refuse(editing::needScript());
    if (subject.newName.isEmpty())
        return refuse(editing::needNewName());
    if (const QString unsafe = unsafeNames(subject.category, {subject.name, subject.newName}); !unsafe.isEmpty())
        return refuse(unsafe);
    const QByteArray category = categories_.selectedKey(), entry = scripts_.selectedKey();
    // Never onto another script, whatever its case.
    if (!scripts::checkRename(library_, category, entry, subject.newName).done()) {
        msg::ok(window_, texts::alreadyPresent(subject.newName));
        name_.clear();
        return;
    }
    if (!msg::yesNo(window_, texts::renameQuestion(subject.name, subject.newName), words(Act::RenameScript).questionTitle)) {
        say(words(Act::RenameScript).notDone, Act::RenameScript);
        name_.clear();
        return;
    }
    if (const Outcome renamed = scripts::rename(library_, category, entry, subject.newName); !renamed.done()) {
        say(editing::refusal(Act::RenameScript, renamed, subject), Act::RenameScript);
        emit listsStale();
        return;
    }
    scripts_.removeSelected();
    scripts_.insertSorted({subject.newName, scriptFileName(subject.newName)});
    say(words(Act::RenameScript).done, Act::RenameScript);
    name_.clear();
}

void ScriptEditor::remove()
{
    const editing::Subject subject{scripts_.selectedText(), categories_.selectedText(), {}};
    if (subject.name.isEmpty())
        return say(editing::needScript(), Act::DeleteScript);
    if (const QString unsafe = unsafeNames(subject.category, {subject.name}); !unsafe.isEmpty())
        return say(unsafe, Act::DeleteScript);
    if (!msg::yesNo(window_, editing::deleteScriptQuestion(subject.name), words(Act::DeleteScript).questionTitle)) {
        say(words(Act::DeleteScript).notDone, Act::DeleteScript);
        name_.clear();
        return;
    }
    const Outcome removed = scripts::remove(library_, categories_.selectedKey(), scripts_.selectedKey());
    if (!removed.done()) {
        say(editing::refusal(Act::DeleteScript, removed, subject), Act::DeleteScript);
        emit listsStale();
        return;
    }
    scripts_.removeSelected();
    emit scriptDeleted();
    say(words(Act::DeleteScript).done, Act::DeleteScript);
    name_.clear();
}

void ScriptEditor::move(const Item& script, const Item& category)
{
    const QByteArray fromKey = categories_.selectedKey();
    if (category.key == fromKey || fromKey.isEmpty())
        return;
    const editing::Subject subject{script.shown, categories_.selectedText(), {}};
    const auto refused = [&](const Outcome& outcome) {
        say(editing::refusal(Act::MoveScript, outcome, subject), Act::MoveScript);
        emit listsStale();
    };
    // A move never loses unsaved edits of the script: the user saves them first,
    // or gives them up by choosing the script again.
    const ScriptMove move{script.key, fromKey, category.key};
    if (viewer_.script().loadedFrom(library_.scriptPath(fromKey, script.key)) && viewer_.document()->isModified()) {
        say(texts::notDone(words(Act::MoveScript).notDone, editing::unsavedBeforeMove(script.shown)), Act::MoveScript);
        return;
    }
    if (const Outcome check = checkMove(library_, move); !check.done())
        return refused(check);
    if (!msg::yesNo(window_, editing::moveQuestion(script.shown, subject.category, category.shown),
                    words(Act::MoveScript).questionTitle)) {
        say(words(Act::MoveScript).notDone, Act::MoveScript);
        return;
    }
    // The disk may have changed while the question was open: checked again.
    if (const Outcome moved = moveScript(library_, move); !moved.done())
        return refused(moved);
    emit scriptMoved(scripts_.selectedKey() == script.key);
    say(words(Act::MoveScript).done, Act::MoveScript);
}

}  // namespace corvane
