#include "widgets/KeyedList.h"

#include "library/Fs.h"
#include "widgets/Controls.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalBlocker>

namespace corvane {

KeyedList::KeyedList(QWidget* parent)
    : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    controls::tipCutEntries(this);
}

QByteArray KeyedList::keyOf(const QListWidgetItem* item)
{
    return item ? item->data(Qt::UserRole).toByteArray() : QByteArray();
}

QString KeyedList::selectedText() const
{
    const QList<QListWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text();
}

QByteArray KeyedList::selectedKey() const
{
    const QList<QListWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? QByteArray() : keyOf(selected.first());
}

Items KeyedList::entries() const
{
    Items items;
    items.reserve(count());
    for (int i = 0; i < count(); ++i)
        items.append({item(i)->text(), keyOf(item(i))});
    return items;
}

namespace {

QListWidgetItem* makeItem(const Item& item)
{
    auto* entry = new QListWidgetItem(item.shown);
    entry->setData(Qt::UserRole, item.key);
    return entry;
}

}  // namespace

void KeyedList::fill(const Items& items)
{
    clear();
    setUpdatesEnabled(false);
    for (const Item& item : items)
        addItem(makeItem(item));
    setUpdatesEnabled(true);
}

void KeyedList::insertSorted(const Item& entry)
{
    QStringList current;
    current.reserve(count());
    for (int i = 0; i < count(); ++i)
        current.append(item(i)->text());
    // Moving the selected entry down a row is no new choice of the user's.
    const QSignalBlocker block(this);
    insertItem(sortedInsertPosition(current, entry.shown), makeItem(entry));
}

void KeyedList::removeSelected()
{
    const QList<QListWidgetItem*> selected = selectedItems();
    if (selected.isEmpty())
        return;
    // Taking the selected entry would select its neighbour; clear the current
    // entry first so nothing becomes selected.
    const QSignalBlocker block(this);
    QListWidgetItem* entry = selected.first();
    setCurrentItem(nullptr);
    delete takeItem(row(entry));
}

bool KeyedList::update(const Items& items)
{
    const Items now = entries();
    const bool same = std::equal(now.begin(), now.end(), items.begin(), items.end(),
                                 [](const Item& a, const Item& b) { return a.key == b.key && a.shown == b.shown; });
    if (same)
        return false;
    const QByteArray chosen = selectedKey();
    const int scrolled = verticalScrollBar()->value();
    {
        const QSignalBlocker block(this);
        fill(items);
    }
    selectQuietly(chosen);
    verticalScrollBar()->setValue(scrolled);
    return true;
}

void KeyedList::selectQuietly(const QByteArray& key)
{
    if (key.isEmpty())
        return;
    const QSignalBlocker block(this);
    for (int i = 0; i < count(); ++i) {
        if (keyOf(item(i)) == key) {
            setCurrentItem(item(i));
            return;
        }
    }
}

void KeyedList::clearQuietly()
{
    const QSignalBlocker block(this);
    clear();
}

bool KeyedList::onSelectedEntry(QMouseEvent* event) const
{
    if (!(event->modifiers() & Qt::ControlModifier))
        return false;
    const QListWidgetItem* entry = itemAt(event->position().toPoint());
    return entry && entry->isSelected();
}

void KeyedList::mousePressEvent(QMouseEvent* event)
{
    if (onSelectedEntry(event))
        return event->accept();
    QListWidget::mousePressEvent(event);
}

void KeyedList::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (onSelectedEntry(event))
        return event->accept();
    QListWidget::mouseDoubleClickEvent(event);
}

void KeyedList::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space && (event->modifiers() & Qt::ControlModifier) && currentItem()
        && currentItem()->isSelected())
        return event->accept();
    QListWidget::keyPressEvent(event);
}

}  // namespace corvane
