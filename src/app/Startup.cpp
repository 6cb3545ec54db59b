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
#include <QStandardPaths>
#include <QTranslator>

#include <algorithm>
#include <cstdio>

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

int printed(std::FILE* to, const QString& text, int exitCode)
{
    std::fputs(text.toUtf8().constData(), to);
    return exitCode;
}

QString helpText()
{
    return QStringLiteral(
        "Uso: corvane [--library PASTA] [opções do Qt]\n"
        "     corvane [--library PASTA] --search TEXTO\n"
        "     corvane [--library PASTA] --show CATEGORIA/NOME\n"
        "Guarda, busca e imprime seus scripts de texto.\n\n"
        "  --library PASTA  usa PASTA como biblioteca (criada se não existir)\n"
        "  --search TEXTO   escreve \"nome --> categoria\" de cada script que contém\n"
        "                   TEXTO, na ordem da janela; sai com 1 se nada achar\n"
        "  --show CATEGORIA/NOME\n"
        "                   escreve o texto do script, como o visualizador o mostra\n"
        "  -h, --help       mostra esta ajuda e sai\n"
        "  -v, --version    mostra a versão e sai\n\n"
        "--search e --show não abrem janela nem mudam nada; um atalho de teclado\n"
        "pode copiar um script, por exemplo:\n"
        "  corvane --show Modelos/assinatura | xclip -selection clipboard\n\n"
        "As opções do Qt (-platform, -style, -reverse, -qwindowgeometry...) valem\n"
        "como em qualquer programa Qt.\n\n"
        "A biblioteca é, nesta ordem: a pasta dada por --library; a da variável\n"
        "CORVANE_LIBRARY; a pasta \"scripts\" ao lado do programa, se puder ser\n"
        "usada (nunca no programa instalado pelo pacote); senão\n"
        "~/.local/share/Corvane/scripts.\n");
}

int wrongCommandLine(const QString& what)
{
    return printed(stderr,
                   QStringLiteral("corvane: %1\nUse \"corvane --help\" para ver as opções.\n").arg(what), 2);
}

int alreadyRunning()
{
    msg::ok(nullptr, QStringLiteral("O programa já está rodando!"));
    return 0;
}

}  // namespace

namespace {

// Qt's own options, which QApplication takes out of the command line itself
// (with one dash or two): those followed by a value, and those alone.
bool isQtOption(const QString& arg, bool& takesValue)
{
    static const QStringList withValue{
        QStringLiteral("platform"), QStringLiteral("platformpluginpath"), QStringLiteral("platformtheme"),
        QStringLiteral("plugin"),   QStringLiteral("qwindowgeometry"),    QStringLiteral("geometry"),
        QStringLiteral("qwindowtitle"), QStringLiteral("title"),          QStringLiteral("qwindowicon"),
        QStringLiteral("icon"),     QStringLiteral("session"),            QStringLiteral("style"),
        QStringLiteral("stylesheet"), QStringLiteral("display"),          QStringLiteral("name"),
        QStringLiteral("visual")};
    static const QStringList alone{QStringLiteral("reverse"), QStringLiteral("testability"),
                                   QStringLiteral("widgetcount"), QStringLiteral("qdevel"),
                                   QStringLiteral("qdebug"), QStringLiteral("nograb"), QStringLiteral("dograb")};
    static const QStringList joined{QStringLiteral("style="), QStringLiteral("stylesheet="),
                                    QStringLiteral("qmljsdebugger=")};
    if (!arg.startsWith(u'-') || arg == QStringLiteral("-") || arg == QStringLiteral("--"))
        return false;
    const QString bare = arg.mid(arg.startsWith(QStringLiteral("--")) ? 2 : 1);
    takesValue = withValue.contains(bare);
    return takesValue || alone.contains(bare)
        || std::any_of(joined.begin(), joined.end(), [&](const QString& j) { return bare.startsWith(j); });
}

}  // namespace

CommandLine readCommandLine(int argc, char* argv[])
{
    CommandLine result;
    for (int i = 1; i < argc && !result.exitCode; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        bool takesValue = false;
        if (arg == QStringLiteral("-h") || arg == QStringLiteral("--help")) {
            result.exitCode = printed(stdout, helpText(), 0);
        } else if (arg == QStringLiteral("-v") || arg == QStringLiteral("--version")) {
            result.exitCode = printed(stdout, QStringLiteral("Corvane 1.0\n"), 0);
        } else if (arg == QStringLiteral("--library") || arg.startsWith(QStringLiteral("--library="))) {
            if (arg.contains(u'='))
                result.library = arg.section(u'=', 1);
            else
                result.library = i + 1 < argc ? QString::fromLocal8Bit(argv[++i]) : QString();
            if (result.library.isEmpty())
                result.exitCode = wrongCommandLine(QStringLiteral("falta a pasta depois de --library"));
        } else if (arg == QStringLiteral("--search") || arg == QStringLiteral("--show")) {
            if (i + 1 >= argc) {
                result.exitCode = wrongCommandLine(QStringLiteral("falta o valor depois de %1").arg(arg));
                break;
            }
            (arg == QStringLiteral("--search") ? result.search : result.show) = QString::fromLocal8Bit(argv[++i]);
        } else if (isQtOption(arg, takesValue)) {
            // Left in place for QApplication, which reads and removes it.
            if (takesValue && ++i >= argc)
                result.exitCode = wrongCommandLine(QStringLiteral("falta o valor depois de %1").arg(arg));
        } else {
            result.exitCode = wrongCommandLine(arg.startsWith(u'-')
                                                   ? QStringLiteral("opção desconhecida: %1").arg(arg)
                                                   : QStringLiteral("argumento inesperado: %1").arg(arg));
        }
    }
    return result;
}

LibraryChoice chooseLibraryFolder(const QString& fromCommandLine, const QString& appDir, bool packaged)
{
    const QString chosen = fromCommandLine.isEmpty() ? qEnvironmentVariable("CORVANE_LIBRARY") : fromCommandLine;
    if (!chosen.isEmpty())
        return {QDir::cleanPath(QFileInfo(chosen).absoluteFilePath()), false};
    const QString inDataFolder =
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/scripts");
    // A system's program folder is no place for data, even where it can be written (by root).
    if (packaged)
        return {inDataFolder, true};
    // isWritable asks the system, which also says no to root where the folder is
    // immutable or on a read-only disk.
    const QString beside = appDir + QStringLiteral("/scripts");
    const QFileInfo besideInfo(beside);
    if (besideInfo.exists() ? besideInfo.isWritable() : QFileInfo(appDir).isWritable())
        return {beside, true};
    return {inDataFolder, true};
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

namespace {

// Stray files that cannot be moved to a trash are left; nothing lists them.
void tidy(const LibraryChoice& library)
{
    if (library.owned)
        Library(library.path).trashStrayFiles();
}

}  // namespace

bool prepareScriptsFolder(const LibraryChoice& library, QWidget* parent)
{
    if (!ensureScriptsFolder(library.path, parent))
        return false;
    tidy(library);
    return true;
}

int runCorvane(QApplication& app, const LibraryChoice& library)
{
    const QString& libraryDir = library.path;
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
    tidy(library);
    window.loadCategories();
    window.show();
    return app.exec();
}

}  // namespace corvane
