// The backup window as a user drives it: pickers, name box, the copy and its messages.
#include "backupcore/BackupCore.h"
#include "backup/BackupWindow.h"
#include "backup/DirList.h"
#include "backupcore/Drives.h"
#include "library/Fs.h"
#include "support/MainDriver.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QRadioButton>
#include <QScopeGuard>

#include <sys/mount.h>
#include <sys/stat.h>

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

const QString kSuccess = QStringLiteral("Backup realizado com sucesso!");

QString stopped(const char* what, const QString& path, const QString& backup)
{
    return QString::fromUtf8(what) + QStringLiteral(":\r\n") + path
           + QStringLiteral("\r\n\r\nO backup foi interrompido. O que já foi copiado continua em:\r\n") + backup;
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
    void destinationTurnedFileCopiesNothing();
    void foreignNamesAndLinksAreCopiedExactly();
    void unreadableEntriesStopTheBackup_data();
    void unreadableEntriesStopTheBackup();
    void everyFailingStepStopsWithoutSuccess();
    void fullDiskStopsTheBackup();
    void miniHelpOpensAndCloses();
    // The copying and naming without the window.
    void names();
    void copiesBigFilesWholeAndNeverReusesAFolder();

private:
    QWidget* open();
    // Opens the window on the folder "alvo" of the work folder (or another one).
    QWidget* openAt(const QString& folder = QStringLiteral("alvo"));
    // Presses Backup and answers the one box it must show.
    SeenBox backUp(ModalWatcher& watcher);
    // Every file of the backup bk (relative to the work folder) equals its
    // source byte for byte; a link never stands in for a copy.
    void expectExactCopies(const QString& bk);
    QString dest(const QString& relative = {}) const { return QDir(work_->path()).filePath(relative); }

    TempLibrary* lib_ = nullptr;
    QTemporaryDir* work_ = nullptr;
    BackupWindow* window_ = nullptr;
    QDate today_;
    bool testVolumes_ = false;
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
    today_ = {};
    testVolumes_ = false;
    fs::testing::failStep(0);
    raw::remove(QFile::encodeName(work_->path()));
    delete work_;
    delete lib_;
}

QWidget* TestBackup::open()
{
    BackupSystem system;
    system.today = [this] { return today_.isValid() ? today_ : QDate::currentDate(); };
    if (testVolumes_)
        system.volumes = testVolumes;
    window_ = new BackupWindow(lib_->scripts(), nullptr, system);
    if (!showActive(window_))
        qWarning("backup window not active");
    return window_;
}

QWidget* TestBackup::openAt(const QString& folder)
{
    QWidget* w = open();
    doubleClickItem(control<DirList>(w, "Dir1"), folder);
    return w;
}

SeenBox TestBackup::backUp(ModalWatcher& watcher)
{
    watcher.clear();
    watcher.answer(QStringLiteral("OK"));
    click(control(window_, "cmd2"));
    if (watcher.seen.size() != 1 || watcher.unexpected != 0)
        QTest::qFail(qPrintable(QStringLiteral("boxes: ") + watcher.texts().join(u'|')), __FILE__, __LINE__);
    return watcher.seen.value(0);
}

