#pragma once

#include <QLatin1String>
#include <QRect>
#include <QString>


class QFrame;
class QLabel;
class QListWidget;
class QPushButton;
class QWidget;

namespace corvane {

class Picture;

// The design's controls, made one way everywhere: named after the design,
// placed in twips, and given the name a screen reader speaks where one is said.
namespace controls {

template <typename W>
W* place(W* widget, const char* name, const QRect& geometry, const QString& accessible = {})
{
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(geometry);
    if (!accessible.isEmpty())
        widget->setAccessibleName(accessible);
    return widget;
}

// A push button that never takes Enter for itself.
QPushButton* button(QWidget* parent, const char* name, const QString& caption, const QRect& geometry,
                    const QString& accessible = {});
// A plain-text label.
QLabel* label(QWidget* parent, const char* name, const QString& caption, const QRect& geometry);
// A picture from resources/pictures; a tool tip, when given, is also its spoken
// name. Read as a push button when it has a spoken name, else as a decoration.
Picture* picture(QWidget* parent, const char* name, const char* file, const QRect& geometry,
                 const QString& tip = {});
QString pictureFile(const char* file);
// One of the viewer's two magnifiers, with its tool tip and spoken name.
Picture* magnifier(QWidget* parent, const char* name, bool larger, const QRect& geometry);

// Entries of the list that its width cuts show their whole text as a tool tip.
void tipCutEntries(QListWidget* list);
// Sets a label's text; when the label is too narrow for it, the whole text is
// its tool tip.
void setTextWithTip(QLabel* label, const QString& text);

// A thin grey horizontal rule.
QFrame* rule(QWidget* parent, const char* name, const QRect& geometry);

void setBold(QWidget* widget, int pixelSize = 0);

// Fixed-size windows: the client size in twips, no resizing.
void fixClientSize(QWidget* window, int widthTwips, int heightTwips);
// Centres a window on the primary screen by its outer size.
void centreOnScreen(QWidget* window);

// A window's first showing: centred on the screen then, and only then. Called
// from the window's showEvent after its base class's, which may place it.
class FirstShow {
public:
    // True at the first showing, once the window is centred.
    bool centre(QWidget* window);

private:
    bool done_ = false;
};

}  // namespace controls
}  // namespace corvane
