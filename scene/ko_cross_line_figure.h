#pragma once

#include "ko_base_figure.h"

#include <QPointF>
#include <QVector>

#include <vector>

class QGraphicsEllipseItem;
class QGraphicsLineItem;

// The counting line: a polyline of at least two points drawn as a band, blue
// on the right-hand side of its direction and yellow on the left, with a
// green round handle on every point. Left click on the picture appends a
// point, right click drops the last one, a handle can be dragged. Points are
// normalised to the picture size.
class KoCrossLineFigure : public KoBaseFigure
{
    Q_OBJECT

public:
    KoCrossLineFigure(QWidget* parent, QGraphicsScene* scene);

    // The arch the line starts with and returns to by resetToDefault.
    static QVector<QPointF> defaultPoints();

    // Band width (and handle diameter) in pixels; the side lines get half.
    void setLineWidth(float width);
    // The line confirmed by the device; also becomes the one being edited.
    void setPoints(const QVector<QPointF>& points);
    void cancelChanges();
    void resetToDefault();
    void acceptChanges();

    void sceneMouseMove(int x, int y) override;
    void sceneMousePress(int x, int y) override;
    void sceneMouseRightPress(int x, int y) override;
    void sceneMouseRelease(int x, int y) override;

    std::vector<QGraphicsLineItem*> blueLines;   // one per segment
    std::vector<QGraphicsLineItem*> yellowLines; // one per segment
    std::vector<QGraphicsEllipseItem*> handles;  // one per point
    QVector<QPointF> committedPoints;
    QVector<QPointF> editingPoints;
    float lineWidth = 0;
    float penWidth = 0;
    bool dragging = false;
    int dragIndex = -1;

private:
    void redraw(const QVector<QPointF>& points);
    QGraphicsLineItem* addSideLine(const QColor& colour);
    QGraphicsEllipseItem* addHandle();
    void placeSegment(int segment, const QPointF& p1, const QPointF& p2);
    int handleAt(int x, int y) const;
    bool sceneIsEmpty() const;
    bool outsideImage(int x, int y) const;
    void setViewCursor(Qt::CursorShape shape);
};
