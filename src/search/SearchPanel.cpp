#include "search/SearchPanel.h"

#include "app/Busy.h"
#include "app/MainWindow.h"
#include "app/Msg.h"
#include "app/NameBox.h"
#include "app/Picture.h"
#include "app/TextViewer.h"
#include "app/Twips.h"
#include "browse/Browser.h"
#include "library/Names.h"
#include "library/ScriptFile.h"
#include "search/TextSearch.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace corvane {
namespace {

const QString kSearchTitle = QStringLiteral("Aviso Busca");
constexpr int kNameRole = Qt::UserRole + 1;
constexpr int kCategoryRole = Qt::UserRole + 2;
constexpr int kFileNameRole = Qt::UserRole + 3;

void moveLeft(QWidget* w, int leftTwips)
{
    w->move(px(leftTwips), w->y());
}

}  // namespace

SearchPanel::SearchPanel(MainWindow& window)
    : QObject(&window)
    , window_(window)
{
    const MainControls& c = window.controls();
    connect(c.btnOpenSearch, &QPushButton::clicked, this, &SearchPanel::open);
    connect(c.btnSearch, &QPushButton::clicked, this, &SearchPanel::runSearch);
    connect(c.btnCloseSearch, &QPushButton::clicked, this, &SearchPanel::close);
    // The selection, not the current row: tabbing into the list makes an entry
    // current without choosing it.
    connect(c.lstFile02, &QListWidget::itemSelectionChanged, this, [this] {
        if (!window_.controls().lstFile02->selectedItems().isEmpty())
            chooseResult();
    });
    connect(c.imgMais2, &Picture::clicked, this, &SearchPanel::enlarge);
    connect(c.imgMenos2, &Picture::clicked, this, &SearchPanel::restore);
}

void SearchPanel::open()
{
    const MainControls& c = window_.controls();
    for (QWidget* w : {static_cast<QWidget*>(c.lstDir01), static_cast<QWidget*>(c.lstFile01),
                       static_cast<QWidget*>(c.cxRnmCat), static_cast<QWidget*>(c.cxRnmFile)})
        w->hide();
    for (QPushButton* b : {c.btnAddCat, c.btnEditCat, c.btnDelCat, c.btnAddFile, c.btnEditFile, c.btnDelFile,
                           c.btnEditText})
        b->setEnabled(false);
    c.btnEditText->hide();
    c.btnCopy->setEnabled(false);
    c.btnPrint->setEnabled(false);
    c.Image4->hide();
    c.Image5->hide();
    c.lblNameDir->hide();
    c.lblNameFile->hide();
    c.cxLerFile->clear();
    c.lstFile01->clear();
    c.lstFile02->setGeometry(twips(240, 840, 4150, 3335));
    c.cxSearch->setGeometry(twips(240, 600, 1695, 255));
    c.btnSearch->setGeometry(twips(1935, 600, 700, 255));
    c.btnCloseSearch->setGeometry(twips(4100, 600, 300, 255));
    c.btnCloseSearch->setToolTip(QStringLiteral(" Fechar Busca "));
    for (QWidget* w : {static_cast<QWidget*>(c.lstFile02), static_cast<QWidget*>(c.cxSearch),
                       static_cast<QWidget*>(c.btnSearch), static_cast<QWidget*>(c.btnCloseSearch)})
        w->show();
    c.btnEditText2->setGeometry(twips(4560, 4200, 1095, 330));
    c.btnEditText2->show();
    c.lblTeste->setText(QStringLiteral("Digite sua busca abaixo"));
    moveLeft(c.lblTeste, 240);
    c.lblTamanho->setText(QStringLiteral("Buscando em todas as categorias"));
    c.lblTamanho->setGeometry(twips(1150, 3970, 3000, 255));
    c.imgMenos->hide();
    c.imgMais->hide();
    c.imgMenos2->setGeometry(twips(7320, 625, 240, 180));
    c.imgMais2->setGeometry(twips(7560, 625, 240, 180));
    c.imgMenos2->show();
    c.imgMais2->show();
    c.imageTit1->hide();
    c.imageTit2->hide();
    c.btnOpenSearch->hide();
    open_ = true;
    c.cxSearch->setFocus();
}

void SearchPanel::runSearch()
{
    const MainControls& c = window_.controls();
    // Blanks only: tabs and other spaces are part of the search text.
    const QString text = names::trimBlanks(c.cxSearch->text());
    if (text.isEmpty()) {
        msg::ok(&window_, QStringLiteral("Você precisa colocar um nome!"), kSearchTitle);
        c.cxSearch->clear();
        return;
    }
    if (text.size() < 2) {
        msg::ok(&window_, QStringLiteral("Só nomes a partir de 2 caracteres"), kSearchTitle);
        return;
    }
    c.lstFile02->clear();
    c.cxLerFile->clear();

    Items categories;
    for (int i = 0; i < c.lstDir01->count(); ++i)
        categories.append({c.lstDir01->item(i)->text(), Browser::keyOf(c.lstDir01->item(i))});
    const search::Needle needle(text);
    QList<search::Searcher::Hit> hits;
    runBusy([&] { hits = search::Searcher(window_.library()).run(categories, needle); });

    c.lstFile02->setUpdatesEnabled(false);
    for (const search::Searcher::Hit& hit : hits) {
        auto* item = new QListWidgetItem(hit.line, c.lstFile02);
        item->setData(kNameRole, hit.name);
        item->setData(kCategoryRole, hit.category);
        item->setData(kFileNameRole, hit.fileName);
    }
    c.lstFile02->setUpdatesEnabled(true);
    c.lblTeste->setText(hits.isEmpty() ? QStringLiteral("Não foi encontrado nenhum arquivo")
                                       : QStringLiteral("Encontrados %1 arquivos").arg(hits.size()));
}

