#pragma once

#include <QDialog>

namespace corvane {

class ClickLabel;

// frmCredito: product, authors, tools and a link to the web site.
class CreditsWindow : public QDialog {
    Q_OBJECT
public:
    explicit CreditsWindow(QWidget* parent = nullptr);

    static QColor overColour() { return QColor(0, 0, 255); }
    static QColor awayColour() { return QColor(0, 0, 0); }

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    ClickLabel* link_ = nullptr;
};

// Makes the standard arrow the pointer over every window of the program, for
// the rest of the run. Repeated calls keep a single override.
void useArrowPointerEverywhere();

}  // namespace corvane
