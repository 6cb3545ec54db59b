#include "help/HelpWindow.h"

#include "app/Picture.h"
#include "app/Twips.h"
#include "app/Window.h"
#include "help/ClickLabel.h"

#include <QFrame>
#include <QIcon>
#include <QKeyEvent>
#include <QPlainTextEdit>

namespace corvane {
namespace {

void picture(QWidget* parent, const char* name, const char* file, const QRect& geometry)
{
    auto* p = new Picture(QLatin1String(name), QStringLiteral(":/pictures/") + QLatin1String(file), parent);
    p->setGeometry(geometry);
}

}  // namespace

HelpWindow::HelpWindow(QWidget* parent)
    : QDialog(parent, kDialogFlags)
{
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Corvane - Mini Help"));
    setWindowIcon(QIcon(QStringLiteral(":/pictures/icon.svg")));
    fixClientSize(this, 4110, 4665);

    const struct {
        const char* label;
        const char* box;
        QString caption;
        QRect geometry;
        help::Topic topic;
    } tabs[] = {
        {"lblHelpIni", "txtHelpIni", QStringLiteral("Início"), twips(240, 75, 615, 255), help::Topic::Ini},
        {"lblHelpCat", "txtHelpCat", QStringLiteral("Categorias"), twips(1275, 75, 1050, 255), help::Topic::Cat},
        {"lblHelpFile", "txtHelpFile", QStringLiteral("Scripts-Textos"), twips(2640, 75, 1300, 255),
         help::Topic::File},
    };

    picture(this, "Image3", "separator_etched.svg", twips(895, 30, 30, 225));
    picture(this, "Image1", "folder_small.svg", twips(1050, 120, 180, 120));
    picture(this, "Image4", "separator_etched.svg", twips(2310, 30, 30, 225));
    picture(this, "Image2", "page_small.svg", twips(2475, 120, 120, 120));

    auto* rule = new QFrame(this);
    rule->setObjectName(QStringLiteral("linha1"));
    rule->setGeometry(twips(240, 285, 3655, 30));
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Plain);
    rule->setStyleSheet(QStringLiteral("color: #a0a0a0"));

    const QColor shadow = palette().color(QPalette::Shadow);
    for (int i = 0; i < 3; ++i) {
        auto* box = new QPlainTextEdit(this);
        box->setObjectName(QLatin1String(tabs[i].box));
        box->setAccessibleName(QStringLiteral("Ajuda: ") + tabs[i].caption);
        box->setGeometry(twips(240, 340, 3655, 4080));
        box->setReadOnly(true);
        box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        box->setFocusPolicy(Qt::ClickFocus);
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        QPalette p = box->palette();
        p.setColor(QPalette::Base, p.color(QPalette::Button));
        p.setColor(QPalette::Text, i == 0 ? QColor(Qt::black) : p.color(QPalette::WindowText));
        box->setPalette(p);
        // The topics keep CR LF; the box shows plain line breaks.
        box->setPlainText(help::topic(tabs[i].topic).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        box->setVisible(i == 0);
        boxes_[i] = box;

        auto* label = new ClickLabel(QLatin1String(tabs[i].label), tabs[i].caption, this);
        label->setGeometry(tabs[i].geometry);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        QFont bold = label->font();
        bold.setBold(true);
        label->setFont(bold);
        setTextColour(label, i == 0 ? shownColour() : shadow);
        labels_[i] = label;
        const help::Topic topic = tabs[i].topic;
        connect(label, &ClickLabel::clicked, this, [this, topic] { select(topic); });
    }
}

void HelpWindow::select(help::Topic topic)
{
    const int chosen = int(topic);
    for (int i = 0; i < 3; ++i)
        boxes_[i]->setVisible(i == chosen);
    const QColor shadow = palette().color(QPalette::Shadow);
    for (int i = 0; i < 3; ++i)
        setTextColour(labels_[i], i == chosen ? shownColour() : shadow);
}

void HelpWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    centreOnScreen(this);
}

void HelpWindow::keyPressEvent(QKeyEvent* event)
{
    // The close box is the only way out; Esc does not close.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace corvane
