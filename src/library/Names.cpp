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

QString unsafeReason(const QString& name)
{
    if (name.isEmpty())
        return QStringLiteral("o nome está vazio");
    for (QChar c : name) {
        if (c == u'/' || c == u'\\')
            return QStringLiteral("contém um separador de pastas");
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return QStringLiteral("contém um caractere de controle");
        if (QStringView(u"<>:\"|?*").contains(c))
            return QStringLiteral("contém o caractere %1, que o sistema não aceita em nomes").arg(c);
    }
    bool onlyDots = true;
    for (QChar c : name)
        onlyDots = onlyDots && c == u'.';
    if (onlyDots)
        return QStringLiteral("é formado só por pontos");
    // A leading dot hides the entry on most systems, so it would drop out of the lists.
    if (name.startsWith(u'.'))
        return QStringLiteral("começa com ponto, o que o deixaria oculto");
    if (name.endsWith(u'.') || name.endsWith(u' '))
        return QStringLiteral("termina com ponto ou espaço");
    if (name.startsWith(u' '))
        return QStringLiteral("começa com espaço");
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
        return QStringLiteral("é um nome reservado pelo sistema");
    if (name.toUtf8().size() > 200)
        return QStringLiteral("é longo demais");
    return {};
}

QString unsafeMessage(const QString& name)
{
    const QString reason = unsafeReason(name);
    if (reason.isEmpty())
        return {};
    return QStringLiteral("O nome \"%1\" não pode ser usado: %2.").arg(name, reason);
}

}  // namespace corvane::names
