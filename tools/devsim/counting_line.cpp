#include "counting_line.h"

int CountingLine::Crossing(const QPointF& from, const QPointF& to) const
{
    int net = 0;
    for (int i = 1; i < points.size(); ++i) {
        const QPointF p1 = points[i - 1];
        const QPointF p2 = points[i];
        const QPointF along = p2 - p1;
        const double length2 = QPointF::dotProduct(along, along);
        if (length2 <= 0)
            continue;
        // Normal towards the blue side.
        const QPointF normal(p1.y() - p2.y(), p2.x() - p1.x());
        const double d0 = QPointF::dotProduct(from - p1, normal);
        const double d1 = QPointF::dotProduct(to - p1, normal);
        // A point on the line belongs to the yellow side, so touching the
        // line and going back does not count.
        const bool blue0 = d0 > 0;
        const bool blue1 = d1 > 0;
        if (blue0 == blue1)
            continue;
        const double s = d0 / (d0 - d1);
        const QPointF hit = from + s * (to - from);
        const double t = QPointF::dotProduct(hit - p1, along) / length2;
        // Half-open segments, so a crossing right at an inner point of the
        // polyline counts once.
        const bool last = i == points.size() - 1;
        if (t < 0 || t > 1 || (t == 1 && !last))
            continue;
        net += blue0 ? 1 : -1;
    }
    return net > 0 ? 1 : (net < 0 ? -1 : 0);
}
