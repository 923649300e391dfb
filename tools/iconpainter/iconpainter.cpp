// Draws the program's embedded images with QPainter and writes them as PNG
// files into the folder given on the command line.

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTextStream>

#include <cmath>
#include <functional>

namespace {

// Toolbar images are drawn on a 48-pixel grid; Qt halves them cleanly for the
// usual 24-pixel toolbar size.
constexpr int IconSize = 48;
constexpr int PictureSize = 96;

const QColor Ink(0x2b, 0x3a, 0x4a);
const QColor Glass(0xd8, 0xec, 0xfa);
const QColor Green(0x2e, 0x9d, 0x4a);
const QColor Red(0xd6, 0x2f, 0x2f);

QPen RoundPen(const QColor& color, double width)
{
    return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void Magnifier(QPainter& p, bool plus)
{
    const QPointF centre(20, 20);
    const double radius = 14;
    // Handle first, so the rim covers its end.
    p.setPen(RoundPen(Ink, 7));
    p.drawLine(QPointF(31, 31), QPointF(42, 42));
    QRadialGradient glass(centre - QPointF(5, 5), radius * 1.6);
    glass.setColorAt(0, Qt::white);
    glass.setColorAt(1, Glass);
    p.setBrush(glass);
    p.setPen(RoundPen(Ink, 4));
    p.drawEllipse(centre, radius, radius);
    p.setPen(RoundPen(plus ? Green : Red, 4.5));
    p.drawLine(centre - QPointF(7, 0), centre + QPointF(7, 0));
    if (plus)
        p.drawLine(centre - QPointF(0, 7), centre + QPointF(0, 7));
}

void ZoomIn(QPainter& p)
{
    Magnifier(p, true);
}

void ZoomOut(QPainter& p)
{
    Magnifier(p, false);
}

void Refresh(QPainter& p)
{
    const QColor blue(0x1f, 0x6f, 0xc5);
    const QPointF centre(24, 25);
    const double radius = 14;
    // A clockwise ring open at the upper right: from 30 degrees round to the top.
    p.setPen(RoundPen(blue, 5.5));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius), 30 * 16,
              -300 * 16);
    // The head at the top end, pointing the way the ring turns.
    const QPointF end(centre.x(), centre.y() - radius);
    QPainterPath head;
    head.moveTo(end + QPointF(10, 0));
    head.lineTo(end + QPointF(-1, -8.5));
    head.lineTo(end + QPointF(-1, 8.5));
    head.closeSubpath();
    p.setPen(RoundPen(blue, 2));
    p.setBrush(blue);
    p.drawPath(head);
}

void Record(QPainter& p)
{
    const QPointF centre(24, 24);
    p.setPen(RoundPen(QColor(0x5a, 0x12, 0x12), 3));
    QRadialGradient red(centre - QPointF(6, 6), 24);
    red.setColorAt(0, QColor(0xff, 0x8a, 0x80));
    red.setColorAt(0.55, Red);
    red.setColorAt(1, QColor(0x9a, 0x16, 0x16));
    p.setBrush(red);
    p.drawEllipse(centre, 18, 18);
    // A small highlight keeps it round at 16 pixels.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 110));
    p.drawEllipse(QPointF(18, 17), 5, 3.5);
}

void Calendar(QPainter& p)
{
    const QRectF page(6, 8, 36, 34);
    p.setPen(RoundPen(Ink, 2.5));
    p.setBrush(Qt::white);
    p.drawRoundedRect(page, 4, 4);
    // Red header band.
    QPainterPath header;
    header.addRoundedRect(page, 4, 4);
    QPainterPath band;
    band.addRect(QRectF(page.left(), page.top(), page.width(), 10));
    p.setPen(Qt::NoPen);
    p.setBrush(Red);
    p.drawPath(header.intersected(band));
    p.setPen(RoundPen(Ink, 2.5));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(page, 4, 4);
    // Binding rings.
    p.setPen(RoundPen(Ink, 3.5));
    p.drawLine(QPointF(16, 5), QPointF(16, 12));
    p.drawLine(QPointF(32, 5), QPointF(32, 12));
    // Days: a 4 x 3 grid of squares, one of them marked.
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 4; ++col) {
            const QRectF day(10.5 + col * 7.5, 22 + row * 6.5, 5, 4.5);
            const bool today = row == 1 && col == 2;
            p.setPen(Qt::NoPen);
            p.setBrush(today ? Red : QColor(0x8a, 0x99, 0xa8));
            p.drawRect(day);
        }
    }
}

