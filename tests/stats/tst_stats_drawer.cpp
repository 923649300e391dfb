// The histogram drawer: its fixed layout, the hover texts and the press that
// drills down, and the boxed text item it places tick values and titles in.

#include "stats/ko_graphics_drawer.h"
#include "stats/ko_text_item.h"

#include "scene/ko_painter_graphics_view.h"

#include <QGraphicsLineItem>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QImage>
#include <QPainter>
#include <QStyleOptionGraphicsItem>
#include <QtTest>

#include <ctime>

namespace {

QVector<QVector<KoStatisticsAlarmData>> noEvents(int n)
{
    return QVector<QVector<KoStatisticsAlarmData>>(n);
}

QStringList labelsFor(int n)
{
    QStringList labels;
    for (int i = 0; i < n; ++i)
        labels.append(QString::number(i));
    return labels;
}

void drawValues(KoGraphicsDrawer& drawer, const QVector<int>& values)
{
    drawer.draw(values, noEvents(values.size()), labelsFor(values.size()), "Hours", "People count",
                "Heading", "Total");
}

// The tick values beside the grid, top to bottom order as drawn (ascending).
QStringList gridTicks(const KoGraphicsDrawer& drawer)
{
    QList<KoTextItem*> ticks;
    for (QGraphicsItem* item : drawer.chartScene()->items(Qt::AscendingOrder)) {
        auto* text = dynamic_cast<KoTextItem*>(item);
        if (text && text->alignment() == Qt::AlignRight)
            ticks.append(text);
    }
    std::sort(ticks.begin(), ticks.end(),
              [](KoTextItem* a, KoTextItem* b) { return a->rect().y() > b->rect().y(); });
    QStringList texts;
    for (KoTextItem* tick : ticks)
        texts.append(tick->text());
    return texts;
}

QList<QLineF> dottedLines(const KoGraphicsDrawer& drawer)
{
    QList<QLineF> lines;
    for (QGraphicsItem* item : drawer.chartScene()->items()) {
        auto* line = qgraphicsitem_cast<QGraphicsLineItem*>(item);
        if (line && line->pen().style() == Qt::DotLine)
            lines.append(line->line());
    }
    return lines;
}

// Viewport position of a scene point, as the view would report it.
QPoint viewportPos(const KoGraphicsDrawer& drawer, const QPointF& scene_pos)
{
    return drawer.view()->mapFromScene(scene_pos);
}

QPoint barCentre(const KoGraphicsDrawer& drawer, int bar)
{
    return viewportPos(drawer, drawer.barItems().at(bar)->rect().center());
}

} // namespace

class TestStatsDrawer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        qputenv("TZ", "UTC");
        tzset();
    }

    void geometry_data();
    void geometry();
    void emptyInputDrawsAxesOnly();
    void valueTextsDoNotOverlap();
    void manyBarsStillDraw();
    void coloursAreStableAndLight();
    void hoverShowsCountAndListedEvents();
    void pressReportsTheBar();
    void pressThroughTheView();
    void textItemKeepsToItsRectangle();
};

void TestStatsDrawer::geometry_data()
{
    QTest::addColumn<QVector<int>>("values");
    QTest::addColumn<QStringList>("ticks");
    QTest::addColumn<QRectF>("firstBar");
    QTest::addColumn<QRectF>("lastBar");

    const QStringList one_to_nine{"1", "2", "3", "4", "5", "6", "7", "8", "9"};
    // All zero: the scale falls back to 10 and every bar is the 5-pixel stub.
    QTest::newRow("all zeros") << QVector<int>{0, 0, 0, 0} << one_to_nine << QRectF(90, 365, 160, 5)
                               << QRectF(570, 365, 160, 5);
    // 34 pixels per person: 10 reaches y = 25, 4 reaches y = 229.
    QTest::newRow("4 and 10") << QVector<int>{4, 10} << one_to_nine << QRectF(90, 229, 320, 141)
                              << QRectF(410, 25, 320, 345);
    // Steps of 0.2: the first ones round to 0 and draw nothing.
    QTest::newRow("max 2") << QVector<int>{1, 2, 0} << QStringList{"1", "2"}
                           << QRectF(90, 195, 640.0 / 3, 175)
                           << QRectF(90 + 2 * 640.0 / 3, 365, 640.0 / 3, 5);
    QVector<int> day(24, 0);
    day[23] = 10;
    QTest::newRow("24 bars") << day << one_to_nine << QRectF(90, 365, 640.0 / 24, 5)
                             << QRectF(730 - 640.0 / 24, 25, 640.0 / 24, 345);
}

