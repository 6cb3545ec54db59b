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

bool isScriptFile(QByteArrayView fileName)
{
    return fileName.endsWith(".txt");
}

QByteArray scriptFileName(const QString& name)
{
    return fs::rawName(name) + ".txt";
}

void sortForList(Items& items)
{
    std::vector<std::pair<QString, Item>> keyed;
    keyed.reserve(size_t(items.size()));
    for (Item& item : items)
        keyed.emplace_back(item.shown.toCaseFolded(), std::move(item));
    std::sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
        if (a.first != b.first)
            return a.first < b.first;
        if (a.second.shown != b.second.shown)
            return a.second.shown < b.second.shown;
        return a.second.key < b.second.key;
    });
    for (qsizetype i = 0; i < items.size(); ++i)
        items[i] = std::move(keyed[size_t(i)].second);
}

Library::Library(const QString& scriptsDir)
    : root_(QDir::fromNativeSeparators(scriptsDir))
{
    if (!root_.endsWith(u'/'))
        root_ += u'/';
    rootPath_ = fs::fromQString(root_);
}

fs::Path Library::categoryPath(const QByteArray& category) const
{
    return rootPath_ + category;
}

fs::Path Library::scriptPath(const QByteArray& category, const QByteArray& fileName) const
{
    return fs::join(categoryPath(category), fileName);
}

fs::Path Library::pathOf(const ScriptRef& script) const
{
    return scriptPath(script.categoryKey, script.fileName);
}

Items Library::categories() const
{
    std::vector<fs::Entry> entries;
    fs::list(rootPath_, entries);
    Items items;
    for (const fs::Entry& e : entries) {
        if (!e.hidden && e.type == fs::Type::Dir)
            items.append({fs::shownName(e.name), e.name});
    }
    sortForList(items);
    return items;
}

Library::Contents Library::readCategory(const QByteArray& category) const
{
    Contents c;
    std::vector<fs::Entry> entries;
    fs::list(categoryPath(category), entries);
    for (const fs::Entry& e : entries) {
        if (e.hidden || (e.type != fs::Type::File && e.type != fs::Type::Dir))
            continue;
        // ".txt" is plain ASCII: cutting it from the bytes cuts it from the shown
        // name, whatever code page the rest is in.
        const bool script = e.type == fs::Type::File && isScriptFile(e.name);
        c.items.append({fs::shownName(script ? QByteArrayView(e.name).chopped(4) : QByteArrayView(e.name)), e.name});
        if (e.type == fs::Type::File) {
            ++c.fileCount;
            c.totalBytes += e.size;
        }
    }
    sortForList(c.items);
    return c;
}

QString Library::taken(const fs::Path& dir, const QString& name, const QByteArray& except)
{
    // Names only: a category may hold tens of thousands of scripts.
    std::vector<fs::Entry> entries;
    fs::listQuick(dir, entries);
    for (const fs::Entry& e : entries) {
        if (e.name == except || e.name.size() < name.size())
            continue;
        const QString shown = fs::shownName(e.name);
        if (shown.size() == name.size() && QString::compare(shown, name, Qt::CaseInsensitive) == 0)
            return shown;
    }
    return {};
}

bool Library::holds(const fs::Path& path) const
{
    return fs::within(rootPath_, path);
}

QStringList Library::trashStrayFiles() const
{
    QStringList failed;
    std::vector<fs::Entry> entries;
    fs::list(rootPath_, entries);
    for (const fs::Entry& e : entries) {
        // A link to a file is removed as a link; hidden files are left alone.
        if (e.hidden || e.type == fs::Type::Dir)
            continue;
        if (e.type == fs::Type::File) {
            if (fs::moveToTrash(rootPath_ + e.name) != fs::Trashed::Yes)
                failed.append(fs::shownName(e.name));
        }
    }
    return failed;
}

}  // namespace corvane
