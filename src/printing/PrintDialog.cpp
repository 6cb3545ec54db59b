#include "printing/PrintDialog.h"

#include "app/Msg.h"
#include "app/TextViewer.h"
#include "app/Twips.h"
#include "app/Window.h"
#include "printing/PrintTarget.h"

#include <QApplication>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace corvane {
namespace {

QGroupBox* frame(QWidget* parent, const char* name, const QString& caption, const QRect& geometry)
{
    auto* box = place(new QGroupBox(caption, parent), name, geometry);
    // The caption sits on the top line, so the options start just below it.
    box->setStyleSheet(QStringLiteral(
        "QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: 7px; }"
        "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left; left: 6px; "
        "padding: 0 2px; }"));
    QFont bold = box->font();
    bold.setBold(true);
    box->setFont(bold);
    return box;
}

// Children of a bold frame keep the dialog's regular font.
QRadioButton* option(QGroupBox* frame, const char* name, const QString& caption, const QRect& geometry,
                     const QString& accessible = {})
{
    auto* b = place(new QRadioButton(caption, frame), name, geometry);
    QFont regular = b->font();
    regular.setBold(false);
    b->setFont(regular);
    if (!accessible.isEmpty())
        b->setAccessibleName(accessible);
    return b;
}

void swatch(QGroupBox* frame, const char* name, const QColor& colour, const QRect& geometry)
{
    auto* s = place(new QFrame(frame), name, geometry);
    s->setFrameStyle(QFrame::Box | QFrame::Plain);
    s->setAutoFillBackground(true);
    QPalette p = s->palette();
    p.setColor(QPalette::Window, colour);
    p.setColor(QPalette::WindowText, Qt::black);
    s->setPalette(p);
}

QPushButton* command(QWidget* parent, const char* name, const QString& caption, const QRect& geometry)
{
    auto* b = place(new QPushButton(caption, parent), name, geometry);
    b->setAutoDefault(false);
    return b;
}

}  // namespace

PrintDialog::PrintDialog(const QString& scriptName, const QString& viewerText, QWidget* parent)
    : QDialog(parent, kDialogFlags)
{
    setObjectName(QStringLiteral("frmPrint"));
    setWindowTitle(QStringLiteral("Corvane - Print preview"));
    setModal(true);
    fixClientSize(this, 5250, 4665);
    buildFrame();

    setBox(190, 280);
    text1_->showText(heading(scriptName, printing::today()) + QStringLiteral("\n\n") + viewerText);
    lblArqName_->setText(scriptName);
    connectOptions();
}

QString PrintDialog::heading(const QString& scriptName, const QDate& day)
{
    return QStringLiteral(":: ") + scriptName + QStringLiteral("  -  ")
           + day.toString(QStringLiteral("dd-MM-yyyy")) + QStringLiteral(" ::");
}

