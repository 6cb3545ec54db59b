#include "app/Startup.h"
#include "widgets/Accessible.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    const corvane::CommandLine options = corvane::readCommandLine(argc, argv);
    if (options.exitCode)
        return *options.exitCode;
    QApplication app(argc, argv);
    corvane::installAccessibleReadings();
    QApplication::setApplicationName(QStringLiteral("Corvane"));
    QApplication::setApplicationVersion(QStringLiteral("1.0"));
    QGuiApplication::setDesktopFileName(QStringLiteral("app.corvane.Corvane"));
    const QString appDir = QCoreApplication::applicationDirPath();
    corvane::setUpLookAndLanguage(app, appDir);
#ifdef CORVANE_PACKAGED
    const bool packaged = true;  // the .deb's build
#else
    const bool packaged = false;
#endif
    return corvane::runCorvane(app, corvane::chooseLibraryFolder(options.library, appDir, packaged));
}
