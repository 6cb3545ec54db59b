#include "printing/PrintTexts.h"

namespace corvane::printTexts {

QString title()
{
    return QStringLiteral("Corvane - Print preview");
}

QString heading(const QString& scriptName, const QDate& day)
{
    return QStringLiteral(":: ") + scriptName + QStringLiteral("  -  ")
           + day.toString(QStringLiteral("dd-MM-yyyy")) + QStringLiteral(" ::");
}

QString failure(printing::Result result)
{
    switch (result) {
    case printing::Result::Done:
        break;
    case printing::Result::NoPrinter:
        return QStringLiteral("Nenhuma impressora padrão foi encontrada. Instale uma impressora e "
                              "defina-a como padrão para poder imprimir.");
    case printing::Result::PrintFailed:
        return QStringLiteral("Não foi possível imprimir na impressora padrão. Verifique se ela está "
                              "ligada e pronta e tente novamente.");
    }
    return {};
}

}  // namespace corvane::printTexts
