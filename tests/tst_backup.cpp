// The backup window as a user drives it: pickers, name box, the copy and its messages.
#include "backup/BackupWindow.h"
#include "backupcore/BackupCore.h"
#include "backupcore/Drives.h"
#include "library/Fs.h"
#include "support/MainDriver.h"

#include <QComboBox>
#include <QRadioButton>

#include <sys/stat.h>

using namespace corvane;
using namespace corvane::test;

namespace {

using Tree = QMap<QByteArray, QByteArray>;

QString g_spare, g_missing;
QDate g_today(2026, 12, 5);

QList<drives::Volume> testVolumes()
{
    return {{QStringLiteral("/"), QString()}, {g_spare, QStringLiteral("RESERVA")},
            {g_missing, QStringLiteral("SEM MIDIA")}};
}

const QString kSuccess = QStringLiteral("Backup realizado com sucesso!");

QString stopped(const char* what, const QString& path, const QString& backup)
{
    return QString::fromUtf8(what) + QStringLiteral(":\r\n") + path
           + QStringLiteral("\r\n\r\nO backup foi interrompido. O que já foi copiado continua em:\r\n") + backup;
}

QString noFolder(const QString& path)
{
    return QStringLiteral("Não foi possível criar a pasta destino:\r\n%1\r\n\r\nNada foi copiado.").arg(path);
}

}  // namespace

class TestBackup : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void windowOpensOnTheLibrary();
    void pickersChooseWhereTheBackupGoes();
    void copiesTheLibraryExactlyOnce();
    void aBrokenLinkStopsTheBackup();
    void everyFailingStepStopsWithoutSuccess();
    void ontoAStick();

private:
    QWidget* open(const QString& folder = {});
    // Presses Backup and answers the one box it must show.
    SeenBox backUp();
    QString dest(const QString& relative = {}) const { return QDir(work_->path()).filePath(relative); }
    Tree copies() const { return raw::tree(QFile::encodeName(dest(QStringLiteral("alvo/scripts")))); }

    TempLibrary* lib_ = nullptr;
    QTemporaryDir* work_ = nullptr;
    BackupWindow* window_ = nullptr;
    ModalWatcher* watcher_ = nullptr;
    const QString oldCurrent_ = QDir::currentPath();
};

void TestBackup::init()
{
    lib_ = new TempLibrary;
    work_ = new QTemporaryDir;
    watcher_ = new ModalWatcher;
    for (const char* folder : {"alvo", "outro/fundo", ".oculta"})
        QDir(work_->path()).mkpath(QLatin1String(folder));
    QDir::setCurrent(work_->path());
    g_spare = dest(QStringLiteral("outro/"));
    g_missing = dest(QStringLiteral("sem-midia/"));
}

void TestBackup::cleanup()
{
    delete window_;
    window_ = nullptr;
    QDir::setCurrent(oldCurrent_);
    fs::testing::failStep(0);
    raw::remove(QFile::encodeName(work_->path()));
    delete watcher_;
    delete work_;
    delete lib_;
}

// Opens the window, then the folder of the working folder given.
QWidget* TestBackup::open(const QString& folder)
{
    window_ = new BackupWindow(lib_->scripts(), nullptr, BackupSystem{[] { return g_today; }, testVolumes});
    if (!showActive(window_))
        qWarning("backup window not active");
    if (!folder.isEmpty())
        doubleClickItem(control<QListWidget>(window_, "Dir1"), folder);
    return window_;
}

SeenBox TestBackup::backUp()
{
    watcher_->clear();
    watcher_->answer(QStringLiteral("OK"));
    clickAtLeft(control(window_, "cmd2"));
    // Not exactly one box: one that says so, for the caller's check to show.
    if (watcher_->seen.size() != 1 || watcher_->unexpected != 0)
        return {{}, QStringLiteral("boxes: ") + watcher_->texts().join(u" // "), QMessageBox::NoIcon, {}, {}};
    return watcher_->seen[0];
}

