// The zoomable viewer and the two graphics views: zoom, fitting a picture, the
// mouse's buttons (on the window system's path, as a real mouse's) and the wheel.
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
    void buttons_data();
    void buttons();
    void wheel_data();
    void wheel();
    void painterView();
};

void TestViewer::zoomScale_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("slider");
    QTest::addColumn<double>("scale");

    QTest::newRow("middle") << 250 << 250 << 10.125;
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
}

void TestViewer::setImageSize_data()
{
    QTest::addColumn<QSize>("image");
    QTest::addColumn<int>("value");

    // 1280 / 400 = 3.2 beats 720 / 300: trunc((0.3125 - 0.25) * 500 / 19.75) = 1.
    QTest::newRow("1280x720") << QSize(1280, 720) << 1;
    QTest::newRow("tall 100x600") << QSize(100, 600) << 6;
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
    // Unless too small for the top zoom, it fits with no scroll bar.
    if (value < 500 && !image.isEmpty()) {
        QCoreApplication::processEvents();
        QVERIFY(!viewer->view->horizontalScrollBar()->isVisible() &&
                !viewer->view->verticalScrollBar()->isVisible());
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
}

void TestViewer::buttons_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<bool>("left");

    QTest::newRow("left") << Qt::LeftButton << true;
    QTest::newRow("right") << Qt::RightButton << false;
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
    QCOMPARE((left ? presses : rights).first() + releases.first(),
             (QList<QVariant>{int(120 / s), int(45 / s), int(130 / s), int(50 / s)}));

    // The second press of a double click is a press too.
    QTest::mouseDClick(port, button, {}, QPoint(60, 70));
    QCOMPARE(presses.count() + rights.count(), 3);
    QCOMPARE(releases.count(), 3);
}

void TestViewer::wheel_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("notches"); // forward is positive
    QTest::addColumn<bool>("ctrl");
    QTest::addColumn<int>("slider");

    QTest::newRow("ctrl forward five notches") << 100 << 5 << true << 130;
    QTest::newRow("ctrl backward two notches") << 100 << -2 << true << 88;
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
    if (!ctrl) // (with Ctrl it may scroll too, to keep the point under the mouse)
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
    QGraphicsScene scene(0, 0, 2000, 2000);
    painter.setScene(&scene);
    painter.scale(2, 2);                  // raw positions do not depend on the view's mapping
    QTest::mouseMove(port, QPoint(5, 5)); // brings the pointer in
    QTest::mouseMove(port, QPoint(11, 12));
    QCOMPARE(moves.last(), (QList<QVariant>{11, 12})); // hovering, no button held
    QTest::mousePress(port, Qt::RightButton, {}, QPoint(21, 22));
    QTest::mouseRelease(port, Qt::RightButton, {}, QPoint(31, 32));
    QCOMPARE(presses.count() + releases.count(), 2);
    QCOMPARE(presses.last() + releases.last(), (QList<QVariant>{21, 22, 31, 32}));

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
