#pragma once

#include "help/WebSite.h"
#include "widgets/FixedDialog.h"

namespace corvane {

class ClickLabel;

// frmCredito: product, authors, tools and a link to the web site.
class CreditsWindow : public FixedDialog {
    Q_OBJECT
public:
    explicit CreditsWindow(QWidget* parent = nullptr, site::Opener opener = site::openInBrowser);

    static QColor overColour() { return QColor(0, 0, 255); }
    static QColor awayColour() { return QColor(0, 0, 0); }

protected:
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    ClickLabel* link_ = nullptr;
    site::Opener opener_;
};

// Makes the standard arrow the pointer over every window of the program, for
// the rest of the run. Repeated calls keep a single override.
void useArrowPointerEverywhere();

}  // namespace corvane
