// The library on disk: script file bytes, Windows-1252, names, sizes, listings.
#include "library/Cp1252.h"
#include "library/Library.h"
#include "library/Names.h"
#include "library/ScriptFile.h"
#include "library/Sizes.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QTest>

using namespace corvane;
using corvane::test::TempLibrary;

class TestLibrary : public QObject {
    Q_OBJECT
private slots:
    void encodeWritesQuotedCurrencyAndCrLf_data();
    void encodeWritesQuotedCurrencyAndCrLf();
    void decodeFollowsTheQuotedFormat_data();
    void decodeFollowsTheQuotedFormat();
    void everyWindows1252ByteRoundTrips();
    void unencodableTextIsRefusedAndNothingWritten();
    void writeReplacesWholeFileAndReadsBack();
    void writeFailureLeavesOldFileIntact();
    void readStopsWhereTheStoredTextEnds();
    void numeric2Bytes_data();
    void numeric2Bytes();
    void numeric2BytesUsesLocaleSeparator();
    void soNumerosAcceptsTheAllowedSetOnly();
    void unsafeNamesAreRecognised_data();
    void unsafeNamesAreRecognised();
    void categoryListingAndCounts();
    void strayFilesRemovedHiddenKept();
    void foldTableMatchesCaseNotAccents();
};

void TestLibrary::encodeWritesQuotedCurrencyAndCrLf_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty") << QString() << QByteArray("\"\"\r\n");
    QTest::newRow("two lines") << QStringLiteral("linha 1\nlinha 2") << QByteArray("\"linha 1\r\nlinha 2\"\r\n");
    QTest::newRow("quotes") << QStringLiteral("diz \"oi\"") << QByteArray("\"diz \xA4oi\xA4\"\r\n");
    QTest::newRow("accents") << QStringLiteral("ação é €") << QByteArray("\"a\xE7\xE3o \xE9 \x80\"\r\n");
    QTest::newRow("crlf kept") << QStringLiteral("a\r\nb") << QByteArray("\"a\r\nb\"\r\n");
}

void TestLibrary::encodeWritesQuotedCurrencyAndCrLf()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    TempLibrary lib;
    const fs::Path path = fs::fromQString(lib.path(QStringLiteral("s.txt")));
    QCOMPARE(script::writeFile(path, text).code, Outcome::Code::Done);
    QCOMPARE(lib.read(QStringLiteral("s.txt")), bytes);
}

void TestLibrary::decodeFollowsTheQuotedFormat_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("stored");
    QTest::newRow("empty script") << QByteArray("\"\"\r\n") << QString() << QByteArray();
    QTest::newRow("currency back to quote") << QByteArray("\"a\xA4" "b\"\r\n") << QStringLiteral("a\"b")
                                            << QByteArray("a\xA4" "b");
    QTest::newRow("line breaks kept") << QByteArray("\"1\r\n2\"\r\n") << QStringLiteral("1\r\n2")
                                      << QByteArray("1\r\n2");
    QTest::newRow("leading blanks") << QByteArray("  \t\"x\"\r\n") << QStringLiteral("x") << QByteArray("x");
    QTest::newRow("unclosed quote reads to end") << QByteArray("\"abc\r\ndef") << QStringLiteral("abc\r\ndef")
                                                 << QByteArray("abc\r\ndef");
    QTest::newRow("other program: first line to comma") << QByteArray("nome, idade\r\nsegunda")
                                                        << QStringLiteral("nome") << QByteArray("nome");
    QTest::newRow("other program: first line") << QByteArray("uma linha\r\noutra") << QStringLiteral("uma linha")
                                               << QByteArray("uma linha");
    QTest::newRow("text after closing quote ignored") << QByteArray("\"a\"b,c") << QStringLiteral("a")
                                                      << QByteArray("a");
    QTest::newRow("empty file") << QByteArray() << QString() << QByteArray();
}

void TestLibrary::decodeFollowsTheQuotedFormat()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QFETCH(QByteArray, stored);
    QCOMPARE(script::decodeFile(bytes), text);
    QCOMPARE(script::storedText(bytes).toByteArray(), stored);
}

