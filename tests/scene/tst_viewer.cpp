// The zoomable viewer and the two graphics views: zoom scale, fitting a
// picture, mapping the mouse to scene pixels, buttons and the wheel.

// Mouse events go through the window system path, as a real mouse's do.
#define QTEST_QPA_MOUSE_HANDLING

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

namespace {

const QSize ViewSize(400, 300);

// A shown viewer whose view is exactly `view_size`, controls hidden.
std::unique_ptr<KoViewer> ShownViewer(QGraphicsScene* scene, QSize view_size = ViewSize)
{
    auto viewer = std::make_unique<KoViewer>();
    viewer->setControlsHidden(true);
    viewer->setScene(scene);
    viewer->resize(view_size);
    viewer->show();
    if (!QTest::qWaitForWindowExposed(viewer.get()))
        return nullptr;
    return viewer;
}

double ViewScale(const KoViewer& viewer)
{
    return viewer.view->transform().m11();
}

// The scroll-bar arithmetic that turns a viewport position into a scene
// pixel for the top-left aligned, scale-only view: the reference the view's
// own inverse transform must agree with.
QPoint ReferenceMapping(const KoViewer& viewer, QPoint pos)
{
    const KoGraphicsView* view = viewer.view;
    const double s = KoViewer::zoomScale(viewer.zoomSlider->value());
    const int sw = int(view->sceneRect().width());
    const double sh = view->sceneRect().height();
    const QScrollBar* h = view->horizontalScrollBar();
    const QScrollBar* v = view->verticalScrollBar();
    double fx = 0, fy = 0;
    if (v->maximum() != 0)
        fy = (sh * s - v->pageStep()) / (v->maximum() - v->minimum());
    if (h->maximum() != 0)
        fx = (sw * s - h->pageStep()) / (h->maximum() - h->minimum());
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

Q_DECLARE_METATYPE(Qt::MouseButton)

class TestViewer : public QObject
{
    Q_OBJECT

private slots:
    void zoomScale_data();
    void zoomScale();
    void zoomButtonsStepByOne();
    void resetView();
    void setImageSize_data();
    void setImageSize();
    void mouseMapping_data();
    void mouseMapping();
    void farRightEdgeMapsToSceneWidth();
    void pressButtons_data();
    void pressButtons();
    void doubleClickIsTwoPresses();
    void noSignalsWithoutScene();
    void wheel_data();
    void wheel();
    void painterViewReportsViewportPositions_data();
    void painterViewReportsViewportPositions();
    void painterViewIgnoresWheel();
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
    QCOMPARE(viewer.zoomSlider->value(), 18);
    QVERIFY(qAbs(ViewScale(viewer) - 0.961) < 1e-9);
    // Zooming is relative to the start value.
    viewer.sZoomIn(value - 18);
    QCOMPARE(viewer.zoomSlider->value(), slider);
    // The drawn scale always follows the slider.
    QVERIFY(qAbs(ViewScale(viewer) - scale) < 1e-9);
    QVERIFY(qAbs(viewer.view->transform().m22() - scale) < 1e-9);
}

void TestViewer::zoomButtonsStepByOne()
{
    KoViewer viewer;
    viewer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&viewer));
    QTest::mouseClick(viewer.zoomInButton, Qt::LeftButton);
    QTest::mouseClick(viewer.zoomInButton, Qt::LeftButton);
    QCOMPARE(viewer.zoomSlider->value(), 20);
    QTest::mouseClick(viewer.zoomOutButton, Qt::LeftButton);
    QCOMPARE(viewer.zoomSlider->value(), 19);
}

void TestViewer::resetView()
{
    QGraphicsScene scene;
    auto viewer = ShownViewer(&scene);
    QVERIFY(viewer);
    // Enabled from the start: the constructor applies the matrix.
    QVERIFY(viewer->resetButton->isEnabled());

    viewer->setImageSize(QSize(640, 480));
    const int fitted = viewer->resetValue;
    QCOMPARE(fitted, 9);
    viewer->sResetView();
    QVERIFY(!viewer->resetButton->isEnabled());

    viewer->sZoomIn(100);
    QVERIFY(viewer->resetButton->isEnabled());
    viewer->view->horizontalScrollBar()->setValue(viewer->view->horizontalScrollBar()->maximum());
    viewer->view->verticalScrollBar()->setValue(viewer->view->verticalScrollBar()->maximum());
    QVERIFY(viewer->view->horizontalScrollBar()->value() > 0);

    viewer->sResetView();
    QCOMPARE(viewer->zoomSlider->value(), fitted);
    QCOMPARE(viewer->view->horizontalScrollBar()->value(), 0);
    QCOMPARE(viewer->view->verticalScrollBar()->value(), 0);
    QVERIFY(!viewer->resetButton->isEnabled());

    viewer->sSetResetButtonEnabled();
    QVERIFY(viewer->resetButton->isEnabled());
}