void TestStatsDrawer::geometry()
{
    QFETCH(QVector<int>, values);
    QFETCH(QStringList, ticks);
    QFETCH(QRectF, firstBar);
    QFETCH(QRectF, lastBar);

    KoGraphicsDrawer drawer;
    drawValues(drawer, values);

    QCOMPARE(drawer.barItems().size(), values.size());
    const auto text = [](const QRectF& r) {
        return QString("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
    };
    const auto fuzzy_rect = [](const QRectF& a, const QRectF& b) {
        return qAbs(a.x() - b.x()) < 1e-6 && qAbs(a.y() - b.y()) < 1e-6 &&
               qAbs(a.width() - b.width()) < 1e-6 && qAbs(a.height() - b.height()) < 1e-6;
    };
    const QRectF first = drawer.barItems().first()->rect();
    const QRectF last = drawer.barItems().last()->rect();
    QVERIFY2(fuzzy_rect(first, firstBar), qPrintable(text(first)));
    QVERIFY2(fuzzy_rect(last, lastBar), qPrintable(text(last)));
    // Every bar stands on the X axis.
    for (QGraphicsRectItem* bar : drawer.barItems())
        QCOMPARE(bar->rect().bottom(), 370.0);

    QCOMPARE(gridTicks(drawer), ticks);
    const QList<QLineF> lines = dottedLines(drawer);
    QCOMPARE(lines.size(), ticks.size());
    // Each grid line runs from the Y axis to 70 pixels short of the right edge,
    // 5 pixels above the height of its value.
    int max = *std::max_element(values.cbegin(), values.cend());
    if (max == 0)
        max = 10;
    const double scale = 340.0 / max;
    for (const QLineF& line : lines) {
        QCOMPARE(line.x1(), 90.0);
        QCOMPARE(line.x2(), 730.0);
        QCOMPARE(line.y1(), line.y2());
        const double k = (365 - line.y1()) / scale;
        QVERIFY2(qAbs(k - qRound(k)) < 1e-9, qPrintable(QString::number(k)));
    }
}

void TestStatsDrawer::emptyInputDrawsAxesOnly()
{
    KoGraphicsDrawer drawer;
    drawValues(drawer, {3, 4});
    drawer.draw({}, {}, {}, "Days", "People count", "Heading", "Total");
    QVERIFY(drawer.barItems().isEmpty());
    QCOMPARE(dottedLines(drawer).size(), 0);
    // Values without labels draw no bars either.
    drawer.draw({1, 2}, noEvents(2), {}, "Days", "People count", "Heading", "Total");
    QVERIFY(drawer.barItems().isEmpty());
    // The two axes with their arrow heads remain.
    int lines = 0;
    for (QGraphicsItem* item : drawer.chartScene()->items())
        lines += qgraphicsitem_cast<QGraphicsLineItem*>(item) ? 1 : 0;
    QCOMPARE(lines, 6);
    // Hovering an empty chart finds nothing and changes nothing.
    drawer.sMouseMoveEvent(10, 10);
    QCOMPARE(drawer.countHoverText(), QString());
}

void TestStatsDrawer::valueTextsDoNotOverlap()
{
    // Pick a bar count for which "1000" is wider than two bars but not three.
    KoGraphicsDrawer probe;
    drawValues(probe, {1000});
    const int text_width = int(probe.valueTextItems().at(0)->boundingRect().width());
    int n = 1;
    while (int(640.0 / n) * 2 >= text_width || int(640.0 / n) * 3 <= text_width)
        ++n;
    QVERIFY(n < 640);

    KoGraphicsDrawer drawer;
    drawValues(drawer, QVector<int>(n, 1000));
    const QVector<QGraphicsTextItem*> texts = drawer.valueTextItems();
    QCOMPARE(texts.size(), n);
    for (int i = 0; i < n; ++i)
        QCOMPARE(texts.at(i) != nullptr, i % 3 == 0);
    QCOMPARE(texts.at(0)->toPlainText(), QString("1000"));
    // Placed at the bar's left edge, 20 pixels above its top.
    const QRectF bar = drawer.barItems().at(3)->rect();
    QCOMPARE(texts.at(3)->pos(), QPointF(int(bar.left()), int(bar.top() - 20)));

    // Narrow values leave every bar its own text.
    drawValues(drawer, QVector<int>(4, 1));
    for (QGraphicsTextItem* text : drawer.valueTextItems())
        QVERIFY(text);
}

void TestStatsDrawer::manyBarsStillDraw()
{
    // Narrower than a pixel: the overlap rule must not divide by zero.
    KoGraphicsDrawer drawer;
    drawValues(drawer, QVector<int>(1000, 7));
    QCOMPARE(drawer.barItems().size(), 1000);
    QVERIFY(drawer.valueTextItems().first());
}

void TestStatsDrawer::coloursAreStableAndLight()
{
    const QVector<QColor> colours = KoGraphicsDrawer::barPalette(31);
    QCOMPARE(KoGraphicsDrawer::barPalette(31), colours);
    QCOMPARE(KoGraphicsDrawer::barPalette(3), colours.mid(0, 3));
    for (const QColor& c : colours) {
        QVERIFY(c.red() > 79 && c.red() < 255);
        QVERIFY(c.green() > 99 && c.green() < 255);
        QVERIFY(c.blue() >= 90 && c.blue() < 255);
        QCOMPARE(c.alpha(), 255);
    }
    QVERIFY(colours.at(0) != colours.at(1));

    KoGraphicsDrawer drawer;
    drawValues(drawer, QVector<int>(31, 2));
    for (int i = 0; i < 31; ++i)
        QCOMPARE(drawer.barItems().at(i)->brush().color(), colours.at(i));
}

void TestStatsDrawer::hoverShowsCountAndListedEvents()
{
    KoGraphicsDrawer drawer;
    drawer.resize(900, 450);
    drawer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&drawer));

    const qint64 t1 = QDateTime(QDate(2016, 3, 5), QTime(9, 15), Qt::UTC).toSecsSinceEpoch();
    const qint64 t2 = t1 + 600;
    QVector<QVector<KoStatisticsAlarmData>> events(3);
    events[1] = {{t1, 3, 0, 0}, {t1 + 60, 5, 0, 0}, {t2, 7, 0, 0}, {t2, 99, 0, 0}};
    drawer.draw({4, 1234567, 0}, events, labelsFor(3), "Hours", "People count", "H", "T");

    drawer.sMouseMoveEvent(barCentre(drawer, 1).x(), barCentre(drawer, 1).y());
    // The whole count, not six significant digits.
    QCOMPARE(drawer.countHoverText(), QString("Count: 1234567"));
    // Codes 5 and 99 are not shown and do not advance the numbering.
    const QString expected =
        "Events:\n1. Occlusion on: " + QDateTime::fromSecsSinceEpoch(t1).toString(Qt::TextDate) +
        "\n2. Signal on: " + QDateTime::fromSecsSinceEpoch(t2).toString(Qt::TextDate) + "\n";
    QCOMPARE(drawer.eventsHoverText(), expected);
    QCOMPARE(drawer.barItems().at(1)->brush().color(), QColor(Qt::green));
    const QVector<QColor> colours = KoGraphicsDrawer::barPalette(3);
    QCOMPARE(drawer.barItems().at(0)->brush().color(), colours.at(0));

    drawer.sMouseMoveEvent(barCentre(drawer, 0).x(), barCentre(drawer, 0).y());
    QCOMPARE(drawer.countHoverText(), QString("Count: 4"));
    QCOMPARE(drawer.eventsHoverText(), QString("Events:\n"));
    QCOMPARE(drawer.barItems().at(1)->brush().color(), colours.at(1));

    // Off the bars the texts stay and every bar has its own colour.
    const QPoint outside = viewportPos(drawer, QPointF(400, -40));
    drawer.sMouseMoveEvent(outside.x(), outside.y());
    QCOMPARE(drawer.countHoverText(), QString("Count: 4"));
    for (int i = 0; i < 3; ++i)
        QCOMPARE(drawer.barItems().at(i)->brush().color(), colours.at(i));
}

