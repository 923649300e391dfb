#pragma once

#include <QGraphicsView>
#include <QPointer>

class KoViewer;

// The view inside KoViewer. Turns every press, move and release on the
// viewport into the scene pixel under the mouse; the scene itself gets no
// mouse events from it. Ctrl with the wheel moves the viewer's zoom slider.
class KoGraphicsView : public QGraphicsView
{
    Q_OBJECT

public:
    KoGraphicsView(QWidget* parent, KoViewer* owner);

    // The scene pixel under a viewport position, truncated toward zero.
    QPoint mapToScenePixel(const QPoint& viewport_pos) const;

    // The host's promise that its items paint this scene rectangle opaque
    // (a picture): the viewport then fills only what lies beside it, instead
    // of its whole background under every new picture. Empty: no promise.
    void setOpaqueArea(const QRectF& scene_rect);
    QRectF opaqueArea() const { return opaque; }

signals:
    void mouseMoveEv(const int x, const int y);
    void mousePressEv(const int x, const int y);
    void mouseRightPressEv(const int x, const int y);
    void mouseReleaseEv(const int x, const int y);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void drawBackground(QPainter* painter, const QRectF& rect) override;

private:
    QPointer<KoViewer> viewer;
    QRectF opaque;
};
