#include "app/PlainText.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

namespace corvane {
namespace {

QString withLineFeeds(QString text)
{
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    return text;
}

}  // namespace

QString plainText(const QPlainTextEdit* box)
{
    return withLineFeeds(box->document()->toRawText());
}

QString plainSelection(const QPlainTextEdit* box)
{
    return withLineFeeds(box->textCursor().selectedText());
}

}  // namespace corvane
