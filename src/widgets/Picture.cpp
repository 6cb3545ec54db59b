#include "widgets/Picture.h"

#include "widgets/ClickWatch.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace corvane {

Picture::Picture(const QString& name, const QString& resource, QWidget* parent)
    : QWidget(parent)
{
    setObjectName(name);
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    setResource(resource);
    auto* clicks = new ClickWatch(this);
    connect(clicks, &ClickWatch::clicked, this, &Picture::clicked);
    connect(clicks, &ClickWatch::hovered, this, &Picture::hovered);
}

void Picture::setResource(const QString& resource)
{
    resource_ = resource;
    delete svg_;
    svg_ = nullptr;
    if (resource.endsWith(QStringLiteral(".svg")))
        svg_ = new QSvgRenderer(resource, this);
    update();
}

void Picture::paintEvent(QPaintEvent*)
{
    if (resource_.isEmpty())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (svg_ && svg_->isValid())
        svg_->render(&painter, QRectF(rect()));
    else
        painter.drawPixmap(rect(), QPixmap(resource_));
}

}  // namespace corvane
