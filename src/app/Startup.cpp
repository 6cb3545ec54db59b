#include "app/Startup.h"

#include "app/MainWindow.h"
#include "widgets/Msg.h"
#include "app/NoticeDialog.h"
#include "library/Library.h"
#include "library/LibraryLock.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTranslator>

namespace corvane {

namespace {

// The notice when the folder is missing, then the folder made. Tells the user
// and returns false when the folder cannot be had.
bool ensureScriptsFolder(const QString& scriptsDir, QWidget* parent)
{
    if (!QFileInfo::exists(scriptsDir)) {
        NoticeDialog notice(parent);
        notice.exec();
        QDir().mkpath(scriptsDir);
    }
    if (!QFileInfo(scriptsDir).isDir()) {
        msg::ok(parent,
                QStringLiteral("Não foi possível criar a pasta \"scripts\" em:\r\n%1\r\n"
                               "O programa não funciona sem ela e será encerrado.")
                    .arg(QDir::toNativeSeparators(QFileInfo(scriptsDir).absolutePath())),
                msg::appTitle(), msg::Icon::Critical);
        return false;
    }
    return true;
}

int alreadyRunning()
{
    msg::ok(nullptr, QStringLiteral("O programa já está rodando!"));
    return 0;
}

}  // namespace

void setUpLookAndLanguage(QApplication& app, const QString& appDir)
{
    const QStringList places{QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                             appDir + QStringLiteral("/translations")};
    for (const char* catalogue : {"qtbase_pt_BR", "qt_pt_BR"}) {
        auto* translator = new QTranslator(&app);
        bool loaded = false;
        for (const QString& place : places) {
            if (translator->load(QLatin1String(catalogue), place)) {
                loaded = true;
                break;
            }
        }
        if (loaded)
            app.installTranslator(translator);
        else
            delete translator;
    }
    QFont font = app.font();
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                      QStringLiteral("Helvetica")});
    font.setPixelSize(11);
    app.setFont(font);
}

bool prepareScriptsFolder(const QString& scriptsDir, QWidget* parent)
{
    if (!ensureScriptsFolder(scriptsDir, parent))
        return false;
    // Stray files that cannot be deleted are left; nothing shows them.
    Library(scriptsDir).removeStrayFiles();
    return true;
}

int runCorvane(QApplication& app, const QString& libraryDir)
{
    // A folder that is there is claimed before anything comes up; a missing one
    // as soon as the notice has had it made, before anything in it is touched.
    // Where no lock can be had at all (a file system without locks), the program
    // still runs, as it would if locks did not exist.
    LibraryLock lock(libraryDir);
    if (lock.tryLock() == LibraryLock::HeldElsewhere)
        return alreadyRunning();
    MainWindow window(libraryDir);
    if (!ensureScriptsFolder(libraryDir, nullptr))
        return 1;
    if (!lock.isLocked() && lock.tryLock() == LibraryLock::HeldElsewhere)
        return alreadyRunning();
    Library(libraryDir).removeStrayFiles();
    window.loadCategories();
    window.show();
    return app.exec();
}

}  // namespace corvane
