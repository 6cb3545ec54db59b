#include "app/MainWindow.h"

#include "app/NameBox.h"
#include "app/Navigation.h"
#include "app/Picture.h"
#include "app/TextViewer.h"
#include "app/Twips.h"
#include "app/Window.h"
#include "browse/Browser.h"
#include "browse/ViewerZoom.h"
#include "editing/CategoryOps.h"
#include "editing/ScriptOps.h"
#include "editing/TextOps.h"
#include "library/Names.h"
#include "printing/PrintCommand.h"
#include "search/SearchPanel.h"

#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>

namespace corvane {
namespace {

QString pic(const char* file)
{
    return QStringLiteral(":/pictures/") + QLatin1String(file);
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption, const QRect& geometry,
                    const QString& tip = {}, const QString& accessible = {})
{
    auto* b = place(new QPushButton(caption, parent), name, geometry,
                    accessible.isEmpty() ? caption : accessible);
    b->setToolTip(tip);
    b->setAutoDefault(false);
    return b;
}

QLabel* label(QWidget* parent, const char* name, const QString& caption, const QRect& geometry,
              bool bold = false)
{
    auto* l = place(new QLabel(caption, parent), name, geometry);
    l->setTextFormat(Qt::PlainText);
    if (bold) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
    }
    return l;
}

QListWidget* list(QWidget* parent, const char* name, const QRect& geometry, const QString& accessible)
{
    auto* l = place(new QListWidget(parent), name, geometry, accessible);
    l->setSelectionMode(QAbstractItemView::SingleSelection);
    l->setUniformItemSizes(true);
    return l;
}

Picture* picture(QWidget* parent, const char* name, const char* file, const QRect& geometry,
                 const QString& tip = {})
{
    auto* p = new Picture(QLatin1String(name), pic(file), parent);
    p->setGeometry(geometry);
    p->setToolTip(tip);
    if (!tip.trimmed().isEmpty())
        p->setAccessibleName(tip.trimmed());
    return p;
}

}  // namespace

MainWindow::MainWindow(const QString& scriptsDir, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                          | Qt::WindowCloseButtonHint)
    , library_(scriptsDir)
{
    setObjectName(QStringLiteral("frmPrincipal"));
    setWindowTitle(QStringLiteral("Corvane 1.0"));
    setWindowIcon(QIcon(pic("icon.svg")));
    setMouseTracking(true);
    fixClientSize(this, 8295, 4665);
    buildFrame();
    setTabOrder();

    browser_ = new Browser(*this);
    zoom_ = new ViewerZoom(*this);
    categoryOps_ = new CategoryOps(*this);
    scriptOps_ = new ScriptOps(*this);
    textOps_ = new TextOps(*this);
    search_ = new SearchPanel(*this);
    print_ = new PrintCommand(*this);
    navigation_ = new Navigation(*this);
}

MainWindow::~MainWindow()
{
    // The behaviour goes first: destroying the controls sends focus and hide events
    // that its filters would otherwise handle on a half-destroyed window.
    delete navigation_;
    delete print_;
    delete search_;
    delete textOps_;
    delete scriptOps_;
    delete categoryOps_;
    delete zoom_;
    delete browser_;
}

