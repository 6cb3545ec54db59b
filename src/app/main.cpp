#include "app/Startup.h"
#include "cli/Console.h"
#include "widgets/Accessible.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    const corvane::CommandLine options = corvane::readCommandLine(argc, argv);
    if (options.exitCode)
        return *options.exitCode;
#ifdef CORVANE_PACKAGED
    const bool packaged = true;  // the .deb's build
#else
    const bool packaged = false;
#endif
    if (options.search || options.show) {
        // No window, so no display is needed.
        const QCoreApplication app(argc, argv);
        const QString scripts =
            corvane::chooseLibraryFolder(options.library, QCoreApplication::applicationDirPath(), packaged).path;
        return options.search ? corvane::cli::search(scripts, *options.search, stdout, stderr)
                              : corvane::cli::show(scripts, *options.show, stdout, stderr);
    }
    QApplication app(argc, argv);
    corvane::installAccessibleReadings();
    QApplication::setApplicationName(QStringLiteral("Corvane"));
    QApplication::setApplicationVersion(QStringLiteral("1.0"));
    QGuiApplication::setDesktopFileName(QStringLiteral("app.corvane.Corvane"));
    const QString appDir = QCoreApplication::applicationDirPath();
    corvane::setUpLookAndLanguage(app, appDir);
    return corvane::runCorvane(app, corvane::chooseLibraryFolder(options.library, appDir, packaged));
}
