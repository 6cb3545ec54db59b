#include "app/Startup.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    const corvane::CommandLine options = corvane::readCommandLine(argc, argv);
    if (options.exitCode)
        return *options.exitCode;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Corvane"));
    QApplication::setApplicationVersion(QStringLiteral("1.0"));
    const QString appDir = QCoreApplication::applicationDirPath();
    corvane::setUpLookAndLanguage(app, appDir);
    return corvane::runCorvane(app, corvane::chooseLibraryFolder(options.library, appDir));
}