void TestViewer::setImageSize_data()
{
    QTest::addColumn<QSize>("image");
    QTest::addColumn<int>("value");

    // 1280 / 400 = 3.2 beats 720 / 300 = 2.4: trunc((0.3125 - 0.25) * 25.3165) = 1.
    QTest::newRow("1280x720") << QSize(1280, 720) << 1;
    QTest::newRow("640x480") << QSize(640, 480) << 9;
    QTest::newRow("tall 100x600") << QSize(100, 600) << 6;
    // Smaller than the view: enlarged beyond the start value.
    QTest::newRow("small 200x150") << QSize(200, 150) << 44;
    QTest::newRow("tiny 2x2 clamps") << QSize(2, 2) << 500;
    QTest::newRow("larger than the widest zoom-out") << QSize(4000, 3000) << 0;
    QTest::newRow("zero keeps the zoom") << QSize(0, 0) << 18;
}

void TestViewer::setImageSize()
{
    QFETCH(QSize, image);
    QFETCH(int, value);

    QGraphicsScene scene;
    auto viewer = ShownViewer(&scene);
    QVERIFY(viewer);
    QCOMPARE(viewer->view->size(), ViewSize);

    viewer->setImageSize(image);
    QCOMPARE(scene.sceneRect(), QRectF(0, 0, image.width(), image.height()));
    QCOMPARE(viewer->zoomSlider->value(), value);
    QCOMPARE(viewer->resetValue, value);
    const double scale = ViewScale(*viewer);
    QVERIFY(qAbs(scale - KoViewer::zoomScale(value)) < 1e-9);
    // Unless clamped, the whole picture fits and nearly fills the view.
    if (value > 0 && value < 500 && !image.isEmpty()) {
        QVERIFY(image.width() * scale <= ViewSize.width() + 1e-9);
        QVERIFY(image.height() * scale <= ViewSize.height() + 1e-9);
        const double next = KoViewer::zoomScale(value + 1);
        QVERIFY(image.width() * next > ViewSize.width() ||
                image.height() * next > ViewSize.height());
    }
}

void TestViewer::mouseMapping_data()
{
    QTest::addColumn<QSize>("image");
    QTest::addColumn<int>("zoom");
    QTest::addColumn<double>("scroll"); // fraction of both scroll ranges

    QTest::newRow("small, start zoom") << QSize(200, 150) << 18 << 0.0;
    QTest::newRow("small, enlarged, fits") << QSize(200, 150) << 30 << 0.0;
    QTest::newRow("small, enlarged past the view, middle") << QSize(200, 150) << 80 << 0.5;
    QTest::newRow("fitted 640x480") << QSize(640, 480) << 9 << 0.0;
    QTest::newRow("640x480 at 1.0, far end") << QSize(640, 480) << 19 << 1.0;
    QTest::newRow("640x480 at 4.2, middle") << QSize(640, 480) << 100 << 0.37;
    QTest::newRow("1280x720 at 2.0, start") << QSize(1280, 720) << 45 << 0.0;
    QTest::newRow("1280x720 at 2.0, far end") << QSize(1280, 720) << 45 << 1.0;
    QTest::newRow("1280x720 at 20, middle") << QSize(1280, 720) << 500 << 0.5;
    QTest::newRow("wide strip, only horizontal scroll") << QSize(3000, 50) << 18 << 0.8;
}

