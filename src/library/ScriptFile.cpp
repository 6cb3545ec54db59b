#include "library/ScriptFile.h"

#include "library/Cp1252.h"

#include <QFile>
#include <QSaveFile>

namespace corvane::script {

QByteArrayView storedText(QByteArrayView bytes)
{
    qsizetype i = 0;
    while (i < bytes.size() && (bytes[i] == ' ' || bytes[i] == '\t'))
        ++i;
    if (i < bytes.size() && bytes[i] == kQuote) {
        const qsizetype start = i + 1;
        qsizetype end = start;
        while (end < bytes.size() && bytes[end] != kQuote)
            ++end;
        return bytes.sliced(start, end - start);
    }
    qsizetype end = i;
    while (end < bytes.size() && bytes[end] != ',' && bytes[end] != '\r' && bytes[end] != '\n')
        ++end;
    return bytes.sliced(i, end - i);
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

QString readFile(const QString& path, bool* ok)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (ok)
            *ok = false;
        return {};
    }
    const QByteArray bytes = file.readAll();
    if (ok)
        *ok = file.error() == QFileDevice::NoError;
    return decodeFile(bytes);
}

WriteResult writeFile(const QString& path, QStringView text)
{
    WriteResult result;
    const Encoded encoded = encodeFile(toCrLf(text));
    if (!encoded.ok) {
        result.status = WriteStatus::Unencodable;
        result.badChar = encoded.badChar;
        return result;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(encoded.bytes) != encoded.bytes.size()
        || !file.commit()) {
        result.status = WriteStatus::Failed;
        result.error = file.errorString();
        file.cancelWriting();
    }
    return result;
}

QString describeChar(char32_t c)
{
    const QString hex = QString::number(uint(c), 16).toUpper().rightJustified(4, u'0');
    const QString shown = (c < 0x20 || (c >= 0x7F && c < 0xA0)) ? QString()
                                                                 : QString::fromUcs4(&c, 1);
    return shown.isEmpty() ? QStringLiteral("U+%1").arg(hex)
                           : QStringLiteral("\"%1\" (U+%2)").arg(shown, hex);
}

}  // namespace corvane::script
