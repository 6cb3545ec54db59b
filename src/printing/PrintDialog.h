#pragma once

#include "printing/PrintJob.h"

#include "widgets/FixedDialog.h"

class QLabel;
class QPushButton;
class QRadioButton;

namespace corvane {

class TextViewer;

// frmPrint: the text about to be printed, under its heading, and the choices of
// ink, size, font and paper. Built afresh at each opening, so every opening
// starts from the defaults.
class PrintDialog : public FixedDialog {
    Q_OBJECT
public:
    PrintDialog(const QString& scriptName, const QString& viewerText, QWidget* parent = nullptr,
                printing::PrintSystem system = {});

    // ":: name  -  dd-mm-yyyy ::"
    static QString heading(const QString& scriptName, const QDate& day);

private:
    void buildFrame();
    void connectOptions();
    void printText();
    void setBox(int widthMm, int heightMm);

    printing::PrintSystem system_;
    PrintInk ink_;
    int boxWidthMm_ = 190;  // A4's box until another paper is chosen
    int boxHeightMm_ = 280;

    QLabel* scriptName_ = nullptr;
    TextViewer* preview_ = nullptr;
    QRadioButton* black_ = nullptr;
    QRadioButton* red_ = nullptr;
    QRadioButton* green_ = nullptr;
    QRadioButton* blue_ = nullptr;
    QRadioButton* size10_ = nullptr;
    QRadioButton* size11_ = nullptr;
    QRadioButton* size12_ = nullptr;
    QRadioButton* size13_ = nullptr;
    QRadioButton* arial_ = nullptr;
    QRadioButton* times_ = nullptr;
    QRadioButton* courier_ = nullptr;
    QRadioButton* a4_ = nullptr;
    QRadioButton* letter_ = nullptr;
    QRadioButton* legal_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* print_ = nullptr;
};

}  // namespace corvane
