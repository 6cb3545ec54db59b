#pragma once

#include <QLatin1String>
#include <QRect>
#include <QString>
#include <QWidget>

namespace corvane {

// The dialogs: a title and a close box, no help, minimise or maximise button.
constexpr Qt::WindowFlags kDialogFlags =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;

// Names a control after its design name, puts it at its place and, where given,
// gives it the name a screen reader speaks.
template <typename W>
W* place(W* widget, const char* name, const QRect& geometry, const QString& accessible = {})
{
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(geometry);
    if (!accessible.isEmpty())
        widget->setAccessibleName(accessible);
    return widget;
}

// Fixed-size windows: the client size in twips, no resizing.
void fixClientSize(QWidget* window, int widthTwips, int heightTwips);

// Centres a window on the primary screen by its outer size.
void centreOnScreen(QWidget* window);

}  // namespace corvane
