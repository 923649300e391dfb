// The zoomable viewer and the two graphics views: zoom, fitting a picture,
// mapping the mouse to scene pixels, buttons and the wheel.

// Mouse events take the window system's path, as a real mouse's do.
#define QTEST_QPA_MOUSE_HANDLING

#include "../support/real_display.h"
#include "ko_graphics_view.h"
#include "ko_painter_graphics_view.h"
#include "ko_viewer.h"

#include <QGraphicsScene>
#include <QScrollBar>
#include <QSlider>
#include <QToolButton>
#include <QtTest>

#include <cmath>
#include <memory>

Q_DECLARE_METATYPE(Qt::MouseButton)

namespace {

// A shown viewer whose view is 400 x 300, controls hidden.
std::unique_ptr<KoViewer> ShownViewer(QGraphicsScene* scene)
{
    auto viewer = std::make_unique<KoViewer>();
    viewer->setControlsHidden(true);
    viewer->setScene(scene);
    viewer->resize(400, 300);
    viewer->show();
    return QTest::qWaitForWindowExposed(viewer.get()) ? std::move(viewer) : nullptr;
}

// Scroll-bar arithmetic for the top-left aligned, scale-only view: the
// reference the view's own inverse transform must agree with.
QPoint ReferenceMapping(const KoViewer& viewer, QPoint pos)
{
    const double s = KoViewer::zoomScale(viewer.zoomSlider->value());
    const QRectF rect = viewer.view->sceneRect();
    const QScrollBar* h = viewer.view->horizontalScrollBar();
    const QScrollBar* v = viewer.view->verticalScrollBar();
    const double fx =
        h->maximum() ? (int(rect.width()) * s - h->pageStep()) / (h->maximum() - h->minimum()) : 0;
    const double fy =
        v->maximum() ? (rect.height() * s - v->pageStep()) / (v->maximum() - v->minimum()) : 0;
    return QPoint(int((h->value() * fx + pos.x()) / s), int((v->value() * fy + pos.y()) / s));
}

void SendWheel(QWidget* target, int delta, Qt::KeyboardModifiers modifiers)
{
    const QPointF pos(target->width() / 2, target->height() / 2);
    QWheelEvent event(pos, target->mapToGlobal(pos.toPoint()), QPoint(), QPoint(0, delta),
                      Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(target, &event);
}

} // namespace

class TestViewer : public QObject
{
    Q_OBJECT

private slots:
    void zoomScale_data();
    void zoomScale();
    void zoomControls();
    void setImageSize_data();
    void setImageSize();
    void refitUnlessZoomed_data();
    void refitUnlessZoomed();
    void mouseMapping_data();
    void mouseMapping();
    void buttons_data();
    void buttons();
    void noSignalsWithoutScene();
    void wheel_data();
    void wheel();
    void painterView();
};

void TestViewer::zoomScale_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("slider");
    QTest::addColumn<double>("scale");

    QTest::newRow("minimum") << 0 << 0 << 0.25;
    QTest::newRow("start") << 18 << 18 << 0.961;
    QTest::newRow("middle") << 250 << 250 << 10.125;
    QTest::newRow("maximum") << 500 << 500 << 20.0;
    QTest::newRow("above the range") << 800 << 500 << 20.0;
    QTest::newRow("below the range") << -40 << 0 << 0.25;
}

void TestViewer::zoomScale()
{
    QFETCH(int, value);
    QFETCH(int, slider);
    QFETCH(double, scale);

    KoViewer viewer;
    QVERIFY(qAbs(viewer.view->transform().m11() - 0.961) < 1e-9);
    viewer.sZoomIn(value - 18);
    QCOMPARE(viewer.zoomSlider->value(), slider);
    // What is drawn always follows the slider.
    QVERIFY(qAbs(viewer.view->transform().m11() - scale) < 1e-9);
}

