#include "search/SearchPanel.h"

#include "search/SearchTexts.h"

#include "library/Names.h"
#include "library/ScriptFile.h"
#include "searchcore/TextSearch.h"
#include "widgets/Busy.h"
#include "widgets/Controls.h"
#include "widgets/KeyedList.h"
#include "widgets/Msg.h"
#include "widgets/Picture.h"
#include "widgets/TextViewer.h"
#include "widgets/Texts.h"
#include "widgets/Twips.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>

namespace corvane {
namespace {

constexpr int kNameRole = Qt::UserRole + 1;
constexpr int kCategoryRole = Qt::UserRole + 2;
constexpr int kFileNameRole = Qt::UserRole + 3;

}  // namespace

SearchPanel::SearchPanel(const Library& library, QWidget* window, const KeyedList& categories, TextViewer& viewer)
    : QObject(window)
    , library_(library)
    , window_(window)
    , categories_(categories)
    , viewer_(viewer)
{
    build(window);
    connectControls(window);
}

void SearchPanel::build(QWidget* window)
{
    using controls::button;
    using controls::picture;
    text_ = controls::place(new QLineEdit(window), "cxSearch", twips(240, 600, 1695, 255),
                            QStringLiteral("Texto da busca"));
    search_ = button(window, "btnSearch", QStringLiteral("Buscar"), twips(1935, 600, 700, 255));
    close_ = button(window, "btnCloseSearch", QStringLiteral("X"), twips(4100, 600, 300, 255),
                    QStringLiteral("Fechar Busca"));
    close_->setToolTip(QStringLiteral(" Fechar Busca "));
    // Created after the header, whose size line lies under the list here.
    results_ = controls::place(new QListWidget(window), "lstFile02", twips(240, 840, 4150, 3335),
                               QStringLiteral("Resultados da busca"));
    results_->setSelectionMode(QAbstractItemView::SingleSelection);
    results_->setUniformItemSizes(true);
    controls::tipCutEntries(results_);
    save_ = button(window, "btnEditText2", QStringLiteral("Editar"), twips(4560, 4200, 1095, 330));
    smaller_ = controls::magnifier(window, "imgMenos2", false, twips(7320, 625, 240, 180));
    larger_ = controls::magnifier(window, "imgMais2", true, twips(7560, 625, 240, 180));
    for (QWidget* w : std::initializer_list<QWidget*>{text_, search_, close_, results_, save_, smaller_, larger_})
        w->hide();
    save_->setEnabled(false);
}

void SearchPanel::connectControls(QWidget* window)
{
    connect(search_, &QPushButton::clicked, this, &SearchPanel::runSearch);
    connect(close_, &QPushButton::clicked, this, &SearchPanel::close);
    // The selection, not the current row: tabbing into the list makes an entry
    // current without choosing it.
    connect(results_, &QListWidget::itemSelectionChanged, this, [this] {
        if (!results_->selectedItems().isEmpty())
            chooseResult();
    });
    connect(save_, &QPushButton::clicked, this, [this] { emit saveRequested(chosenResult()); });
    // F3 and Shift+F3 go from one place of the search text to the next.
    for (const bool backwards : {false, true}) {
        auto* shortcut = new QShortcut(backwards ? QKeySequence(Qt::SHIFT | Qt::Key_F3) : QKeySequence(Qt::Key_F3),
                                       window);
        connect(shortcut, &QShortcut::activated, this, [this, backwards] {
            if (open_)
                viewer_.marks().step(backwards);
        });
    }
    connect(larger_, &Picture::clicked, this, [this] {
        if (resultChosen())
            setEnlarged(true);
    });
    connect(smaller_, &Picture::clicked, this, [this] {
        if (resultChosen())
            setEnlarged(false);
    });
}

void SearchPanel::open()
{
    // The panel comes up before the opener goes, so the focus has a place to go.
    for (QWidget* w : std::initializer_list<QWidget*>{results_, text_, search_, close_, save_, smaller_, larger_})
        w->show();
    emit opening();
    emit linesChanged(searchTexts::prompt(), searchTexts::scope());
    open_ = true;
    text_->setFocus();
}

void SearchPanel::runSearch()
{
    // Blanks only: tabs and other spaces are part of the search text.
    const QString text = names::trimBlanks(text_->text());
    if (text.isEmpty()) {
        msg::ok(window_, texts::nameNeeded(), searchTexts::title());
        text_->clear();
        return;
    }
    if (text.size() < 2) {
        msg::ok(window_, searchTexts::tooShort(), searchTexts::title());
        return;
    }
    results_->clear();
    viewer_.clear();
    searched_ = text;

    const Items categories = categories_.entries();
    const search::Needle needle(text);
    QList<search::Searcher::Hit> hits;
    search::Searcher::Progress progress;
    QElapsedTimer clock;
    clock.start();
    // A search that ends within half a second looks as it always did; a longer
    // one says where it is, and Esc stops it with what it found so far.
    runStoppable([&] { hits = search::Searcher(library_).run(categories, needle, &progress); },
                 [&] {
                     if (clock.elapsed() >= 500 && progress.total > 0)
                         emit found(searchTexts::progress(progress.read.load(), progress.total.load()));
                 },
                 [&] { progress.stop = true; });

    results_->setUpdatesEnabled(false);
    for (const search::Searcher::Hit& hit : hits) {
        auto* item = new QListWidgetItem(hit.line, results_);
        item->setData(kNameRole, hit.name);
        item->setData(kCategoryRole, hit.category);
        item->setData(kFileNameRole, hit.fileName);
    }
    results_->setUpdatesEnabled(true);
    emit found(searchTexts::outcome(hits.size(), progress.stopped()));
}

ScriptRef SearchPanel::chosenResult() const
{
    const QList<QListWidgetItem*> chosen = results_->selectedItems();
    if (chosen.isEmpty())
        return {};
    const QListWidgetItem* item = chosen.first();
    const QByteArray category = item->data(kCategoryRole).toByteArray();
    return {item->data(kNameRole).toString(), fs::shownName(category), category,
            item->data(kFileNameRole).toByteArray()};
}

void SearchPanel::chooseResult()
{
    // A file that cannot be read shows an empty viewer; the search goes on as before.
    const ScriptRef result = chosenResult();
    const fs::Path path = library_.pathOf(result);
    const script::ReadResult read = script::read(path);
    viewer_.script().show(path, read);
    viewer_.marks().markAll(searched_);
    emit resultShown();
    // Saving over a script that was never loaded would throw its text away.
    save_->setEnabled(read.status != script::ReadStatus::TooBig);
    if (read.status == script::ReadStatus::TooBig)
        msg::ok(window_, texts::tooBig(result.name));
}

bool SearchPanel::resultChosen()
{
    if (!results_->selectedItems().isEmpty())
        return true;
    msg::ok(window_, texts::fileNeeded(), texts::viewingTitle());
    return false;
}

void SearchPanel::setEnlarged(bool enlarged)
{
    for (QWidget* w : std::initializer_list<QWidget*>{results_, text_, search_, close_})
        w->setVisible(!enlarged);
    emit viewerEnlarged(enlarged);
}

void SearchPanel::close()
{
    // Hiding the focused panel control would hand the focus on along the tab
    // chain, into the category list, whose focus rule would then disable the
    // buttons the closing leaves alone. The viewer stays in place throughout.
    if (QApplication::focusWidget() && QApplication::focusWidget()->window() == window_)
        viewer_.setFocus();
    save_->setEnabled(false);
    for (QWidget* w : std::initializer_list<QWidget*>{save_, results_, text_, search_, close_, smaller_, larger_})
        w->hide();
    results_->clear();
    text_->clear();
    open_ = false;
    emit closed();
}

}  // namespace corvane
