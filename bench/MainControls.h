#pragma once
// The main window's controls a benchmark drives, found by their names.

#include "app/MainWindow.h"
#include "widgets/NameBox.h"
#include "widgets/TextViewer.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace corvane::bench {

struct MainControls {
    explicit MainControls(const MainWindow& w)
        : lstDir01(w.findChild<QListWidget*>(QStringLiteral("lstDir01")))
        , lstFile01(w.findChild<QListWidget*>(QStringLiteral("lstFile01")))
        , cxLerFile(w.findChild<TextViewer*>(QStringLiteral("cxLerFile")))
        , cxRnmFile(w.findChild<NameBox*>(QStringLiteral("cxRnmFile")))
        , lblTeste(w.findChild<QLabel*>(QStringLiteral("lblTeste")))
        , btnAddFile(w.findChild<QPushButton*>(QStringLiteral("btnAddFile")))
        , btnEditFile(w.findChild<QPushButton*>(QStringLiteral("btnEditFile")))
        , btnPrint(w.findChild<QPushButton*>(QStringLiteral("btnPrint")))
    {
    }
    QListWidget* lstDir01;
    QListWidget* lstFile01;
    TextViewer* cxLerFile;
    NameBox* cxRnmFile;
    QLabel* lblTeste;
    QPushButton* btnAddFile;
    QPushButton* btnEditFile;
    QPushButton* btnPrint;
};

}  // namespace corvane::bench
