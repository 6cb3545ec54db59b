#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <array>

// Script files are Windows-1252 on every system, so the table is ours rather than
// the locale's. The five bytes Windows-1252 leaves unassigned map to the C1 code
// points of the same value, as Windows itself does, so every byte round-trips.
namespace corvane::cp1252 {

QString decode(QByteArrayView bytes);

struct Encoded {
    QByteArray bytes;
    bool ok = true;
    char32_t badChar = 0;  // first character Windows-1252 cannot hold, when !ok
};
Encoded encode(QStringView text);

// Lower-case fold of a Windows-1252 byte: a letter meets its other case, never its
// accented or unaccented form.
const std::array<unsigned char, 256>& foldTable();

}  // namespace corvane::cp1252
