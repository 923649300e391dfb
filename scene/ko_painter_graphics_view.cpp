#include "ko_painter_graphics_view.h"

#include <QMouseEvent>
#include <QWheelEvent>

KoPainterGraphicsView::KoPainterGraphicsView(QWidget* parent) : QGraphicsView(parent)
{
    // The histogram shows the bar under the mouse, so moves must arrive with
    // no button held too.
    viewport()->setMouseTracking(true);
}

void KoPainterGraphicsView::mousePressEvent(QMouseEvent* event)
{
    if (scene())
        emit mousePressEv(event->x(), event->y());
}

void KoPainterGraphicsView::mouseReleaseEvent(QMouseEvent* event)
{
    if (scene())
        emit mouseReleaseEv(event->x(), event->y());
}

void KoPainterGraphicsView::mouseMoveEvent(QMouseEvent* event)
{
    if (scene())
        emit mouseMoveEv(event->x(), event->y());
}

void KoPainterGraphicsView::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second press of a quick double click is still a press.
    mousePressEvent(event);
}

void KoPainterGraphicsView::wheelEvent(QWheelEvent* /*event*/)
{
    // The chart has a fixed layout: the wheel neither scrolls nor zooms it.
}
