// The search core: the byte matcher against a plain reference, and the walk over
// the library.
#include "library/Cp1252.h"
#include "library/ScriptFile.h"
#include "searchcore/TextSearch.h"
#include "support/TestSupport.h"

#include <QRandomGenerator>
#include <QTest>

#include <dirent.h>
#include <sys/stat.h>

#include <thread>

using namespace corvane;
using corvane::test::TempLibrary;
namespace raw = corvane::test::raw;

namespace {

// The obvious algorithm: decode, lower-case each character, compare at every
// position, skipping past each occurrence.
qsizetype referenceCount(const QByteArray& stored, const QString& needle)
{
    const QString hay = cp1252::decode(stored);
    if (needle.isEmpty())
        return 0;
    qsizetype count = 0;
    for (qsizetype i = 0; i + needle.size() <= hay.size();) {
        bool same = true;
        for (qsizetype j = 0; j < needle.size() && same; ++j)
            same = hay[i + j].toLower() == needle[j].toLower();
        if (same) {
            ++count;
            i += needle.size();
        } else {
            ++i;
        }
    }
    return count;
}

Items cats(const QStringList& names)
{
    Items items;
    for (const QString& name : names)
        items.append({name, name.toUtf8()});
    return items;
}

QStringList lines(const QList<search::Searcher::Hit>& hits)
{
    QStringList out;
    for (const auto& hit : hits)
        out.append(hit.line);
    return out;
}

// Category and file bytes of each hit.
using Found = QList<std::pair<QByteArray, QByteArray>>;

Found found(const QList<search::Searcher::Hit>& hits)
{
    Found out;
    for (const auto& hit : hits)
        out.append({hit.category, hit.fileName});
    return out;
}

// The search done the plain way: one file at a time, in each folder's order,
// each read whole, its stored text decoded and compared character by character.
Found oneAtATime(const TempLibrary& lib, const Items& categories, const QString& needle)
{
    Found out;
    for (const Item& category : categories) {
        DIR* d = ::opendir(lib.rawPath(category.key).constData());
        if (!d)
            continue;
        while (const dirent* e = ::readdir(d)) {
            const QByteArray name(e->d_name);
            const QByteArray path = lib.rawPath(category.key) + '/' + name;
            struct stat st;
            if (name.startsWith('.') || !name.toLower().endsWith(".txt") || name.size() < 5
                || ::stat(path.constData(), &st) != 0 || !S_ISREG(st.st_mode))
                continue;
            if (referenceCount(script::storedText(raw::read(path)).toByteArray(), needle) > 0)
                out.append({category.key, name});
        }
        ::closedir(d);
    }
    return out;
}

}  // namespace

class TestSearchCore : public QObject {
    Q_OBJECT
private slots:
    void caseMatchesButAccentsDoNot_data();
    void caseMatchesButAccentsDoNot();
    void agreesWithReferenceOnRandomTexts();
    void unencodableNeedleMatchesNothing();
    void resultLinesSplitBack();
    void walksCategoriesInListOrder();
    void matchesStoredTextOnly();
    void unreadableAndMissingAreSkipped();
    void manyReadersFindWhatOneAtATimeFinds();
};

void TestSearchCore::caseMatchesButAccentsDoNot_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("needle");
    QTest::addColumn<int>("count");
    QTest::newRow("upper finds lower") << QStringLiteral("use select and Select") << QStringLiteral("SELECT") << 2;
    QTest::newRow("accent differs") << QStringLiteral("ação") << QStringLiteral("acao") << 0;
    QTest::newRow("accented case") << QStringLiteral("AÇÃO e ação") << QStringLiteral("ação") << 2;
    QTest::newRow("no overlap") << QStringLiteral("aaaa") << QStringLiteral("aa") << 2;
    QTest::newRow("S caron") << QStringLiteral("Šš") << QStringLiteral("ŠŠ") << 1;
    QTest::newRow("y diaeresis") << QStringLiteral("Ÿ") << QStringLiteral("ÿ") << 1;
    QTest::newRow("sharp s alone") << QStringLiteral("straße") << QStringLiteral("STRASSE") << 0;
    QTest::newRow("at end") << QStringLiteral("xxab") << QStringLiteral("AB") << 1;
    QTest::newRow("longer than text") << QStringLiteral("ab") << QStringLiteral("abc") << 0;
    QTest::newRow("line break inside") << QStringLiteral("a\r\nb") << QStringLiteral("A\r\nB") << 1;
}

