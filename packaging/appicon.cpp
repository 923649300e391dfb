// Draws the application icon with QPainter and writes it as PNG files of the
// sizes a desktop's icon theme asks for, into the folder given on the command
// line:   QT_QPA_PLATFORM=offscreen build/bin/velmora-appicon packaging/icons

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QTextStream>

namespace {

// The drawing is made on a 256-pixel grid and scaled down for smaller sizes.
constexpr double Grid = 256;
constexpr int Sizes[] = {16, 32, 48, 64, 128, 256};

const QColor Ink(0x2b, 0x3a, 0x4a);
const QColor Door(0xd8, 0xec, 0xfa);
const QColor Frame(0x8a, 0xa4, 0xbc);
const QColor Yellow(0xf2, 0xc2, 0x1b);
const QColor Blue(0x1f, 0x6f, 0xc5);
const QColor Green(0x2e, 0xb8, 0x5a);

QPen RoundPen(const QColor& color, double width)
{
    return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A vehicle door seen from the camera above it: two door leaves in their
// frame, the stereo camera head over them, the counting line across the
// opening and a passenger's way in crossing it.
void Draw(QPainter& p)
{
    QLinearGradient back(0, 0, 0, Grid);
    back.setColorAt(0, Ink.lighter(125));
    back.setColorAt(1, Ink);
    p.setPen(Qt::NoPen);
    p.setBrush(back);
    p.drawRoundedRect(QRectF(8, 8, 240, 240), 44, 44);

    // Door frame and leaves.
    p.setBrush(Frame);
    p.drawRoundedRect(QRectF(52, 72, 152, 160), 10, 10);
    p.setBrush(Door);
    p.drawRect(QRectF(62, 82, 64, 150));
    p.drawRect(QRectF(130, 82, 64, 150));
    p.setBrush(Frame.darker(115));
    p.drawRect(QRectF(82, 100, 24, 70));
    p.drawRect(QRectF(150, 100, 24, 70));

    // Stereo camera head: a bar with two lenses.
    p.setBrush(QColor(0x1a, 0x24, 0x2e));
    p.drawRoundedRect(QRectF(72, 30, 112, 36), 14, 14);
    for (double x : {100.0, 156.0}) {
        p.setBrush(Blue.lighter(140));
        p.drawEllipse(QPointF(x, 48), 12, 12);
        p.setBrush(QColor(0x0c, 0x12, 0x18));
        p.drawEllipse(QPointF(x, 48), 6, 6);
    }

    // Counting line from blue to yellow.
    p.setPen(RoundPen(Blue, 12));
    p.drawLine(QPointF(36, 196), QPointF(128, 196));
    p.setPen(RoundPen(Yellow, 12));
    p.drawLine(QPointF(128, 196), QPointF(220, 196));

    // The way in: an arrow crossing the line.
    p.setPen(RoundPen(Green, 14));
    p.drawLine(QPointF(128, 236), QPointF(128, 142));
    QPainterPath head;
    head.moveTo(128, 112);
    head.lineTo(104, 146);
    head.lineTo(152, 146);
    head.closeSubpath();
    p.setPen(RoundPen(Green, 6));
    p.setBrush(Green);
    p.drawPath(head);
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    if (argc != 2) {
        err << "usage: velmora-appicon FOLDER\n";
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    for (int size : Sizes) {
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / Grid, size / Grid);
        Draw(p);
        p.end();
        const QString path =
            folder.filePath(QStringLiteral("velmora-configurator-%1.png").arg(size));
        if (!image.save(path, "PNG")) {
            err << "cannot write " << path << '\n';
            return 1;
        }
    }
    return 0;
}