void TestLibrary::everyWindows1252ByteRoundTrips()
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString decoded = cp1252::decode(all);
    QCOMPARE(decoded.size(), 256);
    // Known code points of the range where Windows-1252 differs from Latin-1.
    const QString known = QStringLiteral("€ ‚ƒ„…†‡ˆ‰Š‹Œ Ž  ‘’“”•–—˜™š›œ žŸ");
    QCOMPARE(known.size(), 32);
    for (int i = 0; i < 32; ++i) {
        if (known[i] != u' ')
            QCOMPARE(decoded.at(0x80 + i), known[i]);
    }
    QCOMPARE(decoded.at(0xA4), QChar(0xA4));
    const cp1252::Encoded back = cp1252::encode(decoded);
    QVERIFY(back.ok);
    QCOMPARE(back.bytes, all);
}

void TestLibrary::unencodableTextIsRefusedAndNothingWritten()
{
    TempLibrary lib;
    lib.write(QStringLiteral("s.txt"), "\"antigo\"\r\n");
    const Outcome r = script::writeFile(fs::fromQString(lib.path(QStringLiteral("s.txt"))), QStringLiteral("neve ☃ aqui"));
    QCOMPARE(r.code, Outcome::Code::Unencodable);
    QCOMPARE(r.character, char32_t(0x2603));
    QCOMPARE(lib.read(QStringLiteral("s.txt")), QByteArray("\"antigo\"\r\n"));
    // Characters outside the basic plane are named whole, not as halves.
    QCOMPARE(cp1252::encode(QStringLiteral("ok 😀")).badChar, char32_t(0x1F600));
}

void TestLibrary::writeReplacesWholeFileAndReadsBack()
{
    TempLibrary lib;
    const fs::Path path = fs::fromQString(lib.path(QStringLiteral("s.txt")));
    lib.write(QStringLiteral("s.txt"), QByteArray(5000, 'x'));
    QCOMPARE(script::writeFile(path, QStringLiteral("curto \"q\"")).code, Outcome::Code::Done);
    QCOMPARE(lib.read(QStringLiteral("s.txt")), QByteArray("\"curto \xA4q\xA4\"\r\n"));
    QCOMPARE(script::read(path).text, QStringLiteral("curto \"q\""));
    QCOMPARE(script::read(fs::fromQString(lib.path(QStringLiteral("nao-existe.txt")))).status,
             script::ReadStatus::Unreadable);
    // A stored text of exactly the limit is read; one byte more is refused.
    lib.write(QStringLiteral("s.txt"), "\"" + QByteArray(script::kMaxStoredBytes, 'x') + "\"\r\n");
    QCOMPARE(script::read(path).text.size(), script::kMaxStoredBytes);
    lib.write(QStringLiteral("s.txt"), "\"" + QByteArray(script::kMaxStoredBytes + 1, 'x') + "\"\r\n");
    QCOMPARE(script::read(path).status, script::ReadStatus::TooBig);
    // No temporary file is left beside the script.
    QCOMPARE(lib.entries(), QStringList{QStringLiteral("s.txt")});
}

void TestLibrary::writeFailureLeavesOldFileIntact()
{
    TempLibrary lib;
    // A folder standing where the file must go fails for root too.
    lib.mkdir(QStringLiteral("ocupado.txt"));
    const Outcome r = script::writeFile(fs::fromQString(lib.path(QStringLiteral("ocupado.txt"))), QStringLiteral("x"));
    QCOMPARE(r.code, Outcome::Code::WriteFailed);
    QVERIFY(QFileInfo(lib.path(QStringLiteral("ocupado.txt"))).isDir());
    // A missing category folder fails without creating it.
    QCOMPARE(script::writeFile(fs::fromQString(lib.path(QStringLiteral("sumiu/a.txt"))), QStringLiteral("x")).code,
             Outcome::Code::WriteFailed);
    QVERIFY(!lib.exists(QStringLiteral("sumiu")));
}

