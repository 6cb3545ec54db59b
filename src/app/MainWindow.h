#pragma once

#include "library/Library.h"

#include <QWidget>

class QLabel;
class QListWidget;
class QLineEdit;
class QPushButton;

namespace corvane {

class NameBox;
class Picture;
class TextViewer;
class Browser;
class ViewerZoom;
class CategoryOps;
class ScriptOps;
class TextOps;
class SearchPanel;
class PrintCommand;
class Navigation;

// The named controls of the main window, shared by every subsystem.
struct MainControls {
    QListWidget* lstDir01 = nullptr;
    QListWidget* lstFile01 = nullptr;
    TextViewer* cxLerFile = nullptr;
    NameBox* cxRnmCat = nullptr;
    NameBox* cxRnmFile = nullptr;
    QPushButton* btnAddCat = nullptr;
    QPushButton* btnEditCat = nullptr;
    QPushButton* btnDelCat = nullptr;
    QPushButton* btnAddFile = nullptr;
    QPushButton* btnEditFile = nullptr;
    QPushButton* btnDelFile = nullptr;
    QPushButton* btnEditText = nullptr;
    QPushButton* btnCopy = nullptr;
    QPushButton* btnPrint = nullptr;
    QPushButton* btnOpenSearch = nullptr;
    QLabel* lblTeste = nullptr;
    QLabel* lblTamanho = nullptr;
    QLabel* lblNameDir = nullptr;
    QLabel* lblNameFile = nullptr;
    QLabel* Label1 = nullptr;
    Picture* imgMenos = nullptr;
    Picture* imgMais = nullptr;
    Picture* imageTit1 = nullptr;
    Picture* imageTit2 = nullptr;
    Picture* Image4 = nullptr;
    Picture* Image5 = nullptr;
    Picture* Image6 = nullptr;

    // Header: plain icons, their hover twins, decoration.
    Picture* imgHelp = nullptr;
    Picture* imgCredito = nullptr;
    Picture* imageBk = nullptr;
    Picture* imgSite = nullptr;
    Picture* imageHelpOn = nullptr;
    Picture* imageCreditoOn = nullptr;
    Picture* imageBkOn = nullptr;
    Picture* imageSiteOn = nullptr;
    Picture* imgCabeca = nullptr;

    // Search panel, hidden until opened.
    QListWidget* lstFile02 = nullptr;
    QLineEdit* cxSearch = nullptr;
    QPushButton* btnSearch = nullptr;
    QPushButton* btnCloseSearch = nullptr;
    QPushButton* btnEditText2 = nullptr;
    Picture* imgMais2 = nullptr;
    Picture* imgMenos2 = nullptr;
};

// frmPrincipal: a fixed frame of named controls. Each subsystem's behaviour lives
// in its own class working on these controls.
class MainWindow : public QWidget {
    Q_OBJECT
public:
    explicit MainWindow(const QString& scriptsDir, QWidget* parent = nullptr);
    ~MainWindow() override;

    const MainControls& controls() const { return c_; }
    const Library& library() const { return library_; }

    // Start-up's last steps: list the categories, select the first.
    void loadCategories();

    Browser* browser() const { return browser_; }
    ViewerZoom* viewerZoom() const { return zoom_; }
    CategoryOps* categoryOps() const { return categoryOps_; }
    ScriptOps* scriptOps() const { return scriptOps_; }
    TextOps* textOps() const { return textOps_; }
    SearchPanel* searchPanel() const { return search_; }
    PrintCommand* printCommand() const { return print_; }
    Navigation* navigation() const { return navigation_; }

signals:
    // The pointer moved over the window's own background.
    void backgroundHovered();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildFrame();
    void setTabOrder();

    Library library_;
    MainControls c_;
    bool centred_ = false;

    Browser* browser_ = nullptr;
    ViewerZoom* zoom_ = nullptr;
    CategoryOps* categoryOps_ = nullptr;
    ScriptOps* scriptOps_ = nullptr;
    TextOps* textOps_ = nullptr;
    SearchPanel* search_ = nullptr;
    PrintCommand* print_ = nullptr;
    Navigation* navigation_ = nullptr;
};

}  // namespace corvane
