#include "browse/Browser.h"

#include "app/MainWindow.h"
#include "app/Msg.h"
#include "app/NameBox.h"
#include "app/Picture.h"
#include "app/TextViewer.h"
#include "library/ScriptFile.h"
#include "library/Sizes.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>

namespace corvane {

Browser::Browser(MainWindow& window)
    : QObject(&window)
    , window_(window)
{
    const MainControls& c = window_.controls();

    // Selections, not current rows: tabbing into an unselected list makes its
    // first entry current without selecting it, which is no choice of the user's.
    connect(c.lstDir01, &QListWidget::itemSelectionChanged, this, [this] {
        if (!window_.controls().lstDir01->selectedItems().isEmpty())
            categorySelected();
    });
    connect(c.lstFile01, &QListWidget::itemSelectionChanged, this, [this] {
        if (!window_.controls().lstFile01->selectedItems().isEmpty())
            scriptSelected();
    });

    // Name boxes get the double-clicked name as it is: no key filter, no limit.
    connect(c.lstDir01, &QListWidget::itemDoubleClicked, this, [this] {
        const MainControls& c = window_.controls();
        if (!c.lstDir01->selectedItems().isEmpty())
            c.cxRnmCat->setText(selectedText(c.lstDir01));
    });
    connect(c.lstFile01, &QListWidget::itemDoubleClicked, this, [this] {
        const MainControls& c = window_.controls();
        if (!c.lstFile01->selectedItems().isEmpty())
            c.cxRnmFile->setText(selectedText(c.lstFile01));
    });

    for (QListWidget* list : {c.lstDir01, c.lstFile01}) {
        list->installEventFilter(this);
        list->viewport()->installEventFilter(this);
    }
}

QString Browser::selectedText(const QListWidget* list)
{
    const QList<QListWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text();
}

QByteArray Browser::keyOf(const QListWidgetItem* item)
{
    return item ? item->data(Qt::UserRole).toByteArray() : QByteArray();
}

QByteArray Browser::selectedKey(const QListWidget* list)
{
    const QList<QListWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? QByteArray() : keyOf(selected.first());
}

QListWidgetItem* Browser::makeItem(const Item& item)
{
    auto* entry = new QListWidgetItem(item.shown);
    entry->setData(Qt::UserRole, item.key);
    return entry;
}

void Browser::fill(QListWidget* list, const Items& items)
{
    list->clear();
    list->setUpdatesEnabled(false);
    for (const Item& item : items)
        list->addItem(makeItem(item));
    list->setUpdatesEnabled(true);
}

void Browser::categorySelected()
{
    const MainControls& c = window_.controls();
    if (c.lstDir01->selectedItems().isEmpty())
        return;
    const QString category = selectedText(c.lstDir01);

    c.cxLerFile->clear();
    c.cxRnmFile->clear();
    c.cxRnmCat->clear();
    c.cxRnmCat->setEnabled(true);
    c.cxRnmFile->setEnabled(true);
    c.btnAddFile->setEnabled(true);
    c.imageTit1->show();
    c.imageTit2->hide();

    // One pass over the folder gives the list, the count and the size, so the
    // three agree; a missing folder reads as empty.
    const Library::Contents contents = window_.library().readCategory(selectedKey(c.lstDir01));
    fill(c.lstFile01, contents.items);

    QString size = Numeric2Bytes(double(contents.totalBytes));
    if (size.isEmpty())
        size = QStringLiteral("0 bytes");
    c.lblTeste->setText(category + QStringLiteral(": ") + QString::number(contents.fileCount)
                        + QStringLiteral(" scripts"));
    c.lblTamanho->setText(size);
}

void Browser::categoryListFocused()
{
    const MainControls& c = window_.controls();
    c.cxRnmFile->setEnabled(false);
    c.cxRnmCat->setEnabled(true);
    for (QPushButton* b : {c.btnDelCat, c.btnEditCat, c.btnAddCat, c.btnAddFile})
        b->setEnabled(true);
    for (QPushButton* b : {c.btnDelFile, c.btnEditFile, c.btnEditText, c.btnCopy, c.btnPrint})
        b->setEnabled(false);
}

void Browser::scriptSelected()
{
    const MainControls& c = window_.controls();
    if (c.lstFile01->selectedItems().isEmpty())
        return;
    const QString name = selectedText(c.lstFile01);

    c.imageTit2->show();
    c.imageTit1->hide();
    for (QWidget* w : std::initializer_list<QWidget*>{c.btnDelCat, c.btnEditCat, c.btnAddCat, c.cxRnmCat})
        w->setEnabled(false);
    c.cxRnmCat->clear();
    c.cxRnmFile->clear();
    for (QWidget* w : std::initializer_list<QWidget*>{c.cxRnmFile, c.btnDelFile, c.btnEditFile, c.btnAddFile,
                                                      c.btnEditText, c.btnCopy, c.btnPrint})
        w->setEnabled(true);

    // A sub-folder, a file of another extension or one removed behind our back
    // shows its name with no size and an empty viewer.
    const fs::Path path = window_.library().scriptPath(selectedKey(c.lstDir01), selectedKey(c.lstFile01));
    const fs::Entry info = fs::info(path);
    const bool isFile = info.type == fs::Type::File;
    c.lblTeste->setText(name);
    c.lblTamanho->setText(isFile ? Numeric2Bytes(double(info.size)) : QString());

    const script::ReadResult read = isFile ? script::read(path) : script::ReadResult{script::ReadStatus::Unreadable, {}};
    c.cxLerFile->showText(read.status == script::ReadStatus::Ok ? script::fromCrLf(read.text) : QString());
    if (read.status == script::ReadStatus::TooBig) {
        // Saving over a script that was never loaded would throw its text away.
        c.btnEditText->setEnabled(false);
        msg::ok(&window_, msg::tooBig(name));
    }
}

// A Ctrl+click or Ctrl+Space on the selected entry would leave the list with no
// selection at all; like any click on the selected entry, it changes nothing.
bool Browser::keepsSelection(QListWidget* list, QEvent* event) const
{
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (!(mouse->modifiers() & Qt::ControlModifier))
            return false;
        const QListWidgetItem* item = list->itemAt(mouse->position().toPoint());
        return item && item->isSelected();
    }
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        return key->key() == Qt::Key_Space && (key->modifiers() & Qt::ControlModifier) && list->currentItem()
            && list->currentItem()->isSelected();
    }
    return false;
}

bool Browser::eventFilter(QObject* watched, QEvent* event)
{
    const MainControls& c = window_.controls();
    for (QListWidget* list : {c.lstDir01, c.lstFile01}) {
        if ((watched == list || watched == list->viewport()) && keepsSelection(list, event))
            return true;
    }
    if (watched == c.lstDir01) {
        if (event->type() == QEvent::FocusOut) {
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            dirFocusParked_ = reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
        } else if (event->type() == QEvent::FocusIn) {
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            const bool returning = dirFocusParked_
                && (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason);
            dirFocusParked_ = false;
            if (!returning)
                categoryListFocused();
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace corvane
