// The backup window as a user drives it: pickers, name box, the copy and its messages.
#include "backup/BackupCore.h"
#include "backup/BackupWindow.h"
#include "backup/DirList.h"
#include "backup/Drives.h"
#include "support/MainDriver.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QRadioButton>

using namespace corvane;
using namespace corvane::test;

namespace {

QString g_missingVolume;
QString g_spareVolume;
QList<drives::Volume> testVolumes()
{
    return {{QStringLiteral("/"), QString()}, {g_spareVolume, QStringLiteral("RESERVA")},
            {g_missingVolume, QStringLiteral("SEM MIDIA")}};
}

void click(QWidget* w)
{
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(4, w->height() / 2));
}

}  // namespace

class TestBackup : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void opensFreshWithEveryControl();
    void dateOptionsPutNames();
    void directoryListOpensOnlyWhatIsOpened();
    void drivesMoveToRootOrRefuse();
    void backupCopiesLibraryAndRefusesSecondPress();
    void emptyLibraryAndUnusableNames();
    void failuresStopWithoutSuccessAndKeepFiles();
    void miniHelpOpensAndCloses();
    // The copying and naming without the window.
    void names();
    void copiesBigFilesWholeAndNeverReusesAFolder();
    void stopsAtAFileThatVanishedAndKeepsWhatWasWritten();

private:
    QWidget* open();
    QString dest(const QString& relative = {}) const { return QDir(work_->path()).filePath(relative); }

    TempLibrary* lib_ = nullptr;
    QTemporaryDir* work_ = nullptr;
    BackupWindow* window_ = nullptr;
    QString oldCurrent_;
};

void TestBackup::init()
{
    lib_ = new TempLibrary;
    work_ = new QTemporaryDir;
    QDir(work_->path()).mkpath(QStringLiteral("alvo"));
    QDir(work_->path()).mkpath(QStringLiteral("outro/fundo"));
    QDir(work_->path()).mkpath(QStringLiteral(".oculta"));
    oldCurrent_ = QDir::currentPath();
    QDir::setCurrent(work_->path());
}

void TestBackup::cleanup()
{
    delete window_;
    window_ = nullptr;
    QDir::setCurrent(oldCurrent_);
    drives::setSource(nullptr);
    backup::setDateSource(nullptr);
    backup::setBeforeCopyHook(nullptr);
    delete work_;
    delete lib_;
}

QWidget* TestBackup::open()
{
    window_ = new BackupWindow(lib_->scripts());
    if (!showActive(window_))
        qWarning("backup window not active");
    return window_;
}

