#include "ko_selector_figure.h"

#include "ko_scene_log.h"

#include <QBrush>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QPen>

#include <cmath>

namespace {

QPen OutlinePen(const QColor& colour, float width)
{
    return QPen(QBrush(colour), width, Qt::DotLine, Qt::SquareCap, Qt::BevelJoin);
}

} // namespace

KoSelectorFigure::KoSelectorFigure(QWidget* parent, QGraphicsScene* scene)
    : KoBaseFigure(parent, scene)
{
    zoneWidth = sceneWidth;
    zoneHeight = sceneHeight;
    handleSize = zoneWidth / 40;
    outlineWidth = zoneWidth / 100;
    zoneRect = defaultZone();
    committedZoneRect = zoneRect;
    dragMode = Idle;
    if (scene && !scene->views().isEmpty())
        cursorView = scene->views().first();
    redraw();
}

Qt::CursorShape KoSelectorFigure::handleCursor(int index)
{
    static constexpr Qt::CursorShape shapes[HandleCount] = {
        Qt::SizeFDiagCursor, Qt::SizeVerCursor,   Qt::SizeBDiagCursor, Qt::SizeHorCursor,
        Qt::SizeHorCursor,   Qt::SizeBDiagCursor, Qt::SizeVerCursor,   Qt::SizeFDiagCursor};
    return index >= 0 && index < HandleCount ? shapes[index] : Qt::ArrowCursor;
}

void KoSelectorFigure::setZone(const QRectF& zone)
{
    zoneRect = QRectF(zone.x() * zoneWidth, zone.y() * zoneHeight, zone.width() * zoneWidth,
                      zone.height() * zoneHeight);
    committedZoneRect = zoneRect;
    redraw();
}

QRectF KoSelectorFigure::zone() const
{
    // A figure made on an empty scene has no size to normalise by; it then
    // reports zeros rather than infinities for the device.
    const double w = zoneWidth > 0 ? zoneWidth : 0;
    const double h = zoneHeight > 0 ? zoneHeight : 0;
    return QRectF(w > 0 ? zoneRect.x() / w : 0, h > 0 ? zoneRect.y() / h : 0,
                  w > 0 ? zoneRect.width() / w : 0, h > 0 ? zoneRect.height() / h : 0);
}

void KoSelectorFigure::resize(float width, float height)
{
    if (width * height == 0 || width < 0 || height < 0)
        return;
    handleSize = width / 40;
    outlineWidth = width / 100;
    if (zoneWidth > 0 && zoneHeight > 0) {
        const double sx = double(width) / zoneWidth;
        const double sy = double(height) / zoneHeight;
        auto scaled = [sx, sy](const QRectF& r) {
            return QRectF(r.x() * sx, r.y() * sy, r.width() * sx, r.height() * sy);
        };
        zoneRect = scaled(zoneRect);
        committedZoneRect = scaled(committedZoneRect);
        zoneWidth = width;
        zoneHeight = height;
    } else {
        // Nothing to scale from: start from the default zone of the picture.
        zoneWidth = width;
        zoneHeight = height;
        zoneRect = defaultZone();
        committedZoneRect = zoneRect;
    }
    sceneWidth = width;
    sceneHeight = height;
    if (rectItem)
        rectItem->setPen(OutlinePen(Qt::darkRed, outlineWidth));
    qCDebug(lcScene) << "zone resized to" << width << "x" << height << zoneRect;
    redraw();
}

void KoSelectorFigure::cancelChanges()
{
    zoneRect = committedZoneRect;
    modified = false;
    redraw();
}

void KoSelectorFigure::resetToDefault()
{
    zoneRect = defaultZone();
    redraw();
}

void KoSelectorFigure::acceptChanges()
{
    committedZoneRect = zoneRect;
    modified = false;
    qCDebug(lcScene) << "zone committed" << committedZoneRect;
    redraw();
}

