#pragma once

#include <QList>
#include <QObject>

class QLabel;
class QPushButton;
class QWidget;

namespace corvane {

class KeyedList;
class NameBox;
class Picture;
class TextViewer;

// The main window's browsing face: the header and one pane per column. Each pane
// makes its controls on the window at their places and reports its clicks.

// The window's top: decoration, the picture buttons with their hover twins, and
// the line that names the current choice and its size.
class HeaderPane : public QObject {
    Q_OBJECT
public:
    explicit HeaderPane(QWidget* window);

    void showCategory(const QString& name, qint64 scriptCount, qint64 totalBytes);
    void showScript(const QString& name, const QString& size);
    // Nothing chosen any more: no name, size or marker describes a choice.
    void clearChoice();
    // The search panel's lines: what to do, then where it searches.
    void showSearching(const QString& line, const QString& detail);
    void showSearchLine(const QString& line);
    void setDetailShown(bool shown);
    void showBrowsing();
    void hideTwins();

signals:
    void helpClicked();
    void creditsClicked();
    void backupClicked();
    void siteClicked();

private:
    void pair(Picture* icon, Picture* twin);

    Picture* categoryMark_ = nullptr;
    Picture* scriptMark_ = nullptr;
    QLabel* line_ = nullptr;
    QLabel* detail_ = nullptr;
    QList<Picture*> twins_;
};

// A list column: heading, list, name box and the Add, Ren and Del buttons.
class ListPane : public QObject {
    Q_OBJECT
public:
    enum class Kind { Categories, Scripts };
    ListPane(QWidget* window, Kind kind);

    KeyedList* list() const { return list_; }
    NameBox* nameBox() const { return nameBox_; }
    QPushButton* addButton() const { return add_; }
    QPushButton* renameButton() const { return rename_; }
    QPushButton* deleteButton() const { return delete_; }
    // The search opener above the script list; null on the category side.
    QPushButton* searchButton() const { return search_; }

    // The heading, list and name box; the buttons stay where they are.
    void setListShown(bool shown);

signals:
    void addClicked();
    void renameClicked();
    void deleteClicked();
    void searchClicked();

private:
    Picture* mark_ = nullptr;
    QLabel* heading_ = nullptr;
    KeyedList* list_ = nullptr;
    NameBox* nameBox_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* rename_ = nullptr;
    QPushButton* delete_ = nullptr;
    QPushButton* search_ = nullptr;
};

// The viewer column: heading, magnifiers, the text, and Editar, Copiar, Imprimir.
class ViewerPane : public QObject {
    Q_OBJECT
public:
    explicit ViewerPane(QWidget* window);

    TextViewer* viewer() const { return viewer_; }
    QPushButton* saveButton() const { return save_; }
    QPushButton* copyButton() const { return copy_; }
    QPushButton* printButton() const { return print_; }

    // Widened over the lists, or back in its column; the text is never touched.
    void setEnlarged(bool enlarged);
    void setMagnifiersShown(bool shown);

signals:
    void saveClicked();
    void copyClicked();
    void printClicked();
    void enlargeClicked();
    void restoreClicked();

private:
    Picture* mark_ = nullptr;
    QLabel* heading_ = nullptr;
    Picture* smaller_ = nullptr;
    Picture* larger_ = nullptr;
    TextViewer* viewer_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* copy_ = nullptr;
    QPushButton* print_ = nullptr;
};

}  // namespace corvane
