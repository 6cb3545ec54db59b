#include "library/Discard.h"

#include <vector>

namespace corvane {
namespace {

// A folder that turned up inside meanwhile stays, and so does the folder.
bool removeFolder(const fs::Path& dir)
{
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

}  // namespace

bool discard(const fs::Path& path)
{
    const fs::Trashed trashed = fs::moveToTrash(path);
    if (trashed != fs::Trashed::NoTrash)
        return trashed == fs::Trashed::Yes;
    const fs::Entry entry = fs::info(path);
    if (entry.link || entry.type != fs::Type::Dir)
        return fs::removeFile(path);
    return removeFolder(path);
}

}  // namespace corvane
