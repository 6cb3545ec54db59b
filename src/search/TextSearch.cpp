#include "search/TextSearch.h"

#include "library/Cp1252.h"
#include "library/ScriptFile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

#include <cstdio>
#include <cstring>

namespace corvane::search {
namespace {

const std::array<unsigned char, 256>& fold = cp1252::foldTable();

// The byte of the other case of b, or b itself.
unsigned char otherCase(unsigned char b)
{
    for (int c = 0; c < 256; ++c)
        if (c != b && fold[c] == fold[b])
            return static_cast<unsigned char>(c);
    return b;
}

std::FILE* openForReading(const QString& path)
{
#ifdef _WIN32
    return _wfopen(reinterpret_cast<const wchar_t*>(path.utf16()), L"rb");
#else
    return std::fopen(QFile::encodeName(path).constData(), "rb");
#endif
}

}  // namespace

Needle::Needle(QStringView text)
{
    const cp1252::Encoded bytes = cp1252::encode(text);
    matchable_ = bytes.ok && !bytes.bytes.isEmpty();
    if (!matchable_)
        return;
    folded_ = bytes.bytes;
    for (char& c : folded_)
        c = static_cast<char>(fold[static_cast<unsigned char>(c)]);
    first_[0] = static_cast<unsigned char>(folded_[0]);
    first_[1] = otherCase(first_[0]);
}

qsizetype Needle::find(QByteArrayView hay, qsizetype from) const
{
    const qsizetype n = folded_.size();
    const auto* h = reinterpret_cast<const unsigned char*>(hay.data());
    const auto* f = reinterpret_cast<const unsigned char*>(folded_.constData());
    const qsizetype last = hay.size() - n;
    // Next place of each case of the first byte, found with memchr and kept until used.
    qsizetype next[2] = {-2, -2};
    const int kinds = first_[1] == first_[0] ? 1 : 2;
    qsizetype i = from;
    while (i <= last) {
        qsizetype candidate = -1;
        for (int k = 0; k < kinds; ++k) {
            if (next[k] != -1 && next[k] < i) {
                const void* p = std::memchr(h + i, first_[k], size_t(last - i + 1));
                next[k] = p ? static_cast<const unsigned char*>(p) - h : -1;
            }
            if (next[k] >= 0 && (candidate < 0 || next[k] < candidate))
                candidate = next[k];
        }
        if (candidate < 0)
            return -1;
        qsizetype j = 1;
        while (j < n && fold[h[candidate + j]] == f[j])
            ++j;
        if (j == n)
            return candidate;
        i = candidate + 1;
    }
    return -1;
}

bool Needle::foundIn(QByteArrayView haystack) const
{
    return matchable_ && find(haystack, 0) >= 0;
}

qsizetype Needle::countIn(QByteArrayView haystack) const
{
    if (!matchable_)
        return 0;
    qsizetype count = 0;
    for (qsizetype at = find(haystack, 0); at >= 0; at = find(haystack, at + folded_.size()))
        ++count;
    return count;
}

QString resultLine(const QString& scriptName, const QString& category)
{
    return scriptName + separator() + category;
}

std::pair<QString, QString> splitResultLine(const QString& line)
{
    const qsizetype at = line.indexOf(separator());
    if (at < 0)
        return {line, QString()};
    return {line.left(at), line.mid(at + separator().size())};
}

Searcher::Searcher(const Library& library)
    : library_(library)
{
}

bool Searcher::readWhole(const QString& path)
{
    std::FILE* file = openForReading(path);
    if (!file)
        return false;
    size_ = 0;
    if (buffer_.size() < 4096)
        buffer_.resize(4096);
    for (;;) {
        const size_t got = std::fread(buffer_.data() + size_, 1, buffer_.size() - size_, file);
        size_ += qsizetype(got);
        if (size_ < qsizetype(buffer_.size()))
            break;
        buffer_.resize(buffer_.size() * 2);
    }
    const bool ok = !std::ferror(file);
    std::fclose(file);
    return ok;
}

QStringList Searcher::run(const QStringList& categories, const Needle& needle)
{
    QStringList results;
    if (!needle.matchable())
        return results;
    for (const QString& category : categories) {
        const QString dir = library_.categoryDir(category);
        QDirIterator it(dir, {QStringLiteral("*.txt")}, QDir::Files | QDir::NoDotAndDotDot);
        while (it.hasNext()) {
            it.next();
            const QString name = it.fileName();
            if (!name.endsWith(QStringLiteral(".txt"), Qt::CaseInsensitive) || !readWhole(dir + name))
                continue;
            const QByteArrayView stored = script::storedText(QByteArrayView(buffer_.data(), size_));
            if (needle.foundIn(stored))
                results.append(resultLine(name.chopped(4), category));
        }
    }
    return results;
}

}  // namespace corvane::search
