#pragma once

#include <QString>

#include <functional>

class QUrl;

// The product's web site, opened from the main window's header and the credits.
namespace corvane::site {

// The host name alone, as the credits link shows it.
QString host();
// Scheme, host and a trailing slash: what is opened.
QString address();

// What opens an address; the desktop's default browser unless told otherwise.
using Opener = std::function<void(const QUrl& url)>;
void openInBrowser(const QUrl& url);

// Opens the site's address; the outcome is not looked at.
void open(const Opener& opener);

}  // namespace corvane::site
