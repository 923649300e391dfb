#pragma once

#include "ko_device_records.h"

#include <QColor>
#include <QStringList>
#include <QVector>
#include <QWidget>

class KoPainterGraphicsView;
class QGraphicsRectItem;
class QGraphicsScene;
class QGraphicsTextItem;

// The bar chart of the statistics page, in a scene of fixed layout: axes, a
// dotted grid with tick values, one bar per value with its label and value
// text, the heading and the total. The bar under the mouse shows its count
// and device events; a press on a bar reports its index.
class KoGraphicsDrawer : public QWidget
{
    Q_OBJECT

public:
    // Minimum size of the chart view; the layout is laid out on it.
    static constexpr int chartWidth = 800;
    static constexpr int chartHeight = 400;

    explicit KoGraphicsDrawer(QWidget* parent = nullptr);

    // Replaces the whole chart. events and labels hold one entry per value.
    void draw(const QVector<int>& values, const QVector<QVector<KoStatisticsAlarmData>>& events,
              const QStringList& labels, const QString& x_axis_text, const QString& y_axis_text,
              const QString& heading, const QString& total_text);

    // Colour of bar i, the same for every chart with that many bars.
    static QVector<QColor> barPalette(int count);
    // The hover line of an event, or empty for a code that is not shown.
    static QString eventText(const KoStatisticsAlarmData& event);

    // What the chart shows, for the page and its tests.
    QGraphicsScene* chartScene() const { return scene; }
    KoPainterGraphicsView* view() const { return chartView; }
    const QVector<QGraphicsRectItem*>& barItems() const { return bars; }
    // The value text above each bar, null where it was left out.
    const QVector<QGraphicsTextItem*>& valueTextItems() const { return valueTexts; }
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

private:
    // Index of the bar under a viewport position, or -1; marks it green and
    // gives every other bar its own colour back.
    int highlightBarAt(int x, int y);

    QGraphicsScene* scene = nullptr;
    KoPainterGraphicsView* chartView = nullptr;
    QVector<QGraphicsRectItem*> bars;
    QVector<QColor> barColours;
    QVector<QGraphicsTextItem*> valueTexts;
    QGraphicsTextItem* countText = nullptr;
    QGraphicsTextItem* eventsText = nullptr;
    QVector<float> values;
    QVector<QVector<KoStatisticsAlarmData>> barEvents;
    QStringList labelTexts;
    QString xAxisText;
    QString yAxisText;
    QString headingText;
    QString totalText;
};
