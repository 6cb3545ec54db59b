#pragma once

#include <QString>

class QUrl;

// The product's web site, opened from the main window's header and the credits.
namespace corvane::site {

// The host name alone, as the credits link shows it.
QString host();
// Scheme, host and a trailing slash: what is opened.
QString address();

// Asks the desktop to open the address in the default browser; the outcome is
// not looked at.
void open();

// Replaces what open() calls, so it can be watched without a browser; nullptr
// restores the desktop's opener.
using Opener = void (*)(const QUrl& url);
Opener setOpener(Opener opener);

}  // namespace corvane::site
