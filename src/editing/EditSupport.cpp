#include "editing/EditSupport.h"

#include "app/MainWindow.h"
#include "app/NameBox.h"
#include "app/Picture.h"
#include "app/TextViewer.h"
#include "browse/Browser.h"
#include "library/Names.h"
#include "library/ScriptFile.h"

#include <QLabel>
#include <QListWidget>
#include <QSignalBlocker>

namespace corvane::edit {
namespace {

void selectQuietly(QListWidget* list, const QByteArray& key)
{
    if (key.isEmpty())
        return;
    for (int i = 0; i < list->count(); ++i) {
        if (Browser::keyOf(list->item(i)) == key) {
            list->setCurrentItem(list->item(i));
            return;
        }
    }
}

// Nothing chosen any more: no name, size or marker describes a choice.
void clearChoice(const MainControls& c)
{
    c.lblTeste->clear();
    c.lblTamanho->clear();
    c.imageTit1->hide();
    c.imageTit2->hide();
}

void emptyScriptSide(MainWindow& window)
{
    const MainControls& c = window.controls();
    {
        const QSignalBlocker block(c.lstFile01);
        c.lstFile01->clear();
    }
    c.cxLerFile->clear();
    c.cxRnmFile->clear();
    clearChoice(c);
}

}  // namespace

QString unsafeCategory(const QString& category)
{
    return names::unsafeMessage(category);
}

QString unsafeScript(const QString& name)
{
    // What reaches the file system is the name with ".txt", so "..." or "nota."
    // are harmless here while separators and device names are not.
    const QString file = name + QStringLiteral(".txt");
    if (names::unsafeReason(file).isEmpty())
        return {};
    const QString message = names::unsafeMessage(name);
    return message.isEmpty() ? names::unsafeMessage(file) : message;
}

void insertSorted(QListWidget* list, const QString& name)
{
    QStringList current;
    current.reserve(list->count());
    for (int i = 0; i < list->count(); ++i)
        current.append(list->item(i)->text());
    // Moving the selected entry down a row is no new choice of the user's.
    const QSignalBlocker block(list);
    list->insertItem(sortedInsertPosition(current, name), Browser::makeItem({name, fs::rawName(name)}));
}

void removeSelected(QListWidget* list)
{
    const QList<QListWidgetItem*> selected = list->selectedItems();
    if (selected.isEmpty())
        return;
    // Taking the selected entry would select its neighbour; clear the current
    // entry first so nothing becomes selected.
    const QSignalBlocker block(list);
    QListWidgetItem* item = selected.first();
    list->setCurrentItem(nullptr);
    delete list->takeItem(list->row(item));
}

void resyncLists(MainWindow& window)
{
    const MainControls& c = window.controls();
    const QByteArray category = Browser::selectedKey(c.lstDir01);
    const QByteArray script = Browser::selectedKey(c.lstFile01);
    {
        const QSignalBlocker block(c.lstDir01);
        Browser::fill(c.lstDir01, window.library().categories());
        selectQuietly(c.lstDir01, category);
    }
    const QSignalBlocker block(c.lstFile01);
    c.lstFile01->clear();
    if (c.lstDir01->selectedItems().isEmpty()) {
        if (!category.isEmpty())
            clearChoice(c);
        return;
    }
    Browser::fill(c.lstFile01, window.library().readCategory(category).items);
    selectQuietly(c.lstFile01, script);
}

void reloadCategories(MainWindow& window)
{
    window.loadCategories();
    if (window.controls().lstDir01->count() == 0)
        emptyScriptSide(window);
}

void selectFirstCategory(MainWindow& window)
{
    QListWidget* list = window.controls().lstDir01;
    if (list->count() > 0)
        list->setCurrentRow(0);
    else
        emptyScriptSide(window);
}

QString notDone(const QString& result, const QString& reason)
{
    return result + QStringLiteral("\r\n") + reason;
}

QString unencodableReason(char32_t c)
{
    return QStringLiteral("O texto contém o caractere %1, que não pode ser gravado em um script.")
        .arg(script::describeChar(c));
}

QString writeFailure(const QString& what, int error)
{
    return fs::diskFull(error) ? what + QStringLiteral(" O disco está cheio.") : what;
}

QString outsideLibrary(const QString& what)
{
    return QStringLiteral("%1 leva, por um link simbólico, para fora da pasta dos scripts; "
                          "por segurança, nada foi alterado.")
        .arg(what);
}

}  // namespace corvane::edit
