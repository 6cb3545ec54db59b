#include "widgets/ClickLabel.h"

#include "widgets/ClickWatch.h"

namespace corvane {

ClickLabel::ClickLabel(const QString& name, const QString& text, QWidget* parent)
    : QLabel(text, parent)
{
    setObjectName(name);
    setTextFormat(Qt::PlainText);
    auto* clicks = new ClickWatch(this);
    connect(clicks, &ClickWatch::clicked, this, &ClickLabel::clicked);
    connect(clicks, &ClickWatch::hovered, this, &ClickLabel::hovered);
}

QColor textColour(const QWidget* label)
{
    return label->palette().color(QPalette::Active, QPalette::WindowText);
}

void setTextColour(QWidget* label, const QColor& colour)
{
    QPalette p = label->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        p.setColor(group, QPalette::WindowText, colour);
    label->setPalette(p);
}

}  // namespace corvane
