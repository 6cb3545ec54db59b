#include "backup/BackupCore.h"

#include "library/Fs.h"
#include "library/Names.h"

#include <QDir>

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
                   const QString& name)
{
    Result result;
    const fs::Path root = pathOf(scriptsDir);
    const fs::Path destination = fs::join(pathOf(dir), fs::rawName(name));
    const auto stop = [&result](const QString& message) {
        result.ok = false;
        result.message = message;
        return result;
    };
    if (!fs::makeDir(destination))
        return stop(QStringLiteral("Não foi possível criar a pasta destino:\r\n%1\r\n\r\nNada foi copiado.")
                        .arg(shown(destination)));
    std::vector<fs::Entry> files;
    for (const QByteArray& entry : entries) {
        const fs::Path source = fs::join(root, entry);
        const fs::Path folder = fs::join(destination, entry);
        // A plain file in the scripts folder gets an empty folder, as it always did;
        // anything else that is no folder (a broken link, a vanished entry) stops.
        const fs::Type type = fs::info(source).type;
        files.clear();
        if ((type != fs::Type::Dir && type != fs::Type::File) || (type == fs::Type::Dir && !fs::list(source, files)))
            return stop(fileFailure(source, destination));
        if (!fs::makeDir(folder))
            return stop(folderFailure(folder, destination));
        ++result.folders;
        for (const fs::Entry& e : files) {
            if (e.hidden || e.type == fs::Type::Dir || e.type == fs::Type::Other)
                continue;
            // Type None: a link leading nowhere, or a file gone since the listing.
            const fs::Path from = fs::join(source, e.name);
            if (e.type != fs::Type::File || !fs::copyFile(from, fs::join(folder, e.name)))
                return stop(fileFailure(from, destination));
            ++result.files;
        }
    }
    return result;
}

}  // namespace corvane::backup
