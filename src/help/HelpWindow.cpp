#include "help/HelpWindow.h"

#include "widgets/Picture.h"
#include "widgets/Twips.h"
#include "widgets/Controls.h"
#include "widgets/ClickLabel.h"

#include <QFrame>
#include <QIcon>
#include <QKeyEvent>
#include <QPlainTextEdit>

namespace corvane {

using controls::picture;

HelpWindow::HelpWindow(QWidget* parent)
    : FixedDialog(parent, "frmHelp", help::helpTitle(), 4110, 4665, Keys::NoEscape)
{
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

    controls::rule(this, "linha1", twips(240, 285, 3655, 30));

    const QColor shadow = palette().color(QPalette::Shadow);
    for (int i = 0; i < 3; ++i) {
        QPlainTextEdit* box = topicBox(tabs[i].box, tabs[i].caption, tabs[i].topic);
        QPalette p = box->palette();
        p.setColor(QPalette::Text, i == 0 ? QColor(Qt::black) : p.color(QPalette::WindowText));
        box->setPalette(p);
        box->setVisible(i == 0);
        boxes_[i] = box;

        auto* label = new ClickLabel(QLatin1String(tabs[i].label), tabs[i].caption, this);
        label->setGeometry(tabs[i].geometry);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        controls::setBold(label);
        setTextColour(label, i == 0 ? shownColour() : shadow);
        labels_[i] = label;
        const help::Topic topic = tabs[i].topic;
        connect(label, &ClickLabel::clicked, this, [this, topic] { select(topic); });
    }
}

QPlainTextEdit* HelpWindow::topicBox(const char* name, const QString& caption, help::Topic topic)
{
    auto* box = new QPlainTextEdit(this);
    box->setObjectName(QLatin1String(name));
    box->setAccessibleName(help::topicName(caption));
    box->setGeometry(twips(240, 340, 3655, 4080));
    box->setReadOnly(true);
    box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    box->setFocusPolicy(Qt::ClickFocus);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    QPalette p = box->palette();
    p.setColor(QPalette::Base, p.color(QPalette::Button));
    box->setPalette(p);
    // The topics keep CR LF; the box shows plain line breaks.
    box->setPlainText(help::topic(topic).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    return box;
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

}  // namespace corvane
