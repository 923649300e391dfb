// The counting line and zone on a picture-sized scene: geometry, mouse editing,
// commit and cancel, and a real mouse (the window system's path) on a shown viewer.
#define QTEST_QPA_MOUSE_HANDLING

#include "../support/real_display.h"
#include "ko_base_figure.h"
#include "ko_cross_line_figure.h"
#include "ko_graphics_view.h"
#include "ko_selector_figure.h"
#include "ko_viewer.h"

#include <QGraphicsEllipseItem>
#include <QGraphicsLineItem>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QPixmap>
#include <QPushButton>
#include <QSlider>
#include <QtTest>

#include <cmath>

namespace {

// A picture's scene, one view (whose cursor the figures change) and a host.
struct Picture
{
    explicit Picture(int width = 640, int height = 480)
    {
        if (width > 0 && height > 0) {
            QPixmap pixmap(width, height);
            pixmap.fill(Qt::gray);
            scene.addPixmap(pixmap);
            scene.setSceneRect(0, 0, width, height);
        }
        view.setScene(&scene);
    }

    QGraphicsScene scene;
    QGraphicsView view;
    QWidget host;
};

QPointF Pixel(const QPointF& normalised, double width = 640, double height = 480)
{
    return QPointF(normalised.x() * width, normalised.y() * height);
}

QVector<QPointF> Normalised(const QVector<QPointF>& pixels)
{
    QVector<QPointF> out;
    for (const QPointF& p : pixels)
        out.append(QPointF(p.x() / 640, p.y() / 480));
    return out;
}

bool Near(const QPointF& a, const QPointF& b, double tolerance = 1e-6)
{
    return qAbs(a.x() - b.x()) <= tolerance && qAbs(a.y() - b.y()) <= tolerance;
}

bool Near(const QRectF& a, const QRectF& b, double tolerance = 1e-6)
{
    return Near(a.topLeft(), b.topLeft(), tolerance) &&
           Near(a.bottomRight(), b.bottomRight(), tolerance);
}

// Item counts match the point count, every handle is a circle of lineWidth
// on its point, and every segment's band straddles it: blue on the right of
// the direction, yellow on the left.
void VerifyDrawing(const KoCrossLineFigure& line, const QVector<QPointF>& points)
{
    auto pixel = [&line](const QPointF& p) { return Pixel(p, line.sceneWidth, line.sceneHeight); };
    const int n = points.size();
    QCOMPARE(int(line.handles.size()), n);
    QCOMPARE(int(line.blueLines.size()), n - 1);
    QCOMPARE(int(line.yellowLines.size()), n - 1);
    for (int i = 0; i < n; ++i) {
        const QRectF r = line.handles[i]->rect();
        QVERIFY(Near(r.center(), pixel(points[i])));
        QCOMPARE(r.size(), QSizeF(line.lineWidth, line.lineWidth));
    }
    const double offset = line.lineWidth / 4.0;
    for (int i = 1; i < n; ++i) {
        const QPointF p1 = pixel(points[i - 1]), p2 = pixel(points[i]);
        const QPointF d = p2 - p1;
        const double len = std::hypot(d.x(), d.y());
        if (len == 0)
            continue;
        const QPointF right(-d.y() / len * offset, d.x() / len * offset);
        const QLineF blue = line.blueLines[i - 1]->line(), yellow = line.yellowLines[i - 1]->line();
        QVERIFY(Near(QRectF(blue.p1(), blue.p2()), QRectF(p1 + right, p2 + right), 1e-4));
        QVERIFY(Near(QRectF(yellow.p1(), yellow.p2()), QRectF(p1 - right, p2 - right), 1e-4));
    }
}

} // namespace

class TestFigures : public QObject
{
    Q_OBJECT

private slots:
    void editPoints_data();
    void editPoints();
    void dragPoint_data();
    void dragPoint();
    void lineDefaultCommitCancelReset();
    void tooFewPointsKeepTheDrawing();

