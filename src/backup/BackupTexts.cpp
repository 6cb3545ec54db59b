#include "backup/BackupTexts.h"

#include "widgets/Texts.h"

#include <algorithm>
#include <cerrno>

namespace corvane::backupTexts {
namespace {

QString nothingCopied()
{
    return QStringLiteral("Nada foi copiado.");
}

// Whether a failure is the destination's file system refusing a name, as FAT
// and exFAT refuse names in bytes they cannot store (fusefat: any beyond ASCII).
bool nameRefused(int error, const QString& name)
{
    const bool ascii = std::all_of(name.begin(), name.end(), [](QChar c) { return c.unicode() < 0x80; });
    return error == EILSEQ || error == EINVAL || error == ENAMETOOLONG || (error == EPERM && !ascii);
}

QString interrupted(const QString& what, const QString& where, const QString& backup)
{
    return what + QStringLiteral(":\r\n%1\r\n\r\nO backup foi interrompido. O que já foi copiado continua em:\r\n%2")
                      .arg(where, backup);
}

}  // namespace

QString title()
{
    return QStringLiteral("Corvane - Backup");
}

QString helpTitle()
{
    return QStringLiteral("Corvane - Backup Help");
}

QString helpHeading()
{
    return QStringLiteral("Mini Help Backup");
}

QStringList helpParagraphs()
{
    return {QStringLiteral("O backup dos scripts neste programa é feito mediante o salvamento das pastas e dos "
                           "arquivos TXT, no diretório escolhido pelo usuário."),
            QStringLiteral("Toda a estrutura de Categorias (pastas) e Scripts (arquivos TXT) é mantida dentro da "
                           "pasta principal, de nome SCRIPTS."),
            QStringLiteral("Caso tenha feito vários backups com nomes de pasta diferentes, ex: SCRIPTS, "
                           "SCRIPTS-01-02-07, SCRIPTS BACK1, as subpastas podem ser recuperadas para a pasta "
                           "Scripts, através da qual o Programa roda, simplesmente copiando-se e colando-se as "
                           "pastas. Da mesma forma, pode ser feito com os Scripts - textos (arquivos TXT).")};
}

QString driveUnreadable()
{
    return QStringLiteral("Drive não acessível");
}

QString nameNeeded()
{
    return QStringLiteral("Digite o nome da pasta destino. ") + nothingCopied();
}

QString unsafeName(const QString& name)
{
    const QString unsafe = texts::unsafeName(name);
    return unsafe.isEmpty() ? unsafe : unsafe + u' ' + nothingCopied();
}

QString folderExists(const QString& name)
{
    return QStringLiteral("A pasta ") + name + QStringLiteral(" já existe");
}

QString done()
{
    return QStringLiteral("Backup realizado com sucesso!");
}

QString failure(const backup::Result& result)
{
    QString where = result.names.value(0);
    if (nameRefused(result.error, where.section(u'/', -1)))
        where += QStringLiteral("\r\nO disco de destino não aceita esse nome.");
    switch (result.code) {
    case backup::Result::Code::TargetFailed:
        return QStringLiteral("Não foi possível criar a pasta destino:\r\n%1\r\n\r\n").arg(where) + nothingCopied();
    case backup::Result::Code::FolderFailed:
        return interrupted(QStringLiteral("Não foi possível criar a pasta"), where, result.names.value(1));
    case backup::Result::Code::Done:
    case backup::Result::Code::CopyFailed:
        break;
    }
    return interrupted(QStringLiteral("Não foi possível copiar o arquivo"), where, result.names.value(1));
}

}  // namespace corvane::backupTexts
