#pragma once

#include <QLockFile>
#include <QString>

class QApplication;
class QWidget;

namespace corvane {

// Marks this copy as the running one for its application folder. A copy that
// died leaves no lasting lock: the lock of a dead process counts as free.
class SingleInstance {
public:
    explicit SingleInstance(const QString& lockPath);
    bool acquire();

    static QString lockPathFor(const QString& appDir);

private:
    QLockFile lock_;
};

// Portuguese for Qt's own strings and the program's font.
void setUpLookAndLanguage(QApplication& app, const QString& appDir);

// Makes sure the scripts folder exists (showing the notice first when it did
// not) and removes plain files lying directly in it. Tells the user and returns
// false when the folder cannot be had.
bool prepareScriptsFolder(const QString& scriptsDir, QWidget* parent = nullptr);

// The whole start: second copy refused, scripts folder, main window shown.
// Returns the program's exit code.
int runCorvane(QApplication& app, const QString& appDir, const QString& lockPath);

}  // namespace corvane
