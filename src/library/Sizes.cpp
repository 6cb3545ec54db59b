#include "library/Sizes.h"

#include <cfenv>
#include <cmath>

namespace corvane {

QString Numeric2Bytes(double count, const QLocale& locale)
{
    static const char* const units[] = {"bytes", "Kb", "Mb", "Gb"};
    int power = -1;
    for (int i = 3; i >= 0; --i) {
        if (std::pow(1024.0, i) <= count) {
            power = i;
            break;
        }
    }
    if (power < 0)
        return {};
    const int previous = std::fegetround();
    std::fesetround(FE_TONEAREST);  // ties to even
    const double rounded = std::nearbyint(count / std::pow(1024.0, power) * 100.0) / 100.0;
    std::fesetround(previous);

    QLocale plain = locale;
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    QString text = plain.toString(rounded, 'f', 2);
    const QString point = plain.decimalPoint();
    if (text.contains(point)) {
        while (text.endsWith(u'0'))
            text.chop(1);
        if (text.endsWith(point))
            text.chop(point.size());
    }
    return text + u' ' + QLatin1String(units[power]);
}

}  // namespace corvane
