#include "widgets/Msg.h"


#include <QMessageBox>
#include <QPushButton>
#include <QVariant>

namespace corvane::msg {
namespace {

QMessageBox::Icon toQt(Icon icon)
{
    switch (icon) {
    case Icon::Question: return QMessageBox::Question;
    case Icon::Information: return QMessageBox::Information;
    case Icon::Warning: return QMessageBox::Warning;
    case Icon::Critical: return QMessageBox::Critical;
    case Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

void prepare(QMessageBox& box, const QString& text, const QString& title, Icon icon)
{
    box.setObjectName(QStringLiteral("corvaneMessage"));
    box.setWindowTitle(title);
    box.setTextFormat(Qt::PlainText);
    // Texts carry CR LF as on disk; the box shows plain line breaks.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    box.setText(shown);
    box.setProperty("rawText", text);
    box.setIcon(toQt(icon));
    box.setWindowModality(Qt::ApplicationModal);
}

}  // namespace

const QString& appTitle()
{
    static const QString title = QStringLiteral("Corvane 1.0");
    return title;
}

void ok(QWidget* parent, const QString& text, const QString& title, Icon icon)
{
    QMessageBox box(parent);
    prepare(box, text, title, icon);
    QPushButton* okButton = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    okButton->setObjectName(QStringLiteral("OK"));
    box.setDefaultButton(okButton);
    box.setEscapeButton(okButton);
    box.exec();
}

namespace {

bool ask(QWidget* parent, const QString& text, const QString& title, Icon icon, bool yesByDefault)
{
    QMessageBox box(parent);
    prepare(box, text, title, icon);
    QPushButton* yes = box.addButton(QStringLiteral("Sim"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("Não"), QMessageBox::NoRole);
    yes->setObjectName(QStringLiteral("Sim"));
    no->setObjectName(QStringLiteral("Nao"));
    box.setDefaultButton(yesByDefault ? yes : no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

}  // namespace

bool yesNo(QWidget* parent, const QString& text, const QString& title, Icon icon)
{
    return ask(parent, text, title, icon, true);
}

bool yesNoDefaultNo(QWidget* parent, const QString& text, const QString& title, Icon icon)
{
    return ask(parent, text, title, icon, false);
}

}  // namespace corvane::msg
