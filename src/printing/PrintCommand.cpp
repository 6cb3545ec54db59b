#include "printing/PrintCommand.h"

#include "app/MainWindow.h"
#include "app/TextViewer.h"
#include "printing/PrintDialog.h"

#include <QListWidget>
#include <QPushButton>

namespace corvane {
namespace {

QString selectedText(const QListWidget* list)
{
    const QList<QListWidgetItem*> chosen = list->selectedItems();
    return chosen.isEmpty() ? QString() : chosen.first()->text();
}

}  // namespace

PrintCommand::PrintCommand(MainWindow& window)
    : QObject(&window)
    , window_(window)
{
    connect(window.controls().btnPrint, &QPushButton::clicked, this, &PrintCommand::openPrintWindow);
}

QString PrintCommand::scriptName() const
{
    const MainControls& c = window_.controls();
    if (c.lstFile01->count() > 0)
        return selectedText(c.lstFile01);
    // With nothing chosen in either list the window opens with an empty name.
    return selectedText(c.lstFile02).section(QStringLiteral(" --> "), 0, 0);
}

void PrintCommand::openPrintWindow()
{
    PrintDialog dialog(scriptName(), window_.controls().cxLerFile->rawText(), &window_);
    dialog.exec();
}

}  // namespace corvane