void TestBackup::opensFreshWithEveryControl()
{
    lib_->mkdir(QStringLiteral("zeta"));
    lib_->mkdir(QStringLiteral("Alfa"));
    lib_->mkdir(QStringLiteral("beta"));
    lib_->mkdir(QStringLiteral(".oculta"));
    lib_->write(QStringLiteral(".escondido"), "x");
    QWidget* w = open();
    QCOMPARE(w->objectName(), QStringLiteral("frmBackup"));
    QCOMPARE(w->windowTitle(), QStringLiteral("Corvane - Backup"));
    QCOMPARE(w->size(), QSize(298, 311));
    QVERIFY(!(w->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));

    QCOMPARE(control<QLabel>(w, "lblDrive")->text(), QStringLiteral("Escolher Drive"));
    QCOMPARE(control<QLabel>(w, "lblDestino")->text(), QStringLiteral("Escolher diretório"));
    QCOMPARE(control<QLabel>(w, "lblOrigem")->text(), QStringLiteral("Pastas a salvar"));
    QCOMPARE(control<QLabel>(w, "lblData")->text(), QStringLiteral("Colocar Data pasta destino"));
    QCOMPARE(control<QLabel>(w, "lblPasta")->text(), QStringLiteral("Nome da pasta destino"));
    QCOMPARE(control<QLabel>(w, "lblMiniHelp")->text(), QStringLiteral("Mini-Help"));
    QCOMPARE(control<QPushButton>(w, "cmd2")->text(), QStringLiteral("Backup"));
    QCOMPARE(control<QPushButton>(w, "cmdCancel")->text(), QStringLiteral("Cancelar"));
    auto* yes = control<QRadioButton>(w, "optSim");
    auto* no = control<QRadioButton>(w, "optNao");
    QCOMPARE(yes->text(), QStringLiteral("Sim"));
    QCOMPARE(no->text(), QStringLiteral("Nao"));
    QVERIFY(!yes->isChecked() && !no->isChecked());
    control(w, "imgHelp");
    control(w, "Line1");

    auto* list = control<QListWidget>(w, "List1");
    QCOMPARE(entries(list), (QStringList{"» Alfa", "» beta", "» zeta"}));
    QVERIFY(list->hasFocus());
    QCOMPARE(control<NameBox>(w, "txtfile")->text(), QStringLiteral("scripts"));
    QCOMPARE(control<QLineEdit>(w, "txtCaminho")->text(), QString());
    QCOMPARE(control<DirList>(w, "Dir1")->path(), QDir(work_->path()).absolutePath());
    QCOMPARE(control<QComboBox>(w, "Drive1")->currentData().toString(), drives::rootOf(work_->path()));

    // 3D-face backgrounds; the path box writes in the dark shadow colour.
    const QColor face = w->palette().color(QPalette::Button);
    for (const char* name : {"Drive1", "Dir1", "List1", "txtCaminho"})
        QCOMPARE(control(w, name)->palette().color(QPalette::Base), face);
    QCOMPARE(control(w, "txtCaminho")->palette().color(QPalette::Text), w->palette().color(QPalette::Shadow));
    QCOMPARE(control(w, "txtfile")->palette().color(QPalette::Base), w->palette().color(QPalette::Base));

    // Tab order from the list; the path box is skipped and the option pair is
    // one stop, as radio groups are.
    QStringList order{list->objectName()};
    for (int i = 0; i < 7; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(order, (QStringList{"List1", "cmd2", "Drive1", "Dir1", "txtfile", "optSim", "cmdCancel", "List1"}));

    // Enter and Esc mean nothing; Cancelar closes at once.
    ModalWatcher watcher;
    QTest::keyClick(list, Qt::Key_Escape);
    QTest::keyClick(list, Qt::Key_Return);
    QVERIFY(w->isVisible());
    click(control(w, "cmdCancel"));
    QVERIFY(!w->isVisible());
    QCOMPARE(watcher.unexpected, 0);
    QVERIFY(!QFileInfo::exists(dest(QStringLiteral("scripts"))));
}

void TestBackup::dateOptionsPutNames()
{
    backup::setDateSource(+[] { return QDate(2026, 12, 5); });
    QWidget* w = open();
    auto* name = control<NameBox>(w, "txtfile");
    auto* yes = control<QRadioButton>(w, "optSim");
    auto* no = control<QRadioButton>(w, "optNao");

    click(yes);
    QCOMPARE(name->text(), QStringLiteral("scripts-05-12-26"));
    QVERIFY(yes->isChecked() && !no->isChecked());
    // Enter in the name box does not close the window (the filter is the start-up test's).
    name->setFocus();
    QTest::keyClick(name, Qt::Key_Return);
    QVERIFY(w->isVisible());

    click(no);
    QCOMPARE(name->text(), QStringLiteral("scripts"));
    QVERIFY(no->isChecked() && !yes->isChecked());
    typeText(name, QStringLiteral("X"));
    click(no);  // a second click still puts the name back
    QCOMPARE(name->text(), QStringLiteral("scripts"));
    backup::setDateSource(+[] { return QDate(2027, 1, 2); });
    click(yes);
    QCOMPARE(name->text(), QStringLiteral("scripts-02-01-27"));
}

void TestBackup::directoryListOpensOnlyWhatIsOpened()
{
    QWidget* w = open();
    auto* dir = control<DirList>(w, "Dir1");
    auto* path = control<QLineEdit>(w, "txtCaminho");
    const QString root = QDir(work_->path()).absolutePath();

    // Ancestors from the root down, then the sub-folders (no hidden ones).
    QStringList expected{QStringLiteral("/")};
    expected << root.mid(1).split(u'/');
    const int current = int(expected.size()) - 1;
    expected << QStringLiteral("alvo") << QStringLiteral("outro");
    QCOMPARE(entries(dir), expected);
    QCOMPARE(dir->currentRow(), current);

    // Selecting moves the highlight only.
    click(dir->viewport());
    clickItem(dir, QStringLiteral("outro"));
    QCOMPARE(dir->currentItem()->text(), QStringLiteral("outro"));
    QCOMPARE(path->text(), QString());
    QCOMPARE(dir->path(), root);

    // Opening with a double-click, then with Enter, then an ancestor.
    doubleClickItem(dir, QStringLiteral("outro"));
    QCOMPARE(dir->path(), root + QStringLiteral("/outro"));
    QCOMPARE(path->text(), QDir::toNativeSeparators(root + QStringLiteral("/outro")));
    QCOMPARE(entries(dir).mid(current), (QStringList{QFileInfo(root).fileName(), "outro", "fundo"}));
    dir->setFocus();
    dir->setCurrentItem(itemNamed(dir, QStringLiteral("fundo")));
    QTest::keyClick(dir, Qt::Key_Return);
    QCOMPARE(path->text(), QDir::toNativeSeparators(root + QStringLiteral("/outro/fundo")));
    QVERIFY(w->isVisible());
    doubleClickItem(dir, QFileInfo(root).fileName());
    QCOMPARE(path->text(), QDir::toNativeSeparators(root));

    // Typing a path in the path box does not move the backup.
    doubleClickItem(dir, QStringLiteral("alvo"));
    path->setFocus();
    path->selectAll();
    typeText(path, dest(QStringLiteral("outro")));
    ModalWatcher watcher;
    watcher.answer(QStringLiteral("OK"));
    click(control(w, "cmd2"));
    QCOMPARE(watcher.texts(), QStringList{"Backup realizado com sucesso!"});
    QVERIFY(QFileInfo(dest(QStringLiteral("alvo/scripts"))).isDir());
    QVERIFY(!QFileInfo::exists(dest(QStringLiteral("outro/scripts"))));
    QCOMPARE(QDir::currentPath(), root);  // browsing leaves the process where it was
}

void TestBackup::drivesMoveToRootOrRefuse()
{
    g_spareVolume = dest(QStringLiteral("outro/"));
    g_missingVolume = dest(QStringLiteral("sem-midia/"));
    drives::setSource(testVolumes);
    QWidget* w = open();
    auto* drive = control<QComboBox>(w, "Drive1");
    auto* dir = control<DirList>(w, "Dir1");
    auto* path = control<QLineEdit>(w, "txtCaminho");
    QCOMPARE(drive->count(), 3);
    QCOMPARE(drive->currentIndex(), 0);
    QCOMPARE(drive->itemText(1), QDir::toNativeSeparators(dest(QStringLiteral("outro"))) + " [RESERVA]");

    ModalWatcher watcher;
    drive->setFocus();
    QTest::keyClick(drive, Qt::Key_Down);
    QCOMPARE(dir->path(), dest(QStringLiteral("outro")));
    QCOMPARE(path->text(), QDir::toNativeSeparators(dest(QStringLiteral("outro"))));

    watcher.answer(QStringLiteral("OK"));
    QTest::keyClick(drive, Qt::Key_Down);
    QCOMPARE(watcher.seen.size(), 1);
    expectBox(watcher.seen[0], QStringLiteral("Drive não acessível"), kAppTitle);
    QCOMPARE(drive->currentIndex(), 2);
    QCOMPARE(dir->path(), dest(QStringLiteral("outro")));
    QCOMPARE(path->text(), QDir::toNativeSeparators(dest(QStringLiteral("outro"))));
    QCOMPARE(watcher.unexpected, 0);
}

void TestBackup::backupCopiesLibraryAndRefusesSecondPress()
{
    lib_->mkdir(QStringLiteral("Geral/sub"));
    lib_->mkdir(QStringLiteral("Vazia"));
    lib_->write(QStringLiteral("Geral/Oi.txt"), "\"Ol\xE1\r\n\xA4x\xA4\"\r\n");
    lib_->write(QStringLiteral("Geral/foto.jpg"), QByteArray("\xFF\xD8\x00\x01", 4));
    lib_->write(QStringLiteral("Geral/.oculto"), "h");
    lib_->write(QStringLiteral("Geral/sub/dentro.txt"), "\"d\"\r\n");
    QWidget* w = open();
    // A file dropped into the scripts folder while the program runs is listed too.
    lib_->write(QStringLiteral("solto.txt"), "solto");
    delete window_;
    w = open();
    QCOMPARE(entries(control<QListWidget>(w, "List1")), (QStringList{"» Geral", "» solto.txt", "» Vazia"}));
    doubleClickItem(control<DirList>(w, "Dir1"), QStringLiteral("alvo"));

    ModalWatcher watcher;
    watcher.answer(QStringLiteral("OK")).answer(QStringLiteral("OK"));
    click(control(w, "cmd2"));
    QCOMPARE(watcher.seen.size(), 1);
    expectBox(watcher.seen[0], QStringLiteral("Backup realizado com sucesso!"), kAppTitle);
    const auto all = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
    const QDir bk(dest(QStringLiteral("alvo/scripts")));
    QCOMPARE(bk.entryList(all, QDir::Name), (QStringList{"Geral", "Vazia", "solto.txt"}));
    QCOMPARE(QDir(bk.filePath("Geral")).entryList(all, QDir::Name), (QStringList{"Oi.txt", "foto.jpg"}));
    QVERIFY(QDir(bk.filePath("solto.txt")).isEmpty(all));
    QVERIFY(QDir(bk.filePath("Vazia")).isEmpty(all));
    QFile copied(bk.filePath("Geral/Oi.txt"));
    QVERIFY(copied.open(QIODevice::ReadOnly));
    QCOMPARE(copied.readAll(), QByteArray("\"Ol\xE1\r\n\xA4x\xA4\"\r\n"));
    QFile picture(bk.filePath("Geral/foto.jpg"));
    QVERIFY(picture.open(QIODevice::ReadOnly));
    QCOMPARE(picture.readAll(), QByteArray("\xFF\xD8\x00\x01", 4));
    copied.close();

    // The window stays as it was; the second press is refused and writes nothing.
    QVERIFY(w->isVisible());
    QCOMPARE(control<NameBox>(w, "txtfile")->text(), QStringLiteral("scripts"));
    QVERIFY(!entries(control<DirList>(w, "Dir1")).contains(QStringLiteral("scripts")));
    QFile::remove(bk.filePath("Geral/Oi.txt"));
    click(control(w, "cmd2"));
    QCOMPARE(watcher.texts(), (QStringList{"Backup realizado com sucesso!", "A pasta scripts já existe"}));
    QCOMPARE(watcher.seen.value(1).icon, QMessageBox::NoIcon);
    QVERIFY(!QFileInfo::exists(bk.filePath("Geral/Oi.txt")));

    // The application folder holds the scripts folder itself: refused the same way.
    auto* dir = control<DirList>(w, "Dir1");
    doubleClickItem(dir, QFileInfo(QFileInfo(lib_->appDir()).absolutePath()).fileName());
    doubleClickItem(dir, QFileInfo(lib_->appDir()).fileName());
    QCOMPARE(dir->path(), QFileInfo(lib_->appDir()).absoluteFilePath());
    watcher.answer(QStringLiteral("OK"));
    click(control(w, "cmd2"));
    QCOMPARE(watcher.texts().last(), QStringLiteral("A pasta scripts já existe"));
    QCOMPARE(lib_->entries(), (QStringList{"Geral", "Vazia", "solto.txt"}));
    QCOMPARE(watcher.unexpected, 0);
}

void TestBackup::emptyLibraryAndUnusableNames()
{
    QWidget* w = open();
    QCOMPARE(control<QListWidget>(w, "List1")->count(), 0);
    auto* name = control<NameBox>(w, "txtfile");
    ModalWatcher watcher;
    watcher.answer("OK").answer("OK").answer("OK");

    name->setFocus();
    name->selectAll();
    QTest::keyClick(name, Qt::Key_Backspace);
    click(control(w, "cmd2"));
    typeText(name, QStringLiteral(".."));
    click(control(w, "cmd2"));
    QCOMPARE(watcher.texts(),
             (QStringList{"Digite o nome da pasta destino. Nada foi copiado.",
                          "O nome \"..\" não pode ser usado: é formado só por pontos. Nada foi copiado."}));
    QCOMPARE(QDir(work_->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name),
             (QStringList{"alvo", "outro"}));

    name->selectAll();
    typeText(name, QStringLiteral("copia vazia"));
    click(control(w, "cmd2"));
    QCOMPARE(watcher.texts().last(), QStringLiteral("Backup realizado com sucesso!"));
    QVERIFY(QDir(dest(QStringLiteral("copia vazia"))).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
    QCOMPARE(watcher.unexpected, 0);
}

void TestBackup::failuresStopWithoutSuccessAndKeepFiles()
{
    lib_->mkdir(QStringLiteral("A"));
    lib_->mkdir(QStringLiteral("B"));
    lib_->write(QStringLiteral("A/um.txt"), "\"1\"\r\n");
    lib_->write(QStringLiteral("B/dois.txt"), "\"2\"\r\n");
    QWidget* w = open();
    doubleClickItem(control<DirList>(w, "Dir1"), QStringLiteral("alvo"));
    ModalWatcher watcher;
    watcher.answer("OK").answer("OK");

    // The chosen folder became a file after it was opened.
    QVERIFY(QDir(dest()).rmdir(QStringLiteral("alvo")));
    QFile standIn(dest(QStringLiteral("alvo")));
    QVERIFY(standIn.open(QIODevice::WriteOnly));
    standIn.close();
    click(control(w, "cmd2"));
    QCOMPARE(watcher.texts(), QStringList{QStringLiteral("Não foi possível criar a pasta destino:\r\n%1\r\n\r\n"
                                                         "Nada foi copiado.")
                                              .arg(QDir::toNativeSeparators(dest("alvo/scripts")))});
    QCOMPARE(watcher.seen.value(0).icon, QMessageBox::Critical);
    QVERIFY(QFileInfo(dest("alvo")).isFile());

    // A file takes the place of the second category's folder half-way.
    standIn.remove();
    QVERIFY(QDir(dest()).mkdir(QStringLiteral("alvo")));
    backup::setBeforeCopyHook([this](const QString&, const QString&) {
        QFile blocker(dest("alvo/scripts/B"));
        if (!blocker.exists() && blocker.open(QIODevice::WriteOnly))
            blocker.write("x");
    });
    click(control(w, "cmd2"));
    QCOMPARE(watcher.texts().value(1),
             QStringLiteral("Não foi possível criar a pasta:\r\n%1\r\n\r\n"
                            "O backup foi interrompido. O que já foi copiado continua em:\r\n%2")
                 .arg(QDir::toNativeSeparators(dest("alvo/scripts/B")),
                      QDir::toNativeSeparators(dest("alvo/scripts"))));
    QCOMPARE(watcher.seen.size(), 2);
    QFile kept(dest("alvo/scripts/A/um.txt"));
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), QByteArray("\"1\"\r\n"));
    QVERIFY(w->isVisible());
    QCOMPARE(watcher.unexpected, 0);
}

