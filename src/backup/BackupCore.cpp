#include "backup/BackupCore.h"

#include "library/Library.h"
#include "library/Names.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace corvane::backup {
namespace {

DateSource g_dateSource = nullptr;
CopyHook g_beforeCopy;

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QString folderFailure(const QString& folder, const QString& destination)
{
    return QStringLiteral("Não foi possível criar a pasta:\r\n%1\r\n\r\n"
                          "O backup foi interrompido. O que já foi copiado continua em:\r\n%2")
        .arg(shown(folder), shown(destination));
}

QString fileFailure(const QString& file, const QString& destination)
{
    return QStringLiteral("Não foi possível copiar o arquivo:\r\n%1\r\n\r\n"
                          "O backup foi interrompido. O que já foi copiado continua em:\r\n%2")
        .arg(shown(file), shown(destination));
}

// Copies one file under a new name that must not exist yet. A copy that fails
// half-way is removed, so no truncated file poses as a good one.
bool copyFile(const QString& source, const QString& target, const QDateTime& modified)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return false;
    QFile out(target);
    if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
        return false;
    static char buffer[64 * 1024];
    bool ok = true;
    for (;;) {
        const qint64 got = in.read(buffer, sizeof buffer);
        if (got < 0) {
            ok = false;
            break;
        }
        if (got == 0)
            break;
        if (out.write(buffer, got) != got) {
            ok = false;
            break;
        }
    }
    if (ok && modified.isValid())
        out.setFileTime(modified, QFileDevice::FileModificationTime);  // a nicety only
    out.close();
    ok = ok && out.error() == QFileDevice::NoError;
    if (!ok)
        out.remove();
    return ok;
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

QStringList sourceLines(const QString& scriptsDir)
{
    QStringList names = QDir(scriptsDir).entryList(QDir::Dirs | QDir::Files | QDir::NoDotAndDotDot,
                                                   QDir::Unsorted);
    sortForList(names);
    QStringList lines;
    lines.reserve(names.size());
    for (const QString& name : names)
        lines.append(QStringLiteral("» ") + name);
    return lines;
}

QString nameOfLine(const QString& line)
{
    return line.mid(2);
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
    const QFileInfo entry(QDir(dir).filePath(name));
    return entry.exists() || entry.isSymLink();
}

Result copyLibrary(const QString& scriptsDir, const QStringList& categories, const QString& dir,
                   const QString& name)
{
    Result result;
    const QDir source(scriptsDir);
    const QString destination = QDir(dir).filePath(name);
    if (!QDir().mkdir(destination)) {
        result.ok = false;
        result.message = QStringLiteral("Não foi possível criar a pasta destino:\r\n%1\r\n\r\nNada foi copiado.")
                             .arg(shown(destination));
        return result;
    }
    for (const QString& category : categories) {
        const QString folder = destination + u'/' + category;
        if (!QDir().mkdir(folder)) {
            result.ok = false;
            result.message = folderFailure(folder, destination);
            return result;
        }
        ++result.folders;
        // Plain files only: hidden and system files and sub-folders stay behind.
        QDirIterator it(source.filePath(category), QDir::Files | QDir::NoDotAndDotDot);
        while (it.hasNext()) {
            it.next();
            const QString target = folder + u'/' + it.fileName();
            if (g_beforeCopy)
                g_beforeCopy(it.filePath(), target);
            if (!copyFile(it.filePath(), target, it.fileInfo().lastModified())) {
                result.ok = false;
                result.message = fileFailure(it.filePath(), destination);
                return result;
            }
            ++result.files;
        }
    }
    return result;
}

void setBeforeCopyHook(CopyHook hook)
{
    g_beforeCopy = std::move(hook);
}

}  // namespace corvane::backup
