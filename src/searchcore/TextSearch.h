#pragma once

#include "library/Library.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <atomic>
#include <utility>
#include <vector>

namespace corvane::search {

// A search text folded once for case-insensitive matching on Windows-1252 bytes:
// a letter meets its other case, never its accented or unaccented form.
class Needle {
public:
    explicit Needle(QStringView text);

    // False when the text holds a character no script file can contain.
    bool matchable() const { return matchable_; }
    bool foundIn(QByteArrayView haystack) const;
    // Whether the stored text of a script file's bytes holds the needle.
    bool foundInStoredText(QByteArrayView fileBytes) const;
    // Whether the stored text of an open file holds the needle, reading the file
    // piece by piece into buffer (resized to a fixed size on first use), no
    // further than the stored text goes and never past limit bytes. False too
    // when reading fails.
    bool foundInFile(fs::Reader& file, std::vector<char>& buffer, qint64 limit) const;

private:
    qsizetype find(QByteArrayView haystack, qsizetype from) const;

    QByteArray folded_;
    qsizetype anchorAt_ = 0;            // the rarest byte of the needle
    unsigned char anchor_[2] = {0, 0};  // that byte in both of its cases
    bool matchable_ = true;
};

// Result line: script name, " --> ", category name.
inline const QString& separator()
{
    static const QString s = QStringLiteral(" --> ");
    return s;
}
QString resultLine(const QString& scriptName, const QString& category);
// Script name and category of a result line (category empty without a separator).
std::pair<QString, QString> splitResultLine(const QString& line);

// Reads every "*.txt" plain file (any letter case) of each category and reports
// each script whose stored text holds the needle: categories in the given order,
// a category's files in its folder's own order. Many files are read at once, by
// a fixed number of reader threads with one buffer each, so a slow disk has
// many reads in flight; a file is read only as far as its stored text goes, at
// most script::kMaxStoredBytes + 2 bytes. Files that vanish or cannot be read
// are skipped.
class Searcher {
public:
    // Enough reads in flight to keep a disk's queue busy on a cold cache; on a
    // warm one the extra threads cost little.
    static constexpr int kReaders = 32;

    explicit Searcher(const Library& library, int readers = kReaders);

    struct Hit {
        QString line;         // script name, " --> ", category
        QString name;         // the script name shown in line
        QByteArray category;  // the category folder's bytes on disk
        QByteArray fileName;  // the file's bytes on disk, ".txt" in whatever case it has
    };
    // Where a running search is, for another thread to show, and its brake.
    struct Progress {
        std::atomic<qsizetype> total{0};  // the scripts to read, once the folders are listed
        std::atomic<qsizetype> read{0};
        std::atomic<bool> stop{false};
        bool stopped() const { return stop; }
    };
    // Once progress->stop is set no further file is read: the hits are those of
    // the files read by then, in the usual order.
    QList<Hit> run(const Items& categories, const Needle& needle, Progress* progress = nullptr) const;

private:
    const Library& library_;
    int readers_;
};

}  // namespace corvane::search
