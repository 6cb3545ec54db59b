// The library's building blocks checked against tables written apart from the
// code: the script file format, Windows-1252 and sizes; and the search against
// the plain way of searching.
#include "library/Cp1252.h"
#include "library/ScriptFile.h"
#include "library/ScriptMove.h"
#include "library/Sizes.h"
#include "searchcore/TextSearch.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTest>

#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>

using namespace corvane;
using namespace corvane::test;

namespace {

// Windows-1252 0x80-0x9F; the five unassigned bytes stand for the C1 code points.
const char16_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                            0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                            0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                            0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QChar fromByte(int b)
{
    return b >= 0x80 && b < 0xA0 ? QChar(kHigh[b - 0x80]) : QChar(b);
}

// The plain way: decode, lower-case each character, compare at every position;
// a typed double quote stands for the stored one, the currency sign.
bool plainFind(const QByteArray& stored, const QString& needle)
{
    return cp1252::decode(stored).contains(QString(needle).replace(u'"', QChar(0xA4)), Qt::CaseInsensitive);
}

using Found = QList<std::pair<QByteArray, QByteArray>>;

// The search done the plain way: one file at a time, in each folder's order,
// each read whole, its stored text decoded and compared.
Found oneAtATime(const TempLibrary& lib, const Items& categories, const QString& needle)
{
    Found out;
    for (const Item& category : categories) {
        DIR* d = ::opendir(lib.rawPath(category.key).constData());
        while (const dirent* e = d ? ::readdir(d) : nullptr) {
            const QByteArray name(e->d_name), path = lib.rawPath(category.key) + '/' + name;
            struct stat st;
            if (!name.startsWith('.') && name.toLower().endsWith(".txt") && ::stat(path.constData(), &st) == 0
                && S_ISREG(st.st_mode) && plainFind(script::storedText(raw::read(path)).toByteArray(), needle))
                out.append({category.key, name});
        }
        if (d)
            ::closedir(d);
    }
    return out;
}

}  // namespace

class TestLibrary : public QObject {
    Q_OBJECT
private slots:
    void fileFormat_data();
    void fileFormat();
    void windows1252OnDisk();
    void readLimits();
    void newNamesNeverReplace();
    void sizes_data();
    void sizes();
    void matcherAgreesWithThePlainWay();
    void manyReadersFindWhatOneAtATimeFinds();
    void movingScripts();
};

void TestLibrary::fileFormat_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("written");  // the program writes these bytes for the text
    QTest::addColumn<QString>("outside");  // in the file, not in its text: the search must not find it
    QTest::newRow("empty") << QString() << QByteArray("\"\"\r\n") << true << QString();
    QTest::newRow("lines") << QStringLiteral("linha 1\r\nlinha 2") << QByteArray("\"linha 1\r\nlinha 2\"\r\n") << true << QString();
    QTest::newRow("quotes") << QStringLiteral("diz \"oi\"") << QByteArray("\"diz \xA4oi\xA4\"\r\n") << true << QString();
    QTest::newRow("accents") << QStringLiteral("ação é") << QByteArray("\"a\xE7\xE3o \xE9\"\r\n") << true << QString();
    QTest::newRow("empty file") << QString() << QByteArray() << false << QString();
    QTest::newRow("leading blanks") << QStringLiteral("x") << QByteArray("  \t\"x\"\r\n") << false << QString();
    QTest::newRow("unclosed") << QStringLiteral("abc\r\ndef") << QByteArray("\"abc\r\ndef") << false << QString();
    QTest::newRow("after closing quote") << QStringLiteral("a") << QByteArray("\"a\"b,c") << false << QString("b");
    QTest::newRow("unquoted: to comma") << QStringLiteral("nome") << QByteArray("nome, idade\r\nx") << false << QString("idade");
    QTest::newRow("unquoted: first line") << QStringLiteral("uma") << QByteArray("uma\r\noutra") << false << QString("outra");
    QTest::newRow("tab before the quote") << QStringLiteral("x y") << QByteArray("\t\"x y\",z") << false
                                          << QStringLiteral(",z");
}