void TestViewer::zoomControls()
{
    QGraphicsScene scene;
    KoViewer viewer;
    viewer.setScene(&scene);
    viewer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&viewer));
    QVERIFY(viewer.resetButton->isEnabled()); // the constructor applied the matrix

    // One step per click, whatever clicked() carries.
    QTest::mouseClick(viewer.zoomInButton, Qt::LeftButton);
    QTest::mouseClick(viewer.zoomInButton, Qt::LeftButton);
    QTest::mouseClick(viewer.zoomOutButton, Qt::LeftButton);
    QCOMPARE(viewer.zoomSlider->value(), 19);

    viewer.setImageSize(QSize(2000, 1500));
    const int fitted = viewer.resetValue;
    viewer.sZoomIn(200);
    QScrollBar* h = viewer.view->horizontalScrollBar();
    h->setValue(h->maximum());
    QVERIFY(h->value() > 0);
    QTest::mouseClick(viewer.resetButton, Qt::LeftButton);
    QCOMPARE(viewer.zoomSlider->value(), fitted);
    QCOMPARE(h->value(), 0);
    QVERIFY(!viewer.resetButton->isEnabled());
    viewer.sSetResetButtonEnabled();
    QVERIFY(viewer.resetButton->isEnabled());
}

void TestViewer::setImageSize_data()
{
    QTest::addColumn<QSize>("image");
    QTest::addColumn<int>("value");

    // 1280 / 400 = 3.2 beats 720 / 300: trunc((0.3125 - 0.25) * 500 / 19.75) = 1.
    QTest::newRow("1280x720") << QSize(1280, 720) << 1;
    QTest::newRow("640x480") << QSize(640, 480) << 9;
    QTest::newRow("tall 100x600") << QSize(100, 600) << 6;
    QTest::newRow("small 200x150 is enlarged") << QSize(200, 150) << 43;
    QTest::newRow("tiny 2x2 clamps") << QSize(2, 2) << 500;
    QTest::newRow("huge: slider at its bottom, still fitted") << QSize(4000, 3000) << 0;
    QTest::newRow("zero keeps the zoom") << QSize(0, 0) << 18;
}

void TestViewer::setImageSize()
{
    QFETCH(QSize, image);
    QFETCH(int, value);

    QGraphicsScene scene;
    auto viewer = ShownViewer(&scene);
    QVERIFY(viewer);
    viewer->setImageSize(image);
    QCOMPARE(scene.sceneRect(), QRectF(0, 0, image.width(), image.height()));
    QCOMPARE(viewer->zoomSlider->value(), value);
    QCOMPARE(viewer->resetValue, value);
    // Unless too small for the top zoom, the picture fits inside the view's
    // frame with no scroll bar, and (above the bottom) one step more would not.
    const double scale = viewer->view->transform().m11();
    const QSize room = viewer->view->maximumViewportSize();
    if (value < 500 && !image.isEmpty()) {
        QVERIFY(image.width() * scale <= room.width() && image.height() * scale <= room.height());
        QCoreApplication::processEvents();
        QVERIFY(!viewer->view->horizontalScrollBar()->isVisible() &&
                !viewer->view->verticalScrollBar()->isVisible());
    }
    if (value > 0 && value < 500 && !image.isEmpty()) {
        const double next = KoViewer::zoomScale(value + 1);
        QVERIFY(image.width() * next > room.width() || image.height() * next > room.height());
    }
}

void TestViewer::refitUnlessZoomed_data()
{
    QTest::addColumn<int>("zoom"); // the operator's own steps after the fit
    QTest::addColumn<int>("afterResize");
    // 640 x 480 fits 400 x 300 at 9, and 800 x 600 at 25.
    QTest::newRow("fitted: follows the window") << 0 << 25;
    QTest::newRow("zoomed in: stays") << 5 << 14;
}

void TestViewer::refitUnlessZoomed()
{
    QFETCH(int, zoom);
    QFETCH(int, afterResize);

    QGraphicsScene scene;
    auto viewer = ShownViewer(&scene);
    QVERIFY(viewer);
    viewer->setImageSize(QSize(640, 480));
    QCOMPARE(viewer->zoomSlider->value(), 9);
    viewer->sZoomIn(zoom);
    QCOMPARE(viewer->zoomedByOperator(), zoom != 0);
    viewer->resize(800, 600);
    QTRY_COMPARE(viewer->view->size(), QSize(800, 600));
    QCOMPARE(viewer->zoomSlider->value(), afterResize);

    // The fit key brings the whole picture back, and resizing follows again.
    viewer->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(viewer.get()));
    viewer->view->setFocus();
    QTest::keyClick(viewer->view, Qt::Key_0, Qt::ControlModifier);
    QCOMPARE(viewer->zoomSlider->value(), 25);
    QVERIFY(!viewer->zoomedByOperator());
    viewer->resize(400, 300);
    QTRY_COMPARE(viewer->zoomSlider->value(), 9);
}