void TestBackup::miniHelpOpensAndCloses()
{
    QWidget* w = open();
    QStringList texts;
    QString title, object;
    QSize size;
    QWidget* helpParent = nullptr;
    ModalWatcher watcher;
    watcher.onDialog([&](QWidget* help) {
        object = help->objectName();
        title = help->windowTitle();
        size = help->size();
        helpParent = help->parentWidget();
        for (const char* name : {"lblBk1", "lblBk2", "lblBk3", "lblBk4"})
            texts << control<QLabel>(help, name)->text();
        QCOMPARE(control<QLabel>(help, "lblBk1")->palette().color(QPalette::WindowText),
                 help->palette().color(QPalette::Shadow));
        QVERIFY(control<QLabel>(help, "lblBk1")->font().bold());
        QTest::keyClick(help, Qt::Key_Escape);  // not a way out
        QVERIFY(help->isVisible());
        click(control<QPushButton>(help, "cmdBackHelp"));
    });
    QTest::mouseClick(control(w, "lblMiniHelp"), Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(object, QStringLiteral("frmBackHelp"));
    QCOMPARE(title, QStringLiteral("Corvane - Backup Help"));
    QCOMPARE(size, QSize(298, 311));
    QCOMPARE(helpParent, w);
    QCOMPARE(texts.value(0), QStringLiteral("Mini Help Backup"));
    QVERIFY(texts.value(1).startsWith(QStringLiteral("O backup dos scripts neste programa é feito")));
    QVERIFY(texts.value(3).endsWith(QStringLiteral("Scripts - textos (arquivos TXT).")));
    QVERIFY(w->isVisible());

    // The picture beside it takes no clicks.
    QTest::mouseClick(control(w, "imgHelp"), Qt::LeftButton, {}, QPoint(3, 3));
    QTest::qWait(30);
    QCOMPARE(watcher.unexpected, 0);
}

void TestBackup::names()
{
    QCOMPARE(backup::datedName(QDate(2026, 12, 5)), QStringLiteral("scripts-05-12-26"));
    QCOMPARE(backup::datedName(QDate(2000, 1, 31)), QStringLiteral("scripts-31-01-00"));
    QCOMPARE(backup::today(), QDate::currentDate());  // the window's option tests set their own date

    QCOMPARE(backup::nameRefusal(QStringLiteral("scripts")), QString());
    QCOMPARE(backup::nameRefusal(QStringLiteral("scripts BACK1")), QString());
    // Empty and dotted names: their messages are checked through the window.
    QCOMPARE(backup::nameRefusal(QStringLiteral("a/b")),
             QStringLiteral("O nome \"a/b\" não pode ser usado: contém um separador de pastas. Nada foi copiado."));
    QVERIFY(!backup::nameRefusal(QStringLiteral("x\\y")).isEmpty());
    QCOMPARE(backup::nameOfLine(QStringLiteral("» Minha pasta")), QStringLiteral("Minha pasta"));
}

void TestBackup::copiesBigFilesWholeAndNeverReusesAFolder()
{
    TempLibrary lib;
    QTemporaryDir target;
    lib.mkdir(QStringLiteral("Geral"));
    QByteArray big(300 * 1024, 'z');  // more than one read
    big[0] = 'a';
    big[big.size() - 1] = 'b';
    lib.write(QStringLiteral("Geral/dados"), big);
    const QDateTime stamp(QDate(2020, 3, 4), QTime(5, 6, 7));
    {
        QFile f(lib.path(QStringLiteral("Geral/dados")));
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.setFileTime(stamp, QFileDevice::FileModificationTime));
    }

    const backup::Result r = backup::copyLibrary(lib.scripts(), {"Geral"}, target.path(), QStringLiteral("bk"));
    QVERIFY(r.ok);
    QCOMPARE(r.message, QString());
    QCOMPARE(r.folders, 1);
    QCOMPARE(r.files, 1);
    const QDir bk(target.filePath(QStringLiteral("bk")));
    QFile data(bk.filePath(QStringLiteral("Geral/dados")));
    QVERIFY(data.open(QIODevice::ReadOnly));
    QVERIFY(data.readAll() == big);
    QCOMPARE(data.fileTime(QFileDevice::FileModificationTime), stamp);

    // The same name again: the folder is never reused.
    const backup::Result again = backup::copyLibrary(lib.scripts(), {"Geral"}, target.path(), QStringLiteral("bk"));
    QVERIFY(!again.ok);
    QCOMPARE(again.message, QStringLiteral("Não foi possível criar a pasta destino:\r\n%1\r\n\r\nNada foi copiado.")
                                .arg(QDir::toNativeSeparators(bk.path())));
    QVERIFY(backup::entryExists(target.path(), QStringLiteral("bk")));
    QVERIFY(!backup::entryExists(target.path(), QStringLiteral("BK")));
}

