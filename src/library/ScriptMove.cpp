#include "library/ScriptMove.h"

namespace corvane {

Outcome checkMove(const Library& library, const ScriptMove& move)
{
    using Code = Outcome::Code;
    if (!isScriptFile(move.fileName))
        return Outcome::failed(Code::NotScript, fs::shownName(move.fileName));
    const QString script = fs::shownName(QByteArrayView(move.fileName).chopped(4));
    const QString from = fs::shownName(move.from), to = fs::shownName(move.to);
    // As delete and rename see it: a link counts, whatever it leads to, but a
    // folder is no script.
    const fs::Entry source = fs::info(library.scriptPath(move.from, move.fileName));
    if (source.type != fs::Type::File && !(source.link && source.type != fs::Type::Dir))
        return Outcome::failed(Code::NotFound, script, from);
    const fs::Path target = library.categoryPath(move.to);
    if (fs::info(target).type != fs::Type::Dir)
        return Outcome::failed(Code::FolderMissing, {}, to);
    for (const QByteArray& category : {move.from, move.to}) {
        if (!library.holds(library.categoryPath(category)))
            return Outcome::failed(Code::OutsideLibrary, {}, fs::shownName(category));
    }
    if (const QString taken = Library::taken(target, fs::shownName(move.fileName)); !taken.isEmpty())
        return Outcome::failed(Code::NameTaken, taken, to);
    return {};
}

Outcome moveScript(const Library& library, const ScriptMove& move)
{
    Outcome checked = checkMove(library, move);
    if (!checked.done())
        return checked;
    if (!fs::moveFile(library.scriptPath(move.from, move.fileName), library.scriptPath(move.to, move.fileName)))
        return Outcome::writeFailed(fs::lastError());
    return {};
}

}  // namespace corvane
