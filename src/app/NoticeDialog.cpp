#include "app/NoticeDialog.h"

#include "app/Picture.h"
#include "app/Twips.h"
#include "app/Window.h"

#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace corvane {

NoticeDialog::NoticeDialog(QWidget* parent)
    : QDialog(parent, kDialogFlags)
{
    setObjectName(QStringLiteral("frmDirInicial"));
    setWindowTitle(QStringLiteral("Corvane - AVISO"));
    setWindowIcon(QIcon(QStringLiteral(":/pictures/icon.svg")));
    fixClientSize(this, 3945, 1845);

    auto* close = new QPushButton(QStringLiteral("Fechar"), this);
    close->setObjectName(QStringLiteral("cmdClose"));
    close->setGeometry(twips(3000, 1440, 855, 300));
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto* text = new QPlainTextEdit(this);
    text->setObjectName(QStringLiteral("txtDirIni"));
    text->setAccessibleName(QStringLiteral("Aviso"));
    text->setGeometry(twips(120, 80, 2775, 855));
    text->setPlainText(noticeText());
    text->setReadOnly(true);
    text->setFocusPolicy(Qt::ClickFocus);
    text->setFrameShape(QFrame::NoFrame);
    text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text->viewport()->setAutoFillBackground(false);
    text->setStyleSheet(QStringLiteral("QPlainTextEdit { background: transparent; }"));
    text->document()->setDocumentMargin(0);

    auto* warning = new QLabel(
        QStringLiteral("Você deve mantê-lo para que seu programa continue funcionando normalmente!"), this);
    warning->setObjectName(QStringLiteral("Label1"));
    warning->setGeometry(twips(120, 960, 3735, 495));
    warning->setWordWrap(true);
    QFont bold = warning->font();
    bold.setBold(true);
    warning->setFont(bold);

    auto* folder = new Picture(QStringLiteral("Image1"), QStringLiteral(":/pictures/folder_big.svg"), this);
    folder->setGeometry(twips(3120, 120, 750, 435));

    auto* line = new QFrame(this);
    line->setObjectName(QStringLiteral("Line1"));
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(px(3000) - 1, px(120), 2, px(880) - px(120));

    close->setFocus();
}

QString NoticeDialog::noticeText()
{
    // Shown with plain line breaks; each of the four lines ends with one.
    return QStringLiteral("Foi detectada a ausência do diretório \n"
                          "\"SCRIPTS\", sem o qual o Programa \n"
                          "não funciona, portanto um novo \n"
                          "diretório acaba de ser criado.\n");
}

void NoticeDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    centreOnScreen(this);
}

}  // namespace corvane