void TestViewer::mouseMapping()
{
    QFETCH(QSize, image);
    QFETCH(int, zoom);
    QFETCH(double, scroll);

    QGraphicsScene scene;
    scene.setSceneRect(0, 0, image.width(), image.height());
    auto viewer = ShownViewer(&scene);
    QVERIFY(viewer);
    viewer->zoomSlider->setValue(zoom);
    QScrollBar* h = viewer->view->horizontalScrollBar();
    QScrollBar* v = viewer->view->verticalScrollBar();
    h->setValue(int(std::lround(h->maximum() * scroll)));
    v->setValue(int(std::lround(v->maximum() * scroll)));

    // Let the scroll bars that the zoom brought take their room.
    QCoreApplication::processEvents();
    QVERIFY(h->value() == int(std::lround(h->maximum() * scroll)));

    QSignalSpy moves(viewer.get(), &KoViewer::eMouseMoveEv);
    QWidget* port = viewer->view->viewport();
    // (0, 0) would mean "the centre" to QTest.
    const QPoint positions[] = {{1, 1},
                                {port->width() - 1, port->height() - 1},
                                {port->width() / 2, port->height() / 3},
                                {17, port->height() - 5}};
    for (const QPoint& pos : positions) {
        // A move to where the pointer already is would not be delivered.
        QTest::mouseMove(port, pos.x() > 4 ? pos - QPoint(2, 2) : pos + QPoint(2, 2));
        QTest::mouseMove(port, pos);
        QVERIFY(!moves.isEmpty());
        const QList<QVariant> args = moves.takeLast();
        const QPoint got(args.at(0).toInt(), args.at(1).toInt());
        const QPoint reference = ReferenceMapping(*viewer, pos);
        // The scroll ranges are whole pixels, so the two may differ by the
        // truncation of one pixel, never more.
        QVERIFY2(qAbs(got.x() - reference.x()) <= 1 && qAbs(got.y() - reference.y()) <= 1,
                 qPrintable(QStringLiteral("at (%1, %2): (%3, %4), reference (%5, %6)")
                                .arg(pos.x())
                                .arg(pos.y())
                                .arg(got.x())
                                .arg(got.y())
                                .arg(reference.x())
                                .arg(reference.y())));
        // And the pixel is the one drawn under the pointer.
        const QPoint drawn = viewer->view->mapFromScene(QPointF(got) + QPointF(0.5, 0.5));
        const double s = ViewScale(*viewer);
        QVERIFY(qAbs(drawn.x() - pos.x()) <= s / 2 + 1);
        QVERIFY(qAbs(drawn.y() - pos.y()) <= s / 2 + 1);
    }
}

void TestViewer::farRightEdgeMapsToSceneWidth()
{
    QGraphicsScene scene;
    scene.setSceneRect(0, 0, 1280, 720);
    auto viewer = ShownViewer(&scene);
    QVERIFY(viewer);
    viewer->zoomSlider->setValue(45); // about 2.0
    QScrollBar* h = viewer->view->horizontalScrollBar();
    h->setValue(h->maximum());
    const int right = viewer->view->viewport()->width();
    const QPoint p = viewer->view->mapToScenePixel(QPoint(right, 10));
    QVERIFY2(qAbs(p.x() - 1280) <= 1, qPrintable(QString::number(p.x())));
}

void TestViewer::pressButtons_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<bool>("left");

    QTest::newRow("left") << Qt::LeftButton << true;
    QTest::newRow("right") << Qt::RightButton << false;
    QTest::newRow("middle") << Qt::MiddleButton << false;
}

void TestViewer::pressButtons()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(bool, left);

    QGraphicsScene scene;
    scene.setSceneRect(0, 0, 640, 480);
    auto viewer = ShownViewer(&scene);
    QVERIFY(viewer);
    viewer->zoomSlider->setValue(19);
    // Zooming keeps the point under the mouse, which may have scrolled.
    viewer->view->horizontalScrollBar()->setValue(0);
    viewer->view->verticalScrollBar()->setValue(0);

    QSignalSpy presses(viewer.get(), &KoViewer::eMousePressEv);
    QSignalSpy rights(viewer.get(), &KoViewer::eMouseRightPressEv);
    QSignalSpy releases(viewer.get(), &KoViewer::eMouseReleaseEv);
    QSignalSpy view_presses(viewer->view, &KoGraphicsView::mousePressEv);

    QWidget* port = viewer->view->viewport();
    QTest::mousePress(port, button, {}, QPoint(120, 45));
    QTest::mouseRelease(port, button, {}, QPoint(130, 50));

    QCOMPARE(presses.count(), left ? 1 : 0);
    QCOMPARE(view_presses.count(), left ? 1 : 0);
    QCOMPARE(rights.count(), left ? 0 : 1);
    const QList<QVariant> press = left ? presses.first() : rights.first();
    const double s = KoViewer::zoomScale(19);
    QCOMPARE(press.at(0).toInt(), int(120 / s));
    QCOMPARE(press.at(1).toInt(), int(45 / s));
    QCOMPARE(releases.count(), 1);
    QCOMPARE(releases.first().at(0).toInt(), int(130 / s));
    QCOMPARE(releases.first().at(1).toInt(), int(50 / s));
}