void TestSearchCore::caseMatchesButAccentsDoNot()
{
    QFETCH(QString, text);
    QFETCH(QString, needle);
    QFETCH(int, count);
    const QByteArray bytes = cp1252::encode(text).bytes;
    search::Needle n(needle);
    QCOMPARE(n.foundIn(bytes), count > 0);
    QCOMPARE(referenceCount(bytes, needle), qsizetype(count));
}

void TestSearchCore::agreesWithReferenceOnRandomTexts()
{
    // A small alphabet of letters in both cases, accented pairs and neighbours, so
    // that near-misses are frequent.
    const QString alphabet = QStringLiteral("aAbBsSšŠçÇcCéÉeEÿŸyY \"¤ßµ\r\n");
    QRandomGenerator rng(20261206);
    auto randomText = [&](int length) {
        QString s;
        for (int i = 0; i < length; ++i)
            s += alphabet[rng.bounded(int(alphabet.size()))];
        return s;
    };
    for (int round = 0; round < 20000; ++round) {
        const QByteArray hay = cp1252::encode(randomText(rng.bounded(0, 60))).bytes;
        const QString needle = randomText(rng.bounded(1, 4));
        search::Needle n(needle);
        QCOMPARE(n.foundIn(hay), referenceCount(hay, needle) > 0);
        // Whole files too: quoted, unclosed, and from other programs.
        for (const QByteArray& file : {"\"" + hay + "\"\r\n", " \"" + hay, hay + "\r\n" + hay}) {
            const QByteArray stored = script::storedText(file).toByteArray();
            QCOMPARE(n.foundInStoredText(file), referenceCount(stored, needle) > 0);
        }
    }
    // Every pair of Windows-1252 bytes as a one-character needle and haystack.
    for (int a = 1; a < 256; ++a) {
        const QByteArray hay(1, char(a));
        for (int b = 1; b < 256; ++b) {
            const QString needle = cp1252::decode(QByteArray(1, char(b)));
            QCOMPARE(search::Needle(needle).foundIn(hay), referenceCount(hay, needle) > 0);
        }
    }
}

void TestSearchCore::unencodableNeedleMatchesNothing()
{
    search::Needle n(QStringLiteral("☃x"));
    QVERIFY(!n.matchable());
    QVERIFY(!n.foundIn("anything"));
}

void TestSearchCore::resultLinesSplitBack()
{
    QCOMPARE(search::resultLine(QStringLiteral("Notes"), QStringLiteral("Misc")), QStringLiteral("Notes --> Misc"));
    const auto [name, category] = search::splitResultLine(QStringLiteral("a b --> c d"));
    QCOMPARE(name, QStringLiteral("a b"));
    QCOMPARE(category, QStringLiteral("c d"));
    QCOMPARE(search::splitResultLine(QStringLiteral("sem")).second, QString());
}

