#pragma once

#include "printing/PrintJob.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace corvane {

class TextViewer;

// frmPrint: the text about to be printed, under its heading, and the choices of
// ink, size, font and paper. Built afresh at each opening, so every opening
// starts from the defaults.
class PrintDialog : public QDialog {
    Q_OBJECT
public:
    PrintDialog(const QString& scriptName, const QString& viewerText, QWidget* parent = nullptr);

    // ":: name  -  dd-mm-yyyy ::"
    static QString heading(const QString& scriptName, const QDate& day);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildFrame();
    void connectOptions();
    void printText();
    void setBox(int widthMm, int heightMm);

    PrintInk ink_;
    bool centred_ = false;

    QLabel* lblArqName_ = nullptr;
    TextViewer* text1_ = nullptr;
    QLineEdit* textp1_ = nullptr;
    QLineEdit* textp2_ = nullptr;
    QRadioButton* optBlack_ = nullptr;
    QRadioButton* optRed_ = nullptr;
    QRadioButton* optGreen_ = nullptr;
    QRadioButton* optBlue_ = nullptr;
    QRadioButton* optC10_ = nullptr;
    QRadioButton* optC11_ = nullptr;
    QRadioButton* optC12_ = nullptr;
    QRadioButton* optC13_ = nullptr;
    QRadioButton* optFont1_ = nullptr;
    QRadioButton* optFont2_ = nullptr;
    QRadioButton* optFont3_ = nullptr;
    QRadioButton* optA4_ = nullptr;
    QRadioButton* optCarta_ = nullptr;
    QRadioButton* optOficio_ = nullptr;
    QPushButton* cmbCancel_ = nullptr;
    QPushButton* cmbPrint_ = nullptr;
};

}  // namespace corvane
