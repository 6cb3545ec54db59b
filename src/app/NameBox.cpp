#include "app/NameBox.h"

#include "library/Names.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMimeData>

namespace corvane {

NameBox::NameBox(const QString& name, int typingLimit, QWidget* parent)
    : QLineEdit(parent)
    , limit_(typingLimit)
{
    setObjectName(name);
}

QString NameBox::fitting(const QString& text) const
{
    QString allowed = names::filtered(text);
    if (limit_ > 0) {
        const int room = limit_ - int(this->text().size() - selectedText().size());
        allowed = allowed.left(qMax(0, room));
    }
    return allowed;
}

void NameBox::insertFiltered(const QString& text)
{
    const QString allowed = fitting(text);
    if (!allowed.isEmpty())
        insert(allowed);
}

void NameBox::keyPressEvent(QKeyEvent* event)
{
    const QString text = event->text();
    const Qt::KeyboardModifiers mods = event->modifiers();
    const bool ctrlLetter = (mods & (Qt::ControlModifier | Qt::MetaModifier))
        && !(mods & Qt::AltModifier) && event->key() >= Qt::Key_A && event->key() <= Qt::Key_Z;
    // Ctrl+letters (copy, paste, cut, select all...) and Enter type control
    // characters, which the filter refuses.
    if (ctrlLetter || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Insert && (mods & Qt::ShiftModifier)) {
        insertFiltered(QGuiApplication::clipboard()->text());
        event->accept();
        return;
    }
    bool printable = !text.isEmpty();
    for (QChar c : text)
        printable = printable && c.unicode() >= 0x20 && c.unicode() != 0x7F;
    if (printable) {
        for (QChar c : text) {
            if (names::SoNumeros(c.unicode()) == QStringLiteral("0")) {
                event->accept();
                return;
            }
        }
        if (fitting(text).size() < text.size()) {
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void NameBox::inputMethodEvent(QInputMethodEvent* event)
{
    if (event->commitString().isEmpty()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent filteredEvent(event->preeditString(), event->attributes());
    filteredEvent.setCommitString(fitting(event->commitString()), event->replacementStart(),
                                  event->replacementLength());
    QLineEdit::inputMethodEvent(&filteredEvent);
}

void NameBox::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = createStandardContextMenu();
    for (QAction* action : menu->actions()) {
        if (action->objectName() == QStringLiteral("edit-paste")) {
            disconnect(action, nullptr, nullptr, nullptr);
            connect(action, &QAction::triggered, this,
                    [this] { insertFiltered(QGuiApplication::clipboard()->text()); });
        }
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void NameBox::dropEvent(QDropEvent* event)
{
    if (!event->mimeData()->hasText() || isReadOnly()) {
        event->ignore();
        return;
    }
    setCursorPosition(cursorPositionAt(event->position().toPoint()));
    insertFiltered(event->mimeData()->text());
    event->acceptProposedAction();
}

void NameBox::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection()) {
        setCursorPosition(cursorPositionAt(event->position().toPoint()));
        insertFiltered(QGuiApplication::clipboard()->text(QClipboard::Selection));
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

}  // namespace corvane
