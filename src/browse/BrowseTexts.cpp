#include "browse/BrowseTexts.h"

#include "library/Sizes.h"

namespace corvane::browseTexts {

QString categoryLine(const QString& name, qint64 scriptCount)
{
    return name + QStringLiteral(": ") + QString::number(scriptCount) + QStringLiteral(" scripts");
}

QString categorySize(qint64 totalBytes)
{
    const QString size = Numeric2Bytes(double(totalBytes));
    return size.isEmpty() ? QStringLiteral("0 bytes") : size;
}

QString chooseCategory()
{
    return QStringLiteral("Selecione uma categoria");
}

QString viewerHeading(bool enlarged)
{
    return enlarged ? QStringLiteral("Visualizando ampliado") : QStringLiteral("Visualização");
}

}  // namespace corvane::browseTexts
