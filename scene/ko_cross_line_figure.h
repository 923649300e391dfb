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
// point under the pointer, right click drops the last one, a handle can be
// dragged up to the picture's edges. Points are normalised to the picture
// size and never leave it by editing.
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
    // Index of the first handle under a scene position, -1 when none.
    int handleAt(int x, int y) const;

    std::vector<QGraphicsLineItem*> blueLines;   // one per segment
    std::vector<QGraphicsLineItem*> yellowLines; // one per segment
    std::vector<QGraphicsEllipseItem*> handles;  // one per point
    QVector<QPointF> committedPoints;
    QVector<QPointF> editingPoints;
    float lineWidth = 0;
    float penWidth = 0;
    bool dragging = false;
    int dragIndex = -1;
    QPointF grabOffset; // dragged point minus pointer, in pixels, at the press

private:
    void redraw(const QVector<QPointF>& points);
    QGraphicsLineItem* addSideLine(const QColor& colour);
    QGraphicsEllipseItem* addHandle();
    void placeSegment(int segment, const QPointF& p1, const QPointF& p2);
    // A picture position clamped to the picture, normalised.
    QPointF normalisedInside(const QPointF& pixel) const;
    bool sceneIsEmpty() const;
    bool outsideImage(int x, int y) const;
    void setViewCursor(Qt::CursorShape shape);
};
