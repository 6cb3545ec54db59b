#pragma once

#include "backup/BackupWindow.h"
#include "help/WebSite.h"
#include "library/Library.h"
#include "printing/PrintTarget.h"
#include "widgets/Controls.h"

#include <QWidget>

namespace corvane {

class Browser;
class HeaderPane;
class ListPane;
class SearchPanel;
class ViewerPane;

// What the program takes from the system besides the library; tests give their
// own printer, dates, volumes and browser.
struct SystemHooks {
    printing::PrintSystem printing;
    BackupSystem backup;
    site::Opener openSite = &site::openInBrowser;
};

// frmPrincipal: the header, the category and script columns and the viewer, with
// the search panel lying in wait; the one place that wires them together.
class MainWindow : public QWidget {
    Q_OBJECT
public:
    explicit MainWindow(const QString& scriptsDir, SystemHooks hooks = {}, QWidget* parent = nullptr);
    ~MainWindow() override;

    const Library& library() const { return library_; }

    // Start-up's last step: list the categories, select the first.
    void loadCategories();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void wireEditing();
    void wireSearch();
    void wireHeader();
    void setTabOrder();
    void openPrintWindow();

    Library library_;
    SystemHooks hooks_;
    controls::FirstShow firstShow_;

    HeaderPane* header_ = nullptr;
    ListPane* categories_ = nullptr;
    ListPane* scripts_ = nullptr;
    ViewerPane* viewer_ = nullptr;
    Browser* browser_ = nullptr;
    SearchPanel* search_ = nullptr;
};

}  // namespace corvane
