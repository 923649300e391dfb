#include "ko_graphics_drawer.h"

#include "ko_painter_graphics_view.h"
#include "ko_text_item.h"

#include <QDateTime>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QHBoxLayout>
#include <QLocale>
#include <QRandomGenerator>

#include <algorithm>
#include <cmath>

namespace {

constexpr qreal W = KoGraphicsDrawer::chartWidth;
constexpr qreal H = KoGraphicsDrawer::chartHeight;
const QColor hoverColour(Qt::green);

QFont chartFont(int pixel_size)
{
    QFont font;
    font.setPixelSize(pixel_size);
    font.setWeight(QFont::Normal);
    return font;
}

} // namespace

KoGraphicsDrawer::KoGraphicsDrawer(QWidget* parent) : QWidget(parent)
{
    scene = new QGraphicsScene(this);
    chartView = new KoPainterGraphicsView(this);
    chartView->setMinimumSize(chartWidth, chartHeight);
    chartView->setScene(scene);
    connect(chartView, &KoPainterGraphicsView::mouseMoveEv, this,
            &KoGraphicsDrawer::sMouseMoveEvent);
    connect(chartView, &KoPainterGraphicsView::mousePressEv, this,
            &KoGraphicsDrawer::sMousePressEvent);
    connect(chartView, &KoPainterGraphicsView::mouseReleaseEv, this,
            &KoGraphicsDrawer::sMouseReleaseEvent);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(chartView);
}

QVector<QColor> KoGraphicsDrawer::barPalette(int count)
{
    // A fixed seed: the same chart gets the same colours every time, and the
    // lower bounds keep every bar light enough for its black outline.
    QRandomGenerator generator(123);
    auto channel = [&generator](int floor) {
        int value = 0;
        do {
            value = static_cast<int>(generator.generate() % 255);
        } while (value < floor);
        return value;
    };
    QVector<QColor> colours;
    colours.reserve(count);
    for (int i = 0; i < count; ++i) {
        const int r = channel(80);
        const int g = channel(100);
        const int b = channel(90);
        colours.append(QColor(r, g, b, 255));
    }
    return colours;
}

QString KoGraphicsDrawer::eventText(const KoStatisticsAlarmData& event)
{
    switch (event.code) {
    case 3:
        return tr(". Occlusion on: ");
    case 4:
        return tr(". Signal off: ");
    case 6:
        return tr(". Occlusion off: ");
    case 7:
        return tr(". Signal on: ");
    case 12:
        return tr(". Started: ");
    case 13:
        return tr(". Ignition off: ");
    case 14:
        return tr(". Ignition on: ");
    case 15:
        return tr(". Shutdown: ");
    case 16:
        return tr(". Shutdown req: ");
    default:
        return QString();
    }
}

