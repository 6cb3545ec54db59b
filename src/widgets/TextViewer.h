#pragma once

#include "widgets/ShownScript.h"
#include "widgets/ViewerMarks.h"

#include <QPlainTextEdit>

namespace corvane {

// A QPlainTextEdit for script text that stays quick with huge texts.
//
// Qt lays out and shapes a whole paragraph at every change, so a line of
// megabytes would take seconds to show and to type into: a line longer than
// kLongLine is shown as pieces of at most kPiece characters, each a paragraph of
// its own that wraps like the rest. The breaks between pieces are marked on their
// separator characters, which Qt keeps, removes and restores by undo along with
// the text, so the text read back has no break the user did not type.
//
// Qt also spends microseconds on each paragraph it stores, a second for some
// hundred thousand lines: in a text of more than kManyLines lines, short lines
// share paragraphs of up to kGroup characters, joined by line separators. They
// look and edit like line breaks and read back as LF.
class TextViewer : public QPlainTextEdit {
    Q_OBJECT
public:
    static constexpr int kLongLine = 64 * 1024;
    static constexpr int kPiece = 8 * 1024;
    static constexpr int kManyLines = 20000;
    static constexpr int kGroup = 4 * 1024;

    explicit TextViewer(QWidget* parent = nullptr);

    // Shows text whose line breaks are LF (a CR or CR LF counts as one break).
    void showText(const QString& text);
    // The script file whose text is shown, when it came from one.
    ShownScript& script() { return *script_; }
    const ShownScript& script() const { return *script_; }
    // The places of a search text, marked.
    ViewerMarks& marks() { return *marks_; }

    // The whole text with LF line breaks; unlike toPlainText() it keeps no-break
    // spaces, which a script may hold.
    QString rawText() const;
    // The selected text likewise; empty without a selection.
    QString rawSelection() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
    QMimeData* createMimeDataFromSelection() const override;

private:
    QString joined(int from, int to) const;
    bool pieced_ = false;
    ShownScript* script_;
    ViewerMarks* marks_;
};

}  // namespace corvane