void TestStatsDrawer::pressReportsTheBar()
{
    KoGraphicsDrawer drawer;
    drawer.resize(900, 450);
    drawValues(drawer, QVector<int>(24, 3));
    QSignalSpy clicked(&drawer, &KoGraphicsDrawer::eHistClicked);

    drawer.sMousePressEvent(barCentre(drawer, 17).x(), barCentre(drawer, 17).y());
    QCOMPARE(clicked.size(), 1);
    QCOMPARE(clicked.at(0).at(0).toInt(), 17);
    QCOMPARE(drawer.barItems().at(17)->brush().color(), QColor(Qt::green));

    const QPoint above = viewportPos(drawer, QPointF(300, 15));
    drawer.sMousePressEvent(above.x(), above.y());
    drawer.sMouseReleaseEvent(above.x(), above.y());
    QCOMPARE(clicked.size(), 1);
    QCOMPARE(drawer.barItems().at(17)->brush().color(), KoGraphicsDrawer::barPalette(24).at(17));
}

void TestStatsDrawer::pressThroughTheView()
{
    KoGraphicsDrawer drawer;
    drawValues(drawer, {5, 0, 9});
    drawer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&drawer));
    QVERIFY(drawer.view()->minimumWidth() >= 800 && drawer.view()->minimumHeight() >= 400);
    QSignalSpy clicked(&drawer, &KoGraphicsDrawer::eHistClicked);

    // The 5-pixel stub of the zero bar is hit too.
    QTest::mouseMove(drawer.view()->viewport(), barCentre(drawer, 1));
    QTRY_COMPARE(drawer.countHoverText(), QString("Count: 0"));
    QTest::mouseClick(drawer.view()->viewport(), Qt::LeftButton, {}, barCentre(drawer, 2));
    QCOMPARE(clicked.size(), 1);
    QCOMPARE(clicked.at(0).at(0).toInt(), 2);
}