void PrintDialog::buildFrame()
{
    auto* label1 = place(new QLabel(QStringLiteral("Arquivo:"), this), "Label1", twips(120, 0, 585, 195));
    label1->setTextFormat(Qt::PlainText);
    lblArqName_ = place(new QLabel(this), "lblArqName", twips(840, 0, 3135, 255));
    lblArqName_->setTextFormat(Qt::PlainText);
    QFont bold = lblArqName_->font();
    bold.setBold(true);
    lblArqName_->setFont(bold);

    text1_ = place(new TextViewer(this), "Text1", twips(120, 240, 4950, 2355));
    text1_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text1_->setLineWrapMode(TextViewer::WidgetWidth);
    text1_->setTabChangesFocus(true);
    text1_->setAccessibleName(QStringLiteral("Texto a imprimir"));

    QGroupBox* cor = frame(this, "fraCor", QStringLiteral("Cor"), twips(120, 2760, 1140, 1775));
    optBlack_ = option(cor, "optBlack", {}, twips(120, 240, 255, 255), QStringLiteral("Preto"));
    optRed_ = option(cor, "optRed", {}, twips(120, 600, 255, 255), QStringLiteral("Vermelho"));
    optGreen_ = option(cor, "optGreen", {}, twips(120, 960, 255, 255), QStringLiteral("Verde"));
    optBlue_ = option(cor, "optBlue", {}, twips(120, 1320, 255, 255), QStringLiteral("Azul"));
    swatch(cor, "retBlack", QColor(0, 0, 0), twips(420, 270, 495, 195));
    swatch(cor, "retRed", QColor(255, 0, 0), twips(420, 640, 495, 195));
    swatch(cor, "retGreen", QColor(0, 192, 0), twips(420, 990, 495, 195));
    swatch(cor, "Shape1", QColor(0, 0, 255), twips(420, 1350, 495, 195));

    QGroupBox* corpo = frame(this, "fraCorpo", QStringLiteral("Corpo"), twips(1400, 2760, 1140, 1775));
    optC10_ = option(corpo, "optC10", QStringLiteral("10"), twips(120, 240, 735, 255));
    optC11_ = option(corpo, "optC11", QStringLiteral("11"), twips(120, 600, 735, 255));
    optC12_ = option(corpo, "optC12", QStringLiteral("12"), twips(120, 960, 735, 255));
    optC13_ = option(corpo, "optC13", QStringLiteral("13"), twips(120, 1320, 735, 255));

    QGroupBox* fonte = frame(this, "fraFonte", QStringLiteral("Fonte"), twips(2680, 2760, 1140, 1335));
    optFont1_ = option(fonte, "optFont1", QStringLiteral("Arial"), twips(80, 240, 855, 255));
    optFont3_ = option(fonte, "optFont3", QStringLiteral("Courier"), twips(80, 600, 855, 255));
    optFont2_ = option(fonte, "optFont2", QStringLiteral("Times"), twips(80, 960, 855, 255));

    QGroupBox* papel = frame(this, "fraPapel", QStringLiteral("Papel"), twips(3960, 2760, 1140, 1335));
    optA4_ = option(papel, "optA4", QStringLiteral("A4"), twips(80, 240, 870, 255));
    optCarta_ = option(papel, "optCarta", QStringLiteral("Carta"), twips(80, 600, 870, 255));
    optOficio_ = option(papel, "optOficio", QStringLiteral("Ofício"), twips(80, 960, 870, 255));

    for (QRadioButton* chosen : {optBlack_, optC10_, optFont1_, optA4_})
        chosen->setChecked(true);

    cmbCancel_ = command(this, "cmbCancel", QStringLiteral("Cancelar"), twips(2680, 4200, 1140, 335));
    cmbPrint_ = command(this, "cmbPrint", QStringLiteral("Im&primir"), twips(3960, 4200, 1140, 335));

    // The print box size, kept as text the way the window shows nothing of it.
    textp1_ = place(new QLineEdit(this), "textp1", QRect());
    textp2_ = place(new QLineEdit(this), "textp2", QRect());
    textp1_->hide();
    textp2_->hide();

    QWidget::setTabOrder(text1_, optBlack_);
    QWidget::setTabOrder(optBlack_, optC10_);
    QWidget::setTabOrder(optC10_, optFont1_);
    QWidget::setTabOrder(optFont1_, optA4_);
    QWidget::setTabOrder(optA4_, cmbCancel_);
    QWidget::setTabOrder(cmbCancel_, cmbPrint_);
}

void PrintDialog::connectOptions()
{
    // Each option acts only when it becomes the chosen one of its frame.
    auto when = [this](QRadioButton* b, auto apply) {
        connect(b, &QRadioButton::toggled, this, [apply](bool on) {
            if (on)
                apply();
        });
    };
    when(optBlack_, [this] { ink_.colour = QColor(0, 0, 0); });
    when(optRed_, [this] { ink_.colour = QColor(255, 0, 0); });
    when(optGreen_, [this] { ink_.colour = QColor(0, 255, 0); });
    when(optBlue_, [this] { ink_.colour = QColor(0, 0, 255); });
    when(optC10_, [this] { ink_.pointSize = 10; });
    when(optC11_, [this] { ink_.pointSize = 11; });
    when(optC12_, [this] { ink_.pointSize = 12; });
    when(optC13_, [this] { ink_.pointSize = 13; });
    when(optFont1_, [this] { ink_.fontName = QStringLiteral("Arial"); });
    when(optFont2_, [this] { ink_.fontName = QStringLiteral("Times New Roman"); });
    when(optFont3_, [this] { ink_.fontName = QStringLiteral("Courier New"); });
    when(optA4_, [this] { setBox(190, 280); });
    when(optCarta_, [this] { setBox(195, 270); });
    when(optOficio_, [this] { setBox(195, 320); });

    connect(cmbCancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmbPrint_, &QPushButton::clicked, this, &PrintDialog::printText);
}

void PrintDialog::setBox(int widthMm, int heightMm)
{
    textp1_->setText(QString::number(widthMm));
    textp2_->setText(QString::number(heightMm));
}

void PrintDialog::printText()
{
    const QString text = text1_->rawText();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const PrintOutcome outcome = printPage(text, ink_, textp1_->text().toInt(), textp2_->text().toInt());
    QApplication::restoreOverrideCursor();

    switch (outcome) {
    case PrintOutcome::Printed:
        break;
    case PrintOutcome::NoPrinter:
        msg::ok(this,
                QStringLiteral("Nenhuma impressora padrão foi encontrada. Instale uma impressora e "
                               "defina-a como padrão para poder imprimir."),
                msg::appTitle(), msg::Icon::Warning);
        break;
    case PrintOutcome::Failed:
        msg::ok(this,
                QStringLiteral("Não foi possível imprimir na impressora padrão. Verifique se ela está "
                               "ligada e pronta e tente novamente."),
                msg::appTitle(), msg::Icon::Critical);
        break;
    }
}

void PrintDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!centred_) {
        centred_ = true;
        centreOnScreen(this);
    }
}

}  // namespace corvane