void SearchPanel::chooseResult()
{
    const MainControls& c = window_.controls();
    // A file that cannot be read shows an empty viewer; the search goes on as before.
    const Result result = resultOf(c.lstFile02->selectedItems().value(0));
    const script::ReadResult read =
        script::read(window_.library().categoryPath(result.category) + '/' + result.fileName);
    c.cxLerFile->showText(read.status == script::ReadStatus::Ok ? script::fromCrLf(read.text) : QString());
    c.btnCopy->setEnabled(true);
    c.btnPrint->setEnabled(true);
    // Saving over a script that was never loaded would throw its text away.
    c.btnEditText2->setEnabled(read.status != script::ReadStatus::TooBig);
    if (read.status == script::ReadStatus::TooBig)
        msg::ok(&window_, msg::tooBig(result.name));
}

SearchPanel::Result SearchPanel::resultOf(const QListWidgetItem* item)
{
    if (!item)
        return {};
    return {item->data(kNameRole).toString(), item->data(kCategoryRole).toByteArray(),
            item->data(kFileNameRole).toByteArray()};
}

bool SearchPanel::resultChosen()
{
    if (!Browser::selectedText(window_.controls().lstFile02).isEmpty())
        return true;
    msg::ok(&window_, QStringLiteral("Você precisa selecionar um arquivo!"), QStringLiteral("Aviso visualização"));
    return false;
}

void SearchPanel::enlarge()
{
    if (resultChosen())
        setEnlarged(true);
}

void SearchPanel::restore()
{
    if (resultChosen())
        setEnlarged(false);
}

void SearchPanel::setEnlarged(bool enlarged)
{
    const MainControls& c = window_.controls();
    for (QWidget* w : {static_cast<QWidget*>(c.lstFile02), static_cast<QWidget*>(c.cxSearch),
                       static_cast<QWidget*>(c.btnSearch), static_cast<QWidget*>(c.btnCloseSearch),
                       static_cast<QWidget*>(c.lblTamanho)})
        w->setVisible(!enlarged);
    c.cxLerFile->setGeometry(enlarged ? twips(240, 840, 7815, 3285) : twips(4560, 840, 3495, 3285));
    moveLeft(c.Image6, enlarged ? 240 : 4580);
    moveLeft(c.Label1, enlarged ? 590 : 4845);
    c.Label1->setText(enlarged ? QStringLiteral("Visualizando ampliado") : QStringLiteral("Visualização"));
}

void SearchPanel::close()
{
    const MainControls& c = window_.controls();
    // Hiding the focused panel control would hand the focus on along the tab
    // chain, into the category list, whose focus rule would then disable the
    // buttons the closing leaves alone. The viewer stays in place throughout.
    if (QApplication::focusWidget() && QApplication::focusWidget()->window() == &window_)
        c.cxLerFile->setFocus();
    for (QWidget* w : {static_cast<QWidget*>(c.lstDir01), static_cast<QWidget*>(c.lstFile01),
                       static_cast<QWidget*>(c.cxRnmCat), static_cast<QWidget*>(c.cxRnmFile)})
        w->show();
    c.cxLerFile->clear();
    for (QPushButton* b : {c.btnAddCat, c.btnEditCat, c.btnDelCat, c.btnAddFile, c.btnEditFile, c.btnDelFile,
                           c.btnEditText})
        b->setEnabled(true);
    c.btnEditText->show();
    c.btnEditText2->setEnabled(false);
    c.btnEditText2->hide();
    c.Image4->show();
    c.Image5->show();
    c.lblNameDir->show();
    c.lblNameFile->show();
    c.lstFile02->hide();
    c.lstFile02->clear();
    c.cxSearch->hide();
    c.cxSearch->clear();
    c.btnSearch->hide();
    c.btnCloseSearch->hide();
    c.lblTeste->setText(QStringLiteral("Selecione uma categoria"));
    moveLeft(c.lblTeste, 585);
    c.lblTamanho->clear();
    c.lblTamanho->setGeometry(twips(3690, 180, 855, 255));
    c.imageTit1->show();
    c.imageTit2->hide();
    c.imgMenos->show();
    c.imgMais->show();
    c.imgMenos2->hide();
    c.imgMais2->hide();
    c.btnOpenSearch->show();
    open_ = false;

    if (c.lstDir01->count() > 0) {
        // The panel emptied the script list: reload even an unchanged selection.
        if (c.lstDir01->item(0)->isSelected())
            window_.browser()->categorySelected();
        else
            c.lstDir01->setCurrentRow(0);
    }
    if (c.lstFile01->count() > 0)
        c.lstFile01->setCurrentRow(0);
}

}  // namespace corvane
