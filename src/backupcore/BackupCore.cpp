#include "backupcore/BackupCore.h"

#include "library/Fs.h"
#include "library/Parallel.h"

#include <QDir>

#include <atomic>
#include <limits>
#include <mutex>
#include <utility>
#include <vector>

namespace corvane::backup {
namespace {

fs::Path pathOf(const QString& dir)
{
    return fs::fromQString(QDir::fromNativeSeparators(dir));
}

// A path as the user reads it: each name decoded on its own, so a foreign name
// among UTF-8 ones reads as the lists show it.
QString shown(const fs::Path& path)
{
    QStringList parts;
    for (const QByteArray& part : path.split('/'))
        parts.append(fs::shownName(part));
    return QDir::toNativeSeparators(parts.join(u'/'));
}

// An entry of the scripts folder as looked at before copying: its files, or
// not readable.
struct Source {
    fs::Path path;
    bool readable = false;
    std::vector<fs::Entry> files;
};

// Every entry is looked at and every category listed first, several at once.
std::vector<Source> lookAt(const fs::Path& root, const QList<QByteArray>& entries, int copiers)
{
    std::vector<Source> sources(size_t(entries.size()));
    parallel::forEach(entries.size(), copiers, [&](qsizetype i, int) {
        Source& s = sources[size_t(i)];
        s.path = fs::join(root, entries[i]);
        // A plain file in the scripts folder gets an empty folder, as it always
        // did; anything else that is no folder (a broken link, a vanished entry)
        // cannot be backed up.
        const fs::Type type = fs::info(s.path).type;
        s.readable = type == fs::Type::File || (type == fs::Type::Dir && fs::listQuick(s.path, s.files));
        std::erase_if(s.files, [](const fs::Entry& e) {
            return e.hidden || e.type == fs::Type::Dir || e.type == fs::Type::Other;
        });
    });
    return sources;
}

// The copy as one run of steps in the serial order: an entry's folder, then its
// files. Steps are handed out in that order and every step handed out is
// finished, so all steps before the first failure are done, as in a copy made
// one file at a time; a few after it may be done too.
class Copy {
public:
    Copy(const fs::Path& destination, const QList<QByteArray>& entries, std::vector<Source> sources)
        : destination_(destination)
        , entries_(entries)
        , sources_(std::move(sources))
        , folderState_(sources_.size())
    {
        for (size_t i = 0; i < sources_.size(); ++i) {
            steps_.emplace_back(int(i), -1);
            for (size_t f = 0; f < sources_[i].files.size(); ++f)
                steps_.emplace_back(int(i), int(f));
        }
    }

    Result run(int copiers)
    {
        parallel::forEach(qsizetype(steps_.size()), copiers, [this](qsizetype step, int) {
            const auto [i, f] = steps_[size_t(step)];
            if (f < 0)
                makeFolder(step, i);
            else
                copyFile(step, i, f);
        }, &stop_);
        return result_;
    }

private:
    enum : int { Pending, Made, NotMade };

    void makeFolder(qsizetype step, int i)
    {
        const Source& source = sources_[size_t(i)];
        const fs::Path folder = folderOf(i);
        std::atomic<int>& state = folderState_[size_t(i)];
        int made = NotMade;
        if (!source.readable)
            failure(step, Result::Code::CopyFailed, source.path);
        else if (!fs::makeDir(folder, fs::Flush::Later))
            failure(step, Result::Code::FolderFailed, folder);
        else
            made = Made;
        state.store(made);
        state.notify_all();
    }

    void copyFile(qsizetype step, int i, int f)
    {
        const Source& source = sources_[size_t(i)];
        std::atomic<int>& state = folderState_[size_t(i)];
        // The folder's step was handed out earlier and never waits, so this ends.
        state.wait(Pending);
        if (state.load() != Made)
            return;
        const fs::Entry& e = source.files[size_t(f)];
        const fs::Path from = fs::join(source.path, e.name);
        // A link, or an entry its folder did not type, is looked at now. None: a
        // link leading nowhere, or a file gone since the listing.
        const fs::Type type = e.type == fs::Type::None ? fs::info(from).type : e.type;
        if (type == fs::Type::Dir || type == fs::Type::Other)
            return;
        if (type != fs::Type::File || !fs::copyFile(from, fs::join(folderOf(i), e.name)))
            failure(step, Result::Code::CopyFailed, from);
    }

    fs::Path folderOf(int i) const { return fs::join(destination_, entries_[i]); }

    // The earliest failure in step order is the one reported.
    void failure(qsizetype step, Result::Code code, const fs::Path& what)
    {
        const int error = fs::lastError();
        const std::lock_guard lock(failureLock_);
        if (step < failedAt_) {
            failedAt_ = step;
            result_ = Result::failed(code, {shown(what), shown(destination_)}, error);
        }
        stop_.store(true, std::memory_order_release);
    }

    const fs::Path destination_;
    const QList<QByteArray>& entries_;
    const std::vector<Source> sources_;
    std::vector<std::pair<int, int>> steps_;  // (entry, file), file -1 for the folder
    std::vector<std::atomic<int>> folderState_;
    std::atomic<bool> stop_{false};
    std::mutex failureLock_;
    qsizetype failedAt_ = std::numeric_limits<qsizetype>::max();
    Result result_;
};

}  // namespace

QString defaultName()
{
    return QStringLiteral("scripts");
}

QString datedName(const QDate& date)
{
    return defaultName() + u'-' + date.toString(QStringLiteral("dd-MM-yy"));
}

Items sources(const QString& scriptsDir)
{
    std::vector<fs::Entry> entries;
    fs::list(pathOf(scriptsDir), entries);
    Items names;
    for (const fs::Entry& e : entries) {
        const bool broken = e.link && e.type == fs::Type::None;
        if (!e.hidden && (e.type == fs::Type::Dir || e.type == fs::Type::File || broken))
            names.append({fs::shownName(e.name), e.name});
    }
    sortForList(names);
    return names;
}

bool entryExists(const QString& dir, const QString& name)
{
    const fs::Entry e = fs::info(fs::join(pathOf(dir), fs::rawName(name)));
    return e.type != fs::Type::None || e.link;
}

Result copyLibrary(const QString& scriptsDir, const QList<QByteArray>& entries, const QString& dir,
                   const QString& name, int copiers)
{
    const fs::Path destination = fs::join(pathOf(dir), fs::rawName(name));
    if (!fs::makeDir(destination))
        return Result::failed(Result::Code::TargetFailed, {shown(destination)}, fs::lastError());
    Copy copy(destination, entries, lookAt(pathOf(scriptsDir), entries, copiers));
    return copy.run(copiers);
}

}  // namespace corvane::backup
