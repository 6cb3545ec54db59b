#include "widgets/TextViewer.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace corvane {
namespace {

// The mark of a break between two pieces of one line, on the separator's format.
constexpr int kPieceBreak = QTextFormat::UserProperty + 1;

// Where QTextCursor::insertText starts a paragraph; a CR LF pair starts one.
bool startsParagraph(QChar c)
{
    return c == u'\n' || c == u'\r' || c == QChar::ParagraphSeparator || c == QChar(0xFDD0)
        || c == QChar(0xFDD1);
}

QString withLineFeeds(QString text)
{
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    return text;
}

QTextCharFormat unmarked(QTextCharFormat format)
{
    format.clearProperty(kPieceBreak);
    return format;
}

// Where a piece that starts at `from` ends, at most at `limit`: after a blank near
// the end when there is one, where wrapping would break anyway, and never inside a
// surrogate pair.
qsizetype pieceEnd(QStringView text, qsizetype from, qsizetype limit)
{
    for (qsizetype i = limit; i > limit - TextViewer::kPiece / 8 && i > from + 1; --i) {
        if (text[i - 1] == u' ' || text[i - 1] == u'\t')
            return i;
    }
    return text[limit - 1].isHighSurrogate() ? limit - 1 : limit;
}

// Whether some stretch between LFs is longer than a long line. LF is the usual
// break, and this quick look spares the usual text the closer one below.
bool mayHoldLongLine(QStringView text)
{
    for (qsizetype from = 0; from <= text.size();) {
        qsizetype end = text.indexOf(u'\n', from);
        if (end < 0)
            end = text.size();
        if (end - from > TextViewer::kLongLine)
            return true;
        from = end + 1;
    }
    return false;
}

// The text as shown: each long line cut into pieces and, with `group`, short
// lines sharing a paragraph up to kGroup characters, joined by line separators,
// which read back as LF. Gives the document positions where the pieces after a
// line's first one start.
QString shownText(QStringView text, bool group, QList<int>* starts)
{
    QString out;
    out.reserve(text.size() + text.size() / TextViewer::kPiece + 1);
    qsizetype pairs = 0;      // CR LF pairs so far: one position each in the document
    qsizetype paragraph = 0;  // length of the paragraph being written
    bool lineFeed = false;    // an LF before this line, not written yet
    for (qsizetype line = 0;;) {
        qsizetype end = line;
        while (end < text.size() && !startsParagraph(text[end]))
            ++end;
        const qsizetype length = end - line;
        if (lineFeed) {
            const bool join = group && paragraph + 1 + length <= TextViewer::kGroup;
            out += join ? QChar::LineSeparator : QChar(u'\n');
            paragraph = join ? paragraph + 1 : 0;
        }
        qsizetype at = line;
        if (length > TextViewer::kLongLine) {
            while (end - at > TextViewer::kPiece) {
                const qsizetype cut = pieceEnd(text, at, at + TextViewer::kPiece);
                out += text.sliced(at, cut - at);
                out += u'\n';
                starts->append(int(out.size() - pairs));
                at = cut;
                paragraph = 0;
            }
        }
        out += text.sliced(at, end - at);
        paragraph += end - at;
        if (end == text.size())
            return out;
        lineFeed = text[end] == u'\n';
        if (lineFeed) {
            line = end + 1;
        } else if (end + 1 < text.size() && text[end] == u'\r' && text[end + 1] == u'\n') {
            out += u"\r\n";
            ++pairs;
            paragraph = 0;
            line = end + 2;
        } else {
            out += text[end];
            paragraph = 0;
            line = end + 1;
        }
    }
}

}  // namespace

TextViewer::TextViewer(QWidget* parent)
    : QPlainTextEdit(parent)
    , script_(new ShownScript(*this))
    , marks_(new ViewerMarks(*this))
{
}

void TextViewer::showText(const QString& text)
{
    // Qt gives a new text the format at the cursor, which may be a break's.
    if (currentCharFormat().hasProperty(kPieceBreak))
        setCurrentCharFormat(unmarked(currentCharFormat()));
    QList<int> starts;
    const bool group = text.count(u'\n') > kManyLines;
    if (group || mayHoldLongLine(text))
        setPlainText(shownText(text, group, &starts));
    else
        setPlainText(text);
    pieced_ = !starts.isEmpty();
    if (!pieced_)
        return;

    // The marks are no edit of the user's: nothing to undo.
    QTextDocument* doc = document();
    const bool undo = doc->isUndoRedoEnabled();
    doc->setUndoRedoEnabled(false);
    QTextCharFormat mark;
    mark.setProperty(kPieceBreak, true);
    QTextCursor cursor(doc);
    cursor.beginEditBlock();
    for (int at : starts) {
        cursor.setPosition(at);
        cursor.mergeBlockCharFormat(mark);
    }
    cursor.endEditBlock();
    doc->setUndoRedoEnabled(undo);
}

QString TextViewer::joined(int from, int to) const
{
    QString out;
    out.reserve(to - from);
    for (QTextBlock block = document()->findBlock(from); block.isValid() && block.position() <= to;
         block = block.next()) {
        const int start = block.position();
        // The separator before this paragraph lies in the range.
        if (start > from && !block.charFormat().hasProperty(kPieceBreak))
            out += u'\n';
        const QString text = block.text();
        const int first = qMax(from, start) - start;
        const int last = qMin(to, start + int(text.size())) - start;
        if (last > first)
            out += QStringView(text).mid(first, last - first);
    }
    return withLineFeeds(std::move(out));
}

QString TextViewer::rawText() const
{
    return pieced_ ? joined(0, document()->characterCount() - 1) : withLineFeeds(document()->toRawText());
}

QString TextViewer::rawSelection() const
{
    const QTextCursor cursor = textCursor();
    return pieced_ ? joined(cursor.selectionStart(), cursor.selectionEnd()) : withLineFeeds(cursor.selectedText());
}

void TextViewer::keyPressEvent(QKeyEvent* event)
{
    // A break the user types is a line break, whatever format the cursor holds.
    if (pieced_ && !isReadOnly() && event == QKeySequence::InsertParagraphSeparator) {
        QTextCursor cursor = textCursor();
        cursor.insertBlock(cursor.blockFormat(), unmarked(cursor.charFormat()));
        setTextCursor(cursor);
        ensureCursorVisible();
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void TextViewer::insertFromMimeData(const QMimeData* source)
{
    // Pasted line breaks are line breaks too.
    if (!pieced_ || isReadOnly() || !source->hasText()) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    QTextCursor cursor = textCursor();
    cursor.insertText(source->text(), unmarked(cursor.charFormat()));
    setTextCursor(cursor);
    ensureCursorVisible();
}

QMimeData* TextViewer::createMimeDataFromSelection() const
{
    // Copied and dragged text has no break between pieces either.
    if (!pieced_)
        return QPlainTextEdit::createMimeDataFromSelection();
    auto* data = new QMimeData;
    QString text = rawSelection();
    text.replace(QChar::Nbsp, u' ');
    data->setText(text);
    return data;
}

}  // namespace corvane
