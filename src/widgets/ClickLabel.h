#pragma once

#include <QLabel>

namespace corvane {

// A label that takes clicks, as the tab labels, the mini-help label and the web
// link do. With tracking on it also reports the pointer passing over it.
class ClickLabel : public QLabel {
    Q_OBJECT
public:
    ClickLabel(const QString& name, const QString& text, QWidget* parent);

signals:
    void clicked();
    void hovered();
};

// The text colour a label is drawn with.
QColor textColour(const QWidget* label);
void setTextColour(QWidget* label, const QColor& colour);

}  // namespace corvane
