#pragma once

#include <QList>
#include <QObject>
#include <QString>

namespace corvane {

class TextViewer;

// The places of a search text in the viewer, marked without touching the text
// or the selection: every one lightly, the current one strongly. Any change of
// the text takes the marks away.
class ViewerMarks : public QObject {
    Q_OBJECT
public:
    explicit ViewerMarks(TextViewer& viewer);

    // Marks every place of text, letter case ignored, a double quote or a
    // currency sign meeting a shown double quote, and shows the first.
    void markAll(const QString& text);
    // Shows the next place (or the previous one), going round at the ends.
    void step(bool backwards);
    void clear();
    bool isEmpty() const { return places_.isEmpty(); }

private:
    // Shows the current place and marks those in view.
    void showCurrent();
    void paint();

    TextViewer& viewer_;
    QList<int> places_;
    int length_ = 0;
    int current_ = -1;
};

}  // namespace corvane
