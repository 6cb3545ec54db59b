#include "editing/CategoryEditor.h"

#include "library/Names.h"
#include "widgets/KeyedList.h"
#include "widgets/Msg.h"
#include "widgets/NameBox.h"
#include "widgets/Texts.h"

namespace corvane {
namespace {

const QString kAddTitle = QStringLiteral("Adicionar Categoria");
const QString kRenameTitle = QStringLiteral("Renomear Categoria");
const QString kRenameQuestionTitle = QStringLiteral("Renomear categoria");
const QString kDeleteTitle = QStringLiteral("Deletar Categoria");
const QString kDeleteQuestionTitle = QStringLiteral("Deletar categoria");

using texts::notDone;
using texts::quoted;

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
    if (name.isEmpty()) {
        msg::ok(window_, QStringLiteral("Você precisa colocar um nome!"), kAddTitle);
        return;
    }
    if (const QString unsafe = texts::unsafeName(name); !unsafe.isEmpty()) {
        msg::ok(window_, unsafe, kAddTitle);
        return;
    }
    const fs::Path& root = library_.rootPath();
    if (!Library::taken(root, name).isEmpty()) {
        msg::ok(window_, texts::alreadyPresent(name));
        name_.clear();
        return;
    }
    if (!fs::makeDir(root + fs::rawName(name))) {
        // The typed name stays in the box for another try.
        msg::ok(window_,
                notDone(QStringLiteral("Categoria não adicionada!"),
                              texts::writeFailure(QStringLiteral("Não foi possível criar a pasta %1 na pasta dos scripts.")
                                                     .arg(quoted(name)),
                                                 fs::lastError())),
                kAddTitle);
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
    const QString newName = names::trimBlanks(name_.text());
    const QString oldName = categories_.selectedText();
    const QByteArray oldKey = categories_.selectedKey();
    const fs::Path& root = library_.rootPath();

    const auto refuse = [&](const QString& text, const QString& title) {
        msg::ok(window_, text, title);
        emit firstCategoryWanted();
    };
    if (oldName.isEmpty())
        return refuse(QStringLiteral("Voce precisa selecionar uma Categoria"), kRenameTitle);
    if (newName.isEmpty())
        return refuse(QStringLiteral("Voce precisa colocar um novo nome!"), kRenameTitle);
    for (const QString& name : {oldName, newName}) {
        if (const QString unsafe = texts::unsafeName(name); !unsafe.isEmpty())
            return refuse(unsafe, kRenameTitle);
    }
    // Never onto another category, whatever its case; a case-only change of the
    // same folder is a rename.
    if (!Library::taken(root, newName, oldKey).isEmpty()) {
        name_.clear();
        return refuse(texts::alreadyPresent(newName), msg::appTitle());
    }

    const QString question = texts::renameQuestion(oldName, newName);
    if (!msg::yesNo(window_, question, kRenameQuestionTitle)) {
        msg::ok(window_, QStringLiteral("Categoria não renomeada!"), kRenameTitle);
        name_.clear();
        emit firstCategoryWanted();
        return;
    }

    // The disk may have changed while the question was open.
    // A category that is a link is renamed as a link.
    const bool present = fs::info(root + oldKey).type == fs::Type::Dir;
    const auto taken = [&] { return !Library::taken(root, newName, oldKey).isEmpty(); };
    const fs::Path newPath = root + fs::rawName(newName);
    if (!present || taken() || (newPath != root + oldKey && !fs::rename(root + oldKey, newPath))) {
        QString reason = texts::writeFailure(
            QStringLiteral("Não foi possível renomear a pasta %1; ela pode estar em uso.").arg(quoted(oldName)),
            fs::lastError());
        if (!present)
            reason = QStringLiteral("A pasta %1 não foi encontrada.").arg(quoted(oldName));
        else if (taken())
            reason = QStringLiteral("Já existe uma pasta chamada %1.").arg(quoted(newName));
        msg::ok(window_, notDone(QStringLiteral("Categoria não renomeada!"), reason), kRenameTitle);
        name_.clear();
        emit categoriesStale();
        return;
    }
    categories_.removeSelected();
    categories_.insertSorted({newName, fs::rawName(newName)});
    msg::ok(window_, QStringLiteral("Categoria renomeada!"), kRenameTitle);
    name_.clear();
    emit firstCategoryWanted();
}

QString CategoryEditor::deleteBlocker(const QByteArray& category) const
{
    const QString name = quoted(fs::shownName(category));
    const fs::Path dir = library_.categoryPath(category);
    const fs::Entry entry = fs::info(dir);
    if (entry.type != fs::Type::Dir)
        return QStringLiteral("A pasta %1 não foi encontrada.").arg(name);
    if (entry.link)
        return {};  // only the link goes
    // Sub-folders and hidden files are no scripts and are not deleted; with any of
    // them the folder could not be removed, so nothing is deleted at all.
    std::vector<fs::Entry> entries;
    if (!fs::list(dir, entries))
        return QStringLiteral("A pasta %1 não pôde ser lida. Nada foi apagado.").arg(name);
    for (const fs::Entry& e : entries) {
        if (e.hidden || e.type != fs::Type::File)
            return QStringLiteral("A pasta %1 contém subpastas ou arquivos ocultos, que não são scripts. "
                                  "Nada foi apagado.")
                .arg(name);
    }
    return {};
}

bool CategoryEditor::removeFolder(const QByteArray& category) const
{
    const fs::Path dir = library_.categoryPath(category);
    // To the trash, whole, so the user can restore it; for good only where there
    // is no trash.
    const fs::Trashed trashed = fs::moveToTrash(dir);
    if (trashed != fs::Trashed::NoTrash)
        return trashed == fs::Trashed::Yes;
    // A link to a folder is removed as a link: nothing it leads to is touched.
    if (fs::info(dir).link)
        return fs::removeFile(dir);
    // A folder that turned up meanwhile stays, and so does the category.
    std::vector<fs::Entry> entries;
    if (!fs::list(dir, entries))
        return false;
    bool all = true;
    for (const fs::Entry& e : entries) {
        if (e.type != fs::Type::Dir || e.link)
            all = fs::removeFile(fs::join(dir, e.name)) && all;
    }
    return all && fs::removeDir(dir);
}

void CategoryEditor::remove()
{
    const QString category = categories_.selectedText();
    const QString notDeleted = QStringLiteral("Categoria não deletada!");

    if (category.isEmpty()) {
        msg::ok(window_, QStringLiteral("Voce precisa selecionar uma Categoria"), kDeleteTitle);
        emit firstCategoryWanted();
        return;
    }
    if (const QString unsafe = texts::unsafeName(category); !unsafe.isEmpty()) {
        msg::ok(window_, unsafe, kDeleteTitle);
        emit firstCategoryWanted();
        return;
    }
    const QByteArray key = categories_.selectedKey();
    if (const QString blocker = deleteBlocker(key); !blocker.isEmpty()) {
        msg::ok(window_, notDone(notDeleted, blocker), kDeleteTitle);
        name_.clear();
        emit categoriesStale();
        return;
    }

    const QString question = QStringLiteral("Você tem certeza que quer deletar \r\n") + quoted(category)
        + QStringLiteral("?\r\nTodos os scripts contidos nela\r\nserão também deletados!");
    if (!msg::yesNo(window_, question, kDeleteQuestionTitle)) {
        msg::ok(window_, notDeleted, kDeleteTitle);
        name_.clear();
        emit firstCategoryWanted();
        return;
    }

    if (!removeFolder(key)) {
        msg::ok(window_,
                notDone(notDeleted, QStringLiteral("Não foi possível apagar a pasta %1 por completo.")
                                              .arg(quoted(category))),
                kDeleteTitle);
        name_.clear();
        emit categoriesStale();
        return;
    }
    categories_.removeSelected();
    msg::ok(window_, QStringLiteral("Categoria deletada!"), kDeleteTitle);
    name_.clear();
    emit firstCategoryWanted();
}

}  // namespace corvane
