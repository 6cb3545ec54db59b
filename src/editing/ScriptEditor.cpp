#include "editing/ScriptEditor.h"

#include "library/Names.h"
#include "library/ScriptFile.h"
#include "library/ScriptMove.h"
#include "widgets/KeyedList.h"
#include "widgets/Msg.h"
#include "widgets/NameBox.h"
#include "widgets/TextViewer.h"
#include "widgets/Texts.h"

#include <QTextDocument>

namespace corvane {
namespace {

const QString kAddTitle = QStringLiteral("Adicionar Script");
const QString kRenameTitle = QStringLiteral("Renomear script");
const QString kRenameResultTitle = QStringLiteral("renomear script");
const QString kDeleteTitle = QStringLiteral("Deletar Script");
const QString kDeleteQuestionTitle = QStringLiteral("Deletar script");
const QString kMoveTitle = QStringLiteral("Mover Script");
const QString kMoveQuestionTitle = QStringLiteral("Mover script");

using texts::alreadyPresent;
using texts::notDone;
using texts::quoted;

QString notFound(const QString& name, const QString& category)
{
    return QStringLiteral("O script %1 não foi encontrado na categoria %2.").arg(quoted(name), quoted(category));
}

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

// To the trash, so the user can restore it; for good only where there is no trash.
bool discard(const fs::Path& path)
{
    const fs::Trashed trashed = fs::moveToTrash(path);
    return trashed == fs::Trashed::NoTrash ? fs::removeFile(path) : trashed == fs::Trashed::Yes;
}

// Why a move was refused or failed, in words.
QString moveRefusal(const Outcome& outcome, const QString& name)
{
    const QStringList& names = outcome.names;
    switch (outcome.code) {
    case Outcome::Code::NotScript:
        return QStringLiteral("O item %1 não é um script; só scripts podem ser movidos.").arg(quoted(name));
    case Outcome::Code::NotFound:
        return notFound(names.value(0), names.value(1));
    case Outcome::Code::FolderMissing:
        return QStringLiteral("A pasta da categoria %1 não foi encontrada.").arg(quoted(names.value(0)));
    case Outcome::Code::OutsideLibrary:
        return texts::outsideLibrary(QStringLiteral("A categoria ") + quoted(names.value(0)));
    case Outcome::Code::NameTaken:
        return QStringLiteral("Já existe um script chamado %1 na categoria %2.")
            .arg(quoted(names.value(0).chopped(4)), quoted(names.value(1)));
    default:
        return texts::writeFailure(
            QStringLiteral("Não foi possível mover o arquivo do script %1; ele pode estar em uso.").arg(quoted(name)),
            outcome.error);
    }
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

void ScriptEditor::add()
{
    const QString name = names::trimBlanks(name_.text());
    if (name.isEmpty()) {
        msg::ok(window_, QStringLiteral("Você precisa colocar um nome válido!"));
        return;
    }
    // Without a category there is no folder to write into; the box and the
    // viewer keep their text.
    const QString category = categories_.selectedText();
    if (category.isEmpty()) {
        msg::ok(window_, QStringLiteral("Voce precisa selecionar uma Categoria"), kAddTitle);
        return;
    }
    if (const QString unsafe = unsafeNames(category, {name}); !unsafe.isEmpty()) {
        msg::ok(window_, unsafe, kAddTitle);
        return;
    }
    const QString text = viewer_.rawText();
    const QByteArray categoryKey = categories_.selectedKey();
    const fs::Path dir = library_.categoryPath(categoryKey);
    if (!Library::taken(dir, name + QStringLiteral(".txt")).isEmpty()) {
        msg::ok(window_, alreadyPresent(name));
        name_.clear();
        return;
    }

    // A failed write keeps the name and the viewer's text for another try.
    const QString notAdded = QStringLiteral("Script não adicionado!");
    const bool dirFound = fs::info(dir).type == fs::Type::Dir;
    if (dirFound && !library_.holds(dir)) {
        msg::ok(window_, notDone(notAdded, texts::outsideLibrary(QStringLiteral("A categoria ") + quoted(category))),
                kAddTitle);
        return;
    }
    const Outcome written = dirFound
        ? script::writeFile(library_.scriptPath(categoryKey, scriptFileName(name)), text, fs::Replace::Refused)
        : Outcome::failed(Outcome::Code::WriteFailed);
    if (written.code == Outcome::Code::Unencodable) {
        msg::ok(window_, notDone(notAdded, texts::unencodable(written.character)), kAddTitle);
        return;
    }
    if (!written.done()) {
        const QString reason = dirFound
            ? texts::writeFailure(QStringLiteral("Não foi possível gravar o arquivo do script %1.").arg(quoted(name)),
                                 written.error)
            : QStringLiteral("A pasta da categoria %1 não foi encontrada.").arg(quoted(category));
        msg::ok(window_, notDone(notAdded, reason), kAddTitle);
        emit listsStale();
        return;
    }
    scripts_.insertSorted({name, scriptFileName(name)});
    name_.clear();
    viewer_.clear();
}

QString ScriptEditor::renameFile(const fs::Path& dir, const QByteArray& oldFile, const QString& oldName,
                                 const QString& newName) const
{
    // The disk may have changed while the question was open. A script that is a
    // link is renamed as a link; its target stays as it is.
    const QString category = categories_.selectedText();
    const QString newFile = newName + QStringLiteral(".txt");
    const fs::Entry old = oldFile.isEmpty() ? fs::Entry{} : fs::info(fs::join(dir, oldFile));
    const bool present = old.type == fs::Type::File || old.link;
    const bool outside = present && !library_.holds(dir);
    const auto taken = [&] { return !Library::taken(dir, newFile, oldFile).isEmpty(); };
    const fs::Path newPath = fs::join(dir, fs::rawName(newFile));
    if (present && !outside && !taken()
        && (newPath == fs::join(dir, oldFile) || fs::rename(fs::join(dir, oldFile), newPath)))
        return {};
    const int error = fs::lastError();
    if (!present)
        return notFound(oldName, category);
    if (outside)
        return texts::outsideLibrary(QStringLiteral("A categoria ") + quoted(category));
    if (taken())
        return QStringLiteral("Já existe um script chamado %1.").arg(quoted(newName));
    return texts::writeFailure(
        QStringLiteral("Não foi possível renomear o arquivo do script %1; ele pode estar em uso.").arg(quoted(oldName)),
        error);
}

void ScriptEditor::rename()
{
    const QString newName = names::trimBlanks(name_.text());
    const QString oldName = scripts_.selectedText();
    const QString category = categories_.selectedText();

    if (oldName.isEmpty()) {
        msg::ok(window_, QStringLiteral("Voce precisa selecionar um nome!"), kRenameTitle);
        return;
    }
    if (newName.isEmpty()) {
        msg::ok(window_, QStringLiteral("Voce precisa colocar um novo nome!"), kRenameTitle);
        return;
    }
    if (const QString unsafe = unsafeNames(category, {oldName, newName}); !unsafe.isEmpty()) {
        msg::ok(window_, unsafe, kRenameTitle);
        return;
    }
    // Only a script file is renamed; another entry shown alike is not one.
    const QByteArray oldFile = isScriptFile(scripts_.selectedKey()) ? scripts_.selectedKey() : QByteArray();
    const QString newFile = newName + QStringLiteral(".txt");
    const fs::Path dir = library_.categoryPath(categories_.selectedKey());
    // Never onto another script, whatever its case; a case-only change of the
    // same file is a rename.
    if (!Library::taken(dir, newFile, oldFile).isEmpty()) {
        msg::ok(window_, alreadyPresent(newName));
        name_.clear();
        return;
    }

    const QString question = texts::renameQuestion(oldName, newName);
    if (!msg::yesNo(window_, question, kRenameTitle)) {
        msg::ok(window_, QStringLiteral("Script não renomeado!"), kRenameResultTitle);
        name_.clear();
        return;
    }

    if (const QString reason = renameFile(dir, oldFile, oldName, newName); !reason.isEmpty()) {
        msg::ok(window_, notDone(QStringLiteral("Script não renomeado!"), reason), kRenameResultTitle);
        emit listsStale();
        return;
    }
    scripts_.removeSelected();
    scripts_.insertSorted({newName, scriptFileName(newName)});
    msg::ok(window_, QStringLiteral("Script renomeado!"), kRenameResultTitle);
    name_.clear();
}

void ScriptEditor::remove()
{
    const QString name = scripts_.selectedText();
    const QString category = categories_.selectedText();

    if (name.isEmpty()) {
        msg::ok(window_, QStringLiteral("Voce precisa selecionar um nome!"), kDeleteTitle);
        return;
    }
    if (const QString unsafe = unsafeNames(category, {name}); !unsafe.isEmpty()) {
        msg::ok(window_, unsafe, kDeleteTitle);
        return;
    }
    const QString question = QStringLiteral("Você tem certeza que quer deletar ") + quoted(name) + u'?';
    if (!msg::yesNo(window_, question, kDeleteQuestionTitle)) {
        msg::ok(window_, QStringLiteral("Script não deletado!"), kDeleteTitle);
        name_.clear();
        return;
    }

    // Only a plain file is a script to delete: a sub-folder listed under the same
    // name is left alone.
    // A script that is a link loses the link only; a category that leads outside
    // the library is not changed through.
    const QByteArray categoryKey = categories_.selectedKey();
    const fs::Path path = library_.scriptPath(categoryKey, scripts_.selectedKey());
    const fs::Entry entry = isScriptFile(scripts_.selectedKey()) ? fs::info(path) : fs::Entry{};
    const bool present = entry.type == fs::Type::File || (entry.link && entry.type != fs::Type::Dir);
    const bool outside = present && !library_.holds(library_.categoryPath(categoryKey));
    if (!present || outside || !discard(path)) {
        QString reason = present
            ? QStringLiteral("Não foi possível apagar o arquivo do script %1; ele pode estar em uso.")
                  .arg(quoted(name))
            : notFound(name, category);
        if (outside)
            reason = texts::outsideLibrary(QStringLiteral("A categoria ") + quoted(category));
        msg::ok(window_, notDone(QStringLiteral("Script não deletado!"), reason), kDeleteTitle);
        emit listsStale();
        return;
    }
    scripts_.removeSelected();
    emit scriptDeleted();
    msg::ok(window_, QStringLiteral("Script deletado!"), kDeleteTitle);
    name_.clear();
}

void ScriptEditor::move(const Item& script, const Item& category)
{
    const QByteArray fromKey = categories_.selectedKey();
    if (category.key == fromKey || fromKey.isEmpty())
        return;
    const QString notMoved = QStringLiteral("Script não movido!");
    // A move never loses unsaved edits of the script: the user saves them first,
    // or gives them up by choosing the script again.
    const ScriptMove move{script.key, fromKey, category.key};
    const fs::Path path = library_.scriptPath(fromKey, script.key);
    if (viewer_.script().loadedFrom(path) && viewer_.document()->isModified()) {
        msg::ok(window_,
                notDone(notMoved, QStringLiteral("O texto do script %1 foi alterado e não foi salvo; salve-o com Editar "
                                                 "antes de movê-lo.")
                                      .arg(quoted(script.shown))),
                kMoveTitle);
        return;
    }
    if (const Outcome check = checkMove(library_, move); !check.done()) {
        msg::ok(window_, notDone(notMoved, moveRefusal(check, script.shown)), kMoveTitle);
        emit listsStale();
        return;
    }
    const QString question = QStringLiteral("Deseja realmente mover o script %1 da categoria %2 para a categoria %3?")
                                 .arg(quoted(script.shown), quoted(categories_.selectedText()), quoted(category.shown));
    if (!msg::yesNo(window_, question, kMoveQuestionTitle)) {
        msg::ok(window_, notMoved, kMoveTitle);
        return;
    }
    // The disk may have changed while the question was open: checked again.
    if (const Outcome moved = moveScript(library_, move); !moved.done()) {
        msg::ok(window_, notDone(notMoved, moveRefusal(moved, script.shown)), kMoveTitle);
        emit listsStale();
        return;
    }
    emit scriptMoved(scripts_.selectedKey() == script.key);
    msg::ok(window_, QStringLiteral("Script movido!"), kMoveTitle);
}

}  // namespace corvane
