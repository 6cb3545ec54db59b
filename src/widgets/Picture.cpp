#include "widgets/Picture.h"

#include <QMouseEvent>
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

void Picture::mouseMoveEvent(QMouseEvent* event)
{
    emit hovered();
    event->accept();
}

void Picture::mousePressEvent(QMouseEvent* event)
{
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void Picture::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click)
        emit clicked();
}

}  // namespace corvane
