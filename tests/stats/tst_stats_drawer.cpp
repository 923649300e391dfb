// The histogram drawer: its layout on the view's size, the rules of its value
// texts and labels, the hover texts and the press that drills down.

#include "../support/real_display.h"
#include "stats/ko_graphics_drawer.h"
#include "stats/ko_text_item.h"

#include "scene/ko_painter_graphics_view.h"

#include <QGraphicsRectItem>
#include <QGraphicsScene>
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

// Viewport position of a bar's centre, as the view would report it.
QPoint barCentre(const KoGraphicsDrawer& drawer, int bar)
{
    return drawer.view()->mapFromScene(drawer.barItems().at(bar)->rect().center());
}

// Scene rectangles of the texts a chart shows, null items left out.
QList<QRectF> boxes(const QVector<QGraphicsTextItem*>& items)
{
    QList<QRectF> rects;
    for (const QGraphicsTextItem* item : items) {
        if (item)
            rects.append(item->sceneBoundingRect());
    }
    return rects;
}

bool anyOverlap(const QList<QRectF>& rects)
{
    for (int i = 0; i < rects.size(); ++i) {
        for (int j = i + 1; j < rects.size(); ++j) {
            // A pixel of shared edge is not an overlap.
            if (rects.at(i).adjusted(1, 1, -1, -1).intersects(rects.at(j)))
                return true;
        }
    }
    return false;
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

    void valueLabels_data();
    void valueLabels();
    void chartLayout_data();
    void chartLayout();
    void emptyInputDrawsAxesOnly();
    void hoverAndPress();
};

void TestStatsDrawer::valueLabels_data()
{
    // Room is given in the text's own measures: w its width, h its height.
    QTest::addColumn<int>("value");
    QTest::addColumn<double>("barWidth"); // in h, or w when negative
    QTest::addColumn<double>("roomAbove"); // in w (at least h); below 1: h only
    QTest::addColumn<double>("barHeight");
    QTest::addColumn<QString>("shown"); // "", or the text with its place

    QTest::newRow("level above") << 1234 << -1.0 << 1.0 << 0.0 << "level 1234";
    QTest::newRow("narrow bar: upright above") << 1234 << 1.0 << 1.0 << 0.0 << "upright 1234";
    QTest::newRow("no room above: inside") << 1234 << 1.0 << 0.0 << 1.5 << "inside 1234";
    QTest::newRow("no room anywhere: dropped") << 1234567 << 1.0 << 0.0 << 0.0 << "";
    QTest::newRow("shortened fits level") << 123456 << -0.75 << 0.5 << 0.0 << "level 123k";
    QTest::newRow("too narrow for a line") << 1234 << 0.9 << 9.0 << 9.0 << "";
}

void TestStatsDrawer::valueLabels()
{
    QFETCH(int, value);
    QFETCH(double, barWidth);
    QFETCH(double, roomAbove);
    QFETCH(double, barHeight);
    QFETCH(QString, shown);

    QFont font;
    font.setPixelSize(14);
    const QFontMetricsF metrics(font);
    const double w = metrics.horizontalAdvance(QString::number(value));
    const double h = metrics.height();
    // Widths in w are just over (level) or under (shortened) the text.
    const double bar_width = barWidth < 0 ? -barWidth * w + 1 : barWidth * h + 0.5;
    const double room = roomAbove >= 1 ? std::max(roomAbove * w, h) + 1
                        : roomAbove > 0 ? h + 1
                                        : h - 1;
    const KoGraphicsDrawer::ValueLabel label =
        KoGraphicsDrawer::placeValue(value, metrics, bar_width, room, barHeight * w);
    QString got;
    if (!label.text.isEmpty())
        got = QString(label.inside ? "inside " : label.upright ? "upright " : "level ") +
              label.text;
    QCOMPARE(got, shown);

    QStringList counts;
    for (int n : {999, 1234, 9950, 12345, 999499, 1234567})
        counts << KoGraphicsDrawer::shortCount(n);
    QCOMPARE(counts.join(' '), QString("999 1.2k 10k 12k 999k 1.2M"));
}