void TestStatsDrawer::textItemKeepsToItsRectangle()
{
    QFont font;
    font.setPixelSize(14);
    KoTextItem item(nullptr, Qt::AlignRight, font);
    item.setRect(10, 20, 95, 50);
    item.setText("12");
    QCOMPARE(item.boundingRect(), QRectF(10, 20, 95, 50));

    // Right-aligned ink ends at the rectangle's right edge and nothing is
    // drawn outside the rectangle.
    QImage image(200, 100, QImage::Format_ARGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        QStyleOptionGraphicsItem option;
        item.paint(&painter, &option, nullptr);
    }
    int min_x = image.width(), max_x = -1, min_y = image.height(), max_y = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128) {
                min_x = std::min(min_x, x);
                max_x = std::max(max_x, x);
                min_y = std::min(min_y, y);
                max_y = std::max(max_y, y);
            }
    QVERIFY(max_x >= 0);
    QVERIFY2(max_x >= 95 && max_x < 105, qPrintable(QString::number(max_x)));
    QVERIFY(min_x > 60);
    QVERIFY(min_y >= 20 && max_y < 70);

    KoTextItem centred(nullptr, Qt::AlignHCenter, font);
    centred.setRect(0, 0, 200, 15);
    centred.setText("Heading");
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        QStyleOptionGraphicsItem option;
        centred.paint(&painter, &option, nullptr);
    }
    int left = -1, right = -1;
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < 15; ++y)
            if (qGray(image.pixel(x, y)) < 128) {
                if (left < 0)
                    left = x;
                right = x;
            }
    QVERIFY(left > 0);
    QVERIFY2(qAbs((left + right) / 2 - 100) <= 3,
             qPrintable(QString("%1 %2").arg(left).arg(right)));
}

QTEST_MAIN(TestStatsDrawer)
#include "tst_stats_drawer.moc"
