#include "widgets/KeyedList.h"

#include "library/Fs.h"
#include "widgets/Controls.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
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

namespace {

const QString kEntryMime = QStringLiteral("application/x-corvane-entry");

}  // namespace

void KeyedList::allowDrags()
{
    setDragDropMode(QAbstractItemView::DragOnly);
    // A copy, as far as the view knows: it never removes the dragged entry itself.
    setDefaultDropAction(Qt::CopyAction);
}

void KeyedList::takeDropsFrom(const KeyedList* source)
{
    dropSource_ = source;
    setAcceptDrops(true);
    setDropIndicatorShown(false);
}

QMimeData* KeyedList::mimeData(const QList<QListWidgetItem*>& items) const
{
    QMimeData* data = QListWidget::mimeData(items);
    if (items.size() != 1)
        return data;
    // Which list of which running program: a drop takes only its source's entries.
    QByteArray payload;
    QDataStream out(&payload, QIODevice::WriteOnly);
    out << QCoreApplication::applicationPid() << quintptr(this) << items.first()->text() << keyOf(items.first());
    data->setData(kEntryMime, payload);
    return data;
}

std::optional<Item> KeyedList::dragged(const QDropEvent* event) const
{
    if (!dropSource_ || !event->mimeData()->hasFormat(kEntryMime))
        return std::nullopt;
    QDataStream in(event->mimeData()->data(kEntryMime));
    qint64 pid = 0;
    quintptr list = 0;
    Item entry;
    in >> pid >> list >> entry.shown >> entry.key;
    if (in.status() != QDataStream::Ok || pid != QCoreApplication::applicationPid() || list != quintptr(dropSource_))
        return std::nullopt;
    return entry;
}

QListWidgetItem* KeyedList::dropTarget(const QDropEvent* event) const
{
    return itemAt(event->position().toPoint());
}

void KeyedList::markDropTarget(QListWidgetItem* entry)
{
    const QModelIndex index = entry ? indexFromItem(entry) : QModelIndex();
    if (index != marked_) {
        marked_ = index;
        viewport()->update();
    }
}

// Other drags are refused without the view's own handling, which would add
// entries to the list. The view's handling of this list's drags scrolls it.
void KeyedList::dragEnterEvent(QDragEnterEvent* event)
{
    dragMoveEvent(event);
}

void KeyedList::dragMoveEvent(QDragMoveEvent* event)
{
    if (!dragged(event))
        return event->ignore();
    QListWidget::dragMoveEvent(event);
    QListWidgetItem* target = dropTarget(event);
    markDropTarget(target);
    event->setAccepted(target != nullptr);
}

void KeyedList::dragLeaveEvent(QDragLeaveEvent* event)
{
    markDropTarget(nullptr);
    QListWidget::dragLeaveEvent(event);
}

void KeyedList::dropEvent(QDropEvent* event)
{
    const std::optional<Item> entry = dragged(event);
    const QListWidgetItem* target = dropTarget(event);
    markDropTarget(nullptr);
    stopAutoScroll();
    setState(NoState);
    if (!entry || !target)
        return event->ignore();
    event->setDropAction(Qt::CopyAction);
    event->accept();
    // The drag ends first; a question asked within it would hold the drag open.
    QMetaObject::invokeMethod(
        this, [this, dropped = *entry, onto = Item{target->text(), keyOf(target)}] { emit entryDropped(dropped, onto); },
        Qt::QueuedConnection);
}

void KeyedList::paintEvent(QPaintEvent* event)
{
    QListWidget::paintEvent(event);
    if (!marked_.isValid())
        return;
    // A frame in the selection colour around the entry a drop would land on.
    QPainter painter(viewport());
    painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
    painter.drawRect(visualRect(marked_).adjusted(1, 1, -1, -1));
}

}  // namespace corvane
