#include "search/TextSearch.h"

#include "library/Cp1252.h"
#include "library/ScriptFile.h"


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

// How often a folded byte turns up in ordinary text, roughly: blanks and frequent
// letters high, rare letters, digits and signs low.
int commonness(unsigned char b)
{
    static const char frequent[] = " eaosrintdmulcpvghqbfzjxkwy";  // most common first
    if (const char* at = std::strchr(frequent, b); at && b)
        return 100 - int(at - frequent);
    if (b == '\r' || b == '\n' || b == ',' || b == '.')
        return 90;
    return b >= 0x80 ? 40 : 30;
}

bool hasTxtSuffix(const QByteArray& name)
{
    if (name.size() < 5)
        return false;
    const char* s = name.constData() + name.size() - 4;
    return s[0] == '.' && (s[1] | 0x20) == 't' && (s[2] | 0x20) == 'x' && (s[3] | 0x20) == 't';
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
    // Anchor on the needle's least common byte, so memchr skips far between tries.
    for (qsizetype i = 0; i < folded_.size(); ++i) {
        if (commonness(static_cast<unsigned char>(folded_[i]))
            <= commonness(static_cast<unsigned char>(folded_[anchorAt_])))
            anchorAt_ = i;
    }
    anchor_[0] = static_cast<unsigned char>(folded_[anchorAt_]);
    anchor_[1] = otherCase(anchor_[0]);
}

qsizetype Needle::find(QByteArrayView hay, qsizetype from) const
{
    const qsizetype n = folded_.size();
    const auto* h = reinterpret_cast<const unsigned char*>(hay.data());
    const auto* f = reinterpret_cast<const unsigned char*>(folded_.constData());
    const qsizetype lastStart = hay.size() - n;
    if (lastStart < from)
        return -1;
    // memchr runs ahead to the next place of the anchor byte, in either case; each
    // such place is one candidate start to verify.
    qsizetype next[2] = {-2, -2};
    const int kinds = anchor_[1] == anchor_[0] ? 1 : 2;
    qsizetype i = from + anchorAt_;  // where the anchor of the next candidate may stand
    const qsizetype lastAnchor = lastStart + anchorAt_;
    while (i <= lastAnchor) {
        qsizetype candidate = -1;
        for (int k = 0; k < kinds; ++k) {
            if (next[k] != -1 && next[k] < i) {
                const void* p = std::memchr(h + i, anchor_[k], size_t(lastAnchor - i + 1));
                next[k] = p ? static_cast<const unsigned char*>(p) - h : -1;
            }
            if (next[k] >= 0 && (candidate < 0 || next[k] < candidate))
                candidate = next[k];
        }
        if (candidate < 0)
            return -1;
        const unsigned char* start = h + candidate - anchorAt_;
        qsizetype j = 0;
        while (j < n && fold[start[j]] == f[j])
            ++j;
        if (j == n)
            return candidate - anchorAt_;
        i = candidate + 1;
    }
    return -1;
}

bool Needle::foundIn(QByteArrayView haystack) const
{
    return matchable_ && find(haystack, 0) >= 0;
}

bool Needle::foundInStoredText(QByteArrayView file) const
{
    if (!matchable_)
        return false;
    qsizetype start = 0;
    while (start < file.size() && (file[start] == ' ' || file[start] == '\t'))
        ++start;
    if (start >= file.size() || file[start] != script::kQuote)
        return foundIn(script::storedText(file));
    // One pass for the usual quoted script: find the needle first, then make sure
    // the closing quote does not come before its end.
    ++start;
    const qsizetype at = find(file.sliced(start), 0);
    if (at < 0)
        return false;
    return !std::memchr(file.data() + start, script::kQuote, size_t(at + folded_.size()));
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

bool Searcher::readWhole(std::FILE* file)
{
    if (!file)
        return false;
    // Unbuffered: the text goes straight into our buffer, and stdio neither
    // allocates its own nor asks the system for the file's block size.
    std::setvbuf(file, nullptr, _IONBF, 0);
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

bool Searcher::matches(std::FILE* file, const Needle& needle)
{
    return readWhole(file) && needle.foundInStoredText(QByteArrayView(buffer_.data(), size_));
}

void Searcher::searchCategory(const Item& category, const Needle& needle, QList<Hit>& results)
{
    const fs::Path dir = library_.categoryPath(category.key) + '/';
    std::vector<fs::Entry> entries;
    fs::list(dir, entries);
    for (const fs::Entry& e : entries) {
        if (e.hidden || e.type != fs::Type::File || !hasTxtSuffix(e.name))
            continue;
#ifdef _WIN32
        std::FILE* file = _wfopen(reinterpret_cast<const wchar_t*>(QString::fromUtf8(dir + e.name).utf16()), L"rb");
#else
        std::FILE* file = std::fopen((dir + e.name).constData(), "rb");
#endif
        if (!matches(file, needle))
            continue;
        const QString name = fs::shownName(QByteArrayView(e.name).chopped(4));
        results.append({resultLine(name, category.shown), name, category.key, e.name});
    }
}

QList<Searcher::Hit> Searcher::run(const Items& categories, const Needle& needle)
{
    QList<Hit> results;
    if (!needle.matchable())
        return results;
    for (const Item& category : categories)
        searchCategory(category, needle, results);
    return results;
}

}  // namespace corvane::search
