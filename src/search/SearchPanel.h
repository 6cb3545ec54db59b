#pragma once

#include "library/Library.h"

#include <QObject>

class QLineEdit;
class QListWidget;
class QPushButton;
class QWidget;

namespace corvane {

class KeyedList;
class Picture;
class TextViewer;

// The search panel: the main window's second face, where the lists and name boxes
// give way to a search box and one result list spanning every category. Its
// controls lie hidden on the window until it opens.
class SearchPanel : public QObject {
    Q_OBJECT
public:
    // Searches the categories the category list holds at the time, and shows the
    // chosen result in the viewer.
    SearchPanel(const Library& library, QWidget* window, const KeyedList& categories, TextViewer& viewer);

    void open();
    bool isOpen() const { return open_; }
    // The script behind the chosen result, as the search found it on disk; empty
    // names when none is chosen.
    ScriptRef chosenResult() const;

signals:
    // The browsing face is to step aside, and later come back.
    void opening();
    void closed();
    // The header's lines: what to do, and where the search looks.
    void linesChanged(const QString& line, const QString& detail);
    void found(const QString& line);
    void resultShown();
    void saveRequested(const ScriptRef& script);
    void viewerEnlarged(bool enlarged);

private:
    // The controls, hidden on the window until the panel opens.
    void build(QWidget* window);
    void connectControls(QWidget* window);
    void runSearch();
    void chooseResult();
    void setEnlarged(bool enlarged);
    void close();
    bool resultChosen();

    const Library& library_;
    QWidget* window_;
    const KeyedList& categories_;
    TextViewer& viewer_;
    QLineEdit* text_ = nullptr;
    QPushButton* search_ = nullptr;
    QPushButton* close_ = nullptr;
    QListWidget* results_ = nullptr;
    QPushButton* save_ = nullptr;
    Picture* smaller_ = nullptr;
    Picture* larger_ = nullptr;
    bool open_ = false;
    QString searched_;  // the text the results were found by
};

}  // namespace corvane
