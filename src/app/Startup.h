#pragma once

#include <QString>

class QApplication;
class QWidget;

namespace corvane {

// Portuguese for Qt's own strings and the program's font.
void setUpLookAndLanguage(QApplication& app, const QString& appDir);

// Makes sure the scripts folder exists (showing the notice first when it did
// not) and removes plain files lying directly in it. Tells the user and returns
// false when the folder cannot be had.
bool prepareScriptsFolder(const QString& scriptsDir, QWidget* parent = nullptr);

// The whole start on the library folder libraryDir: a second copy on the same
// folder refused, the folder prepared, main window shown. Returns the program's
// exit code.
int runCorvane(QApplication& app, const QString& libraryDir);

}  // namespace corvane
