#include "editing/TextEditor.h"

#include "editing/EditingTexts.h"
#include "library/ScriptOps.h"
#include "widgets/Msg.h"
#include "widgets/TextViewer.h"
#include "widgets/Texts.h"

#include <QClipboard>
#include <QGuiApplication>

namespace corvane {

using editing::Act;

TextEditor::TextEditor(const Library& library, QWidget* window, TextViewer& viewer)
    : QObject(window)
    , library_(library)
    , window_(window)
    , viewer_(viewer)
{
}

void TextEditor::save(const ScriptRef& target)
{
    const editing::Words& w = editing::words(Act::SaveScript);
    const auto say = [&](const QString& text) { msg::ok(window_, text, w.title); };
    if (target.name.isEmpty())
        return say(editing::needFileName());
    QString unsafe = texts::unsafeName(target.category);
    if (unsafe.isEmpty())
        unsafe = texts::unsafeScriptName(target.name);
    if (!unsafe.isEmpty())
        return say(unsafe);
    if (!msg::yesNo(window_, editing::saveQuestion(), w.questionTitle, msg::Icon::Question))
        return say(w.notDone);

    // On any failure the old file stays as it was and the viewer keeps the text.
    const editing::Subject subject{target.name, target.category, {}};
    const Outcome check = scripts::checkSave(library_, target, viewer_.script().loadedFrom(library_.pathOf(target)));
    if (check.code == Outcome::Code::OutsideLibrary)
        return say(editing::refusal(Act::SaveScript, check, subject));
    if (check.code == Outcome::Code::ChangedOnDisk
        && !msg::yesNoDefaultNo(window_, editing::changedOnDiskQuestion(target.name), w.questionTitle,
                                msg::Icon::Warning))
        return say(w.notDone);
    script::Snapshot snapshot;
    const Outcome written = scripts::save(library_, target, viewer_.rawText(), &snapshot);
    if (!written.done()) {
        say(editing::refusal(Act::SaveScript, written, subject));
        if (written.code == Outcome::Code::WriteFailed)
            emit saveFailed();
        return;
    }
    viewer_.script().saved(library_.pathOf(target), snapshot);
    say(w.done);
}

void TextEditor::copy()
{
    const QString selected = viewer_.rawSelection();
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(selected.isEmpty() ? viewer_.rawText() : selected);
}

}  // namespace corvane
