#include "library/ScriptFile.h"

#include "library/Cp1252.h"


#include <cstring>

namespace corvane::script {

QByteArrayView storedText(QByteArrayView bytes)
{
    const char* const begin = bytes.data();
    const char* const end = begin + bytes.size();
    const char* p = begin;
    while (p < end && (*p == ' ' || *p == '\t'))
        ++p;
    if (p < end && *p == kQuote) {
        // memchr: the search reads every script through here.
        const char* start = p + 1;
        const void* close = std::memchr(start, kQuote, size_t(end - start));
        const char* stop = close ? static_cast<const char*>(close) : end;
        return QByteArrayView(start, stop - start);
    }
    const char* stop = p;
    while (stop < end && *stop != ',' && *stop != '\r' && *stop != '\n')
        ++stop;
    return QByteArrayView(p, stop - p);
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

// Whether the stored text of these first bytes of a file is complete in them.
bool storedTextEnds(QByteArrayView head)
{
    const QByteArrayView stored = storedText(head);
    return stored.data() + stored.size() < head.data() + head.size();
}

}  // namespace

ReadResult read(const fs::Path& path)
{
    ReadResult result;
    QByteArray bytes;
    bool more = false;
    // Most scripts end within the first read; only an unclosed one reads on.
    constexpr qint64 kFirst = 64 * 1024;
    if (!fs::readPrefix(path, kFirst, bytes, &more)) {
        result.status = ReadStatus::Unreadable;
        return result;
    }
    if (more && !storedTextEnds(bytes)) {
        if (!fs::readPrefix(path, kMaxStoredBytes + 2, bytes, &more)) {
            result.status = ReadStatus::Unreadable;
            return result;
        }
        if (storedText(bytes).size() > kMaxStoredBytes) {
            result.status = ReadStatus::TooBig;
            return result;
        }
    }
    result.text = decodeFile(bytes);
    return result;
}

Outcome writeFile(const fs::Path& path, QStringView text, fs::Replace replace)
{
    const Encoded encoded = encodeFile(toCrLf(text));
    if (!encoded.ok) {
        Outcome refused = Outcome::failed(Outcome::Code::Unencodable);
        refused.character = encoded.badChar;
        return refused;
    }
    if (!fs::writeFile(path, encoded.bytes, replace))
        return Outcome::failed(Outcome::Code::WriteFailed, {}, fs::lastError());
    return {};
}

}  // namespace corvane::script