void KoSelectorFigure::sceneMouseMove(int x, int y)
{
    if (dragMode >= 1 && dragMode <= HandleCount) {
        const double rx = zoneRect.x(), ry = zoneRect.y();
        const double rw = zoneRect.width(), rh = zoneRect.height();
        QRectF next;
        switch (dragMode) {
        case 1:
            next = QRectF(x, y, rx - x + rw, ry - y + rh);
            break;
        case 2:
            next = QRectF(rx, y, rw, ry - y + rh);
            break;
        case 3:
            next = QRectF(rx, y, x - rx, ry - y + rh);
            break;
        case 4:
            next = QRectF(x, ry, rx - x + rw, rh);
            break;
        case 5:
            next = QRectF(rx, ry, x - rx, rh);
            break;
        case 6:
            next = QRectF(x, ry, rx - x + rw, y - ry);
            break;
        case 7:
            next = QRectF(rx, ry, rw, y - ry);
            break;
        default:
            next = QRectF(rx, ry, x - rx, y - ry);
            break;
        }
        const QRectF whole(std::trunc(next.x()), std::trunc(next.y()), std::trunc(next.width()),
                           std::trunc(next.height()));
        // The handle stops at the picture's edges and before the opposite
        // side; a zone that whole pixels would make empty is refused too.
        if (next.width() > 0 && next.height() > 0 && next.x() >= 0 && next.y() >= 0 &&
            next.x() + next.width() <= zoneWidth && next.y() + next.height() <= zoneHeight &&
            whole.width() > 0 && whole.height() > 0) {
            zoneRect = whole;
            modified = true;
            redraw();
        }
        return;
    }
    active = true;
    const int index = handleAt(x, y);
    if (index >= 0) {
        setViewCursor(handleCursor(index));
    } else {
        setViewCursor(Qt::ArrowCursor);
        active = false;
    }
}

void KoSelectorFigure::sceneMousePress(int x, int y)
{
    const int index = handleAt(x, y);
    dragMode = index >= 0 ? index + 1 : Idle;
    active = index >= 0;
}

void KoSelectorFigure::sceneMouseRelease(int, int)
{
    dragMode = Idle;
    active = false;
}

QRectF KoSelectorFigure::defaultZone() const
{
    const double s = handleSize;
    return QRectF(s / 2, s / 2, zoneWidth - s / 2, zoneHeight - s / 2);
}

int KoSelectorFigure::handleAt(int x, int y) const
{
    const QPointF p(x, y);
    for (int i = 0; i < HandleCount; ++i) {
        if (handleRects[i].contains(p))
            return i;
    }
    return -1;
}

void KoSelectorFigure::redraw()
{
    const double left = zoneRect.left(), top = zoneRect.top();
    const double right = zoneRect.right(), bottom = zoneRect.bottom();
    const double mid_x = left + zoneRect.width() / 2, mid_y = top + zoneRect.height() / 2;
    const QPointF centres[HandleCount] = {{left, top},     {mid_x, top},   {right, top},
                                          {left, mid_y},   {right, mid_y}, {left, bottom},
                                          {mid_x, bottom}, {right, bottom}};
    const double s = handleSize;
    for (int i = 0; i < HandleCount; ++i)
        handleRects[i] = QRectF(centres[i].x() - s / 2, centres[i].y() - s / 2, s, s);

    if (!scene)
        return;
    if (!rectItem) {
        rectItem = scene->addRect(zoneRect, OutlinePen(Qt::darkMagenta, outlineWidth), Qt::NoBrush);
        // The dotted outline is drawn dot by dot; the picture under it
        // changes with every frame, the outline only when it is edited.
        rectItem->setCacheMode(QGraphicsItem::DeviceCoordinateCache);
    } else
        rectItem->setRect(zoneRect);
    for (int i = 0; i < HandleCount; ++i) {
        if (!handleItems[i]) {
            handleItems[i] =
                scene->addRect(handleRects[i], QPen(QColor(Qt::green), 1), QBrush(Qt::darkGreen));
        } else {
            handleItems[i]->setRect(handleRects[i]);
        }
    }
}

void KoSelectorFigure::setViewCursor(Qt::CursorShape shape)
{
    QGraphicsView* target = cursorView.data();
    // A zone made before its scene had a view uses the view it has now.
    if (!target && scene && !scene->views().isEmpty())
        target = scene->views().first();
    if (target)
        target->setCursor(shape);
}
