#include "ko_graphics_drawer.h"

#include "ko_painter_graphics_view.h"
#include "ko_text_item.h"

#include <QDateTime>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QHBoxLayout>
#include <QLocale>
#include <QEvent>
#include <QTextDocument>

#include <algorithm>
#include <cmath>

namespace {

QFont chartFont(int pixel_size)
{
    QFont font;
    font.setPixelSize(pixel_size);
    font.setWeight(QFont::Normal);
    return font;
}

// Gaps of the layout, in pixels.
constexpr double Gap = 4;
constexpr double StubHeight = 5; // a bar of 0 still shows
constexpr double ArrowRoom = 12; // between the last bar and the X axis's tip
// An upright bar label longer than this is shortened.
constexpr double MaxUprightLabel = 70;

} // namespace

KoGraphicsDrawer::KoGraphicsDrawer(QWidget* parent) : QWidget(parent)
{
    scene = new QGraphicsScene(this);
    chartView = new KoPainterGraphicsView(this);
    chartView->setMinimumSize(chartWidth, chartHeight);
    chartView->setScene(scene);
    // The chart is laid out on the view: nothing to scroll to.
    chartView->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    chartView->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    chartView->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    chartView->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    connect(chartView, &KoPainterGraphicsView::mouseMoveEv, this,
            &KoGraphicsDrawer::sMouseMoveEvent);
    connect(chartView, &KoPainterGraphicsView::mousePressEv, this,
            &KoGraphicsDrawer::sMousePressEvent);
    connect(chartView, &KoPainterGraphicsView::mouseReleaseEv, this,
            &KoGraphicsDrawer::sMouseReleaseEvent);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(chartView);
    chartView->viewport()->installEventFilter(this);
}

QColor KoGraphicsDrawer::barColour(STATISTICS_TYPE direction)
{
    // Blue in, orange out (Okabe and Ito's palette).
    return direction == STAT_OUTCOMING ? QColor(230, 159, 0) : QColor(0, 114, 178);
}

QColor KoGraphicsDrawer::hoverColour(STATISTICS_TYPE direction)
{
    // Lighter, not another hue: it reads for every eye.
    return direction == STAT_OUTCOMING ? QColor(250, 214, 140) : QColor(120, 190, 235);
}

QString KoGraphicsDrawer::shortCount(int value)
{
    const double magnitude = std::abs(double(value));
    const auto scaled = [value](double unit, const QString& form) {
        const double v = value / unit;
        // One decimal below ten units: 1.2k, then whole units: 12k.
        const QString number = std::abs(v) < 9.95 ? QString::number(v, 'f', 1)
                                                   : QString::number(std::lround(v));
        return form.arg(number);
    };
    if (magnitude >= 999500)
        return scaled(1e6, tr("%1M", "millions, shortened"));
    if (magnitude >= 1000)
        return scaled(1e3, tr("%1k", "thousands, shortened"));
    return QString::number(value);
}

KoGraphicsDrawer::ValueLabel KoGraphicsDrawer::placeValue(int value, const QFontMetricsF& metrics,
                                                           double bar_width, double room_above,
                                                           double bar_height)
{
    ValueLabel label;
    const QString texts[] = {QString::number(value), shortCount(value)};
    for (const QString& text : texts) {
        const double width = metrics.horizontalAdvance(text);
        const double height = metrics.height();
        label.text = text;
        if (width <= bar_width && height <= room_above) {
            label.upright = label.inside = false;
            return label;
        }
        // Upright, the text is as wide as a line is high.
        if (height <= bar_width) {
            label.upright = true;
            if (width <= room_above) {
                label.inside = false;
                return label;
            }
            if (width + 2 * Gap <= bar_height) {
                label.inside = true;
                return label;
            }
        }
    }
    return ValueLabel();
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
                            const QString& total_text, STATISTICS_TYPE direction_in)
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
    direction = direction_in;
    colour = barColour(direction);
    layOut();
}

bool KoGraphicsDrawer::eventFilter(QObject* watched, QEvent* event)
{
    // The view's own size, once it has it: the chart is laid out on it.
    if (watched == chartView->viewport() && event->type() == QEvent::Resize)
        layOut();
    return QWidget::eventFilter(watched, event);
}

