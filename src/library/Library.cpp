#include "library/Library.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <utility>
#include <vector>

namespace corvane {

bool listLess(const QString& a, const QString& b)
{
    const QString fa = a.toCaseFolded(), fb = b.toCaseFolded();
    return fa != fb ? fa < fb : a < b;
}

void sortForList(QStringList& names)
{
    // Folding each name once, not at every comparison, matters for big categories.
    std::vector<std::pair<QString, QString>> keyed;
    keyed.reserve(names.size());
    for (QString& name : names)
        keyed.emplace_back(name.toCaseFolded(), std::move(name));
    std::sort(keyed.begin(), keyed.end());
    for (qsizetype i = 0; i < names.size(); ++i)
        names[i] = std::move(keyed[size_t(i)].second);
}

int sortedInsertPosition(const QStringList& sorted, const QString& name)
{
    return int(std::upper_bound(sorted.begin(), sorted.end(), name, listLess) - sorted.begin());
}

QString shownName(QString fileName)
{
    fileName.remove(QStringLiteral(".txt"), Qt::CaseSensitive);
    return fileName;
}

Library::Library(const QString& scriptsDir)
    : root_(QDir::fromNativeSeparators(scriptsDir))
{
    if (!root_.endsWith(u'/'))
        root_ += u'/';
}

QString Library::categoryDir(const QString& category) const
{
    return root_ + category + u'/';
}

QString Library::scriptFile(const QString& category, const QString& name) const
{
    return root_ + category + u'/' + name + QStringLiteral(".txt");
}

QStringList Library::categories() const
{
    QStringList names = QDir(root_).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Unsorted);
    sortForList(names);
    return names;
}

Library::Contents Library::readCategory(const QString& category) const
{
    Contents c;
    QDirIterator it(categoryDir(category), QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        const QFileInfo& info = it.fileInfo();
        c.shownNames.append(shownName(info.fileName()));
        if (info.isFile()) {
            ++c.fileCount;
            c.totalBytes += info.size();
        }
    }
    sortForList(c.shownNames);
    return c;
}

QString Library::findEntryIgnoringCase(const QString& dir, const QString& name)
{
    QDirIterator it(dir, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        const QString entry = it.fileName();
        if (QString::compare(entry, name, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return {};
}

QStringList Library::removeStrayFiles() const
{
    QStringList failed;
    QDirIterator it(root_, QDir::Files | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        if (!QFile::remove(it.filePath()))
            failed.append(it.fileName());
    }
    return failed;
}

}  // namespace corvane
