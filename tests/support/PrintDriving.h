#pragma once
// Driving the print window from the main window, as a user does.

#include "app/MainWindow.h"
#include "support/TestSupport.h"

#include <QAbstractButton>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <functional>
#include <memory>

namespace corvane::test {

inline const QString kUnsavedText = QStringLiteral("Texto ainda não salvo");

// A main window showing script Teste of category Misc with unsaved edits.
struct Main {
    TempLibrary lib;
    std::unique_ptr<MainWindow> window;

    explicit Main(const QString& viewerText = kUnsavedText, SystemHooks hooks = {})
    {
        lib.mkdir(QStringLiteral("Misc"));
        lib.write(QStringLiteral("Misc/Outro.txt"), "\"Outro\"\r\n");
        lib.write(QStringLiteral("Misc/Teste.txt"), "\"Salvo\"\r\n");
        window = std::make_unique<MainWindow>(lib.scripts(), std::move(hooks));
        window->loadCategories();
        showActive(window.get());
        choose(get<QListWidget>("lstFile01"), QStringLiteral("Teste"));
        viewer()->setPlainText(viewerText);
    }

    template <typename T = QWidget>
    T* get(const char* name) { return control<T>(window.get(), name); }
    QPlainTextEdit* viewer() { return get<QPlainTextEdit>("cxLerFile"); }

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
        QTest::mouseClick(get("btnPrint"), Qt::LeftButton);
    }
};

inline void click(QWidget* dialog, const char* name)
{
    auto* button = control<QAbstractButton>(dialog, name);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

}  // namespace corvane::test
