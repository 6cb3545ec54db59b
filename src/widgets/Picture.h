#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

class QSvgRenderer;

namespace corvane {

// A picture control: our own SVG or PNG art stretched over its rectangle, sharp at
// any scale. It reports clicks and pointer movement, as picture buttons need.
class Picture : public QWidget {
    Q_OBJECT
public:
    Picture(const QString& name, const QString& resource, QWidget* parent);

    void setResource(const QString& resource);
    const QString& resource() const { return resource_; }

    // What a press through the accessibility bus clicks: the picture itself, or
    // the twin that takes its clicks under the pointer.
    void setPressTarget(Picture* target) { pressTarget_ = target; }
    Picture* pressTarget() { return pressTarget_ ? pressTarget_.data() : this; }

signals:
    void clicked();
    void hovered();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString resource_;
    QSvgRenderer* svg_ = nullptr;
    QPointer<Picture> pressTarget_;
};

}  // namespace corvane
