#include "ko_cross_line_figure.h"

#include "ko_scene_log.h"

#include <QBrush>
#include <QGraphicsEllipseItem>
#include <QGraphicsLineItem>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QPen>

#include <cmath>

KoCrossLineFigure::KoCrossLineFigure(QWidget* parent, QGraphicsScene* scene)
    : KoBaseFigure(parent, scene)
{
    committedPoints = defaultPoints();
    lineWidth = sceneWidth / 40;
    penWidth = lineWidth / 2;
    editingPoints = committedPoints;
    // The first redraw creates the side lines of every segment, then the
    // handles, so that the handles lie above the lines.
    redraw(committedPoints);
}

QVector<QPointF> KoCrossLineFigure::defaultPoints()
{
    return {QPointF(0.2, 1.0), QPointF(0.35, 0.55), QPointF(0.65, 0.55), QPointF(0.8, 1.0)};
}

void KoCrossLineFigure::setLineWidth(float width)
{
    lineWidth = width;
    penWidth = width * 0.5f;
    redraw(editingPoints);
}

void KoCrossLineFigure::setPoints(const QVector<QPointF>& points)
{
    committedPoints = points;
    editingPoints = committedPoints;
    redraw(committedPoints);
}

void KoCrossLineFigure::cancelChanges()
{
    modified = false;
    editingPoints = committedPoints;
    redraw(committedPoints);
}

void KoCrossLineFigure::resetToDefault()
{
    editingPoints = defaultPoints();
    modified = true;
    redraw(editingPoints);
}

void KoCrossLineFigure::acceptChanges()
{
    modified = false;
    committedPoints = editingPoints;
    qCDebug(lcScene) << "line committed with" << committedPoints.size() << "points";
    redraw(committedPoints);
}

void KoCrossLineFigure::sceneMouseMove(int x, int y)
{
    if (sceneIsEmpty())
        return;
    // The drag index may have been left behind by a shorter list that
    // arrived during the drag; such a drag moves nothing.
    if (dragging && dragIndex >= 0 && dragIndex < editingPoints.size() &&
        dragIndex < int(handles.size())) {
        active = true;
        // The point keeps its distance from the pointer it had when it was
        // grabbed, and stops at the picture's edges, which it can reach: the
        // mouse stays grabbed beyond them.
        editingPoints[dragIndex] = normalisedInside(QPointF(x, y) + grabOffset);
        redraw(editingPoints);
    }
    if (outsideImage(x, y)) {
        setViewCursor(Qt::ArrowCursor);
        return;
    }
    if (handleAt(x, y) >= 0 || dragging) {
        active = true;
        setViewCursor(Qt::SizeAllCursor);
    } else {
        setViewCursor(Qt::ArrowCursor);
        active = false;
    }
}

void KoCrossLineFigure::sceneMousePress(int x, int y)
{
    if (sceneIsEmpty())
        return;
    if (outsideImage(x, y)) {
        setViewCursor(Qt::ArrowCursor);
        return;
    }
    dragIndex = handleAt(x, y);
    if (dragIndex >= 0) {
        active = true;
        modified = true;
        setViewCursor(Qt::SizeAllCursor);
        dragging = true;
        const QPointF& p = editingPoints[dragIndex];
        grabOffset = QPointF(p.x() * sceneWidth - x, p.y() * sceneHeight - y);
        return;
    }
    setViewCursor(Qt::ArrowCursor);
    dragging = false;
    active = false;
    // The new point's handle is centred under the pointer, so a second
    // press on the same spot takes it.
    editingPoints.append(normalisedInside(QPointF(x, y)));
    modified = true;
    redraw(editingPoints);
}

void KoCrossLineFigure::sceneMouseRightPress(int x, int y)
{
    if (sceneIsEmpty() || outsideImage(x, y) || editingPoints.size() <= 2)
        return;
    modified = true;
    editingPoints.removeLast();
    redraw(editingPoints);
}

void KoCrossLineFigure::sceneMouseRelease(int, int)
{
    active = false;
    setViewCursor(Qt::ArrowCursor);
    dragging = false;
    dragIndex = -1;
}