    void zoneDrag_data();
    void zoneDrag();
    void zoneResize();
    void zoneDefaultCommitCancelReset();

    void realMouseOnShownViewer();
    void hiddenFigureTakesNoClicks();
};

void TestFigures::editPoints_data()
{
    QTest::addColumn<int>("points"); // taken from the start of the default line
    QTest::addColumn<bool>("left");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<int>("expected");

    QTest::newRow("left click at the top-left corner") << 4 << true << QPoint(0, 0) << 5;
    QTest::newRow("left click at the last pixel") << 4 << true << QPoint(639, 479) << 5;
    QTest::newRow("left click at the right edge") << 4 << true << QPoint(640, 100) << 4;
    QTest::newRow("left click left of the picture") << 4 << true << QPoint(-1, 100) << 4;
    QTest::newRow("left click at the bottom edge") << 4 << true << QPoint(100, 480) << 4;
    QTest::newRow("right click drops the last") << 3 << false << QPoint(100, 100) << 2;
    QTest::newRow("right click keeps two") << 2 << false << QPoint(100, 100) << 2;
    QTest::newRow("right click beyond the edge") << 4 << false << QPoint(100, 500) << 4;
}

void TestFigures::editPoints()
{
    QFETCH(int, points);
    QFETCH(bool, left);
    QFETCH(QPoint, at);
    QFETCH(int, expected);

    Picture picture;
    KoCrossLineFigure line(&picture.host, &picture.scene);
    line.setPoints(KoCrossLineFigure::defaultPoints().mid(0, points));
    line.acceptChanges();
    const QVector<QPointF> before = line.editingPoints;

    if (left)
        line.sceneMousePress(at.x(), at.y());
    else
        line.sceneMouseRightPress(at.x(), at.y());
    line.sceneMouseRelease(at.x(), at.y());

    QCOMPARE(line.editingPoints.size(), expected);
    QCOMPARE(line.modified, expected != points);
    QCOMPARE(line.editingPoints.mid(0, qMin(points, expected)),
             before.mid(0, qMin(points, expected)));
    if (expected > points) {
        // Under the pointer, where a second press takes its handle.
        QVERIFY(Near(Pixel(line.editingPoints.last()), QPointF(at)));
        QCOMPARE(line.handleAt(at.x(), at.y()), expected - 1);
    }
    QVERIFY(!line.active);
    QCOMPARE(line.committedPoints, before);
    VerifyDrawing(line, line.editingPoints);
}

void TestFigures::dragPoint_data()
{
    QTest::addColumn<QPoint>("target");
    QTest::addColumn<QPointF>("expected");

    // Grabbed 4 pixels right of and below its centre, the point keeps that
    // distance from the pointer, and stops at the picture's edges.
    QTest::newRow("inside") << QPoint(300, 200) << QPointF(296, 196);
    QTest::newRow("beyond the left edge") << QPoint(-30, 200) << QPointF(0, 196);
    QTest::newRow("onto the right edge") << QPoint(644, 200) << QPointF(640, 196);
    QTest::newRow("onto the bottom edge") << QPoint(300, 484) << QPointF(296, 480);
}