void TestBackup::windowOpensOnTheLibrary()
{
    for (const char* entry : {"zeta/", "Alfa/", "beta/", ".oculta/", ".escondido"})
        entry[qstrlen(entry) - 1] == '/' ? lib_->mkdir(QLatin1String(entry)) : lib_->write(QLatin1String(entry), "x");
    QWidget* w = open();
    auto* list = control<QListWidget>(w, "List1");
    QCOMPARE(entries(list), (QStringList{"» Alfa", "» beta", "» zeta"}));
    QVERIFY(list->hasFocus());
    QCOMPARE(control<QLineEdit>(w, "txtCaminho")->text(), QString());
    QCOMPARE(control<QComboBox>(w, "Drive1")->currentData().toString(), drives::rootOf(work_->path(), testVolumes()));

    // The date option puts today's date, taken when it is chosen, into the name.
    auto* name = control<QLineEdit>(w, "txtfile");
    auto* yes = control<QRadioButton>(w, "optSim");
    auto* no = control<QRadioButton>(w, "optNao");
    QVERIFY(name->text() == QStringLiteral("scripts") && !yes->isChecked() && !no->isChecked());
    clickAtLeft(yes);
    QCOMPARE(name->text(), QStringLiteral("scripts-05-12-26"));
    clickAtLeft(no);
    QCOMPARE(name->text(), QStringLiteral("scripts"));
    typeText(name, QStringLiteral("X"));
    clickAtLeft(no);  // a second click still puts the name back
    QCOMPARE(name->text(), QStringLiteral("scripts"));
    g_today = QDate(2027, 1, 2);
    clickAtLeft(yes);
    g_today = QDate(2026, 12, 5);
    QCOMPARE(name->text(), QStringLiteral("scripts-02-01-27"));

    // An empty name, or one of dots, is refused and copies nothing.
    name->selectAll();
    QTest::keyClick(name, Qt::Key_Backspace);
    QCOMPARE(backUp().text, QStringLiteral("Digite o nome da pasta destino. Nada foi copiado."));
    typeText(name, QStringLiteral(".."));
    QCOMPARE(backUp().text,
             QStringLiteral("O nome \"..\" não pode ser usado: é formado só por pontos. Nada foi copiado."));

    // The mini help comes up over it and only its own button closes it.
    QString help;
    watcher_->onDialog([&](QWidget* dialog) {
        QTest::keyClick(dialog, Qt::Key_Escape);
        help = dialog->objectName() + (dialog->isVisible() ? "" : " closed by Esc");
        clickAtLeft(control(dialog, "cmdBackHelp"));
    });
    QTest::mouseClick(control(w, "lblMiniHelp"), Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(help, QStringLiteral("frmBackHelp"));
    QTest::mouseClick(control(w, "imgHelp"), Qt::LeftButton, {}, QPoint(3, 3));  // a picture, no button
    // Enter and Esc mean nothing; Cancelar closes at once, copying nothing.
    QTest::keyClick(name, Qt::Key_Return);
    QTest::keyClick(list, Qt::Key_Escape);
    QTest::keyClick(list, Qt::Key_Return);
    QVERIFY(w->isVisible());
    clickAtLeft(control(w, "cmdCancel"));
    QVERIFY(!w->isVisible());
    QCOMPARE(watcher_->unexpected, 0);
    QCOMPARE(raw::tree(QFile::encodeName(dest())), (Tree{{"alvo", "<dir>"}, {"outro", "<dir>"},
                                                           {"outro/fundo", "<dir>"}, {".oculta", "<dir>"}}));
}

void TestBackup::pickersChooseWhereTheBackupGoes()
{
    QWidget* w = open();
    auto* dir = control<QListWidget>(w, "Dir1");
    auto* path = control<QLineEdit>(w, "txtCaminho");
    const QString root = QDir(work_->path()).absolutePath();
    // Ancestors from the root down, then the sub-folders (no hidden ones).
    const QStringList ancestors = QStringList{QStringLiteral("/")} + root.mid(1).split(u'/');
    QCOMPARE(entries(dir), ancestors + QStringList({"alvo", "outro"}));
    QCOMPARE(dir->currentRow(), ancestors.size() - 1);
    // Selecting moves the highlight only; a double-click or Enter opens.
    clickItem(dir, QStringLiteral("outro"));
    QCOMPARE(path->text(), QString());
    doubleClickItem(dir, QStringLiteral("outro"));
    QCOMPARE(path->text(), root + QStringLiteral("/outro"));
    QCOMPARE(entries(dir), ancestors + QStringList({"outro", "fundo"}));
    dir->setCurrentItem(itemNamed(dir, QStringLiteral("fundo")));
    QTest::keyClick(dir, Qt::Key_Return);
    QCOMPARE(path->text(), root + QStringLiteral("/outro/fundo"));
    doubleClickItem(dir, QFileInfo(root).fileName());
    QCOMPARE(path->text(), root);

    // Another volume moves the list to its root; one that cannot be read is
    // refused and the list stays where it was.
    auto* drive = control<QComboBox>(w, "Drive1");
    QCOMPARE(drive->itemText(1), dest(QStringLiteral("outro")) + " [RESERVA]");
    drive->setFocus();
    QTest::keyClick(drive, Qt::Key_Down);
    QCOMPARE(path->text() + u'/' + entries(dir).last(), dest(QStringLiteral("outro")) + QStringLiteral("/fundo"));
    watcher_->answer(QStringLiteral("OK"));
    QTest::keyClick(drive, Qt::Key_Down);
    QCOMPARE(watcher_->seen.size(), 1);
    QCOMPARE(watcher_->seen[0], okBox(QStringLiteral("Drive não acessível"), kAppTitle));
    QCOMPARE(drive->currentIndex(), 2);
    QCOMPARE(path->text() + u'/' + entries(dir).last(), dest(QStringLiteral("outro")) + QStringLiteral("/fundo"));

    // Typing a path in the path box does not move the backup.
    doubleClickItem(dir, QStringLiteral("fundo"));
    path->setFocus();
    path->selectAll();
    typeText(path, dest(QStringLiteral("alvo")));
    QCOMPARE(backUp().text, kSuccess);
    QVERIFY(QFileInfo(dest(QStringLiteral("outro/fundo/scripts"))).isDir());
    QVERIFY(!QFileInfo::exists(dest(QStringLiteral("alvo/scripts"))));
    QCOMPARE(QDir::currentPath(), root);  // browsing leaves the process where it was
}

// Names in Windows-1252 bytes beside their UTF-8 look-alikes, a script and a
// category that are links, a file bigger than one read: copied byte for byte,
// its time kept; what the program never shows stays behind.
void TestBackup::copiesTheLibraryExactlyOnce()
{
    QDir(dest()).mkpath(QStringLiteral("fora/pasta"));
    raw::write(QFile::encodeName(dest("fora/texto.txt")), "\"de fora\"\r\n");
    raw::write(QFile::encodeName(dest("fora/pasta/x.txt")), "\"x\"\r\n");
    for (const char* dir : {"Alfa", "Caf\xe9", "Caf\xc3\xa9", "Geral", "Geral/sub", "Vazia"})
        raw::mkdir(lib_->rawPath(dir));
    const Tree files{{"Alfa/ma\xe7\xe3.txt", "\"cp1252\"\r\n"}, {"Alfa/ma\xc3\xa7\xc3\xa3.txt", "\"utf-8\"\r\n"},
                     {"Caf\xe9/\xe1.txt", "\"\xe1\"\r\n"}, {"Geral/Oi.txt", "\"Ol\xE1\r\n\xA4x\xA4\"\r\n"},
                     {"Geral/foto.jpg", QByteArray("\xFF\xD8\x00\x01", 4)},
                     {"Geral/grande", 'a' + QByteArray(300 * 1024, 'z') + 'b'}};
    for (auto it = files.begin(); it != files.end(); ++it)
        raw::write(lib_->rawPath(it.key()), it.value());
    for (const char* behind : {"Alfa/.oculto.txt", "Geral/sub/dentro.txt", "solto.txt"})
        raw::write(lib_->rawPath(behind), "h");
    QVERIFY(::mkfifo(lib_->rawPath("Alfa/cano.txt").constData(), 0644) == 0);
    raw::symlink(QFile::encodeName(dest("fora/texto.txt")), lib_->rawPath("Alfa/atalho.txt"));
    raw::symlink(QFile::encodeName(dest("fora/pasta")), lib_->rawPath("Ligada"));
    const QDateTime stamp(QDate(2020, 3, 4), QTime(5, 6, 7));
    {
        QFile f(lib_->path(QStringLiteral("Geral/grande")));
        QVERIFY(f.open(QIODevice::ReadWrite) && f.setFileTime(stamp, QFileDevice::FileModificationTime));
    }
    QWidget* w = open(QStringLiteral("alvo"));
    QCOMPARE(entries(control<QListWidget>(w, "List1")),
             (QStringList{"» Alfa", "» Café", "» Café", "» Geral", "» Ligada", "» solto.txt", "» Vazia"}));
    QCOMPARE(backUp(), okBox(kSuccess, kAppTitle));
    Tree expected = files;
    for (const char* dir : {"Alfa", "Caf\xe9", "Caf\xc3\xa9", "Geral", "Ligada", "Vazia", "solto.txt"})
        expected[dir] = "<dir>";
    expected["Alfa/atalho.txt"] = "\"de fora\"\r\n";
    expected["Ligada/x.txt"] = "\"x\"\r\n";
    QCOMPARE(copies(), expected);
    QCOMPARE(QFileInfo(dest(QStringLiteral("alvo/scripts/Geral/grande"))).lastModified(), stamp);

    // The window stays as it was; a second press is refused and writes nothing,
    // and so is the application folder, which holds the scripts folder itself.
    QCOMPARE(control<QLineEdit>(w, "txtfile")->text(), QStringLiteral("scripts"));
    QVERIFY(QFile::remove(dest(QStringLiteral("alvo/scripts/Geral/Oi.txt"))));
    QCOMPARE(backUp(), okBox(QStringLiteral("A pasta scripts já existe"), kAppTitle));
    QVERIFY(!QFileInfo::exists(dest(QStringLiteral("alvo/scripts/Geral/Oi.txt"))));
    auto* dir = control<QListWidget>(w, "Dir1");
    doubleClickItem(dir, QFileInfo(QFileInfo(lib_->appDir()).absolutePath()).fileName());
    doubleClickItem(dir, QFileInfo(lib_->appDir()).fileName());
    QCOMPARE(backUp().text, QStringLiteral("A pasta scripts já existe"));
    QCOMPARE(raw::read(lib_->rawPath("Geral/Oi.txt")), files["Geral/Oi.txt"]);
}

// A broken link, named in foreign bytes, stops the backup for real: what
// comes before it is copied, what it names is not.
void TestBackup::aBrokenLinkStopsTheBackup()
{
    for (const char* file : {"Alfa/um.txt", "Beta/dois.txt", "Gama/tres.txt"})
        lib_->write(QLatin1String(file), QByteArray("\"") + file + "\"\r\n");
    raw::symlink("nada", lib_->rawPath("Beta/\xe7.txt"));
    open(QStringLiteral("alvo"));
    QCOMPARE(backUp(), okBox(stopped("Não foi possível copiar o arquivo", lib_->path("Beta/ç.txt"), dest("alvo/scripts")),
                             kAppTitle, {"OK"}, QMessageBox::Critical));
    const Tree copied = copies();
    QCOMPARE(copied.value("Alfa/um.txt"), QByteArray("\"Alfa/um.txt\"\r\n"));
    QVERIFY(!copied.contains("Beta/\xe7.txt"));
}

// Every writing step made to fail in turn, copying one step at a time and as the
// window does: the backup stops there, names what it stopped at, which is then
// missing, keeps all it finished byte for byte, and never reports success.
void TestBackup::everyFailingStepStopsWithoutSuccess()
{
    lib_->write(QStringLiteral("Alfa/um.txt"), "\"1\"\r\n");
    lib_->write(QStringLiteral("Alfa/grande.txt"), QByteArray(150 * 1024, 'g'));  // written in more than one step
    raw::mkdir(lib_->rawPath("Caf\xe9"));
    raw::write(lib_->rawPath("Caf\xe9/ma\xe7\xe3.txt"), "\"\xe7\"\r\n");
    lib_->write(QStringLiteral("solto.txt"), "s");
    open(QStringLiteral("alvo"));
    const QString to = dest("alvo/scripts");
    const Tree whole{{"scripts", "<dir>"}, {"scripts/Alfa", "<dir>"}, {"scripts/Alfa/um.txt", "\"1\"\r\n"},
                     {"scripts/Alfa/grande.txt", QByteArray(150 * 1024, 'g')}, {"scripts/Caf\xe9", "<dir>"},
                     {"scripts/Caf\xe9/ma\xe7\xe3.txt", "\"\xe7\"\r\n"}, {"scripts/solto.txt", "<dir>"}};
    // Each entry of the backup, and the message of a backup that stops at it.
    QMap<QString, QByteArray> failures;
    for (auto it = whole.begin(); it != whole.end(); ++it) {
        const QString entry = QString::fromLatin1(it.key().mid(8));  // as the lists show these names
        failures[it.key() == "scripts" ? noFolder(to)
                 : it.value() == "<dir>" ? stopped("Não foi possível criar a pasta", to + u'/' + entry, to)
                                         : stopped("Não foi possível copiar o arquivo", lib_->path(entry), to)] = it.key();
    }
    QList<QByteArray> keys;
    for (const Item& item : backup::sources(lib_->scripts()))
        keys << item.key;
    // One step at a time: the window's words for the outcome, the steps taken.
    const auto serial = [&](int k, int& taken) {
        fs::testing::failStep(k);
        const backup::Result o = backup::copyLibrary(lib_->scripts(), keys, dest(QStringLiteral("alvo")), "scripts", 1);
        taken = fs::testing::failStep(0);
        if (o.done())
            return okBox(kSuccess, kAppTitle);
        return okBox(o.code == backup::Result::Code::TargetFailed ? noFolder(o.names.value(0))
                     : stopped(o.code == backup::Result::Code::FolderFailed ? "Não foi possível criar a pasta"
                                                                     : "Não foi possível copiar o arquivo",
                               o.names.value(0), o.names.value(1)), kAppTitle, {"OK"}, QMessageBox::Critical);
    };
    int steps = 0;
    QCOMPARE(serial(0, steps), okBox(kSuccess, kAppTitle));
    for (const bool window : {false, true}) {
        QMap<QString, int> named;
        Tree before;
        for (int k = 1; k <= steps + 1; ++k) {
            raw::remove(QFile::encodeName(to));
            int taken = 0;
            fs::testing::failStep(k);
            const SeenBox box = window ? backUp() : serial(k, taken);
            fs::testing::failStep(0);
            const Tree left = raw::tree(QFile::encodeName(dest("alvo")));
            if (k > steps) {  // one past the last step: nothing fails, all is copied byte for byte
                QCOMPARE(box, okBox(kSuccess, kAppTitle));
                QCOMPARE(left, whole);
                break;
            }
            const QString at = QStringLiteral("step %1 of %2: ").arg(k).arg(steps);
            QVERIFY2(failures.contains(box.text), qPrintable(at + box.text));
            QCOMPARE(box.icon, QMessageBox::Critical);
            ++named[box.text];
            QVERIFY2(!left.contains(failures[box.text]), qPrintable(at + box.text));
            for (auto it = left.begin(); it != left.end(); ++it)
                QVERIFY2(whole.value(it.key()) == it.value(), qPrintable(at + it.key()));
            if (window)
                continue;  // several copiers: a few steps past the failing one may be done
            // Nothing written after the failing step but a half copy's removal,
            // so a later failure leaves all an earlier one did.
            QVERIFY2(taken <= k + 1, qPrintable(at + QString::number(taken)));
            for (auto it = before.begin(); it != before.end(); ++it)
                QVERIFY2(left.contains(it.key()), qPrintable(at + it.key()));
            before = left;
        }
        // Each folder and file can be the one that stops a serial backup.
        if (!window)
            QCOMPARE(named.keys(), failures.keys());
    }
}

// Onto a stick: a name in bytes its file system cannot store stops the backup
// with a message that says so; without it, all is copied byte for byte.
void TestBackup::ontoAStick()
{
    lib_->write(QStringLiteral("Alfa/um.txt"), "\"1\"\r\n");
    for (const char* kind : {"fat", "exfat"}) {
        Stick stick{QLatin1String(kind)};
        if (!stick.why.isEmpty())
            QSKIP(qPrintable(stick.why));
        const QString to = stick.path() + QStringLiteral("/scripts");
        QDir::setCurrent(stick.path());
        for (const bool foreign : {true, false}) {
            foreign ? raw::mkdir(lib_->rawPath("Caf\xe9")) : raw::remove(lib_->rawPath("Caf\xe9"));
            raw::remove(QFile::encodeName(to));
            delete window_;
            open();
            QCOMPARE(backUp().text, foreign ? stopped("Não foi possível criar a pasta", to + "/Café\r\nO disco de "
                                                      "destino não aceita esse nome.", to) : kSuccess);
            Tree copied = lib_->tree();
            copied.remove("Caf\xe9");
            QCOMPARE(raw::tree(QFile::encodeName(to)), copied);
        }
        QDir::setCurrent(work_->path());
    }
}

QTEST_MAIN(TestBackup)
#include "tst_backup.moc"