void KoCrossLineFigure::redraw(const QVector<QPointF>& points)
{
    const int n = points.size();
    // Fewer than two points is no line: the drawing stays as it was.
    if (n < 2 || !scene)
        return;

    while (int(handles.size()) > n) {
        delete handles.back();
        handles.pop_back();
        if (!blueLines.empty()) {
            delete blueLines.back();
            blueLines.pop_back();
        }
        if (!yellowLines.empty()) {
            delete yellowLines.back();
            yellowLines.pop_back();
        }
    }
    if (int(handles.size()) < n) {
        while (int(blueLines.size()) < n - 1) {
            blueLines.push_back(addSideLine(Qt::blue));
            yellowLines.push_back(addSideLine(Qt::yellow));
        }
        // The handle of the old last point is made again, so it lies above
        // the new segment's lines like every other handle.
        if (!handles.empty()) {
            delete handles.back();
            handles.back() = addHandle();
        }
        while (int(handles.size()) < n)
            handles.push_back(addHandle());
    }

    for (int i = 1; i < n; ++i) {
        const QPointF p1(points[i - 1].x() * sceneWidth, points[i - 1].y() * sceneHeight);
        const QPointF p2(points[i].x() * sceneWidth, points[i].y() * sceneHeight);
        placeSegment(i - 1, p1, p2);
    }

    const double r = lineWidth / 2.0;
    for (int i = 0; i < n; ++i) {
        handles[i]->setRect(points[i].x() * sceneWidth - r, points[i].y() * sceneHeight - r,
                            lineWidth, lineWidth);
    }
}

QGraphicsLineItem* KoCrossLineFigure::addSideLine(const QColor& colour)
{
    return scene->addLine(
        QLineF(), QPen(QBrush(colour), penWidth, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
}

QGraphicsEllipseItem* KoCrossLineFigure::addHandle()
{
    QGraphicsEllipseItem* handle =
        scene->addEllipse(QRectF(), QPen(QColor(Qt::green), 1), QBrush(Qt::green));
    // Drawn again over every new picture; a cached disc is a small copy.
    handle->setCacheMode(QGraphicsItem::DeviceCoordinateCache);
    return handle;
}

void KoCrossLineFigure::placeSegment(int segment, const QPointF& p1, const QPointF& p2)
{
    QGraphicsLineItem* blue = blueLines[segment];
    QGraphicsLineItem* yellow = yellowLines[segment];

    const double a = p1.y() - p2.y();
    const double b = p2.x() - p1.x();
    if (a == 0 && b == 0) {
        blue->setLine(QLineF(p1, p1));
        yellow->setLine(QLineF(p1, p1));
    } else {
        // (a, b) is the normal on the right-hand side of p1 -> p2 on the
        // picture (y grows downwards). Each side line is penWidth wide and
        // sits so that the two fill a band of lineWidth around the segment.
        const double len = std::sqrt(a * a + b * b);
        const double offset = lineWidth / 2.0 - penWidth / 2.0;
        const QPointF shift(a / len * offset, b / len * offset);
        blue->setLine(QLineF(p1 + shift, p2 + shift));
        yellow->setLine(QLineF(p1 - shift, p2 - shift));
    }
    blue->setPen(QPen(QBrush(Qt::blue), penWidth, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    yellow->setPen(QPen(QBrush(Qt::yellow), penWidth, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
}

int KoCrossLineFigure::handleAt(int x, int y) const
{
    const QPointF p(x, y);
    // Only handles that stand for a point being edited count.
    const int count = qMin(int(handles.size()), editingPoints.size());
    for (int i = 0; i < count; ++i) {
        if (handles[i]->contains(p))
            return i;
    }
    return -1;
}

QPointF KoCrossLineFigure::normalisedInside(const QPointF& pixel) const
{
    return QPointF(qBound(0.0, pixel.x(), double(sceneWidth)) / sceneWidth,
                   qBound(0.0, pixel.y(), double(sceneHeight)) / sceneHeight);
}

bool KoCrossLineFigure::sceneIsEmpty() const
{
    if (!scene)
        return true;
    const QRectF rect = scene->sceneRect();
    // The sizes are divisors of every new point.
    return rect.width() <= 0 || rect.height() <= 0 || sceneWidth <= 0 || sceneHeight <= 0;
}

bool KoCrossLineFigure::outsideImage(int x, int y) const
{
    const QRectF rect = scene->sceneRect();
    return x < 0 || y < 0 || x >= int(rect.width()) || y >= int(rect.height());
}

void KoCrossLineFigure::setViewCursor(Qt::CursorShape shape)
{
    if (!scene)
        return;
    const QList<QGraphicsView*> views = scene->views();
    if (!views.isEmpty())
        views.first()->setCursor(shape);
}