void TestSearchCore::walksCategoriesInListOrder()
{
    TempLibrary lib;
    lib.mkdir(QStringLiteral("Misc"));
    lib.mkdir(QStringLiteral("alfa"));
    lib.mkdir(QStringLiteral("vazia"));
    lib.write(QStringLiteral("Misc/Notes.TXT"), "\"tem chave\"\r\n");
    lib.write(QStringLiteral("Misc/b.txt"), "\"CHAVE\"\r\n");
    lib.write(QStringLiteral("Misc/c.doc"), "\"chave\"\r\n");
    lib.write(QStringLiteral("Misc/.oculto.txt"), "\"chave\"\r\n");
    lib.mkdir(QStringLiteral("Misc/pasta.txt"));
    lib.write(QStringLiteral("alfa/um.txt"), "\"chave\"\r\n");
    lib.write(QStringLiteral("alfa/chave.txt"), "\"nada\"\r\n");  // names are not searched
    Library library(lib.scripts());
    search::Searcher searcher(library);
    const auto hits = searcher.run(cats({"alfa", "Misc", "vazia"}), search::Needle(QStringLiteral("chave")));
    for (const auto& hit : hits)
        if (hit.line.startsWith(QStringLiteral("Notes")))
            QCOMPARE(hit.fileName, QByteArray("Notes.TXT"));
    QStringList results = lines(hits);
    QCOMPARE(results.size(), 3);
    QCOMPARE(results[0], QStringLiteral("um --> alfa"));
    results.removeFirst();
    results.sort();
    QCOMPARE(results, (QStringList{"Notes --> Misc", "b --> Misc"}));
    // Only the categories asked for are searched.
    QCOMPARE(searcher.run(cats({"Misc"}), search::Needle(QStringLiteral("chave"))).size(), 2);
}

void TestSearchCore::matchesStoredTextOnly()
{
    TempLibrary lib;
    lib.mkdir(QStringLiteral("C"));
    QCOMPARE(script::writeFile(fs::fromQString(lib.path(QStringLiteral("C/q.txt"))), QStringLiteral("diz \"oi\" já")).code,
             Outcome::Code::Done);
    lib.write(QStringLiteral("C/outro.txt"), "primeira, depois\r\nsegunda linha");
    Library library(lib.scripts());
    search::Searcher s(library);
    auto find = [&](const QString& text) { return lines(s.run(cats({"C"}), search::Needle(text))); };
    QCOMPARE(find(QStringLiteral("\"oi\"")), QStringList());
    QCOMPARE(find(QStringLiteral("¤OI¤")), QStringList{QStringLiteral("q --> C")});
    QCOMPARE(find(QStringLiteral("JÁ")), QStringList{QStringLiteral("q --> C")});
    QCOMPARE(find(QStringLiteral("primeira")), QStringList{QStringLiteral("outro --> C")});
    QCOMPARE(find(QStringLiteral("depois")), QStringList());
    QCOMPARE(find(QStringLiteral("segunda")), QStringList());
}

void TestSearchCore::unreadableAndMissingAreSkipped()
{
    TempLibrary lib;
    lib.mkdir(QStringLiteral("C"));
    lib.write(QStringLiteral("C/a.txt"), "\"alvo\"\r\n");
    lib.write(QStringLiteral("C/vazio.txt"), "");
    lib.write(QStringLiteral("C/z.txt"), "\"alvo\"\r\n");
    Library library(lib.scripts());
    search::Searcher s(library);
    QCOMPARE(s.run(cats({"sumiu", "C"}), search::Needle(QStringLiteral("alvo"))).size(), 2);
    // A long text is read on to its end; one past the size the program opens is
    // read no further than that size.
    lib.write(QStringLiteral("C/grande.txt"), "\"" + QByteArray(100000, 'x') + "alvo\"\r\n");
    QCOMPARE(s.run(cats({"C"}), search::Needle(QStringLiteral("ALVO"))).size(), 3);
    const QByteArray huge(script::kMaxStoredBytes, 'x');
    lib.write(QStringLiteral("C/grande.txt"), "\"" + huge + "alvo\"\r\n");
    lib.write(QStringLiteral("C/imenso.txt"), "\"alvo" + huge + "\"\r\n");
    QCOMPARE(lines(s.run(cats({"C"}), search::Needle(QStringLiteral("alvo")))).size(), 3);
    QVERIFY(!lines(s.run(cats({"C"}), search::Needle(QStringLiteral("alvo")))).contains(QStringLiteral("grande --> C")));
}

