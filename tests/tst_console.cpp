// The program asked from a terminal: --search and --show print what the window
// would show, with no display, and never write.
#include "searchcore/TextSearch.h"
#include "support/TestSupport.h"

#include <QProcess>
#include <QTest>

using namespace corvane;
using namespace corvane::test;

namespace {

struct Answer {
    int code = -1;
    QByteArray out, err;
};

// The real program, with no display at all: a platform plugin that needs one
// would fail to start.
Answer ask(const TempLibrary& lib, const QStringList& args)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(CORVANE_EXE), QStringList{QStringLiteral("--library"), lib.scripts()} + args);
    if (!p.waitForFinished(10000))
        return {};  // QProcess kills what it still runs as it goes
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

}  // namespace

class TestConsole : public QObject {
    Q_OBJECT
private slots:
    void answers_data();
    void answers();
    void searchKeepsTheWindowsOrder();
    void helpSaysHowToUseIt();
};

void TestConsole::answers_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<QByteArray>("err");
    const auto row = [](const char* what, QStringList args, int code, const QByteArray& out, const QByteArray& err) {
        QTest::newRow(what) << args << code << out << err;
    };
    row("one found", {"--search", "AMIGO"}, 0, "assinatura --> Modelos\n", "");
    row("a typed double quote", {"--search", " \"oi\" "}, 0, "aspas --> Notas\n", "");
    row("names in Windows-1252", {"--search", "café"}, 0, "pão --> Ações\n", "");
    row("several, categories in list order", {"--search", "um"}, 0,
        "pão --> Ações\nassinatura --> Modelos\naspas --> Notas\n", "");
    row("nothing found", {"--search", "zzz"}, 1, "", "");
    row("too short", {"--search", " a "}, 2, "",
        "corvane: o texto da busca precisa ter ao menos 2 caracteres\n");
    row("no value", {"--search"}, 2, "",
        "corvane: falta o valor depois de --search\nUse \"corvane --help\" para ver as opções.\n");
    row("show", {"--show", "Modelos/assinatura"}, 0, "Abraços,\num \"amigo\"", "");
    row("show a name in Windows-1252", {"--show", "Ações/pão"}, 0, "um café", "");
    row("show: no such script", {"--show", "Modelos/outra"}, 1, "",
        "corvane: o script \"outra\" não existe na categoria \"Modelos\"\n");
    row("show: no script file", {"--show", "Modelos/leia.doc"}, 1, "",
        "corvane: o script \"leia.doc\" não existe na categoria \"Modelos\"\n");
    row("show: no such category", {"--show", "Outra/assinatura"}, 1, "",
        "corvane: a categoria \"Outra\" não existe\n");
    row("show: no category", {"--show", "assinatura"}, 2, "", "corvane: diga o script como CATEGORIA/NOME\n");
}

void TestConsole::answers()
{
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(QByteArray, out);
    QFETCH(QByteArray, err);
    TempLibrary lib{{"Modelos/assinatura.txt", "\"Abra\xE7os,\r\num \xA4" "amigo\xA4\"\r\n"},
                    {"Modelos/leia.doc", "\"um\"\r\n"},
                    {"Notas/aspas.txt", "\"diz \xA4oi\xA4 a um\"\r\n"},
                    {"Vazia/", {}}};
    raw::mkdir(lib.rawPath("A\xE7\xF5" "es"));
    raw::write(lib.rawPath("A\xE7\xF5" "es/p\xE3o.txt"), "\"um caf\xE9\"\r\n");
    const auto before = lib.tree();
    const Answer answer = ask(lib, args);
    QCOMPARE(answer.err, err);
    QCOMPARE(answer.out, out);
    QCOMPARE(answer.code, code);
    QCOMPARE(lib.tree(), before);
}

// Within a category the window lists hits in the folder's own order.
void TestConsole::searchKeepsTheWindowsOrder()
{
    TempLibrary lib;
    for (int i = 0; i < 40; ++i)
        lib.write(QStringLiteral("Notas/%1.txt").arg(i * 7919 % 1000), "\"achei\"\r\n");
    const Library library(lib.scripts());
    QByteArray expected;
    for (const search::Searcher::Hit& hit : search::Searcher(library).run(library.categories(), search::Needle(u"achei")))
        expected += hit.line.toUtf8() + '\n';
    const Answer answer = ask(lib, {QStringLiteral("--search"), QStringLiteral("achei")});
    QCOMPARE(answer.code, 0);
    QCOMPARE(answer.out, expected);
    QCOMPARE(answer.out.count('\n'), 40);
}

void TestConsole::helpSaysHowToUseIt()
{
    TempLibrary lib;
    const Answer answer = ask(lib, {QStringLiteral("--help")});
    QCOMPARE(answer.code, 0);
    const QStringList lines = QString::fromUtf8(answer.out).split(u'\n');
    for (const char* line : {"Uso: corvane [--library PASTA] [opções do Qt]",
                             "     corvane [--library PASTA] --search TEXTO",
                             "     corvane [--library PASTA] --show CATEGORIA/NOME",
                             "  corvane --show Modelos/assinatura | xclip -selection clipboard",
                             "  -v, --version    mostra a versão e sai", "~/.local/share/Corvane/scripts."})
        QVERIFY2(lines.contains(QString::fromUtf8(line)), line);
}

QTEST_GUILESS_MAIN(TestConsole)
#include "tst_console.moc"
