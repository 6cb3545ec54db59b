#include "browse/ViewerZoom.h"

#include "app/MainWindow.h"
#include "app/Msg.h"
#include "app/NameBox.h"
#include "app/Picture.h"
#include "app/TextViewer.h"
#include "app/Twips.h"
#include "browse/Browser.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace corvane {
namespace {

void moveLeft(QWidget* w, int leftTwips)
{
    w->move(px(leftTwips), w->y());
}

void setWidth(QWidget* w, int widthTwips)
{
    w->resize(px(widthTwips), w->height());
}

}  // namespace

ViewerZoom::ViewerZoom(MainWindow& window)
    : QObject(&window)
    , window_(window)
{
    const MainControls& c = window_.controls();
    connect(c.imgMais, &Picture::clicked, this, [this] {
        if (scriptChosen())
            enlarge();
    });
    connect(c.imgMenos, &Picture::clicked, this, [this] {
        if (scriptChosen())
            restore();
    });
}

bool ViewerZoom::scriptChosen()
{
    if (!Browser::selectedText(window_.controls().lstFile01).isEmpty())
        return true;
    msg::ok(&window_, QStringLiteral("Você precisa selecionar um arquivo!"), QStringLiteral("Aviso visualização"));
    return false;
}

void ViewerZoom::enlarge()
{
    const MainControls& c = window_.controls();
    // Hiding the focused control would hand the focus down the tab chain, through
    // the category list and its focus rule; the viewer takes it instead.
    const QList<QWidget*> hidden{c.lblNameFile, c.lblNameDir, c.cxRnmFile, c.cxRnmCat, c.lstFile01, c.lstDir01};
    const QList<QWidget*> disabled{c.btnEditFile, c.btnAddFile, c.btnDelFile};
    QWidget* focus = QApplication::focusWidget();
    if (focus && (hidden.contains(focus) || disabled.contains(focus) || focus == c.btnOpenSearch))
        c.cxLerFile->setFocus(Qt::OtherFocusReason);

    c.btnOpenSearch->hide();
    moveLeft(c.Image6, 240);
    c.Image4->hide();
    c.Image5->hide();
    setWidth(c.cxLerFile, 7815);
    moveLeft(c.cxLerFile, 240);
    moveLeft(c.Label1, 590);
    c.Label1->setText(QStringLiteral("Visualizando ampliado"));
    for (QWidget* w : hidden)
        w->hide();
    for (QWidget* w : disabled)
        w->setEnabled(false);
    enlarged_ = true;
}

void ViewerZoom::restore()
{
    const MainControls& c = window_.controls();
    c.btnOpenSearch->show();
    moveLeft(c.Image6, 4580);
    c.Image4->show();
    c.Image5->show();
    moveLeft(c.Label1, 4845);
    c.lblNameFile->show();
    c.Label1->setText(QStringLiteral("Visualização"));
    c.lblNameDir->show();
    setWidth(c.cxLerFile, 3495);
    moveLeft(c.cxLerFile, 4560);
    for (QWidget* w : std::initializer_list<QWidget*>{c.cxRnmFile, c.lstFile01, c.lstDir01, c.cxRnmCat})
        w->show();
    for (QPushButton* b : {c.btnEditFile, c.btnAddFile, c.btnDelFile})
        b->setEnabled(true);
    enlarged_ = false;
}

}  // namespace corvane
