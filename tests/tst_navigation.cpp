// The header's picture buttons: twins under the pointer and what their clicks open.
#include "help/WebSite.h"
#include "support/MainDriver.h"

#include <QUrl>

using namespace corvane;
using namespace corvane::test;

namespace {

QList<QUrl> g_opened;
void recordOpening(const QUrl& url)
{
    g_opened.append(url);
}

// Moves the real pointer to the centre of a control, or to a point of the window.
void moveOnto(QWidget* widget)
{
    QTest::mouseMove(widget, widget->rect().center());
}

}  // namespace

class TestNavigation : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void hoverShowsTwinsAndOnlyBackgroundOrHeaderHidesThem();
    void twinsOpenTheirWindowsAndStayShown();
    void websiteTwinOpensTheAddressEachClick();

private:
    QWidget* twin(const char* name) { return control<Picture>(window_, name); }
    QStringList shownTwins()
    {
        return namesWhere(window_, {"imageHelpOn", "imageCreditoOn", "imageBkOn", "imageSiteOn"},
                          [](QWidget* c) { return c->isVisible(); });
    }
    void moveToBackground()
    {
        // The gap between the category and script lists: no control there.
        const QPoint spot(134, 133);
        QVERIFY(window_->childAt(spot) == nullptr);
        QTest::mouseMove(window_, spot);
    }

    TempLibrary* lib_ = nullptr;
    MainWindow* window_ = nullptr;
};

void TestNavigation::init()
{
    lib_ = new TempLibrary;
    lib_->mkdir(QStringLiteral("Geral"));
    SystemHooks hooks;
    hooks.openSite = recordOpening;
    window_ = new MainWindow(lib_->scripts(), hooks);
    window_->loadCategories();
    QVERIFY(showActive(window_));
    g_opened.clear();
}

void TestNavigation::cleanup()
{
    delete window_;
    delete lib_;
}

void TestNavigation::hoverShowsTwinsAndOnlyBackgroundOrHeaderHidesThem()
{
    QCOMPARE(shownTwins(), QStringList());
    moveToBackground();
    QCOMPARE(shownTwins(), QStringList());

    // Background -> backup icon -> web site icon -> background.
    moveOnto(control<Picture>(window_, "imageBk"));
    QCOMPARE(shownTwins(), QStringList{"imageBkOn"});
    moveOnto(control<Picture>(window_, "imgSite"));
    QCOMPARE(shownTwins(), (QStringList{"imageBkOn", "imageSiteOn"}));
    moveToBackground();
    QCOMPARE(shownTwins(), QStringList());

    // From an icon down onto the category list, the text and a button: the twin stays.
    moveOnto(control<Picture>(window_, "imgHelp"));
    QCOMPARE(shownTwins(), QStringList{"imageHelpOn"});
    for (const char* other : {"lstDir01", "cxLerFile", "btnAddCat", "lblNameDir"})
        moveOnto(control(window_, other));
    QCOMPARE(shownTwins(), QStringList{"imageHelpOn"});

    // Resting on the twin keeps it; the header strip hides every twin.
    moveOnto(control<Picture>(window_, "imgCredito"));
    QTest::mouseMove(twin("imageCreditoOn"), QPoint(2, 2));
    QCOMPARE(shownTwins(), (QStringList{"imageHelpOn", "imageCreditoOn"}));
    moveOnto(control(window_, "imgCabeca"));
    QCOMPARE(shownTwins(), QStringList());

    // A click on a plain icon opens nothing.
    ModalWatcher watcher;
    QTest::mouseClick(control<Picture>(window_, "imgHelp"), Qt::LeftButton);
    QTest::qWait(30);
    QCOMPARE(watcher.unexpected, 0);
}

void TestNavigation::twinsOpenTheirWindowsAndStayShown()
{
    // The windows' own titles and contents are their tests' business.
    const struct { const char* icon; const char* twin; const char* window; } pairs[] = {
        {"imgHelp", "imageHelpOn", "frmHelp"},
        {"imgCredito", "imageCreditoOn", "frmCredito"},
        {"imageBk", "imageBkOn", "frmBackup"},
    };
    for (const auto& p : pairs) {
        moveToBackground();
        moveOnto(control<Picture>(window_, p.icon));
        QVERIFY(twin(p.twin)->isVisible());
        QString opened;
        bool modal = false, mainBlocked = false;
        ModalWatcher watcher;
        watcher.onDialog([&](QWidget* dialog) {
            opened = dialog->objectName();
            modal = dialog->isModal();
            mainBlocked = !window_->isEnabled() || QApplication::activeModalWidget() == dialog;
            dialog->close();  // the close box
        });
        QTest::mouseClick(twin(p.twin), Qt::LeftButton, {}, QPoint(3, 3));
        QCOMPARE(opened, QLatin1String(p.window));
        QVERIFY(modal);
        QVERIFY(mainBlocked);
        QCOMPARE(watcher.unexpected, 0);
        QCOMPARE(shownTwins(), QStringList{QLatin1String(p.twin)});
    }
    QVERIFY(g_opened.isEmpty());
}

void TestNavigation::websiteTwinOpensTheAddressEachClick()
{
    moveOnto(control<Picture>(window_, "imgSite"));
    ModalWatcher watcher;
    QTest::mouseClick(twin("imageSiteOn"), Qt::LeftButton, {}, QPoint(4, 4));
    QTest::mouseClick(twin("imageSiteOn"), Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(g_opened, (QList<QUrl>{QUrl(QStringLiteral("https://corvane.app/")),
                                    QUrl(QStringLiteral("https://corvane.app/"))}));
    QTest::qWait(30);
    QCOMPARE(watcher.unexpected, 0);
    QCOMPARE(shownTwins(), QStringList{"imageSiteOn"});
    QVERIFY(window_->isActiveWindow());
}

QTEST_MAIN(TestNavigation)
#include "tst_navigation.moc"
