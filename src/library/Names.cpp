#include "library/Names.h"

#include <QStringList>

namespace corvane::names {

const QString& allowedSet()
{
    static const QString set = QStringLiteral(
        "aAbBcCdDeEfFgGhHiIjJkKlLmMnNoOpPqQrRsStTuUvVwWxXyYzZ.-_ 1234567890");
    return set;
}

bool isAllowed(QChar c)
{
    return allowedSet().contains(c);
}

QString SoNumeros(int keyCode)
{
    if (keyCode == 8)
        return QStringLiteral("8");
    if (keyCode > 0 && keyCode <= 0xFFFF && isAllowed(QChar(char16_t(keyCode))))
        return QString::number(keyCode);
    return QStringLiteral("0");
}

QString trimBlanks(QStringView text)
{
    qsizetype from = 0, to = text.size();
    while (from < to && text[from] == u' ')
        ++from;
    while (to > from && text[to - 1] == u' ')
        --to;
    return text.sliced(from, to - from).toString();
}

QString filtered(QStringView text)
{
    QString out;
    for (QChar c : text)
        if (isAllowed(c))
            out += c;
    return out;
}

Problem problemOf(const QString& name)
{
    if (name.isEmpty())
        return {Problem::Empty};
    for (QChar c : name) {
        if (c == u'/' || c == u'\\')
            return {Problem::Separator};
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return {Problem::Control};
        if (QStringView(u"<>:\"|?*").contains(c))
            return {Problem::Forbidden, c};
    }
    bool onlyDots = true;
    for (QChar c : name)
        onlyDots = onlyDots && c == u'.';
    if (onlyDots)
        return {Problem::OnlyDots};
    // A leading dot hides the entry on most systems, so it would drop out of the lists.
    if (name.startsWith(u'.'))
        return {Problem::LeadingDot};
    if (name.endsWith(u'.') || name.endsWith(u' '))
        return {Problem::TrailingDotOrSpace};
    if (name.startsWith(u' '))
        return {Problem::LeadingSpace};
    // Device names that Windows reserves, with or without an extension.
    static const QStringList reserved = [] {
        QStringList r{QStringLiteral("CON"), QStringLiteral("PRN"), QStringLiteral("AUX"),
                      QStringLiteral("NUL")};
        for (int i = 1; i <= 9; ++i) {
            r << QStringLiteral("COM%1").arg(i) << QStringLiteral("LPT%1").arg(i);
        }
        return r;
    }();
    const QString stem = name.section(u'.', 0, 0).trimmed().toUpper();
    if (reserved.contains(stem))
        return {Problem::Reserved};
    if (name.toUtf8().size() > 200)
        return {Problem::TooLong};
    return {};
}

}  // namespace corvane::names
