#pragma once
// Driving the print window from the main window, as a user does.

#include "app/MainWindow.h"
#include "app/TextViewer.h"
#include "support/TestSupport.h"

#include <QAbstractButton>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <functional>
#include <memory>

namespace corvane::test {

// A main window showing script Teste of category Misc with unsaved edits.
struct Main {
    TempLibrary lib;
    std::unique_ptr<MainWindow> window;
    const MainControls* c = nullptr;

    explicit Main(const QString& viewerText = QStringLiteral("Texto ainda não salvo"))
    {
        lib.mkdir(QStringLiteral("Misc"));
        lib.write(QStringLiteral("Misc/Outro.txt"), "\"Outro\"\r\n");
        lib.write(QStringLiteral("Misc/Teste.txt"), "\"Salvo\"\r\n");
        window = std::make_unique<MainWindow>(lib.scripts());
        c = &window->controls();
        window->loadCategories();
        showActive(window.get());
        if (c->lstFile01->findItems(QStringLiteral("Teste"), Qt::MatchExactly).isEmpty()) {
            c->lstFile01->clear();
            c->lstFile01->addItems({QStringLiteral("Outro"), QStringLiteral("Teste")});
        }
        choose(c->lstFile01, QStringLiteral("Teste"));
        c->cxLerFile->setPlainText(viewerText);
    }

    static void choose(QListWidget* list, const QString& entry)
    {
        const QList<QListWidgetItem*> found = list->findItems(entry, Qt::MatchExactly);
        if (!found.isEmpty())
            list->setCurrentItem(found.first());
    }

    // Clicks Imprimir; inspect runs inside the open print window, which is then
    // closed by Cancelar if inspect left it open, so a failed check never hangs.
    void print(ModalWatcher& watcher, std::function<void(QWidget*)> inspect)
    {
        watcher.onDialog([inspect](QWidget* dialog) {
            inspect(dialog);
            if (dialog->isVisible())
                QTest::mouseClick(control<QPushButton>(dialog, "cmbCancel"), Qt::LeftButton);
        });
        c->btnPrint->setEnabled(true);
        QTest::mouseClick(c->btnPrint, Qt::LeftButton);
    }
};

inline void click(QWidget* dialog, const char* name)
{
    auto* button = control<QAbstractButton>(dialog, name);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

}  // namespace corvane::test
