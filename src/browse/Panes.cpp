#include "browse/Panes.h"

#include "browse/BrowseTexts.h"
#include "library/Names.h"
#include "widgets/Controls.h"
#include "widgets/KeyedList.h"
#include "widgets/NameBox.h"
#include "widgets/Picture.h"
#include "widgets/TextViewer.h"
#include "widgets/Twips.h"

#include <QLabel>
#include <QPushButton>

namespace corvane {

using controls::button;
using controls::label;
using controls::picture;

HeaderPane::HeaderPane(QWidget* window)
    : QObject(window)
{
    Picture* header = picture(window, "imgCabeca", "header.svg", twips(0, 0, 5920, 195));
    picture(window, "Image1", "header_right.svg", twips(6560, 0, 1730, 195));
    picture(window, "imgIconBig", "icon.svg", twips(5930, 10, 630, 540));
    picture(window, "imgCvn", "logo.svg", twips(6600, 105, 1470, 240));
    picture(window, "imgLinha1", "separator.svg", twips(4790, 120, 30, 225));
    picture(window, "imgLinha2", "separator.svg", twips(5150, 120, 30, 225));
    picture(window, "Image2", "separator.svg", twips(5520, 120, 30, 225));

    // The picture buttons; their twins come later so they lie on top, and take
    // the clicks.
    Picture* help = picture(window, "imgHelp", "help.svg", twips(4575, 120, 165, 225), QStringLiteral("Ajuda"));
    Picture* credits = picture(window, "imgCredito", "credits.svg", twips(4850, 120, 240, 225),
                               QStringLiteral("Créditos"));
    Picture* backup = picture(window, "imageBk", "backup.svg", twips(5210, 105, 270, 225));
    backup->setAccessibleName(QStringLiteral("Backup"));
    Picture* site = picture(window, "imgSite", "site.svg", twips(5610, 120, 225, 225), QStringLiteral("Website"));
    site->setAccessibleName(QStringLiteral("Site do Corvane"));
    Picture* helpOn = picture(window, "imageHelpOn", "help_on.svg", twips(4550, 105, 195, 255),
                              QStringLiteral(" Help "));
    Picture* creditsOn = picture(window, "imageCreditoOn", "credits_on.svg", twips(4835, 120, 270, 255),
                                 QStringLiteral(" Créditos "));
    Picture* backupOn = picture(window, "imageBkOn", "backup_on.svg", twips(5195, 105, 300, 255),
                                QStringLiteral(" Backup "));
    Picture* siteOn = picture(window, "imageSiteOn", "site_on.svg", twips(5595, 105, 255, 255),
                              QStringLiteral(" Website "));
    pair(help, helpOn);
    pair(credits, creditsOn);
    pair(backup, backupOn);
    pair(site, siteOn);
    hideTwins();
    connect(header, &Picture::hovered, this, &HeaderPane::hideTwins);
    connect(helpOn, &Picture::clicked, this, &HeaderPane::helpClicked);
    connect(creditsOn, &Picture::clicked, this, &HeaderPane::creditsClicked);
    connect(backupOn, &Picture::clicked, this, &HeaderPane::backupClicked);
    connect(siteOn, &Picture::clicked, this, &HeaderPane::siteClicked);

    categoryMark_ = picture(window, "imageTit1", "folder_small.svg", twips(280, 220, 180, 120));
    scriptMark_ = picture(window, "imageTit2", "page_small.svg", twips(285, 220, 120, 120));
    categoryMark_->hide();
    scriptMark_->hide();
    line_ = label(window, "lblTeste", QString(), twips(585, 180, 2880, 255));
    detail_ = label(window, "lblTamanho", QString(), twips(3690, 180, 780, 255));
}

void HeaderPane::pair(Picture* icon, Picture* twin)
{
    // Showing one twin leaves the others as they are; a twin stays shown while
    // the window it opened is open.
    connect(icon, &Picture::hovered, twin, &QWidget::show);
    twins_.append(twin);
    // A screen reader reads and presses the icon; the twin is only its look under
    // the pointer, so it is left out, and the icon's press is the twin's click.
    twin->setAccessibleName(QString());
    icon->setPressTarget(twin);
}

void HeaderPane::hideTwins()
{
    for (Picture* twin : twins_)
        twin->hide();
}

void HeaderPane::showCategory(const QString& name, qint64 scriptCount, qint64 totalBytes)
{
    categoryMark_->show();
    scriptMark_->hide();
    controls::setTextWithTip(line_, browseTexts::categoryLine(name, scriptCount));
    detail_->setText(browseTexts::categorySize(totalBytes));
}

void HeaderPane::showScript(const QString& name, const QString& size)
{
    scriptMark_->show();
    categoryMark_->hide();
    controls::setTextWithTip(line_, name);
    detail_->setText(size);
}

void HeaderPane::clearChoice()
{
    controls::setTextWithTip(line_, QString());
    detail_->clear();
    categoryMark_->hide();
    scriptMark_->hide();
}

void HeaderPane::showSearching(const QString& line, const QString& detail)
{
    controls::setTextWithTip(line_, line);
    line_->move(px(240), line_->y());
    detail_->setText(detail);
    // Under the result list, where the name boxes were.
    detail_->setGeometry(twips(1150, 3970, 3000, 255));
    categoryMark_->hide();
    scriptMark_->hide();
}

void HeaderPane::showSearchLine(const QString& line)
{
    controls::setTextWithTip(line_, line);
}

void HeaderPane::setDetailShown(bool shown)
{
    detail_->setVisible(shown);
}

void HeaderPane::showBrowsing()
{
    controls::setTextWithTip(line_, browseTexts::chooseCategory());
    line_->move(px(585), line_->y());
    detail_->clear();
    detail_->setGeometry(twips(3690, 180, 855, 255));
    categoryMark_->show();
    scriptMark_->hide();
}

namespace {

// The two list columns differ only in names, places and limits.
struct ColumnLayout {
    const char *mark, *markFile, *heading, *list, *nameBox, *add, *rename, *remove;
    QString caption, boxName, thing;
    QRect markAt, headingAt, listAt, boxAt, addAt, renameAt, removeAt;
    int limit;
};

ColumnLayout layoutOf(ListPane::Kind kind)
{
    if (kind == ListPane::Kind::Categories)
        return {"Image4", "folder_small.svg", "lblNameDir", "lstDir01", "cxRnmCat", "btnAddCat", "btnEditCat",
                "btnDelCat", QStringLiteral("Categorias"), QStringLiteral("Nome da categoria"),
                QStringLiteral("categoria"), twips(270, 620, 270, 180), twips(590, 610, 1215, 255),
                twips(240, 840, 1695, 2950), twips(240, 3840, 1695, 285), twips(240, 4200, 500, 330),
                twips(830, 4200, 510, 330), twips(1430, 4200, 510, 330), names::kCategoryMax};
    return {"Image5", "page_small.svg", "lblNameFile", "lstFile01", "cxRnmFile", "btnAddFile", "btnEditFile",
            "btnDelFile", QStringLiteral("Scripts"), QStringLiteral("Nome do script"), QStringLiteral("script"),
            twips(2125, 615, 180, 180), twips(2385, 615, 1335, 255), twips(2095, 840, 2290, 2950),
            twips(2095, 3840, 2290, 285), twips(2095, 4200, 680, 330), twips(2890, 4200, 690, 330),
            twips(3710, 4200, 690, 330), names::kScriptMax};
}

}  // namespace

ListPane::ListPane(QWidget* window, Kind kind)
    : QObject(window)
{
    const ColumnLayout c = layoutOf(kind);
    mark_ = picture(window, c.mark, c.markFile, c.markAt);
    heading_ = label(window, c.heading, c.caption, c.headingAt);
    controls::setBold(heading_);
    if (kind == Kind::Scripts) {
        search_ = button(window, "btnOpenSearch", QStringLiteral("Buscar"), twips(3690, 600, 700, 255));
        connect(search_, &QPushButton::clicked, this, &ListPane::searchClicked);
    }
    list_ = controls::place(new KeyedList(window), c.list, c.listAt, c.caption);
    nameBox_ = new NameBox(QLatin1String(c.nameBox), c.limit, window);
    nameBox_->setGeometry(c.boxAt);
    nameBox_->setAccessibleName(c.boxName);
    add_ = button(window, c.add, QStringLiteral("Add"), c.addAt, QStringLiteral("Adicionar ") + c.thing);
    rename_ = button(window, c.rename, QStringLiteral("Ren"), c.renameAt, QStringLiteral("Renomear ") + c.thing);
    delete_ = button(window, c.remove, QStringLiteral("Del"), c.removeAt, QStringLiteral("Deletar ") + c.thing);
    if (kind == Kind::Categories)
        rename_->setToolTip(QStringLiteral("Renomear"));
    connect(add_, &QPushButton::clicked, this, &ListPane::addClicked);
    connect(rename_, &QPushButton::clicked, this, &ListPane::renameClicked);
    connect(delete_, &QPushButton::clicked, this, &ListPane::deleteClicked);
}

void ListPane::setListShown(bool shown)
{
    for (QWidget* w : std::initializer_list<QWidget*>{mark_, heading_, list_, nameBox_})
        w->setVisible(shown);
}

ViewerPane::ViewerPane(QWidget* window)
    : QObject(window)
{
    mark_ = picture(window, "Image6", "badge.svg", twips(4580, 615, 195, 180));
    heading_ = label(window, "Label1", browseTexts::viewerHeading(false), twips(4845, 615, 2415, 255));
    controls::setBold(heading_);
    smaller_ = controls::magnifier(window, "imgMenos", false, twips(7320, 625, 240, 180));
    larger_ = controls::magnifier(window, "imgMais", true, twips(7560, 630, 240, 180));
    viewer_ = controls::place(new TextViewer(window), "cxLerFile", twips(4560, 840, 3495, 3285),
                              browseTexts::viewerHeading(false));
    viewer_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewer_->setLineWrapMode(TextViewer::WidgetWidth);
    viewer_->setTabChangesFocus(true);
    save_ = button(window, "btnEditText", QStringLiteral("Editar"), twips(4560, 4200, 1095, 330));
    copy_ = button(window, "btnCopy", QStringLiteral("Copiar"), twips(5820, 4200, 1095, 330));
    print_ = button(window, "btnPrint", QStringLiteral("Imprimir"), twips(7080, 4200, 975, 330));

    connect(save_, &QPushButton::clicked, this, &ViewerPane::saveClicked);
    connect(copy_, &QPushButton::clicked, this, &ViewerPane::copyClicked);
    connect(print_, &QPushButton::clicked, this, &ViewerPane::printClicked);
    connect(larger_, &Picture::clicked, this, &ViewerPane::enlargeClicked);
    connect(smaller_, &Picture::clicked, this, &ViewerPane::restoreClicked);
}

void ViewerPane::setEnlarged(bool enlarged)
{
    viewer_->setGeometry(enlarged ? twips(240, 840, 7815, 3285) : twips(4560, 840, 3495, 3285));
    mark_->move(px(enlarged ? 240 : 4580), mark_->y());
    heading_->move(px(enlarged ? 590 : 4845), heading_->y());
    heading_->setText(browseTexts::viewerHeading(enlarged));
}

void ViewerPane::setMagnifiersShown(bool shown)
{
    smaller_->setVisible(shown);
    larger_->setVisible(shown);
}

}  // namespace corvane
