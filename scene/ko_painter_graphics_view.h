#pragma once

#include <QGraphicsView>

// The view of the histogram: reports raw viewport positions of presses (any
// button), moves and releases, and never scrolls or zooms by wheel.
class KoPainterGraphicsView : public QGraphicsView
{
    Q_OBJECT

public:
    explicit KoPainterGraphicsView(QWidget* parent = nullptr);

signals:
    void mouseMoveEv(const int x, const int y);
    void mousePressEv(const int x, const int y);
    void mouseReleaseEv(const int x, const int y);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
};
