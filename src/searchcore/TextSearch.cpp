#include "searchcore/TextSearch.h"

#include "library/Cp1252.h"
#include "library/Parallel.h"
#include "library/ScriptFile.h"

#include <atomic>
#include <cstring>
#include <mutex>

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

// Bytes a reader asks for at once: most scripts arrive in one read.
constexpr qsizetype kPiece = 64 * 1024;

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
    // Files store a double quote as the currency sign: a typed one meets it there.
    folded_ = bytes.bytes;
    for (char& c : folded_)
        c = static_cast<char>(fold[static_cast<unsigned char>(c == script::kQuote ? script::kStoredQuote : c)]);
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
    return matchable_ && foundIn(script::storedText(file));
}

bool Needle::foundInFile(fs::Reader& file, std::vector<char>& buffer, qint64 limit) const
{
    if (!matchable_)
        return false;
    const qsizetype n = folded_.size();
    if (buffer.size() < size_t(kPiece + n))
        buffer.resize(size_t(kPiece + n));
    char* const buf = buffer.data();
    const qsizetype capacity = qsizetype(buffer.size());
    // The last n - 1 bytes of the stored text read so far stay at the buffer's
    // start, so a needle across two reads is still found.
    qsizetype kept = 0;
    script::StoredTextReader reader;
    for (qint64 total = 0; total < limit;) {
        const qint64 got = file.read(buf + kept, qMin<qint64>(capacity - kept, limit - total));
        if (got <= 0)
            return false;
        total += got;
        const script::StoredTextReader::Part part = reader.next(QByteArrayView(buf + kept, got));
        if (!part.text.data())
            continue;  // blanks so far
        // The kept bytes and this piece's stored text lie side by side.
        const char* const text = kept ? buf : part.text.data();
        const char* const textEnd = part.text.data() + part.text.size();
        if (find(QByteArrayView(text, textEnd - text), 0) >= 0)
            return true;
        if (part.ended)
            return false;
        kept = qMin<qsizetype>(n - 1, textEnd - text);
        std::memmove(buf, textEnd - kept, size_t(kept));
    }
    return false;
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

namespace {

// A category's scripts as listed before the search reads them.
struct Category {
    std::vector<fs::Entry> files;
    // Opened by the first reader to need it, closed by the last, so only the
    // few folders being read are open at a time.
    fs::Folder folder;
    std::once_flag opened;
    std::atomic<qsizetype> left{0};
};

// Every category folder is listed first, several at once; only the folder
// itself is read, the files are looked at by the readers.
std::vector<Category> listScripts(const Library& library, const Items& categories, int readers,
                                  const std::atomic<bool>& stop)
{
    std::vector<Category> listed(size_t(categories.size()));
    parallel::forEach(categories.size(), readers, [&](qsizetype c, int) {
        Category& category = listed[size_t(c)];
        fs::listQuick(library.categoryPath(categories[c].key), category.files);
        std::erase_if(category.files, [](const fs::Entry& e) {
            return e.hidden || e.type == fs::Type::Dir || e.type == fs::Type::Other || !hasTxtSuffix(e.name);
        });
        category.left = qsizetype(category.files.size());
    }, &stop);
    return listed;
}

Searcher::Hit hitOf(const Item& category, const Category& listed, int file)
{
    const QByteArray& fileName = listed.files[size_t(file)].name;
    const QString name = fs::shownName(QByteArrayView(fileName).chopped(4));
    return {resultLine(name, category.shown), name, category.key, fileName};
}

}  // namespace

Searcher::Searcher(const Library& library, int readers)
    : library_(library)
    , readers_(qMax(1, readers))
{
}

QList<Searcher::Hit> Searcher::run(const Items& categories, const Needle& needle, Progress* progress) const
{
    Progress none;
    Progress& at = progress ? *progress : none;
    QList<Hit> results;
    if (!needle.matchable())
        return results;

    std::vector<Category> listed = listScripts(library_, categories, readers_, at.stop);

    // Then every file, in the order of the results.
    std::vector<std::pair<int, int>> files;
    for (size_t c = 0; c < listed.size(); ++c)
        for (size_t f = 0; f < listed[c].files.size(); ++f)
            files.emplace_back(int(c), int(f));
    at.total = qsizetype(files.size());
    std::vector<char> found(files.size(), 0);
    std::vector<std::vector<char>> buffers(static_cast<size_t>(readers_));
    constexpr qint64 kLimit = script::kMaxStoredBytes + 2;
    parallel::forEach(qsizetype(files.size()), readers_, [&](qsizetype i, int worker) {
        const auto [c, f] = files[size_t(i)];
        Category& category = listed[size_t(c)];
        std::call_once(category.opened, [&] { category.folder.open(library_.categoryPath(categories[c].key)); });
        const fs::Entry& e = category.files[size_t(f)];
        fs::Reader file;
        found[size_t(i)] = file.open(category.folder, e.name, e.type == fs::Type::File)
                           && needle.foundInFile(file, buffers[size_t(worker)], kLimit);
        file.close();
        if (category.left.fetch_sub(1) == 1)
            category.folder.close();
        at.read.fetch_add(1, std::memory_order_relaxed);
    }, &at.stop);

    for (size_t i = 0; i < files.size(); ++i) {
        if (found[i])
            results.append(hitOf(categories[files[i].first], listed[size_t(files[i].first)], files[i].second));
    }
    return results;
}

}  // namespace corvane::search