void TestStatsDrawer::chartLayout_data()
{
    QTest::addColumn<QVector<int>>("values");
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<QSize>("size");

    const QStringList months{"January", "February", "March",     "April",   "May",      "June",
                             "July",    "August",   "September", "October", "November", "December"};
    const QVector<int> year{47100, 44412, 47797, 47248, 47828, 47069,
                            49306, 47461, 46129, 47668, 44816, 1234567};
    QVector<int> day(24, 0);
    day[5] = 264;
    day[14] = 217;
    QVector<int> month(31);
    QStringList month_labels;
    for (int i = 0; i < 31; ++i) {
        month[i] = 900 + 37 * i;
        month_labels << QString("%1\nMon").arg(i + 1);
    }
    const QSize smallest(KoGraphicsDrawer::chartWidth, KoGraphicsDrawer::chartHeight);
    QTest::newRow("year, smallest") << year << months << smallest;
    QTest::newRow("day, smallest") << day << labelsFor(24) << smallest;
    QTest::newRow("day, wide") << day << labelsFor(24) << QSize(1800, 800);
    QTest::newRow("month, smallest") << month << month_labels << smallest;
    QTest::newRow("all zero") << QVector<int>(4, 0) << labelsFor(4) << smallest;
}

// Whatever the size: the bars stand on the axis in proportion, under its
// tip; the peak keeps its value text; neither labels nor value texts run
// together; the total and the axis titles stay clear of everything.
void TestStatsDrawer::chartLayout()
{
    QFETCH(QVector<int>, values);
    QFETCH(QStringList, labels);
    QFETCH(QSize, size);

    KoGraphicsDrawer drawer;
    drawer.resize(size);
    drawer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&drawer));
    drawer.draw(values, noEvents(values.size()), labels, "Month", "People count", "Heading",
                "Total people count = 999999");
    const QRectF scene_rect = drawer.chartScene()->sceneRect();
    QVERIFY(scene_rect.width() >= size.width() - 10);

    const int max = std::max(1, *std::max_element(values.cbegin(), values.cend()));
    const QRectF peak = drawer.barItems().at(values.indexOf(max) >= 0 ? values.indexOf(max) : 0)
                            ->rect();
    QVERIFY(peak.top() > drawer.axisTop());
    for (int i = 0; i < values.size(); ++i) {
        const QRectF bar = drawer.barItems().at(i)->rect();
        QCOMPARE(bar.bottom(), drawer.axisY());
        QVERIFY(scene_rect.contains(bar));
        if (max > 1)
            QVERIFY(qAbs((bar.height() - 5) * max - (peak.height() - 5) * values.at(i)) < max);
        else
            QCOMPARE(bar.height(), 5.0);
    }
    // The peak keeps its value wherever a line of text fits its bar upright.
    QFont font;
    font.setPixelSize(14);
    if (max > 1 && peak.width() >= QFontMetricsF(font).height())
        QVERIFY(drawer.valueTextItems().at(values.indexOf(max)));

    QVERIFY(!anyOverlap(boxes(drawer.labelItems())));
    QVERIFY(!anyOverlap(boxes(drawer.valueTextItems())));
    QList<QRectF> titles;
    for (QGraphicsItem* item : drawer.chartScene()->items()) {
        auto* text = dynamic_cast<QGraphicsTextItem*>(item);
        if (!text)
            continue;
        if (auto* boxed = dynamic_cast<KoTextItem*>(text)) {
            if (boxed->text() == "Total people count = 999999")
                titles.append(boxed->mapRectToScene(boxed->rect()));
        } else if (text->toPlainText() == "Month") {
            titles.append(text->sceneBoundingRect());
        }
    }
    QCOMPARE(titles.size(), 2);
    QVERIFY(!anyOverlap(titles + boxes(drawer.labelItems())));
    for (const QRectF& title : titles)
        QVERIFY(scene_rect.contains(title));
}

void TestStatsDrawer::emptyInputDrawsAxesOnly()
{
    KoGraphicsDrawer drawer;
    drawValues(drawer, {3, 4});
    drawer.draw({}, {}, {}, "Days", "People count", "Heading", "Total");
    QVERIFY(drawer.barItems().isEmpty());
    QCOMPARE(gridTicks(drawer), QStringList());
    // Values without labels draw no bars either.
    drawer.draw({1, 2}, noEvents(2), {}, "Days", "People count", "Heading", "Total");
    QVERIFY(drawer.barItems().isEmpty());
    // Grid ticks on whole numbers only: steps of 0.2 below 2 round to 1 and 2.
    drawValues(drawer, {1, 2, 0});
    QCOMPARE(gridTicks(drawer), (QStringList{"1", "2"}));
    drawValues(drawer, {0, 0});
    QCOMPARE(gridTicks(drawer), (QStringList{"1", "2", "3", "4", "5", "6", "7", "8", "9"}));
}

