#include "ko_graphics_view.h"

#include "ko_viewer.h"

#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <QSlider>
#include <QWheelEvent>

#include <cmath>

namespace {

constexpr int WheelZoomStep = 6;

} // namespace

KoGraphicsView::KoGraphicsView(QWidget* parent, KoViewer* owner)
    : QGraphicsView(parent), viewer(owner)
{
}

QPoint KoGraphicsView::mapToScenePixel(const QPoint& viewport_pos) const
{
    // The view only ever scales, from the top-left corner of a scene that
    // starts at (0, 0), so its own inverse transform is exactly the pixel
    // under the mouse, at any zoom and scroll position and also when the
    // picture is smaller than the viewport.
    const QPointF p = mapToScene(viewport_pos);
    return QPoint(int(p.x()), int(p.y()));
}

void KoGraphicsView::setOpaqueArea(const QRectF& scene_rect)
{
    if (scene_rect == opaque)
        return;
    opaque = scene_rect;
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent, !opaque.isEmpty());
    viewport()->update();
}

void KoGraphicsView::drawBackground(QPainter* painter, const QRectF& rect)
{
    if (!opaque.isEmpty()) {
        // In device pixels: what is exposed, less the pixels the opaque area
        // covers whole (a pixel it covers in part keeps the base colour
        // under it).
        const QTransform to_device = painter->worldTransform();
        const QRectF covered = to_device.mapRect(opaque);
        const QRect inner(QPoint(int(std::ceil(covered.left())), int(std::ceil(covered.top()))),
                          QPoint(int(std::floor(covered.right())) - 1,
                                 int(std::floor(covered.bottom())) - 1));
        const QRegion beside = QRegion(to_device.mapRect(rect).toAlignedRect()) - inner;
        if (!beside.isEmpty()) {
            const QBrush base = backgroundBrush().style() != Qt::NoBrush
                                    ? backgroundBrush()
                                    : viewport()->palette().brush(viewport()->backgroundRole());
            painter->save();
            painter->resetTransform();
            for (const QRect& r : beside)
                painter->fillRect(r, base);
            painter->restore();
        }
        // The picture covers the rest: no fill under it.
        return;
    }
    QGraphicsView::drawBackground(painter, rect);
}

void KoGraphicsView::mousePressEvent(QMouseEvent* event)
{
    if (!scene())
        return;
    const QPoint p = mapToScenePixel(event->pos());
    if (event->button() == Qt::LeftButton)
        emit mousePressEv(p.x(), p.y());
    else
        emit mouseRightPressEv(p.x(), p.y());
}

void KoGraphicsView::mouseReleaseEvent(QMouseEvent* event)
{
    if (!scene())
        return;
    const QPoint p = mapToScenePixel(event->pos());
    emit mouseReleaseEv(p.x(), p.y());
}

void KoGraphicsView::mouseMoveEvent(QMouseEvent* event)
{
    if (!scene())
        return;
    const QPoint p = mapToScenePixel(event->pos());
    emit mouseMoveEv(p.x(), p.y());
}

void KoGraphicsView::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second press of a quick double click comes as a double click; it
    // is a press like any other (two points added quickly), and must not go
    // to the scene.
    mousePressEvent(event);
}

void KoGraphicsView::wheelEvent(QWheelEvent* event)
{
    if (!(event->modifiers() & Qt::ControlModifier)) {
        QGraphicsView::wheelEvent(event);
        return;
    }
    event->accept();
    const QPoint angle = event->angleDelta();
    const int delta = angle.y() != 0 ? angle.y() : angle.x();
    // Touchpads send wheel events without any turn at the start and end of a
    // gesture; those must not zoom out.
    if (delta == 0 || !viewer)
        return;
    // So that the fit key reaches this picture next.
    setFocus(Qt::OtherFocusReason);
    QSlider* slider = viewer->zoomSlider;
    slider->setValue(slider->value() + (delta > 0 ? WheelZoomStep : -WheelZoomStep));
}