void TestViewer::mouseMapping_data()
{
    QTest::addColumn<QSize>("image");
    QTest::addColumn<int>("zoom");
    QTest::addColumn<double>("scroll"); // fraction of both scroll ranges

    QTest::newRow("small, enlarged past the view") << QSize(200, 150) << 80 << 0.5;
    QTest::newRow("640x480 at 4.2") << QSize(640, 480) << 100 << 0.37;
    QTest::newRow("1280x720 at 2.0, far end") << QSize(1280, 720) << 45 << 1.0;
    QTest::newRow("1280x720 at 20") << QSize(1280, 720) << 500 << 0.5;
    QTest::newRow("wide strip, far end") << QSize(3000, 50) << 18 << 1.0;
}

void TestViewer::mouseMapping()
{
    QFETCH(QSize, image);
    QFETCH(int, zoom);
    QFETCH(double, scroll);

    QGraphicsScene scene(0, 0, image.width(), image.height());
    auto viewer = ShownViewer(&scene);
    QVERIFY(viewer);
    viewer->zoomSlider->setValue(zoom);
    QCoreApplication::processEvents(); // the scroll bars take their room
    QScrollBar* h = viewer->view->horizontalScrollBar();
    QScrollBar* v = viewer->view->verticalScrollBar();
    h->setValue(int(std::lround(h->maximum() * scroll)));
    v->setValue(int(std::lround(v->maximum() * scroll)));

    QSignalSpy moves(viewer.get(), &KoViewer::eMouseMoveEv);
    QWidget* port = viewer->view->viewport();
    // Not (0, 0), which QTest takes for the centre.
    const QPoint positions[] = {
        {1, 1}, {port->width() - 1, port->height() - 1}, {port->width() / 2, port->height() / 3}};
    for (const QPoint& pos : positions) {
        // A move to where the pointer already is would not be delivered.
        QTest::mouseMove(port, pos - QPoint(1, 1));
        QTest::mouseMove(port, pos);
        QVERIFY(!moves.isEmpty());
        const QPoint got(moves.last().at(0).toInt(), moves.last().at(1).toInt());
        // The scroll ranges are whole pixels: at most one pixel apart.
        const QPoint reference = ReferenceMapping(*viewer, pos);
        QVERIFY(qAbs(got.x() - reference.x()) <= 1 && qAbs(got.y() - reference.y()) <= 1);
    }
    if (scroll == 1.0) {
        // Scrolled to the far right, the viewport's right edge is the scene's.
        const QPoint edge = viewer->view->mapToScenePixel(QPoint(port->width(), 0));
        QVERIFY(qAbs(edge.x() - image.width()) <= 1);
    }
}

void TestViewer::buttons_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<bool>("left");

    QTest::newRow("left") << Qt::LeftButton << true;
    QTest::newRow("right") << Qt::RightButton << false;
    QTest::newRow("middle") << Qt::MiddleButton << false;
}

void TestViewer::buttons()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(bool, left);

    QGraphicsScene scene(0, 0, 320, 240);
    auto viewer = ShownViewer(&scene);
    QVERIFY(viewer);
    const double s = viewer->currentScale();
    QSignalSpy presses(viewer.get(), &KoViewer::eMousePressEv);
    QSignalSpy rights(viewer.get(), &KoViewer::eMouseRightPressEv);
    QSignalSpy releases(viewer.get(), &KoViewer::eMouseReleaseEv);

    QWidget* port = viewer->view->viewport();
    QTest::mousePress(port, button, {}, QPoint(120, 45));
    QTest::mouseRelease(port, button, {}, QPoint(130, 50));
    QCOMPARE(presses.count(), left ? 1 : 0);
    QCOMPARE(rights.count(), left ? 0 : 1);
    QCOMPARE((left ? presses : rights).first(), (QList<QVariant>{int(120 / s), int(45 / s)}));
    QCOMPARE(releases.count(), 1);
    QCOMPARE(releases.first(), (QList<QVariant>{int(130 / s), int(50 / s)}));

    // The second press of a double click is a press too.
    QTest::mouseDClick(port, button, {}, QPoint(60, 70));
    QCOMPARE(presses.count() + rights.count(), 3);
    QCOMPARE(releases.count(), 3);
}