void TestStatsDrawer::hoverAndPress()
{
    KoGraphicsDrawer drawer;
    drawer.resize(900, 450);
    drawer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&drawer));

    const qint64 t1 = QDateTime(QDate(2016, 3, 5), QTime(9, 15), Qt::UTC).toSecsSinceEpoch();
    const qint64 t2 = t1 + 600;
    QVector<QVector<KoStatisticsAlarmData>> events(3);
    events[1] = {{t1, 3, 0, 0}, {t1 + 60, 5, 0, 0}, {t2, 7, 0, 0}, {t2, 99, 0, 0}};
    drawer.draw({4, 1234567, 0}, events, labelsFor(3), "Hours", "People count", "H", "T",
                STAT_OUTCOMING);
    const QColor out = KoGraphicsDrawer::barColour(STAT_OUTCOMING);
    const QColor hover = KoGraphicsDrawer::hoverColour(STAT_OUTCOMING);
    QVERIFY(hover != out && out != KoGraphicsDrawer::barColour(STAT_INCOMING));
    QCOMPARE(drawer.barItems().at(1)->toolTip(), QString("1: 1234567"));

    drawer.sMouseMoveEvent(barCentre(drawer, 1).x(), barCentre(drawer, 1).y());
    // The whole count, not six significant digits.
    QCOMPARE(drawer.countHoverText(), QString("Count: 1234567"));
    // Codes 5 and 99 are not shown and do not advance the numbering.
    const QString expected =
        "Events:\n1. Occlusion on: " + QDateTime::fromSecsSinceEpoch(t1).toString(Qt::TextDate) +
        "\n2. Signal on: " + QDateTime::fromSecsSinceEpoch(t2).toString(Qt::TextDate) + "\n";
    QCOMPARE(drawer.eventsHoverText(), expected);
    QCOMPARE(drawer.barItems().at(1)->brush().color(), hover);
    QCOMPARE(drawer.barItems().at(0)->brush().color(), out);

    drawer.sMouseMoveEvent(barCentre(drawer, 0).x(), barCentre(drawer, 0).y());
    QCOMPARE(drawer.countHoverText(), QString("Count: 4"));
    QCOMPARE(drawer.eventsHoverText(), QString("Events:\n"));
    QCOMPARE(drawer.barItems().at(1)->brush().color(), out);

    // Off the bars the texts stay.
    const QPoint outside = drawer.view()->mapFromScene(QPointF(400, 2));
    drawer.sMouseMoveEvent(outside.x(), outside.y());
    QCOMPARE(drawer.countHoverText(), QString("Count: 4"));

    // Through the view: the 5-pixel stub of the zero bar is hit too, and a
    // press on a bar reports it.
    QSignalSpy clicked(&drawer, &KoGraphicsDrawer::eHistClicked);
    QTest::mouseMove(drawer.view()->viewport(), barCentre(drawer, 2) - QPoint(0, 1));
    QTest::mouseMove(drawer.view()->viewport(), barCentre(drawer, 2));
    QTRY_COMPARE(drawer.countHoverText(), QString("Count: 0"));
    QTest::mouseClick(drawer.view()->viewport(), Qt::LeftButton, {}, barCentre(drawer, 1));
    QCOMPARE(clicked.size(), 1);
    QCOMPARE(clicked.at(0).at(0).toInt(), 1);
    QCOMPARE(drawer.barItems().at(1)->brush().color(), hover);
    // A press beside the bars reports nothing and gives the bar its colour back.
    QTest::mouseClick(drawer.view()->viewport(), Qt::LeftButton, {}, outside);
    QCOMPARE(clicked.size(), 1);
    QCOMPARE(drawer.barItems().at(1)->brush().color(), out);
}

VELMORA_REAL_DISPLAY_MAIN(TestStatsDrawer)
#include "tst_stats_drawer.moc"
