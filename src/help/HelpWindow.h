#pragma once

#include "help/HelpTexts.h"

#include "widgets/FixedDialog.h"

class QPlainTextEdit;

namespace corvane {

class ClickLabel;

// frmHelp: three topics of fixed text, picked by three labels acting as tabs.
class HelpWindow : public FixedDialog {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // The colour of the label of the topic shown.
    static QColor shownColour() { return QColor(192, 0, 0); }

private:
    QPlainTextEdit* topicBox(const char* name, const QString& caption, help::Topic topic);
    void select(help::Topic topic);

    ClickLabel* labels_[3] = {};
    QPlainTextEdit* boxes_[3] = {};
};

}  // namespace corvane
