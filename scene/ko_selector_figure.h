#pragma once

#include "ko_base_figure.h"

#include <QPointer>
#include <QRectF>

#include <array>

class QGraphicsRectItem;
class QGraphicsView;

// The counting zone: an axis-aligned rectangle with a dotted outline and
// eight square handles (corners and edge midpoints) by which it is resized.
// The host reads and sets it normalised to the picture size.
class KoSelectorFigure : public KoBaseFigure
{
    Q_OBJECT

public:
    static constexpr int HandleCount = 8;
    static constexpr int Idle = 10; // dragMode while no handle is dragged

    KoSelectorFigure(QWidget* parent, QGraphicsScene* scene);

    // The zone confirmed by the device, normalised (x, y, width, height).
    void setZone(const QRectF& zone);
    // The zone being edited, normalised.
    QRectF zone() const;
    // The picture changed size: the zone keeps its place on it.
    void resize(float width, float height);
    void cancelChanges();
    void resetToDefault();
    void acceptChanges();

    void sceneMouseMove(int x, int y) override;
    void sceneMousePress(int x, int y) override;
    void sceneMouseRelease(int x, int y) override;

    // Cursor shown over each handle, in handle order.
    static Qt::CursorShape handleCursor(int index);

    QRectF zoneRect;                             // being edited, in scene pixels
    std::array<QRectF, HandleCount> handleRects; // top-left, top-middle, top-right,
                                                 // middle-left, middle-right,
                                                 // bottom-left, bottom-middle, bottom-right
    QRectF committedZoneRect;                    // last confirmed, in scene pixels
    QGraphicsRectItem* rectItem = nullptr;       // the dotted outline
    std::array<QGraphicsRectItem*, HandleCount> handleItems{};
    int dragMode = Idle;    // handle index + 1 while dragging
    float handleSize = 0;   // side of a handle square
    float outlineWidth = 0; // outline pen width
    float zoneWidth = 0;    // picture size of the normalisation
    float zoneHeight = 0;
    QPointer<QGraphicsView> cursorView; // the view whose cursor is changed

private:
    QRectF defaultZone() const;
    int handleAt(int x, int y) const;
    void redraw();
    void setViewCursor(Qt::CursorShape shape);
};
