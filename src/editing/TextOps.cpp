#include "editing/TextOps.h"

#include "app/MainWindow.h"
#include "app/Msg.h"
#include "app/TextViewer.h"
#include "browse/Browser.h"
#include "editing/EditSupport.h"
#include "library/ScriptFile.h"
#include "search/SearchPanel.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QListWidget>
#include <QPushButton>

namespace corvane {
namespace {

const QString kTitle = QStringLiteral("Aviso edição");

}  // namespace

TextOps::TextOps(MainWindow& window)
    : QObject(&window)
    , window_(window)
{
    const MainControls& c = window_.controls();
    connect(c.btnEditText, &QPushButton::clicked, this,
            [this] { save(window_.controls().lstFile01, browsingTarget(), true); });
    connect(c.btnEditText2, &QPushButton::clicked, this,
            [this] { save(window_.controls().lstFile02, resultTarget(), false); });
    connect(c.btnCopy, &QPushButton::clicked, this, &TextOps::copy);
}

TextOps::Target TextOps::browsingTarget() const
{
    const MainControls& c = window_.controls();
    Target t;
    t.name = Browser::selectedText(c.lstFile01);
    t.category = Browser::selectedText(c.lstDir01);
    t.categoryKey = Browser::selectedKey(c.lstDir01);
    t.path = window_.library().scriptPath(t.categoryKey, Browser::selectedKey(c.lstFile01));
    return t;
}

TextOps::Target TextOps::resultTarget() const
{
    const QList<QListWidgetItem*> chosen = window_.controls().lstFile02->selectedItems();
    Target t;
    if (chosen.isEmpty())
        return t;
    // The file the result was read from, so the viewer and the save agree.
    const SearchPanel::Result result = SearchPanel::resultOf(chosen.first());
    t.name = result.name;
    t.category = fs::shownName(result.category);
    t.categoryKey = result.category;
    t.path = window_.library().categoryPath(result.category) + '/' + result.fileName;
    return t;
}

void TextOps::save(const QListWidget* list, const Target& target, bool fromBrowsing)
{
    if (list->selectedItems().isEmpty()) {
        msg::ok(&window_, QStringLiteral("O arquivo precisa ter um nome!"), kTitle);
        return;
    }
    QString unsafe = edit::unsafeCategory(target.category);
    if (unsafe.isEmpty())
        unsafe = edit::unsafeScript(target.name);
    if (!unsafe.isEmpty()) {
        msg::ok(&window_, unsafe, kTitle);
        return;
    }
    if (!msg::yesNo(&window_, QStringLiteral("Deseja realmente alterar esse arquivo?"), kTitle,
                    msg::Icon::Question)) {
        msg::ok(&window_, QStringLiteral("Arquivo não editado"), kTitle);
        return;
    }

    // The whole file is replaced through a temporary beside it; on any failure
    // the old file stays as it was and the viewer keeps the text. A script that
    // is a link is written where the link leads, as long as that is inside the
    // library.
    const QString notSaved = QStringLiteral("Arquivo não editado");
    fs::Path path = target.path;
    const fs::Path dir = window_.library().categoryPath(target.categoryKey);
    bool outside = fs::info(dir).type == fs::Type::Dir && !window_.library().holds(dir);
    if (!outside && fs::info(path).link) {
        path = fs::realPath(path);
        outside = path.isEmpty() || !window_.library().holds(path);
    }
    if (outside) {
        msg::ok(&window_,
                edit::notDone(notSaved, edit::outsideLibrary(QStringLiteral("O script \"%1\"").arg(target.name))),
                kTitle);
        return;
    }
    const script::WriteResult written = script::writeFile(path, window_.controls().cxLerFile->rawText());
    if (written.status == script::WriteStatus::Unencodable) {
        msg::ok(&window_, edit::notDone(notSaved, edit::unencodableReason(written.badChar)), kTitle);
        return;
    }
    if (written.status != script::WriteStatus::Ok) {
        msg::ok(&window_,
                edit::notDone(notSaved, edit::writeFailure(QStringLiteral("Não foi possível gravar o script \"%1\" na categoria "
                                                                          "\"%2\". O texto continua no visualizador.")
                                                               .arg(target.name, target.category),
                                                           written.error)),
                kTitle);
        if (fromBrowsing)
            edit::resyncLists(window_);
        return;
    }
    msg::ok(&window_, QStringLiteral("Arquivo editado"), kTitle);
}

void TextOps::copy()
{
    const TextViewer* viewer = window_.controls().cxLerFile;
    const QString selected = viewer->rawSelection();
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(selected.isEmpty() ? viewer->rawText() : selected);
}

}  // namespace corvane