void TestLibrary::fileFormat()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, written);
    QFETCH(QString, outside);
    TempLibrary lib;
    if (written) {
        QCOMPARE(script::writeFile(lib.rawPath("s.txt"), text).code, Outcome::Code::Done);
        QCOMPARE(raw::read(lib.rawPath("s.txt")), bytes);
    } else {
        raw::write(lib.rawPath("s.txt"), bytes);
    }
    QCOMPARE(script::read(lib.rawPath("s.txt")).text, text);
    // The search reads the file by the same rule.
    const auto found = [&](const QString& needle) {
        fs::Reader file;
        std::vector<char> buffer;
        return file.open(lib.rawPath("s.txt")) && search::Needle(needle).foundInFile(file, buffer, 1 << 20);
    };
    QCOMPARE(found(text), !text.isEmpty());
    QVERIFY(outside.isEmpty() || !found(outside));
}

void TestLibrary::windows1252OnDisk()
{
    // Every byte from 0x80 up but the stored quote, written and read back.
    QString text;
    QByteArray bytes = "\"";
    for (int b = 0x80; b < 0x100; ++b) {
        if (b != 0xA4) {
            text += fromByte(b);
            bytes += char(b);
        }
    }
    bytes += "\"\r\n";
    TempLibrary lib;
    QCOMPARE(script::writeFile(lib.rawPath("s.txt"), text).code, Outcome::Code::Done);
    QCOMPARE(raw::read(lib.rawPath("s.txt")), bytes);
    QCOMPARE(script::read(lib.rawPath("s.txt")).text, text);
}

void TestLibrary::readLimits()
{
    TempLibrary lib;
    const auto read = [&](const char* name) { return script::read(lib.rawPath(name)); };
    // Past the first block read, a script still comes whole.
    const QByteArray longText(200 * 1024, 'a');
    raw::write(lib.rawPath("longo.txt"), '"' + longText + "\"\r\n");
    raw::write(lib.rawPath("linha.txt"), longText + "\r\nsegunda");
    QCOMPARE(read("longo.txt").text, QString::fromLatin1(longText));
    QCOMPARE(read("linha.txt").text, QString::fromLatin1(longText));
    // A stored text of exactly the limit is read; one byte more is refused.
    raw::write(lib.rawPath("s.txt"), "\"" + QByteArray(script::kMaxStoredBytes, 'x') + "\"\r\n");
    QCOMPARE(read("s.txt").text.size(), script::kMaxStoredBytes);
    raw::write(lib.rawPath("s.txt"), "\"" + QByteArray(script::kMaxStoredBytes + 1, 'x') + "\"\r\n");
    QCOMPARE(read("s.txt").status, script::ReadStatus::TooBig);
    // A huge file: its first line only, or a refusal when the text goes on.
    for (const char* name : {"enorme.txt", "aberto.txt"}) {
        raw::write(lib.rawPath(name), qstrcmp(name, "enorme.txt") == 0 ? "primeira\r\n" : "\"sem fim ");
        QVERIFY(QFile::resize(QFile::decodeName(lib.rawPath(name)), script::kMaxStoredBytes + 4096));
    }
    QCOMPARE(read("enorme.txt").text, QStringLiteral("primeira"));
    QCOMPARE(read("aberto.txt").status, script::ReadStatus::TooBig);
    QCOMPARE(read("nada.txt").status, script::ReadStatus::Unreadable);
}