void TestLibrary::readStopsWhereTheStoredTextEnds()
{
    TempLibrary lib;
    const auto read = [&](const char* name) { return script::read(fs::fromQString(lib.path(QLatin1String(name)))); };
    // Past the first block read, a script still comes whole.
    const QByteArray longText(200 * 1024, 'a');
    lib.write(QStringLiteral("longo.txt"), '"' + longText + "\"\r\n");
    lib.write(QStringLiteral("linha.txt"), longText + "\r\nsegunda");
    QCOMPARE(read("longo.txt").text, QString::fromLatin1(longText));
    QCOMPARE(read("linha.txt").text, QString::fromLatin1(longText));
    // A huge file: its first line only, or a refusal when the text goes on.
    for (const char* name : {"enorme.txt", "aberto.txt"}) {
        QFile f(lib.path(QLatin1String(name)));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(qstrcmp(name, "enorme.txt") == 0 ? "primeira\r\n" : "\"sem fim ");
        QVERIFY(f.resize(script::kMaxStoredBytes + 4096));
    }
    QCOMPARE(read("enorme.txt").text, QStringLiteral("primeira"));
    QCOMPARE(read("aberto.txt").status, script::ReadStatus::TooBig);
}

void TestLibrary::numeric2Bytes_data()
{
    QTest::addColumn<double>("count");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << 0.0 << QString();
    QTest::newRow("0.5") << 0.5 << QString();
    QTest::newRow("1") << 1.0 << QStringLiteral("1 bytes");
    QTest::newRow("1023") << 1023.0 << QStringLiteral("1023 bytes");
    QTest::newRow("1024") << 1024.0 << QStringLiteral("1 Kb");
    QTest::newRow("1536") << 1536.0 << QStringLiteral("1.5 Kb");
    QTest::newRow("1048575") << 1048575.0 << QStringLiteral("1024 Kb");
    QTest::newRow("1048576") << 1048576.0 << QStringLiteral("1 Mb");
    QTest::newRow("1073741824") << 1073741824.0 << QStringLiteral("1 Gb");
    QTest::newRow("two decimals") << 1234.0 << QStringLiteral("1.21 Kb");
    QTest::newRow("tie to even down") << 1024.0 * 1.125 << QStringLiteral("1.12 Kb");
    QTest::newRow("tie to even up") << 1024.0 * 1.375 << QStringLiteral("1.38 Kb");
    QTest::newRow("no group separator") << 1024.0 * 1024 * 1024 * 2000 << QStringLiteral("2000 Gb");
    QTest::newRow("4 TiB stays Gb") << 1024.0 * 1024 * 1024 * 1024 * 4 << QStringLiteral("4096 Gb");
}

void TestLibrary::numeric2Bytes()
{
    QFETCH(double, count);
    QFETCH(QString, text);
    QCOMPARE(Numeric2Bytes(count, QLocale::c()), text);
}

void TestLibrary::numeric2BytesUsesLocaleSeparator()
{
    const QLocale br(QLocale::Portuguese, QLocale::Brazil);
    QCOMPARE(Numeric2Bytes(1536, br), QStringLiteral("1,5 Kb"));
    QCOMPARE(Numeric2Bytes(1023, br), QStringLiteral("1023 bytes"));
    QCOMPARE(Numeric2Bytes(1024.0 * 1024 * 1024 * 1500, br), QStringLiteral("1500 Gb"));
}

void TestLibrary::soNumerosAcceptsTheAllowedSetOnly()
{
    QCOMPARE(names::allowedSet().size(), 66);
    for (QChar c : names::allowedSet())
        QCOMPARE(names::SoNumeros(c.unicode()), QString::number(c.unicode()));
    QCOMPARE(names::SoNumeros(8), QStringLiteral("8"));
    for (int refused : std::initializer_list<int>{13, 3, 22, 24, 0xE1 /* á */, 0xE7 /* ç */, '/', '\\', '*', '"', ':', '>', 0x2603})
        QCOMPARE(names::SoNumeros(refused), QStringLiteral("0"));
    QCOMPARE(names::filtered(QStringLiteral("../Açaí x_1")), QStringLiteral("..Aa x_1"));
}