void KoGraphicsDrawer::draw(const QVector<int>& values_in,
                            const QVector<QVector<KoStatisticsAlarmData>>& events,
                            const QStringList& labels, const QString& x_axis_text,
                            const QString& y_axis_text, const QString& heading,
                            const QString& total_text)
{
    values.clear();
    values.reserve(values_in.size());
    for (int v : values_in)
        values.append(static_cast<float>(v));
    barEvents = events;
    labelTexts = labels;
    xAxisText = x_axis_text;
    yAxisText = y_axis_text;
    headingText = heading;
    totalText = total_text;
    scene->clear();
    bars.clear();
    barColours.clear();
    valueTexts.clear();

    const QFont font_a = chartFont(14);
    const QFont font_b = chartFont(11);
    const QFont label_font = chartFont(11);
    const QPen pen(Qt::black, 1);

    countText = scene->addText(QString(), font_a);
    countText->setDefaultTextColor(Qt::blue);
    countText->setPos(W - 160, -5);
    eventsText = scene->addText(QString(), font_b);
    eventsText->setDefaultTextColor(Qt::black);
    eventsText->setPos(-210, 0);

    scene->addLine(90, 15, 90, H - 15, pen);
    scene->addLine(90, 15, 88, 20, pen);
    scene->addLine(90, 15, 92, 20, pen);
    scene->addText(y_axis_text, font_a)->setPos(65, -5);

    scene->addLine(70, H - 30, W - 40, H - 30, pen);
    scene->addLine(W - 40, H - 30, W - 45, H - 32, pen);
    scene->addLine(W - 40, H - 30, W - 45, H - 28, pen);
    scene->addText(x_axis_text, font_a)->setPos(W - 48, H - 32);

    if (values_in.isEmpty() || labels.isEmpty())
        return;

    double max = *std::max_element(values_in.cbegin(), values_in.cend());
    if (max == 0)
        max = 10;
    const double scale = (H - 60) / max;

    const double step = max / 10;
    QPen grid_pen(Qt::black, 1, Qt::DotLine);
    long long previous = 0;
    for (int i = 1; i * step < max; ++i) {
        const long long k = static_cast<long long>(std::floor(i * step + 0.5));
        if (k == previous)
            continue;
        previous = k;
        const double y = (H - 30) - scale * k - 5;
        scene->addLine(90, y, W - 70, y, grid_pen);
        auto* tick = new KoTextItem(nullptr, Qt::AlignRight, font_a);
        tick->setRect(-10, y - 10, 95, 50);
        tick->setText(QString::number(k));
        scene->addItem(tick);
    }

    const int n = values_in.size();
    barColours = barPalette(n);
    const double bw = (W - 160) / n;
    // With very many bars the truncated width is 0; one pixel keeps the
    // overlap rule meaningful instead of dividing by zero.
    const int bw_int = std::max(1, static_cast<int>(bw));
    int skip = 0;
    for (int i = 0; i < n; ++i) {
        const int v = values_in.at(i);
        const double top = (H - 30) - scale * v - 5;
        QGraphicsRectItem* bar = scene->addRect(QRectF(90 + i * bw, top, bw, scale * v + 5), pen,
                                                QBrush(barColours.at(i)));
        bars.append(bar);

        const int x = static_cast<int>(90 + i * bw);
        if (i < labels.size())
            scene->addText(labels.at(i), label_font)->setPos(x, H - 35);

        QGraphicsTextItem* value_text = nullptr;
        if (skip > 0) {
            --skip;
        } else if (v >= 0) {
            value_text = scene->addText(QStringLiteral("%0").arg(v), font_a);
            value_text->setPos(x, static_cast<int>(top - 20));
            skip = static_cast<int>(value_text->boundingRect().width()) / bw_int;
        }
        valueTexts.append(value_text);
    }

    auto* total = new KoTextItem(nullptr, Qt::AlignHCenter, font_a);
    total->setRect(90, H - 15, W - 120, 40);
    total->setText(total_text);
    scene->addItem(total);

    auto* head = new KoTextItem(nullptr, Qt::AlignHCenter, font_a);
    head->setRect(90, -5, W - 120, 15);
    head->setText(heading);
    scene->addItem(head);
}

QString KoGraphicsDrawer::countHoverText() const
{
    return countText ? countText->toPlainText() : QString();
}

QString KoGraphicsDrawer::eventsHoverText() const
{
    return eventsText ? eventsText->toPlainText() : QString();
}

int KoGraphicsDrawer::highlightBarAt(int x, int y)
{
    // The view reports viewport positions; the bar under the mouse is the one
    // whose shape holds the scene point there.
    const QPointF scene_pos = chartView->mapToScene(QPoint(x, y));
    int found = -1;
    for (int i = 0; i < bars.size(); ++i) {
        QGraphicsRectItem* bar = bars.at(i);
        if (found < 0 && bar->contains(bar->mapFromScene(scene_pos))) {
            found = i;
            bar->setBrush(QBrush(hoverColour));
        } else {
            bar->setBrush(QBrush(barColours.value(i)));
        }
    }
    return found;
}

void KoGraphicsDrawer::sMouseMoveEvent(int x, int y)
{
    const int found = highlightBarAt(x, y);
    if (found < 0)
        return;

    countText->setPlainText(tr("Count: ") +
                            QString::number(static_cast<double>(values.value(found)), 'g',
                                            QLocale::FloatingPointShortest));

    QString events = tr("Events:\n");
    int number = 0;
    for (const KoStatisticsAlarmData& event : barEvents.value(found)) {
        const QString text = eventText(event);
        if (text.isEmpty())
            continue;
        // The device's event times are 32-bit unsigned seconds.
        const QDateTime when =
            QDateTime::fromSecsSinceEpoch(static_cast<uint32_t>(event.time), Qt::UTC).toLocalTime();
        events += QStringLiteral("%0%1%2\n").arg(++number).arg(text, when.toString(Qt::TextDate));
    }
    eventsText->setPlainText(events);
}

void KoGraphicsDrawer::sMousePressEvent(int x, int y)
{
    const int found = highlightBarAt(x, y);
    if (found >= 0)
        emit eHistClicked(found);
}

void KoGraphicsDrawer::sMouseReleaseEvent(int /*x*/, int /*y*/) {}
