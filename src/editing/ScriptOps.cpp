#include "editing/ScriptOps.h"

#include "app/MainWindow.h"
#include "app/Msg.h"
#include "app/NameBox.h"
#include "app/TextViewer.h"
#include "browse/Browser.h"
#include "editing/EditSupport.h"
#include "library/Names.h"
#include "library/ScriptFile.h"

#include <QListWidget>
#include <QPushButton>

namespace corvane {
namespace {

const QString kAddTitle = QStringLiteral("Adicionar Script");
const QString kRenameTitle = QStringLiteral("Renomear script");
const QString kRenameResultTitle = QStringLiteral("renomear script");
const QString kDeleteTitle = QStringLiteral("Deletar Script");
const QString kDeleteQuestionTitle = QStringLiteral("Deletar script");

QString quoted(const QString& name)
{
    return u'"' + name + u'"';
}

QString alreadyPresent(const QString& name)
{
    return QStringLiteral("O nome ") + quoted(name) + QStringLiteral(" já existe!");
}

QString notFound(const QString& name, const QString& category)
{
    return QStringLiteral("O script %1 não foi encontrado na categoria %2.").arg(quoted(name), quoted(category));
}

// The first name of a script operation that must not reach the file system.
QString unsafeNames(const QString& category, std::initializer_list<QString> scripts)
{
    if (QString unsafe = edit::unsafeCategory(category); !unsafe.isEmpty())
        return unsafe;
    for (const QString& name : scripts) {
        if (QString unsafe = edit::unsafeScript(name); !unsafe.isEmpty())
            return unsafe;
    }
    return {};
}

}  // namespace

ScriptOps::ScriptOps(MainWindow& window)
    : QObject(&window)
    , window_(window)
{
    const MainControls& c = window_.controls();
    connect(c.btnAddFile, &QPushButton::clicked, this, &ScriptOps::add);
    connect(c.btnEditFile, &QPushButton::clicked, this, &ScriptOps::rename);
    connect(c.btnDelFile, &QPushButton::clicked, this, &ScriptOps::remove);
}

void ScriptOps::add()
{
    const MainControls& c = window_.controls();
    const QString name = names::trimBlanks(c.cxRnmFile->text());
    if (name.isEmpty()) {
        msg::ok(&window_, QStringLiteral("Você precisa colocar um nome válido!"));
        return;
    }
    // Without a category there is no folder to write into; the box and the
    // viewer keep their text.
    const QString category = Browser::selectedText(c.lstDir01);
    if (category.isEmpty()) {
        msg::ok(&window_, QStringLiteral("Voce precisa selecionar uma Categoria"), kAddTitle);
        return;
    }
    if (const QString unsafe = unsafeNames(category, {name}); !unsafe.isEmpty()) {
        msg::ok(&window_, unsafe, kAddTitle);
        return;
    }
    const QString text = c.cxLerFile->rawText();
    const QByteArray categoryKey = Browser::selectedKey(c.lstDir01);
    const fs::Path dir = window_.library().categoryPath(categoryKey);
    if (!Library::taken(dir, name + QStringLiteral(".txt")).isEmpty()) {
        msg::ok(&window_, alreadyPresent(name));
        c.cxRnmFile->clear();
        return;
    }

    // A failed write keeps the name and the viewer's text for another try.
    const QString notAdded = QStringLiteral("Script não adicionado!");
    const bool dirFound = fs::info(dir).type == fs::Type::Dir;
    if (dirFound && !window_.library().holds(dir)) {
        msg::ok(&window_, edit::notDone(notAdded, edit::outsideLibrary(QStringLiteral("A categoria ") + quoted(category))),
                kAddTitle);
        return;
    }
    const script::WriteResult written = dirFound
        ? script::writeFile(window_.library().scriptPath(categoryKey, fs::rawName(name)), text, fs::Replace::Refused)
        : script::WriteResult{script::WriteStatus::Failed, 0, 0};
    if (written.status == script::WriteStatus::Unencodable) {
        msg::ok(&window_, edit::notDone(notAdded, edit::unencodableReason(written.badChar)), kAddTitle);
        return;
    }
    if (written.status != script::WriteStatus::Ok) {
        const QString reason = dirFound
            ? edit::writeFailure(QStringLiteral("Não foi possível gravar o arquivo do script %1.").arg(quoted(name)),
                                 written.error)
            : QStringLiteral("A pasta da categoria %1 não foi encontrada.").arg(quoted(category));
        msg::ok(&window_, edit::notDone(notAdded, reason), kAddTitle);
        edit::resyncLists(window_);
        return;
    }
    edit::insertSorted(c.lstFile01, name);
    c.cxRnmFile->clear();
    c.cxLerFile->clear();
}

void ScriptOps::rename()
{
    const MainControls& c = window_.controls();
    const QString newName = names::trimBlanks(c.cxRnmFile->text());
    const QString oldName = Browser::selectedText(c.lstFile01);
    const QString category = Browser::selectedText(c.lstDir01);

    if (oldName.isEmpty()) {
        msg::ok(&window_, QStringLiteral("Voce precisa selecionar um nome!"), kRenameTitle);
        return;
    }
    if (newName.isEmpty()) {
        msg::ok(&window_, QStringLiteral("Voce precisa colocar um novo nome!"), kRenameTitle);
        return;
    }
    if (const QString unsafe = unsafeNames(category, {oldName, newName}); !unsafe.isEmpty()) {
        msg::ok(&window_, unsafe, kRenameTitle);
        return;
    }
    const QByteArray oldFile = Browser::selectedKey(c.lstFile01) + ".txt";
    const QString newFile = newName + QStringLiteral(".txt");
    const fs::Path dir = window_.library().categoryPath(Browser::selectedKey(c.lstDir01));
    // Never onto another script, whatever its case; a case-only change of the
    // same file is a rename.
    if (!Library::taken(dir, newFile, oldFile).isEmpty()) {
        msg::ok(&window_, alreadyPresent(newName));
        c.cxRnmFile->clear();
        return;
    }

    const QString question = QStringLiteral("Você tem certeza que quer renomear\r\n") + quoted(oldName)
        + QStringLiteral(" para ") + quoted(newName) + u'?';
    if (!msg::yesNo(&window_, question, kRenameTitle)) {
        msg::ok(&window_, QStringLiteral("Script não renomeado!"), kRenameResultTitle);
        c.cxRnmFile->clear();
        return;
    }

    // The disk may have changed while the question was open. A script that is a
    // link is renamed as a link; its target stays as it is.
    const fs::Entry old = fs::info(fs::join(dir, oldFile));
    const bool present = old.type == fs::Type::File || old.link;
    const bool outside = present && !window_.library().holds(dir);
    const auto taken = [&] { return !Library::taken(dir, newFile, oldFile).isEmpty(); };
    const fs::Path newPath = fs::join(dir, fs::rawName(newFile));
    if (!present || outside || taken()
        || (newPath != fs::join(dir, oldFile) && !fs::rename(fs::join(dir, oldFile), newPath))) {
        QString reason = edit::writeFailure(
            QStringLiteral("Não foi possível renomear o arquivo do script %1; ele pode estar em uso.").arg(quoted(oldName)),
            fs::lastError());
        if (!present)
            reason = notFound(oldName, category);
        else if (outside)
            reason = edit::outsideLibrary(QStringLiteral("A categoria ") + quoted(category));
        else if (taken())
            reason = QStringLiteral("Já existe um script chamado %1.").arg(quoted(newName));
        msg::ok(&window_, edit::notDone(QStringLiteral("Script não renomeado!"), reason), kRenameResultTitle);
        edit::resyncLists(window_);
        return;
    }
    edit::removeSelected(c.lstFile01);
    edit::insertSorted(c.lstFile01, newName);
    msg::ok(&window_, QStringLiteral("Script renomeado!"), kRenameResultTitle);
    c.cxRnmFile->clear();
}

void ScriptOps::remove()
{
    const MainControls& c = window_.controls();
    const QString name = Browser::selectedText(c.lstFile01);
    const QString category = Browser::selectedText(c.lstDir01);

    if (name.isEmpty()) {
        msg::ok(&window_, QStringLiteral("Voce precisa selecionar um nome!"), kDeleteTitle);
        return;
    }
    if (const QString unsafe = unsafeNames(category, {name}); !unsafe.isEmpty()) {
        msg::ok(&window_, unsafe, kDeleteTitle);
        return;
    }
    const QString question = QStringLiteral("Você tem certeza que quer deletar ") + quoted(name) + u'?';
    if (!msg::yesNo(&window_, question, kDeleteQuestionTitle)) {
        msg::ok(&window_, QStringLiteral("Script não deletado!"), kDeleteTitle);
        c.cxRnmFile->clear();
        return;
    }

    // Only a plain file is a script to delete: a sub-folder listed under the same
    // name is left alone.
    // A script that is a link loses the link only; a category that leads outside
    // the library is not changed through.
    const QByteArray categoryKey = Browser::selectedKey(c.lstDir01);
    const fs::Path path = window_.library().scriptPath(categoryKey, Browser::selectedKey(c.lstFile01));
    const fs::Entry entry = fs::info(path);
    const bool present = entry.type == fs::Type::File || (entry.link && entry.type != fs::Type::Dir);
    const bool outside = present && !window_.library().holds(window_.library().categoryPath(categoryKey));
    if (!present || outside || !fs::removeFile(path)) {
        QString reason = present
            ? QStringLiteral("Não foi possível apagar o arquivo do script %1; ele pode estar em uso.")
                  .arg(quoted(name))
            : notFound(name, category);
        if (outside)
            reason = edit::outsideLibrary(QStringLiteral("A categoria ") + quoted(category));
        msg::ok(&window_, edit::notDone(QStringLiteral("Script não deletado!"), reason), kDeleteTitle);
        edit::resyncLists(window_);
        return;
    }
    edit::removeSelected(c.lstFile01);
    c.cxLerFile->clear();
    msg::ok(&window_, QStringLiteral("Script deletado!"), kDeleteTitle);
    c.cxRnmFile->clear();
    for (QPushButton* b : {c.btnEditText, c.btnCopy, c.btnPrint})
        b->setEnabled(false);
}

}  // namespace corvane
