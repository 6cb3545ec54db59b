#pragma once

#include <QDialog>

namespace corvane {

// frmDirInicial: tells the user the scripts folder was missing and is being made.
class NoticeDialog : public QDialog {
    Q_OBJECT
public:
    explicit NoticeDialog(QWidget* parent = nullptr);

    static QString noticeText();

protected:
    void showEvent(QShowEvent* event) override;
};

}  // namespace corvane