void KoGraphicsDrawer::layOut()
{
    scene->clear();
    bars.clear();
    valueTexts.clear();
    labelTexts_.clear();

    const QSize size = chartView->viewport()->size().expandedTo(QSize(chartWidth, chartHeight) -
                                                                QSize(4, 4));
    const double w = size.width();
    const double h = size.height();
    scene->setSceneRect(0, 0, w, h);

    const QFont font_a = chartFont(14);
    const QFont font_b = chartFont(11);
    const QFont label_font = chartFont(11);
    const QFontMetricsF fm_a(font_a);
    const QFontMetricsF fm_label(label_font);
    const QPen pen(Qt::black, 1);
    const double line_a = fm_a.height();

    // Rows from the top: the heading; the Y axis's title on the left and the
    // hover count on the right; the plot. From the bottom: the total, the X
    // axis's title at its tip, the bar labels.
    const int n = values.size();
    const bool has_bars = n > 0 && !labelTexts.isEmpty();
    int max = 0;
    for (float v : qAsConst(values))
        max = std::max(max, static_cast<int>(v));
    if (max == 0)
        max = 10;

    const double left = fm_a.horizontalAdvance(QString::number(max)) + 2 * Gap;
    const double x_title_width = fm_a.horizontalAdvance(xAxisText);
    const double right = w - x_title_width - 2 * Gap;
    const double bar_span = std::max(1.0, right - ArrowRoom - (left + 1));
    const double bw = has_bars ? bar_span / n : bar_span;

    // The bar labels: level where every one fits its bar, else upright.
    int label_lines = 1;
    double label_width = 0;
    double upright_length = 0; // upright, a label's lines make one
    for (const QString& label : qAsConst(labelTexts)) {
        const QStringList lines = label.split(QLatin1Char('\n'));
        label_lines = std::max(label_lines, int(lines.size()));
        for (const QString& line : lines)
            label_width = std::max(label_width, fm_label.horizontalAdvance(line));
        upright_length =
            std::max(upright_length, fm_label.horizontalAdvance(lines.join(QLatin1Char(' '))));
    }
    const bool upright_labels = has_bars && label_width > bw - 2;
    // Upright labels still thicker than a bar: every k-th one, with room.
    const int label_step =
        upright_labels ? std::max(1, int(std::ceil((fm_label.height() + 1) / bw))) : 1;
    const double labels_height = upright_labels
                                     ? std::min(upright_length, MaxUprightLabel) + Gap
                                     : label_lines * fm_label.height() + Gap;

    const double total_top = h - line_a - Gap;
    baseY = total_top - labels_height - Gap;
    plotTop = 2 * line_a + 2 * Gap;
    // Room for a level value text above the highest bar.
    const double bars_top = plotTop + Gap + fm_a.height();
    const double scale = std::max(0.0, baseY - bars_top - StubHeight) / max;

    countText = scene->addText(QString(), font_a);
    countText->setDefaultTextColor(Qt::blue);
    countText->setPos(w - Gap - fm_a.horizontalAdvance(tr("Count: ") + QString::number(max)) - 12,
                      line_a + Gap - 4);
    // The events of the bar under the mouse, at the top right, on a plate
    // over the bars.
    eventsBox = scene->addRect(QRectF(), Qt::NoPen, QColor(255, 255, 255, 220));
    eventsBox->setZValue(2);
    eventsText = scene->addText(QString(), font_b);
    eventsText->setDefaultTextColor(Qt::black);
    eventsText->setZValue(3);
    eventsText->setPos(w - Gap, plotTop);

    scene->addLine(left, plotTop, left, baseY + Gap, pen);
    scene->addLine(left, plotTop, left - 2, plotTop + 5, pen);
    scene->addLine(left, plotTop, left + 2, plotTop + 5, pen);
    scene->addText(yAxisText, font_a)->setPos(Gap, line_a + Gap - 4);

    scene->addLine(left - Gap, baseY, right, baseY, pen);
    scene->addLine(right, baseY, right - 5, baseY - 2, pen);
    scene->addLine(right, baseY, right - 5, baseY + 2, pen);
    scene->addText(xAxisText, font_a)->setPos(right + Gap - 4, baseY - line_a / 2 - 4);

    auto* total = new KoTextItem(nullptr, Qt::AlignHCenter, font_a);
    total->setRect(left, total_top, right - left, line_a + Gap);
    total->setText(totalText);
    scene->addItem(total);

    auto* head = new KoTextItem(nullptr, Qt::AlignHCenter, font_a);
    head->setRect(0, 0, w, line_a + Gap);
    head->setText(headingText);
    scene->addItem(head);

    if (!has_bars)
        return;

    const double step = double(max) / 10;
    QPen grid_pen(Qt::black, 1, Qt::DotLine);
    long long previous = 0;
    for (int i = 1; i * step < max; ++i) {
        const long long k = static_cast<long long>(std::floor(i * step + 0.5));
        if (k == previous)
            continue;
        previous = k;
        const double y = baseY - scale * k - StubHeight;
        scene->addLine(left, y, right - ArrowRoom, y, grid_pen);
        auto* tick = new KoTextItem(nullptr, Qt::AlignRight, font_a);
        tick->setRect(0, y - line_a / 2 - 2, left - Gap, line_a + 4);
        tick->setText(QString::number(k));
        scene->addItem(tick);
    }

    for (int i = 0; i < n; ++i) {
        const int v = static_cast<int>(values.at(i));
        const double bar_height = scale * std::max(v, 0) + StubHeight;
        const double x = left + 1 + i * bw;
        const QRectF rect(x, baseY - bar_height, bw, bar_height);
        QGraphicsRectItem* bar = scene->addRect(rect, pen, QBrush(colour));
        const QString label = labelTexts.value(i);
        bar->setToolTip(label.isEmpty() ? QString::number(v)
                                        : QString(label).replace(QLatin1Char('\n'), QLatin1Char(' ')) +
                                              QStringLiteral(": ") + QString::number(v));
        bars.append(bar);

        QGraphicsTextItem* label_item = nullptr;
        if (!label.isEmpty() && i % label_step == 0) {
            QString shown = label;
            if (upright_labels)
                shown = fm_label.elidedText(shown.replace(QLatin1Char('\n'), QLatin1Char(' ')),
                                            Qt::ElideRight, MaxUprightLabel);
            label_item = scene->addText(shown, label_font);
            label_item->document()->setDocumentMargin(0);
            const QRectF box = label_item->boundingRect();
            if (upright_labels) {
                label_item->setRotation(-90);
                // Turned about its origin: its width runs up from there.
                label_item->setPos(x + (bw - box.height()) / 2, baseY + Gap + box.width());
            } else {
                label_item->setTextWidth(-1);
                label_item->setPos(x + (bw - box.width()) / 2, baseY + Gap / 2);
            }
        }
        labelTexts_.append(label_item);

        QGraphicsTextItem* value_item = nullptr;
        if (v >= 0) {
            const double top = baseY - bar_height;
            const ValueLabel place = placeValue(v, fm_a, bw, top - plotTop, bar_height);
            if (!place.text.isEmpty()) {
                value_item = scene->addText(place.text, font_a);
                value_item->document()->setDocumentMargin(0);
                const QRectF box = value_item->boundingRect();
                if (!place.upright) {
                    value_item->setPos(x + (bw - box.width()) / 2, top - box.height());
                } else {
                    value_item->setRotation(-90);
                    const double x_text = x + (bw - box.height()) / 2;
                    if (place.inside) {
                        value_item->setDefaultTextColor(Qt::white);
                        value_item->setPos(x_text, top + Gap + box.width());
                    } else {
                        value_item->setPos(x_text, top);
                    }
                }
                value_item->setZValue(1);
            }
        }
        valueTexts.append(value_item);
    }
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
            bar->setBrush(QBrush(hoverColour(direction)));
        } else {
            bar->setBrush(QBrush(colour));
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
    const QRectF box = eventsText->boundingRect();
    eventsText->setPos(scene->sceneRect().right() - Gap - box.width(), eventsText->y());
    eventsBox->setRect(eventsText->mapRectToScene(box));
}

void KoGraphicsDrawer::sMousePressEvent(int x, int y)
{
    const int found = highlightBarAt(x, y);
    if (found >= 0)
        emit eHistClicked(found);
}

void KoGraphicsDrawer::sMouseReleaseEvent(int /*x*/, int /*y*/) {}