void TestBackup::stopsAtAFileThatVanishedAndKeepsWhatWasWritten()
{
    TempLibrary lib;
    QTemporaryDir target;
    lib.mkdir(QStringLiteral("A"));
    lib.mkdir(QStringLiteral("B"));
    lib.mkdir(QStringLiteral("C"));
    lib.write(QStringLiteral("A/a1.txt"), "a1");
    lib.write(QStringLiteral("B/b1.txt"), "b1");
    lib.write(QStringLiteral("C/c1.txt"), "c1");
    const QString bk = target.filePath(QStringLiteral("bk"));
    const QString tail = QStringLiteral("\r\n\r\nO backup foi interrompido. O que já foi copiado continua em:\r\n")
                         + QDir::toNativeSeparators(bk);

    // A source file removed between listing and copying.
    backup::setBeforeCopyHook([&](const QString& source, const QString&) {
        if (source.endsWith(QStringLiteral("b1.txt")))
            QFile::remove(source);
    });
    const backup::Result r = backup::copyLibrary(lib.scripts(), {"A", "B", "C"}, target.path(), QStringLiteral("bk"));
    backup::setBeforeCopyHook(nullptr);
    QVERIFY(!r.ok);
    QCOMPARE(r.message, QStringLiteral("Não foi possível copiar o arquivo:\r\n")
                            + QDir::toNativeSeparators(lib.path(QStringLiteral("B/b1.txt"))) + tail);
    QCOMPARE(r.files, 1);
    QVERIFY(QFileInfo::exists(bk + QStringLiteral("/A/a1.txt")));
    QVERIFY(QFileInfo(bk + QStringLiteral("/B")).isDir());
    QVERIFY(!QFileInfo::exists(bk + QStringLiteral("/B/b1.txt")));
    QVERIFY(!QFileInfo::exists(bk + QStringLiteral("/C")));
}

QTEST_MAIN(TestBackup)
#include "tst_backup.moc"