void TestBackup::expectExactCopies(const QString& bk)
{
    const auto copies = raw::tree(QFile::encodeName(dest(bk)));
    for (auto it = copies.begin(); it != copies.end(); ++it) {
        QVERIFY2(!it.value().startsWith("-> "), it.key().constData());
        if (it.value() != "<dir>")
            QVERIFY2(it.value() == raw::read(lib_->rawPath(it.key())), it.key().constData());
    }
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
    QCOMPARE(control<QComboBox>(w, "Drive1")->currentData().toString(), drives::rootOf(work_->path(), drives::systemVolumes()));

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
    today_ = QDate(2026, 12, 5);
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
    today_ = QDate(2027, 1, 2);
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
    testVolumes_ = true;
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

void TestBackup::destinationTurnedFileCopiesNothing()
{
    lib_->mkdir(QStringLiteral("A"));
    lib_->write(QStringLiteral("A/um.txt"), "\"1\"\r\n");
    openAt();
    // The chosen folder became a file after it was opened.
    QVERIFY(QDir(dest()).rmdir(QStringLiteral("alvo")));
    raw::write(QFile::encodeName(dest("alvo")), "");
    ModalWatcher watcher;
    const SeenBox box = backUp(watcher);
    QCOMPARE(box.text, QStringLiteral("Não foi possível criar a pasta destino:\r\n%1\r\n\r\nNada foi copiado.")
                           .arg(QDir::toNativeSeparators(dest("alvo/scripts"))));
    QCOMPARE(box.icon, QMessageBox::Critical);
    QVERIFY(QFileInfo(dest("alvo")).isFile());
}

void TestBackup::foreignNamesAndLinksAreCopiedExactly()
{
    // Names in Windows-1252 bytes beside their UTF-8 look-alikes; a category and
    // a script that are links; what the program never shows stays behind.
    QDir(dest()).mkpath(QStringLiteral("fora/pasta"));
    raw::write(QFile::encodeName(dest("fora/texto.txt")), "\"de fora\"\r\n");
    raw::write(QFile::encodeName(dest("fora/pasta/x.txt")), "\"x\"\r\n");
    for (const char* dir : {"Alfa", "Caf\xe9", "Caf\xc3\xa9", "Alfa/sub"})
        raw::mkdir(lib_->rawPath(dir));
    raw::write(lib_->rawPath("Alfa/ma\xe7\xe3.txt"), "\"cp1252\"\r\n");
    raw::write(lib_->rawPath("Alfa/ma\xc3\xa7\xc3\xa3.txt"), "\"utf-8\"\r\n");
    raw::write(lib_->rawPath("Alfa/.oculto.txt"), "h");
    raw::write(lib_->rawPath("Alfa/sub/dentro.txt"), "d");
    raw::write(lib_->rawPath("Caf\xe9/\xe1.txt"), "\"\xe1\"\r\n");
    raw::symlink(QFile::encodeName(dest("fora/texto.txt")), lib_->rawPath("Alfa/atalho.txt"));
    raw::symlink(QFile::encodeName(dest("fora/pasta")), lib_->rawPath("Ligada"));
    QVERIFY(::mkfifo(lib_->rawPath("Alfa/cano.txt").constData(), 0644) == 0);
    QWidget* w = openAt();
    QCOMPARE(entries(control<QListWidget>(w, "List1")), (QStringList{"» Alfa", "» Café", "» Café", "» Ligada"}));

    ModalWatcher watcher;
    expectBox(backUp(watcher), kSuccess, kAppTitle);
    const QMap<QByteArray, QByteArray> expected{
        {"Alfa", "<dir>"}, {"Alfa/ma\xe7\xe3.txt", "\"cp1252\"\r\n"}, {"Alfa/ma\xc3\xa7\xc3\xa3.txt", "\"utf-8\"\r\n"},
        {"Alfa/atalho.txt", "\"de fora\"\r\n"}, {"Caf\xe9", "<dir>"}, {"Caf\xe9/\xe1.txt", "\"\xe1\"\r\n"},
        {"Caf\xc3\xa9", "<dir>"}, {"Ligada", "<dir>"}, {"Ligada/x.txt", "\"x\"\r\n"}};
    QCOMPARE(raw::tree(QFile::encodeName(dest("alvo/scripts"))), expected);
}

void TestBackup::unreadableEntriesStopTheBackup_data()
{
    QTest::addColumn<QByteArray>("link");
    QTest::addColumn<QString>("named");
    QTest::newRow("script link to nowhere") << QByteArray("Beta/quebrado.txt") << QStringLiteral("Beta/quebrado.txt");
    QTest::newRow("foreign name") << QByteArray("Beta/\xe7.txt") << QStringLiteral("Beta/ç.txt");
    QTest::newRow("category link to nowhere") << QByteArray("Perdida") << QStringLiteral("Perdida");
}

void TestBackup::unreadableEntriesStopTheBackup()
{
    QFETCH(QByteArray, link);
    QFETCH(QString, named);
    for (const char* dir : {"Alfa", "Beta", "Gama"})
        raw::mkdir(lib_->rawPath(dir));
    for (const char* file : {"Alfa/um.txt", "Beta/dois.txt", "Gama/tres.txt"})
        raw::write(lib_->rawPath(file), QByteArray("\"") + file + "\"\r\n");
    raw::symlink("nada", lib_->rawPath(link));
    QWidget* w = openAt();
    QCOMPARE(entries(control<QListWidget>(w, "List1")).contains(QStringLiteral("» Perdida")), link == "Perdida");

    ModalWatcher watcher;
    const SeenBox box = backUp(watcher);
    QCOMPARE(box.text, stopped("Não foi possível copiar o arquivo", lib_->path(named), dest("alvo/scripts")));
    QCOMPARE(box.icon, QMessageBox::Critical);
    expectExactCopies(QStringLiteral("alvo/scripts"));
    QCOMPARE(raw::read(QFile::encodeName(dest("alvo/scripts/Alfa/um.txt"))), QByteArray("\"Alfa/um.txt\"\r\n"));
    QVERIFY(!QFileInfo::exists(dest("alvo/scripts/") + named));
}

void TestBackup::everyFailingStepStopsWithoutSuccess()
{
    QByteArray big(150 * 1024, 'g');  // written in more than one step
    raw::mkdir(lib_->rawPath("Alfa"));
    raw::mkdir(lib_->rawPath("Caf\xe9"));
    raw::write(lib_->rawPath("Alfa/um.txt"), "\"1\"\r\n");
    raw::write(lib_->rawPath("Alfa/grande.txt"), big);
    raw::write(lib_->rawPath("Caf\xe9/ma\xe7\xe3.txt"), "\"\xe7\"\r\n");
    raw::write(lib_->rawPath("solto.txt"), "s");
    openAt();
    ModalWatcher watcher;
    fs::testing::failStep(0);
    expectBox(backUp(watcher), kSuccess, kAppTitle);
    const int steps = fs::testing::failStep(0);
    const QByteArray bk = QFile::encodeName(dest("alvo/scripts"));
    const auto whole = raw::tree(bk);
    QCOMPARE(whole.size(), 6);
    expectExactCopies(QStringLiteral("alvo/scripts"));
    raw::remove(bk);

    // Each message and the entry it names, which the backup must then lack.
    const QString to = dest("alvo/scripts");
    const QMap<QString, QByteArray> failures{
        {QStringLiteral("Não foi possível criar a pasta destino:\r\n%1\r\n\r\nNada foi copiado.").arg(to), ""},
        {stopped("Não foi possível criar a pasta", to + "/Alfa", to), "Alfa"},
        {stopped("Não foi possível criar a pasta", to + "/Café", to), "Caf\xe9"},
        {stopped("Não foi possível criar a pasta", to + "/solto.txt", to), "solto.txt"},
        {stopped("Não foi possível copiar o arquivo", lib_->path("Alfa/um.txt"), to), "Alfa/um.txt"},
        {stopped("Não foi possível copiar o arquivo", lib_->path("Alfa/grande.txt"), to), "Alfa/grande.txt"},
        {stopped("Não foi possível copiar o arquivo", lib_->path("Café/maçã.txt"), to), "Caf\xe9/ma\xe7\xe3.txt"}};
    QVERIFY(steps >= failures.size());
    for (int k = 1; k <= steps; ++k) {
        fs::testing::failStep(k);
        const SeenBox box = backUp(watcher);
        fs::testing::failStep(0);
        QVERIFY2(failures.contains(box.text), qPrintable(QStringLiteral("step %1: %2").arg(k).arg(box.text)));
        QCOMPARE(box.icon, QMessageBox::Critical);
        const auto copies = raw::tree(bk);
        QVERIFY(!copies.contains(failures[box.text]));
        for (auto it = copies.begin(); it != copies.end(); ++it)
            QVERIFY2(whole.value(it.key()) == it.value(), qPrintable(QStringLiteral("step %1: %2").arg(k).arg(it.key())));
        raw::remove(bk);
    }
}

void TestBackup::fullDiskStopsTheBackup()
{
    QVERIFY(QDir(dest()).mkdir(QStringLiteral("cheio")));
    const QString disk = dest(QStringLiteral("cheio"));
    const QByteArray at = QFile::encodeName(disk);
    if (::mount("tmpfs", at.constData(), "tmpfs", 0, "size=64k") != 0)
        QSKIP("mounting a small tmpfs is not allowed here");
    const auto unmount = qScopeGuard([&] { ::umount2(at.constData(), MNT_DETACH); });
    {
        QFile filler(disk + QStringLiteral("/enche"));
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        while (filler.write(QByteArray(4096, 'f')) == 4096) {
        }
    }
    lib_->mkdir(QStringLiteral("Alfa"));
    lib_->write(QStringLiteral("Alfa/um.txt"), QByteArray(8192, 'u'));
    openAt(QStringLiteral("cheio"));
    ModalWatcher watcher;
    const SeenBox box = backUp(watcher);
    QCOMPARE(box.text, stopped("Não foi possível copiar o arquivo", lib_->path("Alfa/um.txt"), disk + "/scripts"));
    QCOMPARE(box.icon, QMessageBox::Critical);
    QCOMPARE(raw::tree(QFile::encodeName(disk + "/scripts")), (QMap<QByteArray, QByteArray>{{"Alfa", "<dir>"}}));
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

    QVERIFY(backup::copyLibrary(lib.scripts(), {"Geral"}, target.path(), QStringLiteral("bk")).done());
    const QDir bk(target.filePath(QStringLiteral("bk")));
    QFile data(bk.filePath(QStringLiteral("Geral/dados")));
    QVERIFY(data.open(QIODevice::ReadOnly));
    QVERIFY(data.readAll() == big);
    QCOMPARE(data.fileTime(QFileDevice::FileModificationTime), stamp);

    // The same name again: the folder is never reused.
    const Outcome again = backup::copyLibrary(lib.scripts(), {"Geral"}, target.path(), QStringLiteral("bk"));
    QCOMPARE(again.code, Outcome::Code::TargetFailed);
    QCOMPARE(again.names, QStringList{QDir::toNativeSeparators(bk.path())});
    QVERIFY(backup::entryExists(target.path(), QStringLiteral("bk")));
    QVERIFY(!backup::entryExists(target.path(), QStringLiteral("BK")));
}

QTEST_MAIN(TestBackup)
#include "tst_backup.moc"