void TestViewer::noSignalsWithoutScene()
{
    auto viewer = ShownViewer(nullptr);
    QVERIFY(viewer);
    QSignalSpy moves(viewer.get(), &KoViewer::eMouseMoveEv);
    QSignalSpy presses(viewer.get(), &KoViewer::eMousePressEv);
    QSignalSpy rights(viewer.get(), &KoViewer::eMouseRightPressEv);
    QSignalSpy releases(viewer.get(), &KoViewer::eMouseReleaseEv);
    QWidget* port = viewer->view->viewport();
    QTest::mouseMove(port, QPoint(30, 30));
    QTest::mouseClick(port, Qt::LeftButton, {}, QPoint(40, 40));
    QTest::mouseClick(port, Qt::RightButton, {}, QPoint(50, 40));
    QCOMPARE(moves.count() + presses.count() + rights.count() + releases.count(), 0);
    viewer->setImageSize(QSize(1280, 720)); // still zooms
    QCOMPARE(viewer->zoomSlider->value(), 1);
}

void TestViewer::wheel_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("notches"); // forward is positive
    QTest::addColumn<bool>("ctrl");
    QTest::addColumn<int>("slider");

    QTest::newRow("ctrl forward five notches") << 100 << 5 << true << 130;
    QTest::newRow("ctrl backward two notches") << 100 << -2 << true << 88;
    QTest::newRow("ctrl forward at the top end") << 497 << 3 << true << 500;
    QTest::newRow("ctrl backward at the bottom end") << 4 << -1 << true << 0;
    QTest::newRow("ctrl without a turn") << 100 << 0 << true << 100;
    QTest::newRow("plain backward scrolls") << 100 << -2 << false << 100;
}

void TestViewer::wheel()
{
    QFETCH(int, start);
    QFETCH(int, notches);
    QFETCH(bool, ctrl);
    QFETCH(int, slider);

    QGraphicsScene scene(0, 0, 1280, 720);
    auto viewer = ShownViewer(&scene);
    QVERIFY(viewer);
    viewer->zoomSlider->setValue(start);
    QScrollBar* v = viewer->view->verticalScrollBar();
    v->setValue(0);
    const Qt::KeyboardModifiers modifiers = ctrl ? Qt::ControlModifier : Qt::NoModifier;
    for (int i = 0; i < qMax(1, qAbs(notches)); ++i)
        SendWheel(viewer->view->viewport(), notches > 0 ? 120 : notches < 0 ? -120 : 0, modifiers);
    QCOMPARE(viewer->zoomSlider->value(), slider);
    // (With Ctrl the view may scroll too, to keep the point under the mouse.)
    if (!ctrl)
        QVERIFY(v->value() > 0);
}

void TestViewer::painterView()
{
    KoPainterGraphicsView painter;
    painter.resize(300, 200);
    painter.show();
    QVERIFY(QTest::qWaitForWindowExposed(&painter));
    QSignalSpy presses(&painter, &KoPainterGraphicsView::mousePressEv);
    QSignalSpy moves(&painter, &KoPainterGraphicsView::mouseMoveEv);
    QSignalSpy releases(&painter, &KoPainterGraphicsView::mouseReleaseEv);
    QWidget* port = painter.viewport();
    // Without a scene it reports nothing.
    QTest::mouseClick(port, Qt::LeftButton, {}, QPoint(30, 30));
    QCOMPARE(presses.count() + releases.count(), 0);

    QGraphicsScene scene(0, 0, 2000, 2000);
    painter.setScene(&scene);
    painter.scale(2, 2);                  // raw positions do not depend on the view's mapping
    QTest::mouseMove(port, QPoint(5, 5)); // brings the pointer in
    QTest::mouseMove(port, QPoint(11, 12));
    QCOMPARE(moves.last(), (QList<QVariant>{11, 12})); // hovering, no button held
    for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
        QTest::mousePress(port, button, {}, QPoint(21, 22));
        QTest::mouseRelease(port, button, {}, QPoint(31, 32));
    }
    QCOMPARE(presses.count(), 3);
    QCOMPARE(presses.last(), (QList<QVariant>{21, 22}));
    QCOMPARE(releases.count(), 3);
    QCOMPARE(releases.last(), (QList<QVariant>{31, 32}));

    // The wheel neither scrolls nor zooms the chart.
    painter.verticalScrollBar()->setValue(0);
    const QTransform before = painter.transform();
    SendWheel(port, -120, Qt::NoModifier);
    SendWheel(port, 120, Qt::ControlModifier);
    QCOMPARE(painter.verticalScrollBar()->value(), 0);
    QCOMPARE(painter.transform(), before);
}

VELMORA_REAL_DISPLAY_MAIN(TestViewer)
#include "tst_viewer.moc"
