#include "app/AppTexts.h"

namespace corvane::appTexts {

QString noticeTitle()
{
    return QStringLiteral("Corvane - AVISO");
}

QString noticeText()
{
    return QStringLiteral("Foi detectada a ausência do diretório \n"
                          "\"SCRIPTS\", sem o qual o Programa \n"
                          "não funciona, portanto um novo \n"
                          "diretório acaba de ser criado.\n");
}

QString noticeWarning()
{
    return QStringLiteral("Você deve mantê-lo para que seu programa continue funcionando normalmente!");
}

}  // namespace corvane::appTexts