void TestLibrary::unsafeNamesAreRecognised_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("safe");
    QTest::newRow("plain") << QStringLiteral("Notas 2") << true;
    QTest::newRow("dots inside") << QStringLiteral("v1.2-x_y") << true;
    QTest::newRow("dot dot") << QStringLiteral("..") << false;
    QTest::newRow("dot") << QStringLiteral(".") << false;
    QTest::newRow("dots") << QStringLiteral("....") << false;
    QTest::newRow("ends with dot") << QStringLiteral("abc.") << false;
    QTest::newRow("leading dot hides") << QStringLiteral(".x") << false;
    QTest::newRow("slash") << QStringLiteral("../x") << false;
    QTest::newRow("backslash") << QStringLiteral("a\\b") << false;
    QTest::newRow("colon") << QStringLiteral("c:x") << false;
    QTest::newRow("control") << QStringLiteral("a\tb") << false;
    QTest::newRow("reserved") << QStringLiteral("con") << false;
    QTest::newRow("reserved with ext") << QStringLiteral("LPT1.txt") << false;
    QTest::newRow("empty") << QString() << false;
}

void TestLibrary::unsafeNamesAreRecognised()
{
    QFETCH(QString, name);
    QFETCH(bool, safe);
    QCOMPARE(!names::problemOf(name), safe);
}

void TestLibrary::categoryListingAndCounts()
{
    TempLibrary lib;
    for (const char* c : {"beta", "Alpha", "gamma", ".oculta"})
        lib.mkdir(QString::fromLatin1(c));
    lib.write(QStringLiteral("solto.txt"), "x");
    Library library(lib.scripts());
    QStringList shown;
    for (const Item& item : library.categories())
        shown << item.shown;
    QCOMPARE(shown, (QStringList{"Alpha", "beta", "gamma"}));

    // What a category lists, counts and measures is checked through the window.
    lib.write(QStringLiteral("beta/notas.txt"), "\"n\"\r\n");
    QCOMPARE(library.scriptPath("beta", "x"), fs::fromQString(lib.scripts() + "/beta/x.txt"));
    QCOMPARE(Library::taken(library.categoryPath("beta"), QStringLiteral("NOTAS.TXT")), QStringLiteral("notas.txt"));
    QCOMPARE(sortedInsertPosition({"a", "C"}, QStringLiteral("b")), 1);

    // The batch sort and the one-by-one insertion agree on any names.
    QStringList names, inserted;
    const QString letters = QStringLiteral("aAbBzZ_-. 1éÉçÇ");
    for (int i = 0; i < 400; ++i) {
        QString n;
        for (int j = 0; j < 1 + i % 4; ++j)
            n += letters[(i * 7 + j * 13) % letters.size()];
        names << n;
        inserted.insert(sortedInsertPosition(inserted, n), n);
    }
    sortForList(names);
    QCOMPARE(names, inserted);
    QVERIFY(std::is_sorted(names.begin(), names.end(), listLess));
}

void TestLibrary::strayFilesRemovedHiddenKept()
{
    TempLibrary lib;
    lib.write(QStringLiteral("solto.txt"), "x");
    lib.write(QStringLiteral("outro"), "x");
    lib.write(QStringLiteral(".oculto"), "x");
    lib.mkdir(QStringLiteral("Cat"));
    lib.write(QStringLiteral("Cat/dentro.txt"), "x");
    QCOMPARE(Library(lib.scripts()).removeStrayFiles(), QStringList());
    QCOMPARE(lib.entries(), (QStringList{".oculto", "Cat"}));
    QVERIFY(lib.exists(QStringLiteral("Cat/dentro.txt")));
}

void TestLibrary::foldTableMatchesCaseNotAccents()
{
    const auto& fold = cp1252::foldTable();
    QCOMPARE(fold['S'], uchar('s'));
    QCOMPARE(fold[0xC7], uchar(0xE7));  // Ç ç
    QCOMPARE(fold[0x8A], uchar(0x9A));  // Š š
    QCOMPARE(fold[0x9F], uchar(0xFF));  // Ÿ ÿ
    QCOMPARE(fold[0xD7], uchar(0xD7));  // ×
    QVERIFY(fold[0xE7] != fold['c']);
    QCOMPARE(fold[0xDF], uchar(0xDF));  // ß
}

QTEST_GUILESS_MAIN(TestLibrary)
#include "tst_library.moc"