void Clock(QPainter& p)
{
    const QPointF centre(24, 24);
    QRadialGradient face(centre - QPointF(6, 6), 26);
    face.setColorAt(0, Qt::white);
    face.setColorAt(1, QColor(0xe4, 0xea, 0xf0));
    p.setPen(RoundPen(Ink, 3.5));
    p.setBrush(face);
    p.drawEllipse(centre, 19, 19);
    // Hour marks.
    for (int hour = 0; hour < 12; ++hour) {
        const double a = hour * M_PI / 6.0;
        const double inner = hour % 3 == 0 ? 12.5 : 14.5;
        p.setPen(RoundPen(Ink, hour % 3 == 0 ? 2.5 : 1.5));
        p.drawLine(centre + QPointF(inner * std::sin(a), -inner * std::cos(a)),
                   centre + QPointF(16 * std::sin(a), -16 * std::cos(a)));
    }
    // Ten past ten.
    p.setPen(RoundPen(Ink, 3.5));
    const double hour_angle = (10 + 10.0 / 60.0) * M_PI / 6.0;
    p.drawLine(centre, centre + QPointF(9 * std::sin(hour_angle), -9 * std::cos(hour_angle)));
    p.setPen(RoundPen(Ink, 2.5));
    const double minute_angle = 10 * M_PI / 30.0;
    p.drawLine(centre, centre + QPointF(14 * std::sin(minute_angle), -14 * std::cos(minute_angle)));
    p.setPen(Qt::NoPen);
    p.setBrush(Red);
    p.drawEllipse(centre, 2.5, 2.5);
}

// One standing person: head and a rounded body, feet on the given baseline.
void Person(QPainter& p, double x, double baseline, double height, const QColor& color)
{
    const double head = height * 0.22;
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawEllipse(QPointF(x, baseline - height + head / 2), head / 2, head / 2);
    QPainterPath body;
    const double top = baseline - height + head * 1.15;
    const double half = height * 0.2;
    body.moveTo(x - half, baseline);
    body.lineTo(x - half, top + half);
    body.quadTo(x - half, top, x, top);
    body.quadTo(x + half, top, x + half, top + half);
    body.lineTo(x + half, baseline);
    body.closeSubpath();
    p.drawPath(body);
}

// The help picture of the live view: people walking across the counting
// lines, from the blue line to the yellow one.
void People(QPainter& p)
{
    const QColor blue(0x1f, 0x6f, 0xe0);
    const QColor yellow(0xf0, 0xc0, 0x10);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xf2, 0xf5, 0xf8));
    p.drawRoundedRect(QRectF(1, 1, 94, 94), 10, 10);

    p.setPen(RoundPen(blue, 5));
    p.drawLine(QPointF(12, 78), QPointF(84, 78));
    p.setPen(RoundPen(yellow, 5));
    p.drawLine(QPointF(12, 18), QPointF(84, 18));

    Person(p, 34, 68, 40, QColor(0x3c, 0x4b, 0x5c));
    Person(p, 60, 64, 34, QColor(0x68, 0x78, 0x8a));

    // Direction of an incoming person.
    const QColor arrow(0x2e, 0x9d, 0x4a);
    p.setPen(RoundPen(arrow, 4));
    p.drawLine(QPointF(82, 66), QPointF(82, 32));
    QPainterPath head;
    head.moveTo(82, 24);
    head.lineTo(75, 35);
    head.lineTo(89, 35);
    head.closeSubpath();
    p.setPen(RoundPen(arrow, 2));
    p.setBrush(arrow);
    p.drawPath(head);
}

bool Paint(const QDir& folder, const QString& name, int size,
           const std::function<void(QPainter&)>& draw)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        draw(p);
    }
    const QString path = folder.filePath(name);
    const bool saved = image.save(path, "PNG");
    QTextStream(stdout) << (saved ? "wrote " : "cannot write ") << path << '\n';
    return saved;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        QTextStream(stderr) << "usage: velmora-iconpainter <folder>\n";
        return 2;
    }
    const QDir folder(args[1]);
    bool ok = true;
    ok &= Paint(folder, "people.png", PictureSize, People);
    ok &= Paint(folder, "Record-Normal-icon.png", IconSize, Record);
    ok &= Paint(folder, "zoomin.png", IconSize, ZoomIn);
    ok &= Paint(folder, "zoomout.png", IconSize, ZoomOut);
    ok &= Paint(folder, "Refresh.png", IconSize, Refresh);
    ok &= Paint(folder, "calendaricon.png", IconSize, Calendar);
    ok &= Paint(folder, "clockicon.png", IconSize, Clock);
    return ok ? 0 : 1;
}
