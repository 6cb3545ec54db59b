#include "widgets/ViewerMarks.h"

#include "widgets/TextViewer.h"

#include <QScrollBar>
#include <QTextDocument>

#include <algorithm>

namespace corvane {
namespace {

// Light and dark palettes alike: a see-through yellow over whatever the text
// stands on, and a solid orange under black for the current place.
QTextEdit::ExtraSelection mark(const QTextCursor& at, bool current)
{
    QTextEdit::ExtraSelection selection;
    selection.cursor = at;
    selection.format.setBackground(current ? QColor(255, 140, 0) : QColor(255, 215, 0, 110));
    if (current)
        selection.format.setForeground(Qt::black);
    return selection;
}

}  // namespace

ViewerMarks::ViewerMarks(TextViewer& viewer)
    : QObject(&viewer)
    , viewer_(viewer)
{
    connect(&viewer, &QPlainTextEdit::textChanged, this, &ViewerMarks::clear);
    // A big text may hold a great many places: only those in view are painted.
    connect(viewer.verticalScrollBar(), &QScrollBar::valueChanged, this, &ViewerMarks::paint);
}

void ViewerMarks::markAll(const QString& text)
{
    clear();
    // What the viewer shows of a stored quote is a double quote.
    QString wanted = text;
    wanted.replace(QChar(0xA4), u'"');
    if (wanted.isEmpty())
        return;
    // The document's own text: one character a position, a break included.
    const QString shown = viewer_.document()->toRawText();
    for (qsizetype at = shown.indexOf(wanted, 0, Qt::CaseInsensitive); at >= 0;
         at = shown.indexOf(wanted, at + wanted.size(), Qt::CaseInsensitive))
        places_.append(int(at));
    length_ = int(wanted.size());
    if (!places_.isEmpty()) {
        current_ = 0;
        showCurrent();
    }
}

void ViewerMarks::step(bool backwards)
{
    if (places_.isEmpty())
        return;
    const int count = int(places_.size());
    current_ = (current_ + (backwards ? count - 1 : 1)) % count;
    showCurrent();
}

void ViewerMarks::clear()
{
    if (places_.isEmpty())
        return;
    places_.clear();
    current_ = -1;
    viewer_.setExtraSelections({});
}

void ViewerMarks::showCurrent()
{
    // Into view without selecting anything: Copiar still takes the whole text.
    QTextCursor caret(viewer_.document());
    caret.setPosition(places_[current_]);
    viewer_.setTextCursor(caret);
    viewer_.centerCursor();
    paint();
}

void ViewerMarks::paint()
{
    // A new text scrolls before it says it changed: these places are not its.
    if (places_.isEmpty() || places_.last() + length_ >= viewer_.document()->characterCount())
        return;
    // The document positions the viewport shows, a screen before and after.
    const QRect view = viewer_.viewport()->rect();
    const int from = viewer_.cursorForPosition(QPoint(0, view.top() - view.height())).position();
    const int to = viewer_.cursorForPosition(QPoint(view.width(), view.bottom() + view.height())).position();
    const auto cursorAt = [this](int place) {
        QTextCursor cursor(viewer_.document());
        cursor.setPosition(place);
        cursor.setPosition(place + length_, QTextCursor::KeepAnchor);
        return cursor;
    };
    QList<QTextEdit::ExtraSelection> marks;
    for (auto it = std::lower_bound(places_.cbegin(), places_.cend(), from - length_);
         it != places_.cend() && *it <= to; ++it) {
        if (it - places_.cbegin() != current_)
            marks.append(mark(cursorAt(*it), false));
    }
    marks.append(mark(cursorAt(places_[current_]), true));
    viewer_.setExtraSelections(marks);
}

}  // namespace corvane