void TestViewer::doubleClickIsTwoPresses()
{
    QGraphicsScene scene;
    scene.setSceneRect(0, 0, 640, 480);
    auto viewer = ShownViewer(&scene);
    QVERIFY(viewer);
    QSignalSpy presses(viewer.get(), &KoViewer::eMousePressEv);
    QSignalSpy releases(viewer.get(), &KoViewer::eMouseReleaseEv);
    QTest::mouseDClick(viewer->view->viewport(), Qt::LeftButton, {}, QPoint(50, 60));
    QCOMPARE(presses.count(), 2);
    QCOMPARE(releases.count(), 2);
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
    QTest::mouseClick(port, Qt::RightButton, {}, QPoint(40, 40));
    QCOMPARE(moves.count() + presses.count() + rights.count() + releases.count(), 0);
    // Fitting without a scene still zooms.
    viewer->setImageSize(QSize(1280, 720));
    QCOMPARE(viewer->zoomSlider->value(), 1);

    KoPainterGraphicsView painter;
    painter.resize(200, 100);
    painter.show();
    QVERIFY(QTest::qWaitForWindowExposed(&painter));
    QSignalSpy painter_presses(&painter, &KoPainterGraphicsView::mousePressEv);
    QSignalSpy painter_moves(&painter, &KoPainterGraphicsView::mouseMoveEv);
    QTest::mouseMove(painter.viewport(), QPoint(20, 20));
    QTest::mouseClick(painter.viewport(), Qt::LeftButton, {}, QPoint(30, 30));
    QCOMPARE(painter_presses.count() + painter_moves.count(), 0);
}

void TestViewer::wheel_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("notches"); // signed: forward is positive
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

    QGraphicsScene scene;
    scene.setSceneRect(0, 0, 1280, 720);
    auto viewer = ShownViewer(&scene);
    QVERIFY(viewer);
    viewer->zoomSlider->setValue(start);
    QScrollBar* v = viewer->view->verticalScrollBar();
    v->setValue(0);
    const Qt::KeyboardModifiers modifiers = ctrl ? Qt::ControlModifier : Qt::NoModifier;
    if (notches == 0)
        SendWheel(viewer->view->viewport(), 0, modifiers);
    for (int i = 0; i < qAbs(notches); ++i)
        SendWheel(viewer->view->viewport(), notches > 0 ? 120 : -120, modifiers);
    QCOMPARE(viewer->zoomSlider->value(), slider);
    // Without Ctrl the view scrolls; with it only the zoom changes (which
    // may scroll as well, to keep the point under the mouse).
    if (!ctrl)
        QVERIFY(v->value() > 0);
}

void TestViewer::painterViewReportsViewportPositions_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::newRow("left") << Qt::LeftButton;
    QTest::newRow("right") << Qt::RightButton;
    QTest::newRow("middle") << Qt::MiddleButton;
}

void TestViewer::painterViewReportsViewportPositions()
{
    QFETCH(Qt::MouseButton, button);

    QGraphicsScene scene(0, 0, 800, 400);
    KoPainterGraphicsView painter;
    painter.setScene(&scene);
    painter.scale(2, 2); // raw positions do not depend on the scene's mapping
    painter.resize(300, 200);
    painter.show();
    QVERIFY(QTest::qWaitForWindowExposed(&painter));
    QSignalSpy presses(&painter, &KoPainterGraphicsView::mousePressEv);
    QSignalSpy moves(&painter, &KoPainterGraphicsView::mouseMoveEv);
    QSignalSpy releases(&painter, &KoPainterGraphicsView::mouseReleaseEv);

    QTest::mouseMove(painter.viewport(), QPoint(11, 12));
    QTest::mousePress(painter.viewport(), button, {}, QPoint(21, 22));
    QTest::mouseRelease(painter.viewport(), button, {}, QPoint(31, 32));
    QVERIFY(!moves.isEmpty());
    QCOMPARE(moves.first(), (QList<QVariant>{11, 12}));
    QCOMPARE(presses.count(), 1);
    QCOMPARE(presses.first(), (QList<QVariant>{21, 22}));
    QCOMPARE(releases.count(), 1);
    QCOMPARE(releases.first(), (QList<QVariant>{31, 32}));
}

void TestViewer::painterViewIgnoresWheel()
{
    QGraphicsScene scene(0, 0, 2000, 2000);
    KoPainterGraphicsView painter;
    painter.setScene(&scene);
    painter.resize(300, 200);
    painter.show();
    QVERIFY(QTest::qWaitForWindowExposed(&painter));
    QVERIFY(painter.verticalScrollBar()->maximum() > 0);
    painter.verticalScrollBar()->setValue(0);
    const QTransform before = painter.transform();
    SendWheel(painter.viewport(), -120, Qt::NoModifier);
    SendWheel(painter.viewport(), 120, Qt::ControlModifier);
    QCOMPARE(painter.verticalScrollBar()->value(), 0);
    QCOMPARE(painter.transform(), before);
}

QTEST_MAIN(TestViewer)
#include "tst_viewer.moc"
