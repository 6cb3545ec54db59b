#pragma once

#include <QString>

// What the help and credits windows say: the eighteen named help strings, the
// three topics built from them, and the windows' own lines.
namespace corvane::help {

enum class Topic { Ini, Cat, File };

// The string of the table called name ("lblIniText1" ... "lblFileText8"); empty
// for an unknown name.
QString text(const char* name);

// A topic: its strings joined by CR LF line breaks, none before the first string
// or after the last.
QString topic(Topic which);

QString helpTitle();
// The name a screen reader gives a topic's box.
QString topicName(const QString& caption);

QString creditsTitle();
QString creditsHeading();
QString creditsAuthors();
QString creditsTools();
// The site link's name for a screen reader.
QString siteName(const QString& host);

}  // namespace corvane::help
