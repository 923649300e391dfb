#pragma once

#include "ko_device_records.h"

#include <QColor>
#include <QFontMetricsF>
#include <QStringList>
#include <QVector>
#include <QWidget>

class KoPainterGraphicsView;
class QGraphicsRectItem;
class QGraphicsScene;
class QGraphicsTextItem;

// The bar chart of the statistics page: axes, a dotted grid with tick values,
// one bar per value with its label and value text, the heading and the total,
// laid out on the view's size whenever it changes, so the chart grows with
// its page and its texts keep their size. Bars of one direction have one
// colour. The bar under the mouse shows its exact count and its device
// events; a press on a bar reports its index.
class KoGraphicsDrawer : public QWidget
{
    Q_OBJECT

public:
    // Smallest size of the chart view; the chart is laid out on its size.
    static constexpr int chartWidth = 480;
    static constexpr int chartHeight = 260;

    // How a bar's value text is shown: level above the bar where it is
    // narrow enough, else turned upright above or inside the bar, else
    // shortened ("12k") and tried again; dropped only where nothing fits
    // (the hover text and the bar's tool tip still give the exact value).
    struct ValueLabel
    {
        QString text; // empty: dropped
        bool upright = false;
        bool inside = false;
    };
    static ValueLabel placeValue(int value, const QFontMetricsF& metrics, double bar_width,
                                 double room_above, double bar_height);
    // The short form of a count: "999", "1.2k", "12k", "1.2M".
    static QString shortCount(int value);

    explicit KoGraphicsDrawer(QWidget* parent = nullptr);

    // Replaces the whole chart. events and labels hold one entry per value.
    // direction picks the bars' colour (incoming or outgoing).
    void draw(const QVector<int>& values, const QVector<QVector<KoStatisticsAlarmData>>& events,
              const QStringList& labels, const QString& x_axis_text, const QString& y_axis_text,
              const QString& heading, const QString& total_text,
              STATISTICS_TYPE direction = STAT_INCOMING);

    // The colour of the bars of a direction, and of the bar under the mouse:
    // blue and orange of a palette that colour-blind eyes tell apart.
    static QColor barColour(STATISTICS_TYPE direction);
    static QColor hoverColour(STATISTICS_TYPE direction);
    // The hover line of an event, or empty for a code that is not shown.
    static QString eventText(const KoStatisticsAlarmData& event);

    // What the chart shows, for the page and its tests.
    QGraphicsScene* chartScene() const { return scene; }
    KoPainterGraphicsView* view() const { return chartView; }
    const QVector<QGraphicsRectItem*>& barItems() const { return bars; }
    // The value text of each bar, null where it was left out.
    const QVector<QGraphicsTextItem*>& valueTextItems() const { return valueTexts; }
    // The label under each bar, null where there is none.
    const QVector<QGraphicsTextItem*>& labelItems() const { return labelTexts_; }
    // The plot's edges in scene coordinates: the X axis (bars stand on it)
    // and the top of the Y axis.
    double axisY() const { return baseY; }
    double axisTop() const { return plotTop; }
    QString countHoverText() const;
    QString eventsHoverText() const;
    // The arguments of the last draw.
    const QVector<float>& shownValues() const { return values; }
    const QVector<QVector<KoStatisticsAlarmData>>& shownEvents() const { return barEvents; }
    const QStringList& shownLabels() const { return labelTexts; }
    QString shownXAxisText() const { return xAxisText; }
    QString shownYAxisText() const { return yAxisText; }
    QString shownHeading() const { return headingText; }
    QString shownTotalText() const { return totalText; }

signals:
    void eHistClicked(int num);

public slots:
    void sMouseMoveEvent(int x, int y);
    void sMousePressEvent(int x, int y);
    void sMouseReleaseEvent(int x, int y);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Lays the chart out on the view's present size from the last draw.
    void layOut();

    // Index of the bar under a viewport position, or -1; marks it green and
    // gives every other bar its own colour back.
    int highlightBarAt(int x, int y);

    QGraphicsScene* scene = nullptr;
    KoPainterGraphicsView* chartView = nullptr;
    QVector<QGraphicsRectItem*> bars;
    QColor colour;
    STATISTICS_TYPE direction = STAT_INCOMING;
    QVector<QGraphicsTextItem*> valueTexts;
    QVector<QGraphicsTextItem*> labelTexts_;
    double baseY = 0;
    double plotTop = 0;
    QGraphicsTextItem* countText = nullptr;
    QGraphicsTextItem* eventsText = nullptr;
    QGraphicsRectItem* eventsBox = nullptr;
    QVector<float> values;
    QVector<QVector<KoStatisticsAlarmData>> barEvents;
    QStringList labelTexts;
    QString xAxisText;
    QString yAxisText;
    QString headingText;
    QString totalText;
};
