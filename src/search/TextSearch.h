#pragma once

#include "library/Library.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <functional>
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
    // Non-overlapping occurrences, scanning on after each one.
    qsizetype countIn(QByteArrayView haystack) const;

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

// Reads every "*.txt" plain file (any letter case) of each category in the given
// order, one file at a time into one reused buffer, and reports each script whose
// stored text holds the needle. Files that vanish or cannot be read are skipped.
class Searcher {
public:
    explicit Searcher(const Library& library);

    struct Hit {
        QString line;         // script name, " --> ", category
        QString name;         // the script name shown in line
        QByteArray category;  // the category folder's bytes on disk
        QByteArray fileName;  // the file's bytes on disk, ".txt" in whatever case it has
    };
    QList<Hit> run(const Items& categories, const Needle& needle);

    // Largest file buffer the last run needed.
    qsizetype peakBuffer() const { return buffer_.capacity(); }

private:
    // Reads an opened file whole into the buffer and closes it; false for none.
    bool readWhole(std::FILE* file);
    bool matches(std::FILE* file, const Needle& needle);
    void searchCategory(const Item& category, const Needle& needle, QList<Hit>& results);

    const Library& library_;
    std::vector<char> buffer_;
    qsizetype size_ = 0;
};

}  // namespace corvane::search
