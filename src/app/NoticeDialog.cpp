#include "app/NoticeDialog.h"

#include "app/AppTexts.h"
#include "widgets/Picture.h"
#include "widgets/Twips.h"
#include "widgets/Controls.h"

#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace corvane {

NoticeDialog::NoticeDialog(QWidget* parent)
    : FixedDialog(parent, "frmDirInicial", appTexts::noticeTitle(), 3945, 1845)
{
    QPushButton* close = controls::button(this, "cmdClose", QStringLiteral("Fechar"), twips(3000, 1440, 855, 300));
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto* text = controls::place(new QPlainTextEdit(this), "txtDirIni", twips(120, 80, 2775, 855),
                                 QStringLiteral("Aviso"));
    text->setPlainText(appTexts::noticeText());
    text->setReadOnly(true);
    text->setFocusPolicy(Qt::ClickFocus);
    text->setFrameShape(QFrame::NoFrame);
    text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text->viewport()->setAutoFillBackground(false);
    text->setStyleSheet(QStringLiteral("QPlainTextEdit { background: transparent; }"));
    text->document()->setDocumentMargin(0);

    QLabel* warning = controls::label(this, "Label1", appTexts::noticeWarning(), twips(120, 960, 3735, 495));
    warning->setWordWrap(true);
    controls::setBold(warning);

    controls::picture(this, "Image1", "folder_big.svg", twips(3120, 120, 750, 435));

    auto* line = new QFrame(this);
    line->setObjectName(QStringLiteral("Line1"));
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(px(3000) - 1, px(120), 2, px(880) - px(120));

    close->setFocus();
}

}  // namespace corvane
