#include "app/Startup.h"

#include "app/MainWindow.h"
#include "app/Msg.h"
#include "app/NoticeDialog.h"
#include "library/Library.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTranslator>

namespace corvane {

SingleInstance::SingleInstance(const QString& lockPath)
    : lock_(lockPath)
{
    lock_.setStaleLockTime(0);  // only a live owner holds the lock
}

bool SingleInstance::acquire()
{
    return lock_.tryLock(0);
}

QString SingleInstance::lockPathFor(const QString& appDir)
{
    const QByteArray key = QDir::cleanPath(QFileInfo(appDir).absoluteFilePath()).toUtf8();
    const QString hash = QString::fromLatin1(
        QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(16));
    return QDir::tempPath() + QStringLiteral("/corvane-") + hash + QStringLiteral(".lock");
}

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
    const QFileInfo info(scriptsDir);
    if (!info.exists()) {
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
    // Stray files that cannot be deleted are left; nothing shows them.
    Library(scriptsDir).removeStrayFiles();
    return true;
}

int runCorvane(QApplication& app, const QString& appDir, const QString& lockPath)
{
    SingleInstance instance(lockPath);
    if (!instance.acquire()) {
        msg::ok(nullptr, QStringLiteral("O programa já está rodando!"));
        return 0;
    }
    const QString scriptsDir = appDir + QStringLiteral("/scripts");
    MainWindow window(scriptsDir);
    if (!prepareScriptsFolder(scriptsDir))
        return 1;
    window.loadCategories();
    window.show();
    return app.exec();
}

}  // namespace corvane
