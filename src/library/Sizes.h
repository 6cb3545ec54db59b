#pragma once

#include <QLocale>
#include <QString>

namespace corvane {

// A byte count as "1,5 Kb": the unit chosen before rounding to two decimals (ties
// to even), shortest form, the locale's decimal separator. Empty below 1 byte.
// Counts of 1024^4 and more stay in Gb.
QString Numeric2Bytes(double count, const QLocale& locale = QLocale());

}  // namespace corvane
