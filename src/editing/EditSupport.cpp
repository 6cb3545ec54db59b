#include "editing/EditSupport.h"

#include "app/MainWindow.h"
#include "app/NameBox.h"
#include "app/Picture.h"
#include "browse/Browser.h"
#include "library/Names.h"
#include "library/ScriptFile.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSignalBlocker>

namespace corvane::edit {
namespace {

void selectQuietly(QListWidget* list, const QString& name)
{
    if (name.isEmpty())
        return;
    const QList<QListWidgetItem*> found = list->findItems(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (!found.isEmpty())
        list->setCurrentItem(found.first());
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

QString entryTaken(const QString& dir, const QString& name, const QString& except)
{
    // One unsorted pass: categories can hold tens of thousands of scripts.
    QDirIterator it(dir, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        const QString entry = it.fileName();
        if (entry.size() == name.size() && entry != except
            && QString::compare(entry, name, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return {};
}

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
    list->insertItem(sortedInsertPosition(current, name), name);
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
    const QString category = Browser::selectedText(c.lstDir01);
    const QString script = Browser::selectedText(c.lstFile01);
    {
        const QSignalBlocker block(c.lstDir01);
        c.lstDir01->clear();
        c.lstDir01->addItems(window.library().categories());
        selectQuietly(c.lstDir01, category);
    }
    const QSignalBlocker block(c.lstFile01);
    c.lstFile01->clear();
    if (c.lstDir01->selectedItems().isEmpty()) {
        if (!category.isEmpty())
            clearChoice(c);
        return;
    }
    c.lstFile01->addItems(window.library().readCategory(category).shownNames);
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

}  // namespace corvane::edit
