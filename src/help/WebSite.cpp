#include "help/WebSite.h"

#include <QDesktopServices>
#include <QUrl>

namespace corvane::site {
namespace {

Opener g_opener = nullptr;

}  // namespace

QString host()
{
    return QStringLiteral("corvane.app");
}

QString address()
{
    return QStringLiteral("https://") + host() + u'/';
}

void open()
{
    const QUrl url(address());
    if (g_opener)
        g_opener(url);
    else
        QDesktopServices::openUrl(url);
}

Opener setOpener(Opener opener)
{
    const Opener previous = g_opener;
    g_opener = opener;
    return previous;
}

}  // namespace corvane::site
