#pragma once

#include <QLineEdit>

namespace corvane {

class NameValidator;

// A name box: whatever way text comes in (keys, paste, drop, middle click, input
// methods, the context menu, setText), only the allowed name characters of what
// was inserted stay, cut to the length limit. setTextAsIs alone bypasses it.
class NameBox : public QLineEdit {
    Q_OBJECT
public:
    // typingLimit 0 means no limit.
    NameBox(const QString& name, int typingLimit, QWidget* parent);

    int typingLimit() const { return limit_; }

    // Puts text in the box as it is, with no filter and no limit: names read from
    // disk may hold any character.
    void setTextAsIs(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    int limit_;
    NameValidator* validator_;
};

}  // namespace corvane
