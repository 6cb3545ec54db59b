#include "backup/DirList.h"

#include "library/Library.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QStyledItemDelegate>

namespace corvane {
namespace {

constexpr int kIndent = 8;

class IndentDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem shifted(option);
        shifted.rect.setLeft(option.rect.left() + kIndent * index.data(DirList::LevelRole).toInt());
        QStyledItemDelegate::paint(painter, shifted, index);
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.rwidth() += kIndent * index.data(DirList::LevelRole).toInt();
        return size;
    }
};

}  // namespace

DirList::DirList(const QString& name, QWidget* parent)
    : QListWidget(parent)
{
    setObjectName(name);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setItemDelegate(new IndentDelegate(this));
    setIconSize(QSize(14, 14));
}

bool DirList::setPath(const QString& folder)
{
    QDir dir(QDir::cleanPath(QFileInfo(folder).absoluteFilePath()));
    if (!dir.exists() || !dir.isReadable())
        return false;
    QStringList children = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Unsorted);
    sortForList(children);

    // Ancestors, from the root down.
    QStringList chain;
    QDir up(dir);
    chain.prepend(up.absolutePath());
    while (!up.isRoot() && up.cdUp())
        chain.prepend(up.absolutePath());

    clear();
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    int level = 0;
    for (const QString& ancestor : chain) {
        const QString shown = level == 0 ? QDir::toNativeSeparators(ancestor) : QFileInfo(ancestor).fileName();
        auto* item = new QListWidgetItem(open, shown, this);
        item->setData(PathRole, ancestor);
        item->setData(LevelRole, level++);
    }
    const int current = count() - 1;
    for (const QString& child : children) {
        auto* item = new QListWidgetItem(closed, child, this);
        item->setData(PathRole, dir.absoluteFilePath(child));
        item->setData(LevelRole, level);
    }
    setCurrentRow(current);
    scrollToItem(item(current));

    const QString changed = dir.absolutePath();
    if (changed != path_) {
        path_ = changed;
        emit pathChanged(path_);
    }
    return true;
}

void DirList::open(QListWidgetItem* item)
{
    if (item)
        setPath(item->data(PathRole).toString());
}

void DirList::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        QListWidgetItem* hit = itemAt(event->position().toPoint());
        event->accept();
        if (hit)
            open(hit);
        return;
    }
    QListWidget::mouseDoubleClickEvent(event);
}

void DirList::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        open(currentItem());
        return;
    }
    QListWidget::keyPressEvent(event);
}

}  // namespace corvane
