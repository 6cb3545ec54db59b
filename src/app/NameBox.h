#pragma once

#include <QLineEdit>

namespace corvane {

// A name box: typed keys pass the name key filter and the length limit; pasted,
// dropped and input-method text is filtered and cut the same way. Text the
// program sets is left as it is.
class NameBox : public QLineEdit {
    Q_OBJECT
public:
    // typingLimit 0 means no limit.
    NameBox(const QString& name, int typingLimit, QWidget* parent);

    int typingLimit() const { return limit_; }

    // Inserts the allowed characters of text at the cursor, as far as the limit lets.
    void insertFiltered(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QString fitting(const QString& text) const;
    int limit_;
};

}  // namespace corvane
