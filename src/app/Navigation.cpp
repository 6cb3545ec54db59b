#include "app/Navigation.h"

#include "app/MainWindow.h"
#include "app/Picture.h"
#include "backup/BackupWindow.h"
#include "help/CreditsWindow.h"
#include "help/HelpWindow.h"
#include "help/WebSite.h"

namespace corvane {

Navigation::Navigation(MainWindow& window)
    : QObject(&window)
    , window_(window)
{
    const MainControls& c = window_.controls();
    pair(c.imgHelp, c.imageHelpOn);
    pair(c.imgCredito, c.imageCreditoOn);
    pair(c.imageBk, c.imageBkOn);
    pair(c.imgSite, c.imageSiteOn);
    connect(&window_, &MainWindow::backgroundHovered, this, &Navigation::hideTwins);
    connect(c.imgCabeca, &Picture::hovered, this, &Navigation::hideTwins);

    // The twins take the clicks and stay shown while their window is open.
    connect(c.imageHelpOn, &Picture::clicked, this, [this] {
        HelpWindow help(&window_);
        help.exec();
    });
    connect(c.imageCreditoOn, &Picture::clicked, this, [this] {
        CreditsWindow credits(&window_);
        credits.exec();
    });
    connect(c.imageBkOn, &Picture::clicked, this, [this] {
        BackupWindow backup(window_.library().root(), &window_);
        backup.exec();
    });
    connect(c.imageSiteOn, &Picture::clicked, this, [] { site::open(); });
}

void Navigation::pair(Picture* icon, Picture* twin)
{
    // Showing one twin leaves the others as they are.
    connect(icon, &Picture::hovered, twin, &QWidget::show);
}

void Navigation::hideTwins()
{
    const MainControls& c = window_.controls();
    for (Picture* twin : {c.imageHelpOn, c.imageCreditoOn, c.imageBkOn, c.imageSiteOn})
        twin->hide();
}

}  // namespace corvane
