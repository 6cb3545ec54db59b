#include "library/Cp1252.h"

namespace corvane::cp1252 {
namespace {

constexpr char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

int byteFor(char32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return int(cp);
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == cp)
            return 0x80 + i;
    return -1;
}

std::array<unsigned char, 256> makeFold()
{
    std::array<unsigned char, 256> t{};
    for (int i = 0; i < 256; ++i)
        t[i] = static_cast<unsigned char>(i);
    for (int c = 'A'; c <= 'Z'; ++c)
        t[c] = static_cast<unsigned char>(c + 32);
    for (int c = 0xC0; c <= 0xDE; ++c)
        if (c != 0xD7)  // multiplication sign has no case
            t[c] = static_cast<unsigned char>(c + 32);
    t[0x8A] = 0x9A;  // Š š
    t[0x8C] = 0x9C;  // Œ œ
    t[0x8E] = 0x9E;  // Ž ž
    t[0x9F] = 0xFF;  // Ÿ ÿ
    return t;
}

}  // namespace

QString decode(QByteArrayView bytes)
{
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* dst = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        dst[i] = (b >= 0x80 && b < 0xA0) ? QChar(kHigh[b - 0x80]) : QChar(b);
    }
    return out;
}

Encoded encode(QStringView text)
{
    Encoded result;
    result.bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t cp = text[i].unicode();
        if (QChar::isHighSurrogate(cp) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            cp = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        }
        const int b = byteFor(cp);
        if (b < 0) {
            result.ok = false;
            result.badChar = cp;
            result.bytes.clear();
            return result;
        }
        result.bytes.append(static_cast<char>(b));
    }
    return result;
}

const std::array<unsigned char, 256>& foldTable()
{
    static const std::array<unsigned char, 256> table = makeFold();
    return table;
}

}  // namespace corvane::cp1252
