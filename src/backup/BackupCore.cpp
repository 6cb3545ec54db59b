#include "backup/BackupCore.h"

#include "library/Fs.h"
#include "library/Names.h"
#include "library/Parallel.h"

#include <QDir>

#include <atomic>
#include <limits>
#include <mutex>
#include <utility>
#include <vector>

namespace corvane::backup {
namespace {

DateSource g_dateSource = nullptr;

fs::Path pathOf(const QString& dir)
{
    return fs::fromQString(QDir::fromNativeSeparators(dir));
}

// A path for a message: each name decoded on its own, so a foreign name among
// UTF-8 ones reads as the lists show it.
QString shown(const fs::Path& path)
{
    QStringList parts;
    for (const QByteArray& part : path.split('/'))
        parts.append(fs::shownName(part));
    return QDir::toNativeSeparators(parts.join(u'/'));
}

QString folderFailure(const fs::Path& folder, const fs::Path& destination)
{
    return QStringLiteral("Não foi possível criar a pasta:\r\n%1\r\n\r\n"
                          "O backup foi interrompido. O que já foi copiado continua em:\r\n%2")
        .arg(shown(folder), shown(destination));
}

QString fileFailure(const fs::Path& file, const fs::Path& destination)
{
    return QStringLiteral("Não foi possível copiar o arquivo:\r\n%1\r\n\r\n"
                          "O backup foi interrompido. O que já foi copiado continua em:\r\n%2")
        .arg(shown(file), shown(destination));
}

}  // namespace

QString defaultName()
{
    return QStringLiteral("scripts");
}

QString datedName(const QDate& date)
{
    return defaultName() + u'-' + date.toString(QStringLiteral("dd-MM-yy"));
}

DateSource setDateSource(DateSource source)
{
    const DateSource previous = g_dateSource;
    g_dateSource = source;
    return previous;
}

QDate today()
{
    return g_dateSource ? g_dateSource() : QDate::currentDate();
}

Items sourceLines(const QString& scriptsDir)
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
    for (Item& item : names)
        item.shown.prepend(QStringLiteral("» "));
    return names;
}

QString nameRefusal(const QString& name)
{
    if (name.isEmpty())
        return QStringLiteral("Digite o nome da pasta destino. Nada foi copiado.");
    const QString unsafe = names::unsafeMessage(name);
    if (!unsafe.isEmpty())
        return unsafe + QStringLiteral(" Nada foi copiado.");
    return {};
}

bool entryExists(const QString& dir, const QString& name)
{
    const fs::Entry e = fs::info(fs::join(pathOf(dir), fs::rawName(name)));
    return e.type != fs::Type::None || e.link;
}

Result copyLibrary(const QString& scriptsDir, const QList<QByteArray>& entries, const QString& dir,
                   const QString& name, int copiers)
{
    Result result;
    const fs::Path root = pathOf(scriptsDir);
    const fs::Path destination = fs::join(pathOf(dir), fs::rawName(name));
    if (!fs::makeDir(destination)) {
        result.ok = false;
        result.message = QStringLiteral("Não foi possível criar a pasta destino:\r\n%1\r\n\r\nNada foi copiado.")
                             .arg(shown(destination));
        return result;
    }

    // Every entry is looked at and every category listed first, several at once.
    struct Source {
        fs::Path path;
        bool readable = false;
        std::vector<fs::Entry> files;
    };
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

    // Then one run of steps in the serial order: an entry's folder, then its
    // files. Steps are handed out in that order and every step handed out is
    // finished, so all steps before the first failure are done, as in a copy
    // made one file at a time; a few after it may be done too.
    std::vector<std::pair<int, int>> steps;  // (entry, file), file -1 for the folder
    for (size_t i = 0; i < sources.size(); ++i) {
        steps.emplace_back(int(i), -1);
        for (size_t f = 0; f < sources[i].files.size(); ++f)
            steps.emplace_back(int(i), int(f));
    }
    enum : int { Pending, Made, NotMade };
    std::vector<std::atomic<int>> folderState(sources.size());
    std::atomic<bool> stop{false};
    std::atomic<int> folders{0};
    std::atomic<qint64> files{0};
    std::mutex failureLock;
    qsizetype failedAt = std::numeric_limits<qsizetype>::max();
    const auto failure = [&](qsizetype step, QString message) {
        const std::lock_guard lock(failureLock);
        if (step < failedAt) {
            failedAt = step;
            result.message = std::move(message);
        }
        stop.store(true, std::memory_order_release);
    };
    parallel::forEach(qsizetype(steps.size()), copiers, [&](qsizetype step, int) {
        const auto [i, f] = steps[size_t(step)];
        const Source& source = sources[size_t(i)];
        const fs::Path folder = fs::join(destination, entries[i]);
        std::atomic<int>& state = folderState[size_t(i)];
        if (f < 0) {
            int made = NotMade;
            if (!source.readable)
                failure(step, fileFailure(source.path, destination));
            else if (!fs::makeDir(folder, fs::Flush::Later))
                failure(step, folderFailure(folder, destination));
            else
                made = Made, ++folders;
            state.store(made);
            state.notify_all();
            return;
        }
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
        if (type != fs::Type::File || !fs::copyFile(from, fs::join(folder, e.name)))
            failure(step, fileFailure(from, destination));
        else
            ++files;
    }, &stop);

    result.ok = !stop.load();
    result.folders = folders.load();
    result.files = files.load();
    return result;
}

}  // namespace corvane::backup
