#include "support/TestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTest>

namespace corvane::test {

ModalWatcher::ModalWatcher()
{
    connect(&timer_, &QTimer::timeout, this, &ModalWatcher::poll);
    timer_.start(5);
}

ModalWatcher::~ModalWatcher() = default;

ModalWatcher& ModalWatcher::answer(const QString& button)
{
    answers_.append(button);
    return *this;
}

ModalWatcher& ModalWatcher::onDialog(std::function<void(QWidget*)> handler)
{
    dialogHandlers_.append(std::move(handler));
    return *this;
}

QStringList ModalWatcher::texts() const
{
    QStringList out;
    for (const SeenBox& box : seen)
        out.append(box.text);
    return out;
}

void ModalWatcher::clear()
{
    seen.clear();
    unexpected = 0;
    unexpectedDialogs.clear();
}

void ModalWatcher::poll()
{
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible() || handled_.contains(modal))
        return;
    handled_.append(modal);
    QObject::connect(modal, &QObject::destroyed, this, [this, modal] { handled_.removeAll(modal); });
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        SeenBox s;
        s.title = box->windowTitle();
        const QVariant raw = box->property("rawText");
        s.text = raw.isValid() ? raw.toString() : box->text();
        s.icon = box->icon();
        for (QAbstractButton* b : box->buttons())
            s.buttons.append(b->text());
        if (box->defaultButton())
            s.defaultButton = box->defaultButton()->text();
        QAbstractButton* target = nullptr;
        if (!answers_.isEmpty()) {
            const QString wanted = answers_.takeFirst();
            for (QAbstractButton* b : box->buttons())
                if (b->text() == wanted)
                    target = b;
        }
        if (!target) {
            ++unexpected;
            target = box->escapeButton() ? box->escapeButton() : box->buttons().value(0);
        }
        s.answered = target ? target->text() : QString();
        seen.append(s);
        if (target)
            QMetaObject::invokeMethod(target, [target] { target->click(); }, Qt::QueuedConnection);
        return;
    }
    if (!dialogHandlers_.isEmpty()) {
        auto handler = dialogHandlers_.takeFirst();
        QMetaObject::invokeMethod(modal, [handler, modal] { handler(modal); }, Qt::QueuedConnection);
        return;
    }
    unexpectedDialogs.append(modal->objectName());
    ++unexpected;
    if (auto* dialog = qobject_cast<QDialog*>(modal))
        QMetaObject::invokeMethod(dialog, &QDialog::reject, Qt::QueuedConnection);
    else
        modal->close();
}

TempLibrary::TempLibrary()
{
    QDir(dir_.path()).mkpath(QStringLiteral("scripts"));
}

void TempLibrary::mkdir(const QString& relative) const
{
    QDir(scripts()).mkpath(relative);
}

void TempLibrary::write(const QString& relative, const QByteArray& bytes) const
{
    QFile file(path(relative));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path(relative)));
}

QByteArray TempLibrary::read(const QString& relative) const
{
    QFile file(path(relative));
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return file.readAll();
}

bool TempLibrary::exists(const QString& relative) const
{
    return QFileInfo::exists(path(relative));
}

QStringList TempLibrary::entries(const QString& relative) const
{
    return QDir(relative.isEmpty() ? scripts() : path(relative))
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

void typeText(QWidget* widget, const QString& text)
{
    for (QChar c : text) {
        if (c.unicode() < 0x7F && c.unicode() >= 0x20) {
            QTest::keyClick(widget, char(c.unicode()));
        } else {
            QTest::sendKeyEvent(QTest::KeyAction::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
}

bool showActive(QWidget* window)
{
    window->show();
    QApplication::setActiveWindow(window);
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

}  // namespace corvane::test
