#include "help/CreditsWindow.h"

#include "widgets/Picture.h"
#include "widgets/Twips.h"
#include "widgets/Controls.h"
#include "widgets/ClickLabel.h"
#include "help/HelpTexts.h"
#include "help/WebSite.h"

#include <QApplication>
#include <QFrame>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>

namespace corvane {

void useArrowPointerEverywhere()
{
    const QCursor* current = QApplication::overrideCursor();
    if (!current)
        QApplication::setOverrideCursor(Qt::ArrowCursor);
    else if (current->shape() != Qt::ArrowCursor)
        QApplication::changeOverrideCursor(Qt::ArrowCursor);
}

CreditsWindow::CreditsWindow(QWidget* parent, site::Opener opener)
    : FixedDialog(parent, "frmCredito", help::creditsTitle(), 3945, 1845, Keys::NoEscape)
    , opener_(std::move(opener))
{
    setMouseTracking(true);
    controls::picture(this, "Image1", "credits_picture.svg", twips(120, 120, 780, 675));

    // Moves over the texts are theirs, not the background's.
    auto text = [this](const char* name, const QString& caption, const QRect& geometry) {
        QLabel* l = controls::label(this, name, caption, geometry);
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        l->setAttribute(Qt::WA_NoMousePropagation);
        return l;
    };
    QLabel* title = text("lblCred1", help::creditsHeading(), twips(960, 120, 2895, 255));
    controls::setBold(title);
    QLabel* author = text("lblCred2", help::creditsAuthors(),
                          twips(960, 420, 2895, 375));
    Q_UNUSED(author);

    QFrame* rule = controls::rule(this, "Shape1", twips(120, 840, 3735, 25));
    rule->setAttribute(Qt::WA_TransparentForMouseEvents);  // counts as background

    QLabel* tools = text("lblCred3",
                         help::creditsTools(),
                         twips(120, 960, 3735, 495));
    tools->setWordWrap(true);

    link_ = new ClickLabel(QStringLiteral("lblUrl"), site::host(), this);
    link_->setGeometry(twips(140, 1560, 3615, 255));
    link_->setAccessibleName(help::siteName(site::host()));
    link_->setMouseTracking(true);
    setTextColour(link_, palette().color(QPalette::ButtonText));
    connect(link_, &ClickLabel::hovered, this, [this] {
        setTextColour(link_, overColour());
        useArrowPointerEverywhere();
    });
    connect(link_, &ClickLabel::clicked, this, [this] { site::open(opener_); });
}

void CreditsWindow::mouseMoveEvent(QMouseEvent* event)
{
    useArrowPointerEverywhere();
    setTextColour(link_, awayColour());
    event->accept();
}

}  // namespace corvane
