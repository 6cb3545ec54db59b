#include "app/Window.h"

#include "app/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace corvane {

void fixClientSize(QWidget* window, int widthTwips, int heightTwips)
{
    window->setFixedSize(px(widthTwips), px(heightTwips));
}

void centreOnScreen(QWidget* window)
{
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    const QSize outer = window->frameGeometry().size();
    window->move(area.x() + (area.width() - outer.width()) / 2,
                 area.y() + (area.height() - outer.height()) / 2);
}

}  // namespace corvane
