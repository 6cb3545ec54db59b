#pragma once

#include "widgets/FixedDialog.h"

namespace corvane {

// frmDirInicial: tells the user the scripts folder was missing and is being made.
class NoticeDialog : public FixedDialog {
    Q_OBJECT
public:
    explicit NoticeDialog(QWidget* parent = nullptr);
};

}  // namespace corvane
