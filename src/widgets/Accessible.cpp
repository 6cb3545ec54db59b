#include "widgets/Accessible.h"

#include "widgets/ClickLabel.h"
#include "widgets/Picture.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QDialog>
#include <QFocusFrame>
#include <QGroupBox>
#include <QMenu>

namespace corvane {
namespace {

bool isDecoration(const QWidget* w)
{
    if (const auto* picture = qobject_cast<const Picture*>(w))
        return picture->accessibleName().isEmpty();
    // A plain frame in this program is only ever a line, a rule or a colour sample.
    return qstrcmp(w->metaObject()->className(), "QFrame") == 0;
}

// What the mouse presses, read as a push button whose "press" does what a click
// does. Queued, so that a window the press opens never holds up the reader.
class Pressable : public QAccessibleWidget {
public:
    explicit Pressable(QWidget* w)
        : QAccessibleWidget(w, QAccessible::PushButton)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        const auto* label = qobject_cast<const QLabel*>(widget());
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty() && label)
            return label->text();
        return QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override
    {
        return widget()->isEnabled() ? QStringList{pressAction()} : QStringList{};
    }
    void doAction(const QString& action) override
    {
        if (action != pressAction() || !widget()->isEnabled())
            return;
        QWidget* w = widget();
        QMetaObject::invokeMethod(
            w,
            [w] {
                if (auto* picture = qobject_cast<Picture*>(w))
                    emit picture->pressTarget()->clicked();
                else if (auto* label = qobject_cast<ClickLabel*>(w))
                    emit label->clicked();
            },
            Qt::QueuedConnection);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }
};

// A window or group of the program's own, read without its decorations.
class WithoutDecorations : public QAccessibleWidget {
public:
    WithoutDecorations(QWidget* w, QAccessible::Role role)
        : QAccessibleWidget(w, role)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        const auto* group = qobject_cast<const QGroupBox*>(widget());
        if (t == QAccessible::Name && group && widget()->accessibleName().isEmpty())
            return QString(group->title()).remove(u'&');
        return QAccessibleWidget::text(t);
    }
    int childCount() const override { return int(children().size()); }
    QAccessibleInterface* child(int index) const override
    {
        const QList<QWidget*> list = children();
        return index >= 0 && index < list.size() ? QAccessible::queryAccessibleInterface(list[index]) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        return child ? int(children().indexOf(qobject_cast<QWidget*>(child->object()))) : -1;
    }

private:
    // Qt's own choice of children, the decorations taken out.
    QList<QWidget*> children() const
    {
        QList<QWidget*> list;
        for (QObject* o : widget()->children()) {
            auto* w = qobject_cast<QWidget*>(o);
            if (w && !w->isWindow() && !qobject_cast<QFocusFrame*>(w) && !qobject_cast<QMenu*>(w)
                && w->objectName() != QLatin1String("qt_rubberband") && !isDecoration(w))
                list.append(w);
        }
        return list;
    }
};

QAccessibleInterface* readings(const QString& key, QObject* object)
{
    // Asked for each class from the most derived up; answered at the first, so
    // that Qt's own reading of a base class is kept wherever this returns none.
    if (!object || !object->isWidgetType() || key != QLatin1String(object->metaObject()->className()))
        return nullptr;
    auto* w = static_cast<QWidget*>(object);
    if (isDecoration(w))
        return new QAccessibleWidget(w, qobject_cast<Picture*>(w) ? QAccessible::Graphic : QAccessible::Separator);
    if (qobject_cast<Picture*>(w) || qobject_cast<ClickLabel*>(w))
        return new Pressable(w);
    if (qobject_cast<QGroupBox*>(w) && !static_cast<QGroupBox*>(w)->isCheckable())
        return new WithoutDecorations(w, QAccessible::Grouping);
    if (w->isWindow() && key.startsWith(QLatin1String("corvane::")))
        return new WithoutDecorations(w, qobject_cast<QDialog*>(w) ? QAccessible::Dialog : QAccessible::Window);
    return nullptr;
}

}  // namespace

void installAccessibleReadings()
{
    // The last factory installed is asked first: after QApplication's, before it.
    QAccessible::installFactory(readings);
}

}  // namespace corvane
