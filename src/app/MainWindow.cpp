#include "app/MainWindow.h"

#include "browse/Browser.h"
#include "browse/Panes.h"
#include "editing/CategoryEditor.h"
#include "editing/ScriptEditor.h"
#include "editing/TextEditor.h"
#include "help/CreditsWindow.h"
#include "help/HelpWindow.h"
#include "printing/PrintDialog.h"
#include "search/SearchPanel.h"
#include "widgets/Controls.h"
#include "widgets/KeyedList.h"
#include "widgets/Msg.h"
#include "widgets/TextViewer.h"

#include <QIcon>

namespace corvane {

MainWindow::MainWindow(const QString& scriptsDir, SystemHooks hooks, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
    , library_(scriptsDir)
    , hooks_(std::move(hooks))
{
    setObjectName(QStringLiteral("frmPrincipal"));
    setWindowTitle(msg::appTitle());
    setWindowIcon(QIcon(controls::pictureFile("icon.svg")));
    setMouseTracking(true);
    controls::fixClientSize(this, 8295, 4665);

    // The order of making is the order of stacking: the search panel's controls
    // lie over the columns they replace.
    header_ = new HeaderPane(this);
    categories_ = new ListPane(this, ListPane::Kind::Categories);
    scripts_ = new ListPane(this, ListPane::Kind::Scripts);
    viewer_ = new ViewerPane(this);
    browser_ = new Browser(library_, this, *header_, *categories_, *scripts_, *viewer_);
    search_ = new SearchPanel(library_, this, *categories_->list(), *viewer_->viewer());

    wireEditing();
    wireSearch();
    wireHeader();
    setTabOrder();
}

MainWindow::~MainWindow()
{
    // The behaviour goes first: destroying the controls sends focus and hide
    // events that its filters would otherwise handle on a half-destroyed window.
    delete search_;
    delete browser_;
}

void MainWindow::wireEditing()
{
    auto* categoryEditor = new CategoryEditor(library_, this, *categories_->list(), *categories_->nameBox());
    connect(categories_, &ListPane::addClicked, categoryEditor, &CategoryEditor::add);
    connect(categories_, &ListPane::renameClicked, categoryEditor, &CategoryEditor::rename);
    connect(categories_, &ListPane::deleteClicked, categoryEditor, &CategoryEditor::remove);
    connect(categoryEditor, &CategoryEditor::listsStale, browser_, &Browser::resyncLists);
    connect(categoryEditor, &CategoryEditor::categoriesStale, browser_, &Browser::reloadCategories);
    connect(categoryEditor, &CategoryEditor::firstCategoryWanted, browser_, &Browser::selectFirstCategory);

    auto* scriptEditor = new ScriptEditor(library_, this, *categories_->list(), *scripts_->list(),
                                          *scripts_->nameBox(), *viewer_->viewer());
    connect(scripts_, &ListPane::addClicked, scriptEditor, &ScriptEditor::add);
    connect(scripts_, &ListPane::renameClicked, scriptEditor, &ScriptEditor::rename);
    connect(scripts_, &ListPane::deleteClicked, scriptEditor, &ScriptEditor::remove);
    connect(scriptEditor, &ScriptEditor::listsStale, browser_, &Browser::resyncLists);
    connect(scriptEditor, &ScriptEditor::scriptDeleted, browser_, &Browser::scriptDeleted);
    // A script is dragged onto a category to move it there; categories stay put.
    scripts_->list()->allowDrags();
    categories_->list()->takeDropsFrom(scripts_->list());
    connect(categories_->list(), &KeyedList::entryDropped, scriptEditor, &ScriptEditor::move);
    connect(scriptEditor, &ScriptEditor::scriptMoved, browser_, &Browser::scriptMoved);

    auto* textEditor = new TextEditor(library_, this, *viewer_->viewer());
    connect(viewer_, &ViewerPane::saveClicked, this, [this, textEditor] {
        textEditor->save(browser_->chosenScript());
    });
    connect(search_, &SearchPanel::saveRequested, textEditor, &TextEditor::save);
    // Only the browsing lists show the disk; the results stay as found.
    connect(textEditor, &TextEditor::saveFailed, this, [this] {
        if (!search_->isOpen())
            browser_->resyncLists();
    });
    connect(viewer_, &ViewerPane::copyClicked, textEditor, &TextEditor::copy);
    connect(viewer_, &ViewerPane::printClicked, this, &MainWindow::openPrintWindow);
}

void MainWindow::wireSearch()
{
    connect(scripts_, &ListPane::searchClicked, search_, &SearchPanel::open);
    connect(search_, &SearchPanel::opening, browser_, &Browser::enterSearch);
    connect(search_, &SearchPanel::linesChanged, header_, &HeaderPane::showSearching);
    connect(search_, &SearchPanel::found, header_, &HeaderPane::showSearchLine);
    connect(search_, &SearchPanel::resultShown, browser_, [this] { browser_->apply(rules::Event::ResultShown); });
    connect(search_, &SearchPanel::viewerEnlarged, this, [this](bool enlarged) {
        viewer_->setEnlarged(enlarged);
        header_->setDetailShown(!enlarged);
    });
    connect(search_, &SearchPanel::closed, browser_, &Browser::leaveSearch);
}

void MainWindow::wireHeader()
{
    connect(header_, &HeaderPane::helpClicked, this, [this] {
        HelpWindow help(this);
        help.exec();
    });
    connect(header_, &HeaderPane::creditsClicked, this, [this] {
        CreditsWindow credits(this, hooks_.openSite);
        credits.exec();
    });
    connect(header_, &HeaderPane::backupClicked, this, [this] {
        BackupWindow backup(library_.root(), this, hooks_.backup);
        backup.exec();
    });
    connect(header_, &HeaderPane::siteClicked, this, [this] { site::open(hooks_.openSite); });
}

void MainWindow::openPrintWindow()
{
    // While the search panel is open, the script shown is the chosen result.
    const QString name = search_->isOpen() ? search_->chosenResult().name : browser_->chosenScript().name;
    PrintDialog dialog(name, viewer_->viewer()->rawText(), this, hooks_.printing);
    dialog.exec();
}

void MainWindow::setTabOrder()
{
    const char* const order[] = {"lstDir01",  "lstFile01",  "cxLerFile",  "btnCopy",   "btnEditFile",
                                 "btnDelFile", "btnEditText", "btnEditCat", "btnDelCat", "btnPrint",
                                 "cxRnmCat",  "cxRnmFile",  "btnAddCat",  "btnAddFile", "btnOpenSearch",
                                 "cxSearch",  "btnSearch",  "btnCloseSearch", "lstFile02", "btnEditText2"};
    QWidget* previous = nullptr;
    for (const char* name : order) {
        QWidget* next = findChild<QWidget*>(QLatin1String(name), Qt::FindDirectChildrenOnly);
        if (previous)
            QWidget::setTabOrder(previous, next);
        previous = next;
    }
}

void MainWindow::loadCategories()
{
    browser_->loadCategories();
}

void MainWindow::mouseMoveEvent(QMouseEvent* event)
{
    // The pointer left the picture buttons for the window's own background.
    header_->hideTwins();
    QWidget::mouseMoveEvent(event);
}

void MainWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (firstShow_.centre(this))
        categories_->list()->setFocus(Qt::OtherFocusReason);
}

}  // namespace corvane
