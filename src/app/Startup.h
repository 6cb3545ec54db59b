#pragma once

#include <QString>

#include <optional>

class QApplication;
class QWidget;

namespace corvane {

// What the command line asks for. With exitCode set, the answer (help, version
// or what was wrong) is already printed and the program ends with that code.
struct CommandLine {
    std::optional<int> exitCode;
    QString library;  // given by --library, empty when not
    // --search TEXT and --show CATEGORY/NAME: answered in the terminal, no window.
    std::optional<QString> search;
    std::optional<QString> show;
};

// Reads the options without a QApplication, so that --help and --version need no
// display. Qt's own options (-platform, -style, -reverse...) are let through for
// QApplication to take.
CommandLine readCommandLine(int argc, char* argv[]);

// The library folder: --library, else CORVANE_LIBRARY, else "scripts" beside the
// program where it can be used (never for the packaged program, installed in the
// system's folders), else "scripts" in the user's data folder. Only
// the last two are the program's own: a folder the user names may hold the
// user's other files, which start-up never touches.
struct LibraryChoice {
    QString path;
    bool owned = false;
};
LibraryChoice chooseLibraryFolder(const QString& fromCommandLine, const QString& appDir, bool packaged = false);

// Portuguese for Qt's own strings and the program's font.
void setUpLookAndLanguage(QApplication& app, const QString& appDir);

// Makes sure the scripts folder exists (showing the notice first when it did
// not) and, in a folder of the program's own, moves plain files lying directly in
// it to the trash. Tells the user and returns false when the folder cannot be had.
bool prepareScriptsFolder(const LibraryChoice& library, QWidget* parent = nullptr);

// The whole start on the chosen library folder: a second copy on the same
// folder refused, the folder prepared, main window shown. Returns the program's
// exit code.
int runCorvane(QApplication& app, const LibraryChoice& library);

}  // namespace corvane
