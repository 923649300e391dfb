// The histogram drawer: its fixed layout, the hover texts and the press that
// drills down, and the boxed text item it places tick values and titles in.

#include "../support/real_display.h"
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
    void coloursAreStableAndLight();
    void hoverAndPress();
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
    // Compared to a thousandth of a pixel.
    const auto text = [](const QRectF& r) {
        return QString("%1,%2 %3x%4")
            .arg(r.x(), 0, 'f', 3)
            .arg(r.y(), 0, 'f', 3)
            .arg(r.width(), 0, 'f', 3)
            .arg(r.height(), 0, 'f', 3);
    };
    QCOMPARE(text(drawer.barItems().first()->rect()), text(firstBar));
    QCOMPARE(text(drawer.barItems().last()->rect()), text(lastBar));
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
    QVERIFY(!drawer.valueTextItems().contains(nullptr));
    // Bars narrower than a pixel: the overlap rule must not divide by zero.
    drawValues(drawer, QVector<int>(1000, 7));
    QCOMPARE(drawer.barItems().size(), 1000);
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
}

void TestStatsDrawer::hoverAndPress()
{
    KoGraphicsDrawer drawer;
    drawer.resize(900, 450);
    drawer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&drawer));
    QVERIFY(drawer.view()->minimumWidth() >= 800 && drawer.view()->minimumHeight() >= 400);

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

    // Through the view: the 5-pixel stub of the zero bar is hit too, and a
    // press on a bar reports it.
    QSignalSpy clicked(&drawer, &KoGraphicsDrawer::eHistClicked);
    QTest::mouseMove(drawer.view()->viewport(), barCentre(drawer, 2) - QPoint(0, 1));
    QTest::mouseMove(drawer.view()->viewport(), barCentre(drawer, 2));
    QTRY_COMPARE(drawer.countHoverText(), QString("Count: 0"));
    QTest::mouseClick(drawer.view()->viewport(), Qt::LeftButton, {}, barCentre(drawer, 1));
    QCOMPARE(clicked.size(), 1);
    QCOMPARE(clicked.at(0).at(0).toInt(), 1);
    QCOMPARE(drawer.barItems().at(1)->brush().color(), QColor(Qt::green));
    // A press beside the bars reports nothing and gives the bar its colour back.
    QTest::mouseClick(drawer.view()->viewport(), Qt::LeftButton, {},
                      viewportPos(drawer, QPointF(300, 15)));
    QCOMPARE(clicked.size(), 1);
    QCOMPARE(drawer.barItems().at(1)->brush().color(), colours.at(1));
}

// The box of the dark pixels a text item paints into a white 200 x 100 image.
static QRect inkOf(const KoTextItem& item)
{
    QImage image(200, 100, QImage::Format_ARGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        QStyleOptionGraphicsItem option;
        const_cast<KoTextItem&>(item).paint(&painter, &option, nullptr);
    }
    QRect ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                ink |= QRect(x, y, 1, 1);
    return ink;
}

void TestStatsDrawer::textItemKeepsToItsRectangle()
{
    QFont font;
    font.setPixelSize(14);
    KoTextItem right(nullptr, Qt::AlignRight, font);
    right.setRect(10, 20, 95, 50);
    right.setText("12");
    QCOMPARE(right.boundingRect(), QRectF(10, 20, 95, 50));
    // Right-aligned ink ends at the rectangle's right edge, inside it.
    const QRect ink = inkOf(right);
    QVERIFY2(ink.right() >= 95 && ink.right() < 105 && ink.left() > 60,
             qPrintable(QString::number(ink.right())));
    QVERIFY(ink.top() >= 20 && ink.bottom() < 70);

    KoTextItem centred(nullptr, Qt::AlignHCenter, font);
    centred.setRect(0, 0, 200, 15);
    centred.setText("Heading");
    QVERIFY2(qAbs(inkOf(centred).center().x() - 100) <= 3,
             qPrintable(QString::number(inkOf(centred).center().x())));
}

VELMORA_REAL_DISPLAY_MAIN(TestStatsDrawer)
#include "tst_stats_drawer.moc"
