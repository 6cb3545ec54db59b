#include "editing/CategoryOps.h"

#include "app/MainWindow.h"
#include "app/Msg.h"
#include "app/NameBox.h"
#include "browse/Browser.h"
#include "editing/EditSupport.h"
#include "library/Names.h"

#include <QListWidget>
#include <QPushButton>

namespace corvane {
namespace {

const QString kAddTitle = QStringLiteral("Adicionar Categoria");
const QString kRenameTitle = QStringLiteral("Renomear Categoria");
const QString kRenameQuestionTitle = QStringLiteral("Renomear categoria");
const QString kDeleteTitle = QStringLiteral("Deletar Categoria");
const QString kDeleteQuestionTitle = QStringLiteral("Deletar categoria");

QString quoted(const QString& name)
{
    return u'"' + name + u'"';
}

QString alreadyPresent(const QString& name)
{
    return QStringLiteral("O nome ") + quoted(name) + QStringLiteral(" já existe!");
}

}  // namespace

CategoryOps::CategoryOps(MainWindow& window)
    : QObject(&window)
    , window_(window)
{
    const MainControls& c = window_.controls();
    connect(c.btnAddCat, &QPushButton::clicked, this, &CategoryOps::add);
    connect(c.btnEditCat, &QPushButton::clicked, this, &CategoryOps::rename);
    connect(c.btnDelCat, &QPushButton::clicked, this, &CategoryOps::remove);
}

void CategoryOps::add()
{
    const MainControls& c = window_.controls();
    const QString name = names::trimBlanks(c.cxRnmCat->text());
    if (name.isEmpty()) {
        msg::ok(&window_, QStringLiteral("Você precisa colocar um nome!"), kAddTitle);
        return;
    }
    if (const QString unsafe = edit::unsafeCategory(name); !unsafe.isEmpty()) {
        msg::ok(&window_, unsafe, kAddTitle);
        return;
    }
    const fs::Path& root = window_.library().rootPath();
    if (!Library::taken(root, name).isEmpty()) {
        msg::ok(&window_, alreadyPresent(name));
        c.cxRnmCat->clear();
        return;
    }
    if (!fs::makeDir(root + fs::rawName(name))) {
        // The typed name stays in the box for another try.
        msg::ok(&window_,
                edit::notDone(QStringLiteral("Categoria não adicionada!"),
                              edit::writeFailure(QStringLiteral("Não foi possível criar a pasta %1 na pasta dos scripts.")
                                                     .arg(quoted(name)),
                                                 fs::lastError())),
                kAddTitle);
        edit::resyncLists(window_);
        return;
    }
    // An entry whose folder had vanished behind our back is not listed twice.
    if (c.lstDir01->findItems(name, Qt::MatchExactly | Qt::MatchCaseSensitive).isEmpty())
        edit::insertSorted(c.lstDir01, name);
    c.cxRnmCat->clear();
}

void CategoryOps::rename()
{
    const MainControls& c = window_.controls();
    const QString newName = names::trimBlanks(c.cxRnmCat->text());
    const QString oldName = Browser::selectedText(c.lstDir01);
    const QByteArray oldKey = Browser::selectedKey(c.lstDir01);
    const fs::Path& root = window_.library().rootPath();

    const auto refuse = [&](const QString& text, const QString& title) {
        msg::ok(&window_, text, title);
        edit::selectFirstCategory(window_);
    };
    if (oldName.isEmpty())
        return refuse(QStringLiteral("Voce precisa selecionar uma Categoria"), kRenameTitle);
    if (newName.isEmpty())
        return refuse(QStringLiteral("Voce precisa colocar um novo nome!"), kRenameTitle);
    for (const QString& name : {oldName, newName}) {
        if (const QString unsafe = edit::unsafeCategory(name); !unsafe.isEmpty())
            return refuse(unsafe, kRenameTitle);
    }
    // Never onto another category, whatever its case; a case-only change of the
    // same folder is a rename.
    if (!Library::taken(root, newName, oldKey).isEmpty()) {
        c.cxRnmCat->clear();
        return refuse(alreadyPresent(newName), msg::appTitle());
    }

    const QString question = QStringLiteral("Você tem certeza que quer renomear\r\n") + quoted(oldName)
        + QStringLiteral(" para ") + quoted(newName) + u'?';
    if (!msg::yesNo(&window_, question, kRenameQuestionTitle)) {
        msg::ok(&window_, QStringLiteral("Categoria não renomeada!"), kRenameTitle);
        c.cxRnmCat->clear();
        edit::selectFirstCategory(window_);
        return;
    }

    // The disk may have changed while the question was open.
    // A category that is a link is renamed as a link.
    const bool present = fs::info(root + oldKey).type == fs::Type::Dir;
    const auto taken = [&] { return !Library::taken(root, newName, oldKey).isEmpty(); };
    const fs::Path newPath = root + fs::rawName(newName);
    if (!present || taken() || (newPath != root + oldKey && !fs::rename(root + oldKey, newPath))) {
        QString reason = edit::writeFailure(
            QStringLiteral("Não foi possível renomear a pasta %1; ela pode estar em uso.").arg(quoted(oldName)),
            fs::lastError());
        if (!present)
            reason = QStringLiteral("A pasta %1 não foi encontrada.").arg(quoted(oldName));
        else if (taken())
            reason = QStringLiteral("Já existe uma pasta chamada %1.").arg(quoted(newName));
        msg::ok(&window_, edit::notDone(QStringLiteral("Categoria não renomeada!"), reason), kRenameTitle);
        c.cxRnmCat->clear();
        edit::reloadCategories(window_);
        return;
    }
    edit::removeSelected(c.lstDir01);
    edit::insertSorted(c.lstDir01, newName);
    msg::ok(&window_, QStringLiteral("Categoria renomeada!"), kRenameTitle);
    c.cxRnmCat->clear();
    edit::selectFirstCategory(window_);
}

QString CategoryOps::deleteBlocker(const QByteArray& category) const
{
    const QString name = quoted(fs::shownName(category));
    const fs::Path dir = window_.library().categoryPath(category);
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

bool CategoryOps::removeFolder(const QByteArray& category) const
{
    const fs::Path dir = window_.library().categoryPath(category);
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

void CategoryOps::remove()
{
    const MainControls& c = window_.controls();
    const QString category = Browser::selectedText(c.lstDir01);
    const QString notDeleted = QStringLiteral("Categoria não deletada!");

    if (category.isEmpty()) {
        msg::ok(&window_, QStringLiteral("Voce precisa selecionar uma Categoria"), kDeleteTitle);
        edit::selectFirstCategory(window_);
        return;
    }
    if (const QString unsafe = edit::unsafeCategory(category); !unsafe.isEmpty()) {
        msg::ok(&window_, unsafe, kDeleteTitle);
        edit::selectFirstCategory(window_);
        return;
    }
    const QByteArray key = Browser::selectedKey(c.lstDir01);
    if (const QString blocker = deleteBlocker(key); !blocker.isEmpty()) {
        msg::ok(&window_, edit::notDone(notDeleted, blocker), kDeleteTitle);
        c.cxRnmCat->clear();
        edit::reloadCategories(window_);
        return;
    }

    const QString question = QStringLiteral("Você tem certeza que quer deletar \r\n") + quoted(category)
        + QStringLiteral("?\r\nTodos os scripts contidos nela\r\nserão também deletados!");
    if (!msg::yesNo(&window_, question, kDeleteQuestionTitle)) {
        msg::ok(&window_, notDeleted, kDeleteTitle);
        c.cxRnmCat->clear();
        edit::selectFirstCategory(window_);
        return;
    }

    if (!removeFolder(key)) {
        msg::ok(&window_,
                edit::notDone(notDeleted, QStringLiteral("Não foi possível apagar a pasta %1 por completo.")
                                              .arg(quoted(category))),
                kDeleteTitle);
        c.cxRnmCat->clear();
        edit::reloadCategories(window_);
        return;
    }
    edit::removeSelected(c.lstDir01);
    msg::ok(&window_, QStringLiteral("Categoria deletada!"), kDeleteTitle);
    c.cxRnmCat->clear();
    edit::selectFirstCategory(window_);
}

}  // namespace corvane
