#include "search/SearchTexts.h"

namespace corvane::searchTexts {

QString title()
{
    return QStringLiteral("Aviso Busca");
}

QString tooShort()
{
    return QStringLiteral("Só nomes a partir de 2 caracteres");
}

QString prompt()
{
    return QStringLiteral("Digite sua busca abaixo");
}

QString scope()
{
    return QStringLiteral("Buscando em todas as categorias");
}

QString progress(qsizetype read, qsizetype total)
{
    return QStringLiteral("Lidos %1 de %2 scripts").arg(read).arg(total);
}

QString outcome(qsizetype found, bool stopped)
{
    // Short enough for the line above the lists.
    if (stopped)
        return found == 0 ? QStringLiteral("Busca parada: nenhum arquivo")
                          : QStringLiteral("Busca parada: %1 arquivos").arg(found);
    return found == 0 ? QStringLiteral("Não foi encontrado nenhum arquivo")
                      : QStringLiteral("Encontrados %1 arquivos").arg(found);
}

}  // namespace corvane::searchTexts
