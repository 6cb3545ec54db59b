#include "help/WebSite.h"

#include <QDesktopServices>
#include <QUrl>

namespace corvane::site {
QString host()
{
    return QStringLiteral("corvane.app");
}

QString address()
{
    return QStringLiteral("https://") + host() + u'/';
}

void openInBrowser(const QUrl& url)
{
    QDesktopServices::openUrl(url);
}

void open(const Opener& opener)
{
    opener(QUrl(address()));
}

}  // namespace corvane::site