void TestFigures::dragPoint()
{
    QFETCH(QPoint, target);
    QFETCH(QPointF, expected);

    Picture picture;
    KoCrossLineFigure line(&picture.host, &picture.scene);
    line.sceneMousePress(228, 268); // handle of point 1, centred on (224, 264)
    QVERIFY(line.dragging && line.active && line.modified);
    QCOMPARE(picture.view.cursor().shape(), Qt::SizeAllCursor);

    line.sceneMouseMove(250, 250);
    QCOMPARE(line.handleAt(250, 250), 1); // still under the pointer
    line.sceneMouseMove(target.x(), target.y());
    QVERIFY(line.active);
    QVERIFY(Near(Pixel(line.editingPoints[1]), expected));
    QCOMPARE(line.editingPoints.size(), 4);
    VerifyDrawing(line, line.editingPoints);

    line.sceneMouseRelease(target.x(), target.y());
    QVERIFY(!line.dragging && !line.active);
    QCOMPARE(picture.view.cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(line.committedPoints, KoCrossLineFigure::defaultPoints());
}

void TestFigures::lineDefaultCommitCancelReset()
{
    Picture picture;
    KoCrossLineFigure line(&picture.host, &picture.scene);
    const QPointF expected[] = {{128, 480}, {224, 264}, {416, 264}, {512, 480}};
    QCOMPARE(line.committedPoints.size(), 4);
    for (int i = 0; i < 4; ++i)
        QVERIFY(Near(Pixel(line.editingPoints[i]), expected[i]));
    VerifyDrawing(line, line.editingPoints);
    QCOMPARE(line.blueLines[0]->pen().widthF(), 8.0);

    const QVector<QPointF> device = Normalised({{50, 400}, {320, 200}, {590, 400}});
    line.setPoints(device);
    line.acceptChanges();
    VerifyDrawing(line, device);

    line.sceneMousePress(320, 100);
    line.cancelChanges();
    QVERIFY(!line.modified);
    VerifyDrawing(line, device);

    line.sceneMousePress(320, 100);
    line.acceptChanges();
    QVERIFY(!line.modified);
    const QVector<QPointF> accepted = line.committedPoints;
    QCOMPARE(accepted.size(), 4);

    line.resetToDefault();
    QVERIFY(line.modified);
    QCOMPARE(line.editingPoints, KoCrossLineFigure::defaultPoints());
    QCOMPARE(line.committedPoints, accepted);
    line.cancelChanges();
    VerifyDrawing(line, accepted);

    // A new picture size: the panel sets the sizes, then the width.
    line.sceneWidth = 1280;
    line.sceneHeight = 960;
    line.setLineWidth(1280 / 40);
    QCOMPARE(line.blueLines[0]->pen().widthF(), 16.0);
    VerifyDrawing(line, accepted);
}

void TestFigures::tooFewPointsKeepTheDrawing()
{
    Picture picture;
    KoCrossLineFigure line(&picture.host, &picture.scene);
    QVector<QRectF> drawn;
    for (const QGraphicsEllipseItem* handle : line.handles)
        drawn.append(handle->rect());

    line.setPoints({});
    line.acceptChanges();
    QCOMPARE(int(line.handles.size()), 4);
    for (int i = 0; i < 4; ++i)
        QCOMPARE(line.handles[i]->rect(), drawn[i]);

    // The old handles stand for no point any more: a click on one of them
    // starts a new line instead of dragging a point that is not there.
    line.sceneMousePress(224, 264);
    line.sceneMouseMove(300, 300);
    line.sceneMouseRelease(300, 300);
    QCOMPARE(line.editingPoints.size(), 1);
    line.sceneMousePress(400, 300);
    QCOMPARE(line.editingPoints.size(), 2);
    VerifyDrawing(line, line.editingPoints);

    // A shorter line arriving from the device in the middle of a drag.
    line.setPoints(KoCrossLineFigure::defaultPoints());
    line.sceneMousePress(512, 476); // handle of point 3
    QCOMPARE(line.dragIndex, 3);
    line.setPoints(Normalised({{10, 10}, {600, 400}}));
    line.sceneMouseMove(300, 300);
    QCOMPARE(line.editingPoints, Normalised({{10, 10}, {600, 400}}));
    line.sceneMouseRelease(300, 300);

    // While the scene has no size the line takes no mouse at all.
    Picture empty(0, 0);
    KoCrossLineFigure blind(&empty.host, &empty.scene);
    blind.sceneMousePress(10, 10);
    blind.sceneMouseRightPress(10, 10);
    QCOMPARE(blind.editingPoints, KoCrossLineFigure::defaultPoints());
    QVERIFY(!blind.modified);
}

void TestFigures::zoneDrag_data()
{
    QTest::addColumn<int>("handle");
    QTest::addColumn<QPoint>("via");
    QTest::addColumn<QPoint>("target");
    QTest::addColumn<QRectF>("expected");

    const auto row = [](const char* name, int handle, QPoint via, QPoint target, QRectF rect) {
        QTest::newRow(name) << handle << via << target << rect;
    };
    // The zone starts at (100, 100, 200, 100).
    row("top-left", 0, {50, 60}, {50, 60}, {50, 60, 250, 140});
    row("top-middle", 1, {5, 80}, {5, 80}, {100, 80, 200, 120});
    row("top-right", 2, {350, 70}, {350, 70}, {100, 70, 250, 130});
    row("middle-left", 3, {90, 0}, {90, 0}, {90, 100, 210, 100});
    row("middle-right", 4, {320, 470}, {320, 470}, {100, 100, 220, 100});
    row("bottom-left", 5, {60, 250}, {60, 250}, {60, 100, 240, 150});
    row("bottom-middle", 6, {0, 260}, {0, 260}, {100, 100, 200, 160});
    row("bottom-right", 7, {400, 300}, {400, 300}, {100, 100, 300, 200});
    row("bottom-right to the picture's corner", 7, {640, 480}, {640, 480}, {100, 100, 540, 380});
    row("bottom-right past the right edge keeps the last width", 7, {400, 200}, {641, 250},
        {100, 100, 300, 100});
    row("bottom-middle past the bottom edge", 6, {0, 300}, {0, 481}, {100, 100, 200, 200});
    row("top-left past the opposite corner", 0, {350, 250}, {350, 250}, {100, 100, 200, 100});
    row("middle-left past the left edge", 3, {-1, 150}, {-1, 150}, {100, 100, 200, 100});
    row("top-middle past the top edge", 1, {150, 40}, {150, -3}, {100, 40, 200, 160});
}

void TestFigures::zoneDrag()
{
    QFETCH(int, handle);
    QFETCH(QPoint, via);
    QFETCH(QPoint, target);
    QFETCH(QRectF, expected);

    Picture picture;
    KoSelectorFigure zone(&picture.host, &picture.scene);
    const QRectF start(100, 100, 200, 100);
    zone.setZone(QRectF(100 / 640.0, 100 / 480.0, 200 / 640.0, 100 / 480.0));
    zone.acceptChanges();
    QVERIFY(Near(zone.zoneRect, start));

    const QPoint centre = zone.handleRects[handle].center().toPoint();
    zone.sceneMousePress(centre.x(), centre.y());
    QCOMPARE(zone.dragMode, handle + 1);
    zone.sceneMouseMove(via.x(), via.y());
    zone.sceneMouseMove(target.x(), target.y());
    QVERIFY(zone.active);
    QVERIFY(Near(zone.zoneRect, expected));
    QCOMPARE(zone.modified, !Near(expected, start));
    QVERIFY(Near(zone.committedZoneRect, start));
    QVERIFY(Near(zone.handleRects[7].center(), expected.bottomRight()));
    QCOMPARE(zone.rectItem->rect(), zone.zoneRect);

    zone.sceneMouseRelease(target.x(), target.y());
    QVERIFY(!zone.active);
    zone.sceneMouseMove(200, 150);
    QVERIFY(Near(zone.zoneRect, expected));
}

void TestFigures::zoneResize()
{
    Picture picture;
    KoSelectorFigure zone(&picture.host, &picture.scene);
    zone.setZone(QRectF(0.05, 0.05, 0.5, 0.5)); // (32, 24, 320, 240)
    QVERIFY(Near(zone.zoneRect, QRectF(32, 24, 320, 240)));
    const QRectF normalised = zone.zone();

    zone.resize(0, 960);
    QVERIFY(Near(zone.zoneRect, QRectF(32, 24, 320, 240)));
    QCOMPARE(zone.handleSize, 16.f);

    zone.resize(1280, 960);
    QVERIFY(Near(zone.zoneRect, QRectF(64, 48, 640, 480)));
    QVERIFY(Near(zone.committedZoneRect, QRectF(64, 48, 640, 480)));
    QVERIFY(Near(zone.zone(), normalised));
    QCOMPARE(zone.handleSize, 32.f);
    QVERIFY(qAbs(zone.rectItem->pen().widthF() - 12.8) < 1e-5);
    QCOMPARE(zone.handleItems[7]->rect(), QRectF(704 - 16, 528 - 16, 32, 32));

    // A zone made before any picture had a size starts from the default.
    Picture empty(0, 0);
    KoSelectorFigure late(&empty.host, &empty.scene);
    QCOMPARE(late.zone(), QRectF()); // nothing to divide by: zeros, no infinities
    late.resize(640, 480);
    QCOMPARE(late.zoneRect, QRectF(8, 8, 632, 472));
    QVERIFY(Near(late.zone(), QRectF(8 / 640.0, 8 / 480.0, 632 / 640.0, 472 / 480.0)));
}

void TestFigures::zoneDefaultCommitCancelReset()
{
    Picture picture;
    KoSelectorFigure zone(&picture.host, &picture.scene);
    QCOMPARE(zone.zoneRect, QRectF(8, 8, 632, 472));
    QCOMPARE(zone.rectItem->rect(), zone.zoneRect);
    QVERIFY(qAbs(zone.rectItem->pen().widthF() - 6.4) < 1e-5);
    const QPointF centres[] = {{8, 8},     {324, 8}, {640, 8},   {8, 244},
                               {640, 244}, {8, 480}, {324, 480}, {640, 480}};
    for (int i = 0; i < 8; ++i) {
        QCOMPARE(zone.handleItems[i]->rect(), QRectF(centres[i] - QPointF(8, 8), QSizeF(16, 16)));
        QCOMPARE(zone.handleRects[i], zone.handleItems[i]->rect());
    }

    zone.setZone(QRectF(0.1, 0.2, 0.5, 0.4));
    zone.acceptChanges();
    QVERIFY(Near(zone.zone(), QRectF(0.1, 0.2, 0.5, 0.4)));
    const QRectF committed = zone.committedZoneRect;
    QVERIFY(Near(committed, QRectF(64, 96, 320, 192)));

    auto drag_corner = [&zone] {
        const QPoint corner = zone.handleRects[7].center().toPoint();
        zone.sceneMousePress(corner.x(), corner.y());
        zone.sceneMouseMove(500, 400);
        zone.sceneMouseRelease(500, 400);
    };
    drag_corner();
    QVERIFY(zone.modified);
    zone.cancelChanges();
    QVERIFY(!zone.modified);
    QCOMPARE(zone.zoneRect, committed);
    QCOMPARE(zone.rectItem->rect(), committed);

    drag_corner();
    zone.acceptChanges();
    QVERIFY(!zone.modified);
    QCOMPARE(zone.committedZoneRect, QRectF(64, 96, 436, 304));

    zone.resetToDefault();
    QCOMPARE(zone.zoneRect, QRectF(8, 8, 632, 472));
    QCOMPARE(zone.committedZoneRect, QRectF(64, 96, 436, 304));
}

void TestFigures::realMouseOnShownViewer()
{
    QGraphicsScene scene;
    scene.addPixmap(QPixmap(640, 480));

    QWidget host;
    auto* viewer = new KoViewer(&host);
    viewer->setControlsHidden(true);
    viewer->setScene(&scene);
    viewer->resize(400, 300);
    // Made like the live panel makes them: after the viewer has the scene.
    auto* line = new KoCrossLineFigure(&host, &scene);
    auto* zone = new KoSelectorFigure(&host, &scene);
    // The line's handles reach past the picture; the zone still gets its size.
    QCOMPARE(zone->zoneRect, QRectF(8, 8, 632, 472));
    const QList<KoBaseFigure*> figures{zone, line};
    int dirty = 0;
    auto forward = [&](KoBaseFigure::MouseOperation op) {
        return [&, op](int x, int y) { dirty += KoBaseFigure::routeMouse(figures, op, x, y); };
    };
    connect(viewer, &KoViewer::eMouseMoveEv, &host, forward(&KoBaseFigure::sceneMouseMove));
    connect(viewer, &KoViewer::eMousePressEv, &host, forward(&KoBaseFigure::sceneMousePress));
    connect(viewer, &KoViewer::eMouseReleaseEv, &host, forward(&KoBaseFigure::sceneMouseRelease));

    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    QCOMPARE(viewer->view->size(), QSize(400, 300));
    viewer->setImageSize(QSize(640, 480));
    QCOMPARE(viewer->zoomSlider->value(), 9); // scale 0.6055, the whole picture in view
    QCOMPARE(zone->cursorView.data(), static_cast<QGraphicsView*>(viewer->view));

    KoGraphicsView* view = viewer->view;
    QWidget* port = view->viewport();
    auto at = [view](double x, double y) { return view->mapFromScene(QPointF(x, y)); };
    auto scene_at = [view, &at](double x, double y) { return view->mapToScenePixel(at(x, y)); };

    // Over the zone's bottom-right handle: its cursor, and the zone holds the mouse.
    // The first move only brings the pointer into the window.
    QTest::mouseMove(port, at(600, 400));
    QTest::mouseMove(port, at(636, 476));
    QVERIFY(zone->active);
    QCOMPARE(view->cursor().shape(), Qt::SizeFDiagCursor);
    QTest::mousePress(port, Qt::LeftButton, {}, at(636, 476));
    QCOMPARE(zone->dragMode, 8);
    QTest::mouseMove(port, at(560, 430));
    QTest::mouseMove(port, at(500, 400));
    QTest::mouseRelease(port, Qt::LeftButton, {}, at(500, 400));
    const QPoint corner = scene_at(500, 400);
    QCOMPARE(zone->zoneRect, QRectF(8, 8, corner.x() - 8, corner.y() - 8));
    QVERIFY(zone->modified);
    QCOMPARE(line->editingPoints.size(), 4);
    QVERIFY(dirty > 0);
    // The scene itself never saw the mouse.
    QVERIFY(!scene.mouseGrabberItem());

    // A click on the picture away from every handle adds a line point.
    QTest::mouseMove(port, at(300, 120));
    QCOMPARE(view->cursor().shape(), Qt::ArrowCursor);
    QTest::mouseClick(port, Qt::LeftButton, {}, at(300, 120));
    QCOMPARE(line->editingPoints.size(), 5);
    const QPoint click = scene_at(300, 120);
    QVERIFY(Near(Pixel(line->editingPoints.last()), QPointF(click)));
}

void TestFigures::hiddenFigureTakesNoClicks()
{
    // A figure is a child widget of its host; shown with the host it would
    // lie over the host's top-left corner.
    QWidget host;
    host.resize(300, 200);
    QGraphicsScene scene(0, 0, 640, 480);
    auto* button = new QPushButton(QStringLiteral("Clear"), &host);
    button->setGeometry(0, 0, 80, 25);
    new KoCrossLineFigure(&host, &scene);
    new KoSelectorFigure(&host, &scene);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    QCOMPARE(host.childAt(10, 10), button);
    QSignalSpy clicked(button, &QPushButton::clicked);
    QTest::mouseClick(&host, Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(clicked.count(), 1);
}

VELMORA_REAL_DISPLAY_MAIN(TestFigures)
#include "tst_figures.moc"