void TestSearchCore::manyReadersFindWhatOneAtATimeFinds()
{
    // Random texts of a small alphabet, quoted or not, some longer than one read;
    // beside them entries that are no script file or cannot be read.
    TempLibrary lib;
    QRandomGenerator rng(20261207);
    const QString alphabet = QStringLiteral("aAbB çÇ¤\"\r\n,");
    Items categories;
    for (int c = 0; c < 12; ++c) {
        const QByteArray key = "Cat " + QByteArray::number(c) + (c % 4 == 0 ? "\xe9" : "");
        categories.append({fs::shownName(key), key});
        raw::mkdir(lib.rawPath(key));
        for (int f = 0; f < 40; ++f) {
            // A long one is quoted and has no quote inside, so its text goes on
            // past the first read.
            const bool longer = rng.bounded(8) == 0;
            QString text = longer || rng.bounded(3) ? QStringLiteral(" \"") : QString();
            const int length = longer ? rng.bounded(60000, 140000) : rng.bounded(0, 40);
            for (int i = 0; i < length; ++i)
                text += alphabet[rng.bounded(int(alphabet.size()) - (longer ? 4 : 0))];
            const char* ext[] = {".txt", ".TXT", ".Txt", ".doc", ""};
            raw::write(lib.rawPath(key + "/s" + QByteArray::number(f) + ext[rng.bounded(5)]), cp1252::encode(text).bytes);
        }
        // A rare needle where one read of the file may end and the next begin.
        const int at = 65530 + c;
        raw::write(lib.rawPath(key + "/borda.txt"), " \"" + QByteArray(at, 'x') + "\xc7\xe7\xc7\xe7\"");
        raw::write(lib.rawPath(key + "/.oculto.txt"), "\"ab\"");
        raw::mkdir(lib.rawPath(key + "/pasta.txt"));
        raw::symlink("nada", lib.rawPath(key + "/quebrado.txt"));
        raw::symlink("s1.txt", lib.rawPath(key + "/atalho.txt"));
        raw::symlink("cano.txt", lib.rawPath(key + "/ligado.txt"));
        QVERIFY(::mkfifo(lib.rawPath(key + "/cano.txt").constData(), 0644) == 0);
    }
    categories.append({QStringLiteral("sumiu"), "sumiu"});
    Library library(lib.scripts());
    for (const QString& needle : {QStringLiteral("ab"), QStringLiteral("ÇçÇç"), QStringLiteral("¤ a")}) {
        const Found expected = oneAtATime(lib, categories, needle);
        QVERIFY(expected.size() > 10);
        for (int readers : {1, 3, 16})
            QCOMPARE(found(search::Searcher(library, readers).run(categories, search::Needle(needle))), expected);
    }

    // Files removed while the search runs: what is found is still in order, and
    // every file left in place is found.
    const Found before = oneAtATime(lib, categories, QStringLiteral("ab"));
    Found gone;
    for (qsizetype i = 0; i < before.size(); i += 3)
        if (before[i].second != "s1.txt")  // a link leads there
            gone.append(before[i]);
    std::thread remover([&] {
        for (const auto& [category, file] : gone)
            ::unlink(lib.rawPath(category + '/' + file).constData());
    });
    const Found during = found(search::Searcher(library, 16).run(categories, search::Needle(QStringLiteral("ab"))));
    remover.join();
    qsizetype at = 0;
    for (const auto& hit : before) {
        if (at < during.size() && during[at] == hit)
            ++at;
        else
            QVERIFY(gone.contains(hit));
    }
    QCOMPARE(at, during.size());
}

QTEST_GUILESS_MAIN(TestSearchCore)
#include "tst_search_core.moc"
