#include "library/ScriptFile.h"

#include "library/Cp1252.h"

#include <QCryptographicHash>

#include <cstring>

namespace corvane::script {

StoredTextReader::Part StoredTextReader::next(QByteArrayView piece)
{
    const char* p = piece.data();
    const char* const end = p + piece.size();
    if (at_ == At::Blanks) {
        while (p < end && (*p == ' ' || *p == '\t'))
            ++p;
        if (p == end)
            return {};
        at_ = *p == kQuote ? At::Quoted : At::Plain;
        if (at_ == At::Quoted)
            ++p;
    }
    const char* stop = nullptr;
    if (at_ == At::Quoted) {
        // memchr: the search reads every script through here.
        stop = static_cast<const char*>(std::memchr(p, kQuote, size_t(end - p)));
    } else {
        for (const char* c = p; c < end && !stop; ++c) {
            if (*c == ',' || *c == '\r' || *c == '\n')
                stop = c;
        }
    }
    return {QByteArrayView(p, (stop ? stop : end) - p), stop != nullptr};
}

QByteArrayView storedText(QByteArrayView bytes)
{
    return StoredTextReader().next(bytes).text;
}

QString decodeStored(QByteArrayView stored)
{
    QString text = cp1252::decode(stored);
    text.replace(QChar(0xA4), QChar(u'"'));
    return text;
}

QString decodeFile(QByteArrayView fileBytes)
{
    return decodeStored(storedText(fileBytes));
}

Encoded encodeFile(QStringView text)
{
    Encoded result;
    const cp1252::Encoded body = cp1252::encode(text);
    if (!body.ok) {
        result.ok = false;
        result.badChar = body.badChar;
        return result;
    }
    result.bytes.reserve(body.bytes.size() + 4);
    result.bytes.append(kQuote);
    for (char c : body.bytes)
        result.bytes.append(c == kQuote ? kStoredQuote : c);
    result.bytes.append(kQuote);
    result.bytes.append("\r\n");
    return result;
}

QString toCrLf(QStringView text)
{
    QString out;
    out.reserve(text.size() + text.size() / 16);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r') {
            out += u"\r\n";
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
        } else if (c == u'\n' || c == QChar::ParagraphSeparator || c == QChar::LineSeparator) {
            out += u"\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

QString fromCrLf(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r') {
            out += u'\n';
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
        } else {
            out += c;
        }
    }
    return out;
}

namespace {

// Fast, and strong enough that two different files never pass for one.
constexpr auto kDigest = QCryptographicHash::Blake2b_256;

// Reads an open file, keeping its first `keep` bytes in head and feeding them
// to digest. Past them only the file's size is told: a file that big is no
// script anyone edits, and reading a stray gigabyte would freeze the window.
bool readHead(fs::Reader& file, const fs::Path& path, qint64 keep, QByteArray& head, QCryptographicHash& digest)
{
    constexpr qint64 kChunk = 256 * 1024;
    QByteArray chunk(kChunk, Qt::Uninitialized);
    // One byte past keep tells whether the file goes on.
    for (qint64 room = keep + 1; room > 0; room = keep + 1 - head.size()) {
        const qint64 n = file.read(chunk.data(), qMin(kChunk, room));
        if (n < 0)
            return false;
        if (n == 0)
            break;
        head.append(chunk.constData(), n);
    }
    if (head.size() > keep) {
        head.truncate(keep);
        digest.addData(head);
        digest.addData(QByteArray("+") + QByteArray::number(fs::info(path).size));
    } else {
        digest.addData(head);
    }
    return true;
}

}  // namespace

Snapshot snapshotOf(QByteArrayView wholeFile)
{
    return {true, QCryptographicHash::hash(wholeFile, kDigest)};
}

Snapshot snapshot(const fs::Path& path)
{
    fs::Reader file;
    QByteArray head;
    QCryptographicHash digest(kDigest);
    if (!file.open(path) || !readHead(file, path, kMaxStoredBytes + 2, head, digest))
        return {fs::info(path).type != fs::Type::None, {}};
    return {true, digest.result()};
}

ReadResult read(const fs::Path& path)
{
    ReadResult result;
    fs::Reader file;
    QByteArray bytes;
    QCryptographicHash digest(kDigest);
    if (!file.open(path) || !readHead(file, path, kMaxStoredBytes + 2, bytes, digest)) {
        result.status = ReadStatus::Unreadable;
        result.snapshot = {fs::info(path).type != fs::Type::None, {}};
        return result;
    }
    result.snapshot = {true, digest.result()};
    const QByteArrayView stored = storedText(bytes);
    if (stored.size() > kMaxStoredBytes) {
        result.status = ReadStatus::TooBig;
        return result;
    }
    result.text = decodeStored(stored);
    return result;
}

Outcome writeFile(const fs::Path& path, QStringView text, fs::Replace replace, Snapshot* written)
{
    const Encoded encoded = encodeFile(toCrLf(text));
    if (!encoded.ok) {
        Outcome refused = Outcome::failed(Outcome::Code::Unencodable);
        refused.character = encoded.badChar;
        return refused;
    }
    if (!fs::writeFile(path, encoded.bytes, replace))
        return Outcome::writeFailed(fs::lastError());
    if (written)
        *written = snapshotOf(encoded.bytes);
    return {};
}

}  // namespace corvane::script