// A new file takes a name only while it is free, hard links or not (FAT and
// exFAT have none): a taken one, in any letter case where the disk ignores
// case, is refused and keeps its bytes; no temporary is left.
void TestLibrary::newNamesNeverReplace()
{
    TempLibrary lib{{"Nova.txt", "\"velho\"\r\n"}};
    const bool folds = QFileInfo::exists(lib.path(QStringLiteral("NOVA.TXT")));
    for (const char* name : {"Nova.txt", folds ? "NOVA.TXT" : "Nova.txt"})
        QVERIFY(!fs::writeFile(lib.rawPath(name), "x", fs::Replace::Refused) && fs::lastError() == EEXIST);
    QVERIFY(fs::writeFile(lib.rawPath("outra.txt"), "y", fs::Replace::Refused));
    QCOMPARE(lib.tree(), (QMap<QByteArray, QByteArray>{{"Nova.txt", "\"velho\"\r\n"}, {"outra.txt", "y"}}));
}

void TestLibrary::sizes_data()
{
    QTest::addColumn<double>("count");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << 0.0 << QString();
    QTest::newRow("1") << 1.0 << QStringLiteral("1 bytes");
    QTest::newRow("1023") << 1023.0 << QStringLiteral("1023 bytes");
    QTest::newRow("1024") << 1024.0 << QStringLiteral("1 Kb");
    QTest::newRow("1536") << 1536.0 << QStringLiteral("1,5 Kb");
    QTest::newRow("1048576") << 1048576.0 << QStringLiteral("1 Mb");
    QTest::newRow("tie to even down") << 1024.0 * 1.125 << QStringLiteral("1,12 Kb");
    QTest::newRow("tie to even up") << 1024.0 * 1.375 << QStringLiteral("1,38 Kb");
    QTest::newRow("no group separator") << 1024.0 * 1024 * 1024 * 2000 << QStringLiteral("2000 Gb");
    QTest::newRow("4 TiB stays Gb") << 1024.0 * 1024 * 1024 * 1024 * 4 << QStringLiteral("4096 Gb");
}

void TestLibrary::sizes()
{
    QFETCH(double, count);
    QFETCH(QString, text);
    QCOMPARE(Numeric2Bytes(count, QLocale(QLocale::Portuguese, QLocale::Brazil)), text);
    QCOMPARE(Numeric2Bytes(count, QLocale::c()), QString(text).replace(u',', u'.'));
}

void TestLibrary::matcherAgreesWithThePlainWay()
{
    // A small alphabet of both cases, accented pairs and neighbours, so that
    // near-misses are frequent; whole files quoted, unclosed and unquoted.
    const QString alphabet = QStringLiteral("aAbBsSšŠçÇcCéÉeEÿŸyY \"¤ßµ\r\n,");
    QRandomGenerator rng(20261206);
    const auto randomText = [&](int length) {
        QString s;
        for (int i = 0; i < length; ++i)
            s += alphabet[rng.bounded(int(alphabet.size()))];
        return s;
    };
    for (int round = 0; round < 20000; ++round) {
        const QByteArray hay = cp1252::encode(randomText(rng.bounded(0, 60))).bytes;
        const QString needle = randomText(rng.bounded(1, 4));
        const search::Needle n(needle);
        QCOMPARE(n.foundIn(hay), plainFind(hay, needle));
        for (const QByteArray& file : {"\"" + hay + "\"\r\n", " \"" + hay, hay + "\r\n" + hay})
            QCOMPARE(n.foundInStoredText(file), plainFind(script::storedText(file).toByteArray(), needle));
    }
    // Every pair of bytes as a one-character needle and haystack.
    for (int a = 1; a < 256; ++a)
        for (int b = 1; b < 256; ++b)
            QCOMPARE(search::Needle(QString(fromByte(b))).foundIn(QByteArray(1, char(a))),
                     plainFind(QByteArray(1, char(a)), QString(fromByte(b))));
    QVERIFY(!search::Needle(QStringLiteral("☃x")).foundIn("☃x"));
}

