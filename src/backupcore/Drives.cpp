#include "backupcore/Drives.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

#include <algorithm>

namespace corvane::drives {
namespace {

QString withSlash(QString path)
{
    path = QDir::fromNativeSeparators(path);
    if (!path.endsWith(u'/'))
        path += u'/';
    return path;
}

bool hasDriveLetter(const QString& root)
{
    return root.size() >= 2 && root.at(1) == u':' && root.at(0).isLetter();
}

}  // namespace

QList<Volume> systemVolumes()
{
    QList<Volume> out;
#ifdef Q_OS_WIN
    // Every drive letter, ready or not, as a drive list shows them.
    for (const QFileInfo& drive : QDir::drives())
        out.append({withSlash(drive.absoluteFilePath()), QStorageInfo(drive.absoluteFilePath()).name()});
#else
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
        out.append({withSlash(volume.rootPath()), volume.name()});
#endif
    std::sort(out.begin(), out.end(), [](const Volume& a, const Volume& b) { return a.root < b.root; });
    return out;
}

QString rootOf(const QString& path, const QList<Volume>& volumes)
{
    const QString full = withSlash(QFileInfo(path).absoluteFilePath());
    QString best;
    for (const Volume& volume : volumes) {
        const bool inside = full.startsWith(volume.root, hasDriveLetter(volume.root) ? Qt::CaseInsensitive
                                                                                      : Qt::CaseSensitive);
        if (inside && volume.root.size() > best.size())
            best = volume.root;
    }
    return best.isEmpty() ? withSlash(QStorageInfo(path).rootPath()) : best;
}

QString caption(const Volume& volume)
{
    QString text;
    if (hasDriveLetter(volume.root)) {
        text = volume.root.left(2).toLower();
    } else {
        text = volume.root.size() > 1 ? volume.root.chopped(1) : volume.root;
        text = QDir::toNativeSeparators(text);
    }
    if (!volume.label.isEmpty())
        text += QStringLiteral(" [") + volume.label + u']';
    return text;
}

bool readable(const QString& root)
{
    const QDir dir(root);
    if (!dir.exists() || !dir.isReadable())
        return false;
    const QStorageInfo info(root);
    return !info.isValid() || info.isReady();
}

}  // namespace corvane::drives