void MainWindow::buildFrame()
{
    QWidget* w = this;

    // Decoration of the header.
    c_.imgCabeca = picture(w, "imgCabeca", "header.svg", twips(0, 0, 5920, 195));
    picture(w, "Image1", "header_right.svg", twips(6560, 0, 1730, 195));
    picture(w, "imgIconBig", "icon.svg", twips(5930, 10, 630, 540));
    picture(w, "imgCvn", "logo.svg", twips(6600, 105, 1470, 240));
    picture(w, "imgLinha1", "separator.svg", twips(4790, 120, 30, 225));
    picture(w, "imgLinha2", "separator.svg", twips(5150, 120, 30, 225));
    picture(w, "Image2", "separator.svg", twips(5520, 120, 30, 225));

    // Header picture buttons; the twins come later so they lie on top.
    c_.imgHelp = picture(w, "imgHelp", "help.svg", twips(4575, 120, 165, 225), QStringLiteral("Ajuda"));
    c_.imgCredito = picture(w, "imgCredito", "credits.svg", twips(4850, 120, 240, 225),
                            QStringLiteral("Créditos"));
    c_.imageBk = picture(w, "imageBk", "backup.svg", twips(5210, 105, 270, 225));
    c_.imageBk->setAccessibleName(QStringLiteral("Backup"));
    c_.imgSite = picture(w, "imgSite", "site.svg", twips(5610, 120, 225, 225), QStringLiteral("Website"));
    c_.imageHelpOn = picture(w, "imageHelpOn", "help_on.svg", twips(4550, 105, 195, 255),
                             QStringLiteral(" Help "));
    c_.imageCreditoOn = picture(w, "imageCreditoOn", "credits_on.svg", twips(4835, 120, 270, 255),
                                QStringLiteral(" Créditos "));
    c_.imageBkOn = picture(w, "imageBkOn", "backup_on.svg", twips(5195, 105, 300, 255),
                           QStringLiteral(" Backup "));
    c_.imageSiteOn = picture(w, "imageSiteOn", "site_on.svg", twips(5595, 105, 255, 255),
                             QStringLiteral(" Website "));
    for (Picture* twin : {c_.imageHelpOn, c_.imageCreditoOn, c_.imageBkOn, c_.imageSiteOn})
        twin->hide();

    // Current choice: marker, name and size.
    c_.imageTit1 = picture(w, "imageTit1", "folder_small.svg", twips(280, 220, 180, 120));
    c_.imageTit2 = picture(w, "imageTit2", "page_small.svg", twips(285, 220, 120, 120));
    c_.imageTit1->hide();
    c_.imageTit2->hide();
    c_.lblTeste = label(w, "lblTeste", QString(), twips(585, 180, 2880, 255));
    c_.lblTamanho = label(w, "lblTamanho", QString(), twips(3690, 180, 780, 255));

    // Headings with their icons.
    c_.Image4 = picture(w, "Image4", "folder_small.svg", twips(270, 620, 270, 180));
    c_.Image5 = picture(w, "Image5", "page_small.svg", twips(2125, 615, 180, 180));
    c_.Image6 = picture(w, "Image6", "badge.svg", twips(4580, 615, 195, 180));
    c_.lblNameDir = label(w, "lblNameDir", QStringLiteral("Categorias"), twips(590, 610, 1215, 255), true);
    c_.lblNameFile = label(w, "lblNameFile", QStringLiteral("Scripts"), twips(2385, 615, 1335, 255), true);
    c_.Label1 = label(w, "Label1", QStringLiteral("Visualização"), twips(4845, 615, 2415, 255), true);
    c_.imgMenos = picture(w, "imgMenos", "zoom_out.svg", twips(7320, 625, 240, 180),
                          QStringLiteral(" Diminuir "));
    c_.imgMais = picture(w, "imgMais", "zoom_in.svg", twips(7560, 630, 240, 180),
                         QStringLiteral(" Aumentar "));
    c_.btnOpenSearch = button(w, "btnOpenSearch", QStringLiteral("Buscar"), twips(3690, 600, 700, 255));

    // The three columns.
    c_.lstDir01 = list(w, "lstDir01", twips(240, 840, 1695, 2950), QStringLiteral("Categorias"));
    c_.lstFile01 = list(w, "lstFile01", twips(2095, 840, 2290, 2950), QStringLiteral("Scripts"));
    c_.cxLerFile = place(new TextViewer(w), "cxLerFile", twips(4560, 840, 3495, 3285),
                         QStringLiteral("Visualização"));
    c_.cxLerFile->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    c_.cxLerFile->setLineWrapMode(TextViewer::WidgetWidth);
    c_.cxLerFile->setTabChangesFocus(true);

    c_.cxRnmCat = new NameBox(QStringLiteral("cxRnmCat"), names::kCategoryMax, w);
    c_.cxRnmCat->setGeometry(twips(240, 3840, 1695, 285));
    c_.cxRnmCat->setAccessibleName(QStringLiteral("Nome da categoria"));
    c_.cxRnmFile = new NameBox(QStringLiteral("cxRnmFile"), names::kScriptMax, w);
    c_.cxRnmFile->setGeometry(twips(2095, 3840, 2290, 285));
    c_.cxRnmFile->setAccessibleName(QStringLiteral("Nome do script"));

    // Command buttons.
    const QString add = QStringLiteral("Add"), ren = QStringLiteral("Ren"), del = QStringLiteral("Del");
    c_.btnAddCat = button(w, "btnAddCat", add, twips(240, 4200, 500, 330), {},
                          QStringLiteral("Adicionar categoria"));
    c_.btnEditCat = button(w, "btnEditCat", ren, twips(830, 4200, 510, 330), QStringLiteral("Renomear"),
                           QStringLiteral("Renomear categoria"));
    c_.btnDelCat = button(w, "btnDelCat", del, twips(1430, 4200, 510, 330), {},
                          QStringLiteral("Deletar categoria"));
    c_.btnAddFile = button(w, "btnAddFile", add, twips(2095, 4200, 680, 330), {},
                           QStringLiteral("Adicionar script"));
    c_.btnEditFile = button(w, "btnEditFile", ren, twips(2890, 4200, 690, 330), {},
                            QStringLiteral("Renomear script"));
    c_.btnDelFile = button(w, "btnDelFile", del, twips(3710, 4200, 690, 330), {},
                           QStringLiteral("Deletar script"));
    c_.btnEditText = button(w, "btnEditText", QStringLiteral("Editar"), twips(4560, 4200, 1095, 330));
    c_.btnCopy = button(w, "btnCopy", QStringLiteral("Copiar"), twips(5820, 4200, 1095, 330));
    c_.btnPrint = button(w, "btnPrint", QStringLiteral("Imprimir"), twips(7080, 4200, 975, 330));

    // Search panel, created hidden at its open positions. lblTamanho lies under the
    // result list there, so the list is created after it.
    c_.cxSearch = place(new QLineEdit(w), "cxSearch", twips(240, 600, 1695, 255),
                        QStringLiteral("Texto da busca"));
    c_.btnSearch = button(w, "btnSearch", QStringLiteral("Buscar"), twips(1935, 600, 700, 255));
    c_.btnCloseSearch = button(w, "btnCloseSearch", QStringLiteral("X"), twips(4100, 600, 300, 255),
                               QStringLiteral(" Fechar Busca "), QStringLiteral("Fechar Busca"));
    c_.lstFile02 = list(w, "lstFile02", twips(240, 840, 4150, 3335), QStringLiteral("Resultados da busca"));
    c_.btnEditText2 = button(w, "btnEditText2", QStringLiteral("Editar"), twips(4560, 4200, 1095, 330));
    c_.imgMenos2 = picture(w, "imgMenos2", "zoom_out.svg", twips(7320, 625, 240, 180),
                           QStringLiteral(" Diminuir "));
    c_.imgMais2 = picture(w, "imgMais2", "zoom_in.svg", twips(7560, 625, 240, 180),
                          QStringLiteral(" Aumentar "));
    for (QWidget* hidden : std::initializer_list<QWidget*>{c_.cxSearch, c_.btnSearch, c_.btnCloseSearch,
                                                           c_.lstFile02, c_.btnEditText2, c_.imgMenos2,
                                                           c_.imgMais2})
        hidden->hide();
    c_.btnEditText2->setEnabled(false);

    // Initial states before any category is chosen.
    c_.cxRnmFile->setEnabled(false);
    for (QPushButton* b : {c_.btnEditFile, c_.btnDelFile, c_.btnEditText, c_.btnCopy, c_.btnPrint})
        b->setEnabled(false);
}

void MainWindow::setTabOrder()
{
    const QList<QWidget*> order{c_.lstDir01,  c_.lstFile01,  c_.cxLerFile,    c_.btnCopy,
                                c_.btnEditFile, c_.btnDelFile, c_.btnEditText, c_.btnEditCat,
                                c_.btnDelCat, c_.btnPrint,   c_.cxRnmCat,     c_.cxRnmFile,
                                c_.btnAddCat, c_.btnAddFile, c_.btnOpenSearch, c_.cxSearch,
                                c_.btnSearch, c_.btnCloseSearch, c_.lstFile02, c_.btnEditText2};
    for (int i = 0; i + 1 < order.size(); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);
}

void MainWindow::loadCategories()
{
    Browser::fill(c_.lstDir01, library_.categories());
    if (c_.lstDir01->count() > 0)
        c_.lstDir01->setCurrentRow(0);
}

void MainWindow::mouseMoveEvent(QMouseEvent* event)
{
    emit backgroundHovered();
    QWidget::mouseMoveEvent(event);
}

void MainWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!centred_) {
        centred_ = true;
        centreOnScreen(this);
        c_.lstDir01->setFocus(Qt::OtherFocusReason);
    }
}

}  // namespace corvane
