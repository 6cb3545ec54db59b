#pragma once

#include <QLocale>
#include <QString>

namespace corvane {

// Total bytes of the plain files directly inside a folder (no hidden or system
// files, no sub-folders), with or without a trailing separator.
double FolderSize(const QString& path);

// A byte count as "1,5 Kb": the unit chosen before rounding to two decimals (ties
// to even), shortest form, the locale's decimal separator. Empty below 1 byte.
// Counts of 1024^4 and more stay in Gb.
QString Numeric2Bytes(double count, const QLocale& locale = QLocale());

}  // namespace corvane