void TestLibrary::manyReadersFindWhatOneAtATimeFinds()
{
    // Random texts, some longer than one read; beside them entries that are no
    // script file or cannot be read.
    TempLibrary lib;
    QRandomGenerator rng(20261207);
    const QString alphabet = QStringLiteral("aAbB çÇ¤\"\r\n,");
    Items categories;
    for (int c = 0; c < 12; ++c) {
        const QByteArray key = "Cat " + QByteArray::number(c) + (c % 4 == 0 ? "\xe9" : "");
        categories.append({fs::shownName(key), key});
        raw::mkdir(lib.rawPath(key));
        for (int f = 0; f < 40; ++f) {
            // A long one is quoted and has no quote inside, so its text goes on.
            const bool longer = rng.bounded(8) == 0;
            QString text = longer || rng.bounded(3) ? QStringLiteral(" \"") : QString();
            const int length = longer ? rng.bounded(60000, 140000) : rng.bounded(0, 40);
            for (int i = 0; i < length; ++i)
                text += alphabet[rng.bounded(int(alphabet.size()) - (longer ? 4 : 0))];
            const char* ext[] = {".txt", ".TXT", ".Txt", ".doc", ""};
            raw::write(lib.rawPath(key + "/s" + QByteArray::number(f) + ext[rng.bounded(5)]),
                       cp1252::encode(text).bytes);
        }
        // A rare needle where one read may end and the next begin.
        raw::write(lib.rawPath(key + "/borda.txt"), " \"" + QByteArray(65530 + c, 'x') + "\xc7\xe7\xc7\xe7\"");
        raw::write(lib.rawPath(key + "/.oculto.txt"), "\"ab\"");
        raw::mkdir(lib.rawPath(key + "/pasta.txt"));
        raw::symlink("nada", lib.rawPath(key + "/quebrado.txt"));
        raw::symlink("s1.txt", lib.rawPath(key + "/atalho.txt"));
        QVERIFY(::mkfifo(lib.rawPath(key + "/cano.txt").constData(), 0644) == 0);
    }
    categories.append({QStringLiteral("sumiu"), "sumiu"});
    const Library library(lib.scripts());
    const auto run = [&](const QString& needle) {
        Found out;
        for (const auto& hit : search::Searcher(library).run(categories, search::Needle(needle)))
            out.append({hit.category, hit.fileName});
        return out;
    };
    for (const QString& needle : {QStringLiteral("ab"), QStringLiteral("ÇçÇç"), QStringLiteral("¤ a")}) {
        const Found expected = oneAtATime(lib, categories, needle);
        QVERIFY(expected.size() > 10);
        QCOMPARE(run(needle), expected);
    }
}

// A script moves only where the rule allows, changing nothing otherwise; on one
// file system or across two, it keeps its name and bytes and leaves nothing else.
// Across disks a move copies, flushes, then removes; the door never moves a file
// over another.
void TestLibrary::movingScripts()
{
    TempLibrary lib{{"A/s.txt", "\"s\"\r\n"}, {"B/S.txt", "x"}, {"E/", {}}};
    const Library library(lib.scripts());
    const QMap<QByteArray, QByteArray> before = lib.tree();
    QVERIFY(!fs::moveFile(lib.rawPath("A/s.txt"), lib.rawPath("B/S.txt")) && fs::lastError() == EEXIST);
    QCOMPARE(lib.tree(), before);
    SmallDisk disk(QStringLiteral("256k"), lib.path(QStringLiteral("E")));
    if (!disk.mounted)
        QSKIP("mounting a small tmpfs is not allowed here (it needs root)");
    QVERIFY(moveScript(library, {"s.txt", "A", "E"}).done());
    QMap<QByteArray, QByteArray> after = before;
    after.remove("A/s.txt");
    after.insert("E/s.txt", "\"s\"\r\n");
    QCOMPARE(lib.tree(), after);
}

QTEST_GUILESS_MAIN(TestLibrary)
#include "tst_library.moc"
