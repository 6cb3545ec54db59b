#include "library/ScriptOps.h"

#include "library/Discard.h"

namespace corvane::scripts {
namespace {

using Code = Outcome::Code;

// The name a list shows for an entry.
QString shownEntry(const QByteArray& entry)
{
    return fs::shownName(isScriptFile(entry) ? QByteArrayView(entry).chopped(4) : QByteArrayView(entry));
}

// A file, or a link that leads to no folder: what a list offers as a script.
bool isScriptEntry(const fs::Entry& e)
{
    return e.type == fs::Type::File || (e.link && e.type != fs::Type::Dir);
}

// The file a save writes (a link's target) or empty when that lies outside.
fs::Path saveTarget(const Library& library, const ScriptRef& script)
{
    fs::Path path = library.pathOf(script);
    const fs::Path dir = library.categoryPath(script.categoryKey);
    if (fs::info(dir).type == fs::Type::Dir && !library.holds(dir))
        return {};
    if (fs::info(path).link) {
        path = fs::realPath(path);
        if (path.isEmpty() || !library.holds(path))
            return {};
    }
    return path;
}

}  // namespace

Outcome add(const Library& library, const QByteArray& category, const QString& name, QStringView text)
{
    const fs::Path dir = library.categoryPath(category);
    if (const QString taken = Library::taken(dir, name + QStringLiteral(".txt")); !taken.isEmpty())
        return Outcome::failed(Code::NameTaken, taken, fs::shownName(category));
    if (fs::info(dir).type != fs::Type::Dir)
        return Outcome::failed(Code::FolderMissing, {}, fs::shownName(category));
    if (!library.holds(dir))
        return Outcome::failed(Code::OutsideLibrary, {}, fs::shownName(category));
    return script::writeFile(library.scriptPath(category, scriptFileName(name)), text, fs::Replace::Refused);
}

Outcome checkRename(const Library& library, const QByteArray& category, const QByteArray& entry,
                    const QString& newName)
{
    const QByteArray except = isScriptFile(entry) ? entry : QByteArray();
    const QString taken = Library::taken(library.categoryPath(category), newName + QStringLiteral(".txt"), except);
    return taken.isEmpty() ? Outcome{} : Outcome::failed(Code::NameTaken, taken, fs::shownName(category));
}

Outcome rename(const Library& library, const QByteArray& category, const QByteArray& entry, const QString& newName)
{
    const fs::Path dir = library.categoryPath(category);
    const fs::Path oldPath = fs::join(dir, entry);
    const fs::Entry old = fs::info(oldPath);
    if (!isScriptFile(entry) || (old.type != fs::Type::File && !old.link))
        return Outcome::failed(Code::NotFound, shownEntry(entry), fs::shownName(category));
    if (!library.holds(dir))
        return Outcome::failed(Code::OutsideLibrary, {}, fs::shownName(category));
    if (Outcome free = checkRename(library, category, entry, newName); !free.done())
        return free;
    const fs::Path newPath = fs::join(dir, scriptFileName(newName));
    if (newPath != oldPath && !fs::rename(oldPath, newPath))
        return Outcome::writeFailed(fs::lastError());
    return {};
}

Outcome remove(const Library& library, const QByteArray& category, const QByteArray& entry)
{
    const fs::Path path = library.scriptPath(category, entry);
    if (!isScriptFile(entry) || !isScriptEntry(fs::info(path)))
        return Outcome::failed(Code::NotFound, shownEntry(entry), fs::shownName(category));
    // A category that leads outside the library is not changed through.
    if (!library.holds(library.categoryPath(category)))
        return Outcome::failed(Code::OutsideLibrary, {}, fs::shownName(category));
    if (!discard(path))
        return Outcome::writeFailed(fs::lastError());
    return {};
}

Outcome checkSave(const Library& library, const ScriptRef& script, const std::optional<script::Snapshot>& loaded)
{
    if (saveTarget(library, script).isEmpty())
        return Outcome::failed(Code::OutsideLibrary, script.name, script.category);
    if (loaded) {
        const script::Snapshot now = script::snapshot(library.pathOf(script));
        if (now.exists && now != *loaded)
            return Outcome::failed(Code::ChangedOnDisk, script.name, script.category);
    }
    return {};
}

Outcome save(const Library& library, const ScriptRef& script, QStringView text, script::Snapshot* written)
{
    const fs::Path path = saveTarget(library, script);
    if (path.isEmpty())
        return Outcome::failed(Code::OutsideLibrary, script.name, script.category);
    return script::writeFile(path, text, fs::Replace::Allowed, written);
}

}  // namespace corvane::scripts
