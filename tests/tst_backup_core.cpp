// The backup's copying and naming, without the window.
#include "backup/BackupCore.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace corvane;
using namespace corvane::test;

class TestBackupCore : public QObject {
    Q_OBJECT
private slots:
    void names();
    void copiesBigFilesWholeAndNeverReusesAFolder();
    void stopsAtAFileThatVanishedAndKeepsWhatWasWritten();
};

void TestBackupCore::names()
{
    QCOMPARE(backup::datedName(QDate(2026, 12, 5)), QStringLiteral("scripts-05-12-26"));
    QCOMPARE(backup::datedName(QDate(2000, 1, 31)), QStringLiteral("scripts-31-01-00"));
    auto fixed = +[] { return QDate(2031, 7, 9); };
    backup::setDateSource(fixed);
    QCOMPARE(backup::today(), QDate(2031, 7, 9));
    backup::setDateSource(nullptr);
    QCOMPARE(backup::today(), QDate::currentDate());

    QCOMPARE(backup::nameRefusal(QStringLiteral("scripts")), QString());
    QCOMPARE(backup::nameRefusal(QStringLiteral("scripts BACK1")), QString());
    QCOMPARE(backup::nameRefusal(QString()), QStringLiteral("Digite o nome da pasta destino. Nada foi copiado."));
    QCOMPARE(backup::nameRefusal(QStringLiteral("..")),
             QStringLiteral("O nome \"..\" não pode ser usado: é formado só por pontos. Nada foi copiado."));
    QCOMPARE(backup::nameRefusal(QStringLiteral("a/b")),
             QStringLiteral("O nome \"a/b\" não pode ser usado: contém um separador de pastas. Nada foi copiado."));
    QVERIFY(!backup::nameRefusal(QStringLiteral("x\\y")).isEmpty());
    QCOMPARE(backup::nameOfLine(QStringLiteral("» Minha pasta")), QStringLiteral("Minha pasta"));
}

void TestBackupCore::copiesBigFilesWholeAndNeverReusesAFolder()
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

void TestBackupCore::stopsAtAFileThatVanishedAndKeepsWhatWasWritten()
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

QTEST_MAIN(TestBackupCore)
#include "tst_backup_core.moc"
