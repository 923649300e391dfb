#pragma once

#include <QPointF>
#include <QVector>

// A pass's counting line in image coordinates normalised to 0..1 (y grows
// downwards). The blue side of a segment lies to the right of its direction
// (first point to last); a crossing from blue to yellow counts as in.
class CountingLine
{
public:
    void SetPoints(const QVector<QPointF>& points) { this->points = points; }
    const QVector<QPointF>& Points() const { return points; }

    // +1 when the step from -> to crosses the line from blue to yellow, -1
    // from yellow to blue, 0 when it does not cross (or crosses both ways).
    int Crossing(const QPointF& from, const QPointF& to) const;

private:
    QVector<QPointF> points;
};
