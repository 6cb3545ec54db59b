#include "widgets/Texts.h"

#include "library/Fs.h"
#include "library/Names.h"
#include "library/ScriptFile.h"

namespace corvane::texts {
namespace {

QString reason(const names::Problem& problem)
{
    switch (problem.kind) {
    case names::Problem::None:
        break;
    case names::Problem::Empty:
        return QStringLiteral("o nome está vazio");
    case names::Problem::Separator:
        return QStringLiteral("contém um separador de pastas");
    case names::Problem::Control:
        return QStringLiteral("contém um caractere de controle");
    case names::Problem::Forbidden:
        return QStringLiteral("contém o caractere %1, que o sistema não aceita em nomes").arg(problem.character);
    case names::Problem::OnlyDots:
        return QStringLiteral("é formado só por pontos");
    case names::Problem::LeadingDot:
        return QStringLiteral("começa com ponto, o que o deixaria oculto");
    case names::Problem::TrailingDotOrSpace:
        return QStringLiteral("termina com ponto ou espaço");
    case names::Problem::LeadingSpace:
        return QStringLiteral("começa com espaço");
    case names::Problem::Reserved:
        return QStringLiteral("é um nome reservado pelo sistema");
    case names::Problem::TooLong:
        return QStringLiteral("é longo demais");
    }
    return {};
}

QString describe(char32_t c)
{
    const QString hex = QString::number(uint(c), 16).toUpper().rightJustified(4, u'0');
    const QString shown = (c < 0x20 || (c >= 0x7F && c < 0xA0)) ? QString() : QString::fromUcs4(&c, 1);
    return shown.isEmpty() ? QStringLiteral("U+%1").arg(hex) : QStringLiteral("\"%1\" (U+%2)").arg(shown, hex);
}

}  // namespace

QString quoted(const QString& name)
{
    return u'"' + name + u'"';
}

QString unsafeName(const QString& name)
{
    const names::Problem problem = names::problemOf(name);
    if (!problem)
        return {};
    return QStringLiteral("O nome \"%1\" não pode ser usado: %2.").arg(name, reason(problem));
}

QString unsafeScriptName(const QString& name)
{
    // "..." or "nota." are harmless once ".txt" follows; separators and device
    // names are not.
    const QString file = name + QStringLiteral(".txt");
    if (!names::problemOf(file))
        return {};
    const QString own = unsafeName(name);
    return own.isEmpty() ? unsafeName(file) : own;
}

QString renameQuestion(const QString& oldName, const QString& newName)
{
    return QStringLiteral("Você tem certeza que quer renomear\r\n") + quoted(oldName) + QStringLiteral(" para ")
        + quoted(newName) + u'?';
}

QString alreadyPresent(const QString& name)
{
    return QStringLiteral("O nome ") + quoted(name) + QStringLiteral(" já existe!");
}

QString notDone(const QString& result, const QString& reason)
{
    return result + QStringLiteral("\r\n") + reason;
}

QString unencodable(char32_t c)
{
    return QStringLiteral("O texto contém o caractere %1, que não pode ser gravado em um script.").arg(describe(c));
}

QString writeFailure(const QString& what, int error)
{
    return fs::diskFull(error) ? what + QStringLiteral(" O disco está cheio.") : what;
}

QString outsideLibrary(const QString& what)
{
    return QStringLiteral("%1 leva, por um link simbólico, para fora da pasta dos scripts; "
                          "por segurança, nada foi alterado.")
        .arg(what);
}

QString tooBig(const QString& name)
{
    return QStringLiteral("O script \"%1\" é grande demais para ser aberto: o texto passa de %2 MB. "
                          "Nada foi carregado nem alterado.")
        .arg(name)
        .arg(script::kMaxStoredBytes / (1024 * 1024));
}

QString fileNeeded()
{
    return QStringLiteral("Você precisa selecionar um arquivo!");
}

QString viewingTitle()
{
    return QStringLiteral("Aviso visualização");
}

QString magnifierTip(bool larger)
{
    return larger ? QStringLiteral(" Aumentar ") : QStringLiteral(" Diminuir ");
}

QString magnifierName(bool larger)
{
    return larger ? QStringLiteral("Aumentar a visualização") : QStringLiteral("Diminuir a visualização");
}

QString nameNeeded()
{
    return QStringLiteral("Você precisa colocar um nome!");
}

}  // namespace corvane::texts
