#include "printing/PrintDialog.h"

#include "printing/PrintTexts.h"
#include "widgets/Msg.h"
#include "widgets/TextViewer.h"
#include "widgets/Twips.h"
#include "widgets/Controls.h"
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

using controls::place;

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

}  // namespace

PrintDialog::PrintDialog(const QString& scriptName, const QString& viewerText, QWidget* parent,
                         printing::PrintSystem system)
    : FixedDialog(parent, "frmPrint", printTexts::title(), 5250, 4665)
    , system_(std::move(system))
{
    setModal(true);
    buildFrame();

    preview_->showText(heading(scriptName, system_.today()) + QStringLiteral("\n\n") + viewerText);
    scriptName_->setText(scriptName);
    connectOptions();
}

QString PrintDialog::heading(const QString& scriptName, const QDate& day)
{
    return printTexts::heading(scriptName, day);
}

void PrintDialog::buildFrame()
{
    controls::label(this, "Label1", QStringLiteral("Arquivo:"), twips(120, 0, 585, 195));
    scriptName_ = controls::label(this, "lblArqName", QString(), twips(840, 0, 3135, 255));
    controls::setBold(scriptName_);

    preview_ = place(new TextViewer(this), "Text1", twips(120, 240, 4950, 2355));
    preview_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    preview_->setLineWrapMode(TextViewer::WidgetWidth);
    preview_->setTabChangesFocus(true);
    preview_->setAccessibleName(QStringLiteral("Texto a imprimir"));

    QGroupBox* cor = frame(this, "fraCor", QStringLiteral("Cor"), twips(120, 2760, 1140, 1775));
    black_ = option(cor, "optBlack", {}, twips(120, 240, 255, 255), QStringLiteral("Preto"));
    red_ = option(cor, "optRed", {}, twips(120, 600, 255, 255), QStringLiteral("Vermelho"));
    green_ = option(cor, "optGreen", {}, twips(120, 960, 255, 255), QStringLiteral("Verde"));
    blue_ = option(cor, "optBlue", {}, twips(120, 1320, 255, 255), QStringLiteral("Azul"));
    swatch(cor, "retBlack", QColor(0, 0, 0), twips(420, 270, 495, 195));
    swatch(cor, "retRed", QColor(255, 0, 0), twips(420, 640, 495, 195));
    swatch(cor, "retGreen", QColor(0, 192, 0), twips(420, 990, 495, 195));
    swatch(cor, "Shape1", QColor(0, 0, 255), twips(420, 1350, 495, 195));

    QGroupBox* corpo = frame(this, "fraCorpo", QStringLiteral("Corpo"), twips(1400, 2760, 1140, 1775));
    size10_ = option(corpo, "optC10", QStringLiteral("10"), twips(120, 240, 735, 255));
    size11_ = option(corpo, "optC11", QStringLiteral("11"), twips(120, 600, 735, 255));
    size12_ = option(corpo, "optC12", QStringLiteral("12"), twips(120, 960, 735, 255));
    size13_ = option(corpo, "optC13", QStringLiteral("13"), twips(120, 1320, 735, 255));

    QGroupBox* fonte = frame(this, "fraFonte", QStringLiteral("Fonte"), twips(2680, 2760, 1140, 1335));
    arial_ = option(fonte, "optFont1", QStringLiteral("Arial"), twips(80, 240, 855, 255));
    courier_ = option(fonte, "optFont3", QStringLiteral("Courier"), twips(80, 600, 855, 255));
    times_ = option(fonte, "optFont2", QStringLiteral("Times"), twips(80, 960, 855, 255));

    QGroupBox* papel = frame(this, "fraPapel", QStringLiteral("Papel"), twips(3960, 2760, 1140, 1335));
    a4_ = option(papel, "optA4", QStringLiteral("A4"), twips(80, 240, 870, 255));
    letter_ = option(papel, "optCarta", QStringLiteral("Carta"), twips(80, 600, 870, 255));
    legal_ = option(papel, "optOficio", QStringLiteral("Ofício"), twips(80, 960, 870, 255));

    for (QRadioButton* chosen : {black_, size10_, arial_, a4_})
        chosen->setChecked(true);

    cancel_ = controls::button(this, "cmbCancel", QStringLiteral("Cancelar"), twips(2680, 4200, 1140, 335));
    print_ = controls::button(this, "cmbPrint", QStringLiteral("Im&primir"), twips(3960, 4200, 1140, 335));

    QWidget::setTabOrder(preview_, black_);
    QWidget::setTabOrder(black_, size10_);
    QWidget::setTabOrder(size10_, arial_);
    QWidget::setTabOrder(arial_, a4_);
    QWidget::setTabOrder(a4_, cancel_);
    QWidget::setTabOrder(cancel_, print_);
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
    when(black_, [this] { ink_.colour = QColor(0, 0, 0); });
    when(red_, [this] { ink_.colour = QColor(255, 0, 0); });
    when(green_, [this] { ink_.colour = QColor(0, 255, 0); });
    when(blue_, [this] { ink_.colour = QColor(0, 0, 255); });
    when(size10_, [this] { ink_.pointSize = 10; });
    when(size11_, [this] { ink_.pointSize = 11; });
    when(size12_, [this] { ink_.pointSize = 12; });
    when(size13_, [this] { ink_.pointSize = 13; });
    when(arial_, [this] { ink_.fontName = QStringLiteral("Arial"); });
    when(times_, [this] { ink_.fontName = QStringLiteral("Times New Roman"); });
    when(courier_, [this] { ink_.fontName = QStringLiteral("Courier New"); });
    when(a4_, [this] { setBox(190, 280); });
    when(letter_, [this] { setBox(195, 270); });
    when(legal_, [this] { setBox(195, 320); });

    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(print_, &QPushButton::clicked, this, &PrintDialog::printText);
}

void PrintDialog::setBox(int widthMm, int heightMm)
{
    boxWidthMm_ = widthMm;
    boxHeightMm_ = heightMm;
}

void PrintDialog::printText()
{
    const QString text = preview_->rawText();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const printing::Result result = printPage(system_.printer, text, ink_, boxWidthMm_, boxHeightMm_);
    QApplication::restoreOverrideCursor();

    if (result != printing::Result::Done)
        msg::ok(this, printTexts::failure(result), msg::appTitle(),
                result == printing::Result::NoPrinter ? msg::Icon::Warning : msg::Icon::Critical);
}

}  // namespace corvane
