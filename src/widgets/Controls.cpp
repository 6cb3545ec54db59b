#include "widgets/Controls.h"

#include "widgets/Picture.h"
#include "widgets/Texts.h"
#include "widgets/Twips.h"

#include <QFrame>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QListWidget>
#include <QStyle>
#include <QToolTip>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace corvane::controls {

QPushButton* button(QWidget* parent, const char* name, const QString& caption, const QRect& geometry,
                    const QString& accessible)
{
    // A screen reader says the caption unless told otherwise.
    QString spoken = accessible.isEmpty() ? caption : accessible;
    auto* b = place(new QPushButton(caption, parent), name, geometry, spoken.remove(u'&'));
    b->setAutoDefault(false);
    return b;
}

QLabel* label(QWidget* parent, const char* name, const QString& caption, const QRect& geometry)
{
    auto* l = place(new QLabel(caption, parent), name, geometry);
    l->setTextFormat(Qt::PlainText);
    return l;
}

QString pictureFile(const char* file)
{
    return QStringLiteral(":/pictures/") + QLatin1String(file);
}

Picture* picture(QWidget* parent, const char* name, const char* file, const QRect& geometry, const QString& tip)
{
    auto* p = new Picture(QLatin1String(name), pictureFile(file), parent);
    p->setGeometry(geometry);
    p->setToolTip(tip);
    if (!tip.trimmed().isEmpty())
        p->setAccessibleName(tip.trimmed());
    return p;
}

Picture* magnifier(QWidget* parent, const char* name, bool larger, const QRect& geometry)
{
    Picture* p = picture(parent, name, larger ? "zoom_in.svg" : "zoom_out.svg", geometry, texts::magnifierTip(larger));
    p->setAccessibleName(texts::magnifierName(larger));
    return p;
}

namespace {

// The margins an item view leaves around an entry's text.
int textMargins(const QWidget* view)
{
    return 2 * (view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1);
}

class CutEntryTips : public QObject {
public:
    explicit CutEntryTips(QListWidget* list)
        : QObject(list)
        , list_(list)
    {
        list->viewport()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::ToolTip)
            return QObject::eventFilter(watched, event);
        auto* help = static_cast<QHelpEvent*>(event);
        const QListWidgetItem* item = list_->itemAt(help->pos());
        const QString text = item ? item->text() : QString();
        const bool cut = item
            && list_->fontMetrics().horizontalAdvance(text) + textMargins(list_) > list_->viewport()->width();
        if (cut)
            QToolTip::showText(help->globalPos(), text, list_->viewport(), list_->visualItemRect(item));
        else
            QToolTip::hideText();
        return true;
    }

private:
    QListWidget* list_;
};

}  // namespace

void tipCutEntries(QListWidget* list)
{
    new CutEntryTips(list);
}

void setTextWithTip(QLabel* label, const QString& text)
{
    label->setText(text);
    const bool cut = label->fontMetrics().horizontalAdvance(text) > label->contentsRect().width();
    label->setToolTip(cut ? text : QString());
}

QFrame* rule(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* line = place(new QFrame(parent), name, geometry);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    line->setStyleSheet(QStringLiteral("color: #a0a0a0"));
    return line;
}

void setBold(QWidget* widget, int pixelSize)
{
    QFont f = widget->font();
    f.setBold(true);
    if (pixelSize > 0)
        f.setPixelSize(pixelSize);
    widget->setFont(f);
}

void fixClientSize(QWidget* window, int widthTwips, int heightTwips)
{
    window->setFixedSize(px(widthTwips), px(heightTwips));
}

void centreOnScreen(QWidget* window)
{
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    const QSize outer = window->frameGeometry().size();
    window->move(area.x() + (area.width() - outer.width()) / 2, area.y() + (area.height() - outer.height()) / 2);
}

bool FirstShow::centre(QWidget* window)
{
    if (done_)
        return false;
    done_ = true;
    centreOnScreen(window);
    return true;
}

}  // namespace corvane::controls
