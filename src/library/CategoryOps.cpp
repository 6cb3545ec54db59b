#include "library/CategoryOps.h"

#include "library/Discard.h"

#include <vector>

namespace corvane::categories {
namespace {

using Code = Outcome::Code;

}  // namespace

Outcome add(const Library& library, const QString& name)
{
    const fs::Path& root = library.rootPath();
    if (const QString taken = Library::taken(root, name); !taken.isEmpty())
        return Outcome::failed(Code::NameTaken, taken);
    if (!fs::makeDir(root + fs::rawName(name)))
        return Outcome::writeFailed(fs::lastError());
    return {};
}

Outcome checkRename(const Library& library, const QByteArray& category, const QString& newName)
{
    const QString taken = Library::taken(library.rootPath(), newName, category);
    return taken.isEmpty() ? Outcome{} : Outcome::failed(Code::NameTaken, taken);
}

Outcome rename(const Library& library, const QByteArray& category, const QString& newName)
{
    const fs::Path oldPath = library.categoryPath(category);
    if (fs::info(oldPath).type != fs::Type::Dir)
        return Outcome::failed(Code::NotFound, {}, fs::shownName(category));
    if (Outcome free = checkRename(library, category, newName); !free.done())
        return free;
    const fs::Path newPath = library.categoryPath(fs::rawName(newName));
    if (newPath != oldPath && !fs::rename(oldPath, newPath))
        return Outcome::writeFailed(fs::lastError());
    return {};
}

Outcome checkRemove(const Library& library, const QByteArray& category)
{
    const QString shown = fs::shownName(category);
    const fs::Path dir = library.categoryPath(category);
    const fs::Entry entry = fs::info(dir);
    if (entry.type != fs::Type::Dir)
        return Outcome::failed(Code::NotFound, {}, shown);
    if (entry.link)
        return {};  // only the link goes
    // With a sub-folder or a hidden file the folder could not be removed, so
    // nothing is deleted at all.
    std::vector<fs::Entry> entries;
    if (!fs::list(dir, entries))
        return Outcome::failed(Code::Unreadable, {}, shown, fs::lastError());
    for (const fs::Entry& e : entries) {
        if (e.hidden || e.type != fs::Type::File)
            return Outcome::failed(Code::NotOnlyScripts, {}, shown);
    }
    return {};
}

Outcome remove(const Library& library, const QByteArray& category)
{
    if (!discard(library.categoryPath(category)))
        return Outcome::writeFailed(fs::lastError());
    return {};
}

}  // namespace corvane::categories
