#include "editing/TextEditor.h"

#include "library/ScriptFile.h"
#include "widgets/Msg.h"
#include "widgets/TextViewer.h"
#include "widgets/Texts.h"

#include <QClipboard>
#include <QGuiApplication>

namespace corvane {
namespace {

const QString kTitle = QStringLiteral("Aviso edição");

}  // namespace

TextEditor::TextEditor(const Library& library, QWidget* window, TextViewer& viewer)
    : QObject(window)
    , library_(library)
    , window_(window)
    , viewer_(viewer)
{
}

void TextEditor::save(const ScriptRef& target)
{
    if (target.name.isEmpty()) {
        msg::ok(window_, QStringLiteral("O arquivo precisa ter um nome!"), kTitle);
        return;
    }
    QString unsafe = texts::unsafeName(target.category);
    if (unsafe.isEmpty())
        unsafe = texts::unsafeScriptName(target.name);
    if (!unsafe.isEmpty()) {
        msg::ok(window_, unsafe, kTitle);
        return;
    }
    if (!msg::yesNo(window_, QStringLiteral("Deseja realmente alterar esse arquivo?"), kTitle,
                    msg::Icon::Question)) {
        msg::ok(window_, QStringLiteral("Arquivo não editado"), kTitle);
        return;
    }

    // The whole file is replaced through a temporary beside it; on any failure
    // the old file stays as it was and the viewer keeps the text. A script that
    // is a link is written where the link leads, as long as that is inside the
    // library.
    const QString notSaved = QStringLiteral("Arquivo não editado");
    fs::Path path = library_.pathOf(target);
    const fs::Path dir = library_.categoryPath(target.categoryKey);
    bool outside = fs::info(dir).type == fs::Type::Dir && !library_.holds(dir);
    if (!outside && fs::info(path).link) {
        path = fs::realPath(path);
        outside = path.isEmpty() || !library_.holds(path);
    }
    if (outside) {
        msg::ok(window_,
                texts::notDone(notSaved, texts::outsideLibrary(QStringLiteral("O script \"%1\"").arg(target.name))),
                kTitle);
        return;
    }
    if (changedSinceLoaded(target)) {
        const QString question = QStringLiteral("O script \"%1\" foi alterado por outro programa depois de aberto.\r\n"
                                                "Deseja substituí-lo pelo texto do visualizador?")
                                     .arg(target.name);
        if (!msg::yesNoDefaultNo(window_, question, kTitle, msg::Icon::Warning)) {
            msg::ok(window_, notSaved, kTitle);
            return;
        }
    }
    script::Snapshot snapshot;
    const Outcome written = script::writeFile(path, viewer_.rawText(), fs::Replace::Allowed, &snapshot);
    if (written.code == Outcome::Code::Unencodable) {
        msg::ok(window_, texts::notDone(notSaved, texts::unencodable(written.character)), kTitle);
        return;
    }
    if (!written.done()) {
        msg::ok(window_,
                texts::notDone(notSaved, texts::writeFailure(QStringLiteral("Não foi possível gravar o script \"%1\" na categoria "
                                                                          "\"%2\". O texto continua no visualizador.")
                                                               .arg(target.name, target.category),
                                                           written.error)),
                kTitle);
        emit saveFailed();
        return;
    }
    viewer_.script().saved(library_.pathOf(target), snapshot);
    msg::ok(window_, QStringLiteral("Arquivo editado"), kTitle);
}

bool TextEditor::changedSinceLoaded(const ScriptRef& target) const
{
    // A file removed meanwhile is simply written again: nothing is lost that way.
    const fs::Path path = library_.pathOf(target);
    const std::optional<script::Snapshot> loaded = viewer_.script().loadedFrom(path);
    if (!loaded)
        return false;
    const script::Snapshot now = script::snapshot(path);
    return now.exists && now != *loaded;
}

void TextEditor::copy()
{
    const QString selected = viewer_.rawSelection();
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(selected.isEmpty() ? viewer_.rawText() : selected);
}

}  // namespace corvane
