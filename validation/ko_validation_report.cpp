#include "ko_validation_report.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <algorithm>
#include <cmath>

namespace {

const QString TimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

// A PDF page filled from the top; a block that does not fit goes on the next.
class PdfCursor
{
public:
    PdfCursor(QPdfWriter& writer, QPainter& painter) : writer(writer), painter(painter) {}

    qreal Width() const { return painter.device()->width(); }
    qreal Mm(qreal mm) const { return mm * writer.resolution() / 25.4; }

    void Need(qreal height)
    {
        if (y > 0 && y + height > painter.device()->height()) {
            writer.newPage();
            y = 0;
        }
    }

    QFont Font(qreal points, bool bold = false) const
    {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPointSizeF(points);
        font.setBold(bold);
        return font;
    }

    void Text(const QString& text, qreal points, bool bold = false)
    {
        painter.setFont(Font(points, bold));
        const QFontMetricsF metrics(painter.font(), painter.device());
        const QRectF bounds = metrics.boundingRect(QRectF(0, 0, Width(), 1e6),
                                                   Qt::TextWordWrap, text);
        Need(bounds.height());
        painter.drawText(QRectF(0, y, Width(), bounds.height()), Qt::TextWordWrap, text);
        y += bounds.height();
    }

    void Space(qreal mm) { y += Mm(mm); }

    // A table as wide as its texts; wider than the page, its font shrinks
    // down to 7 points and then its texts wrap in columns narrowed in
    // proportion. The header is repeated on every page it runs over.
    void Table(const QStringList& header, const QVector<QStringList>& rows, qreal points)
    {
        const int columns = header.size();
        QFont font = Font(points);
        QVector<qreal> widths = NaturalWidths(header, rows, font);
        const auto sum = [](const QVector<qreal>& w) {
            qreal total = 0;
            for (qreal x : w)
                total += x;
            return total;
        };
        while (sum(widths) > Width() && font.pointSizeF() > 7) {
            font.setPointSizeF(font.pointSizeF() - 0.5);
            widths = NaturalWidths(header, rows, font);
        }
        if (sum(widths) > Width()) {
            // Every column keeps its longest word; the room left goes to
            // the columns in proportion to what their texts would take more.
            const QVector<qreal> least = NaturalWidths(header, rows, font, true);
            const qreal spare = Width() - sum(least);
            const qreal wanted = sum(widths) - sum(least);
            for (int c = 0; c < columns; ++c)
                widths[c] = spare > 0 ? least[c] + spare * (widths[c] - least[c]) / wanted
                                      : least[c] * Width() / sum(least);
        } else {
            const qreal scale = Width() / sum(widths);
            for (qreal& w : widths)
                w *= scale;
        }
        QFont bold = font;
        bold.setBold(true);
        const qreal pad = Mm(1);
        const auto height_of = [&](const QStringList& cells, const QFont& f) {
            const QFontMetricsF metrics(f, painter.device());
            qreal h = metrics.height();
            for (int c = 0; c < columns; ++c)
                h = std::max(h, metrics.boundingRect(QRectF(0, 0, widths[c] - 2 * pad, 1e6),
                                                     Qt::TextWordWrap, cells.value(c))
                                    .height());
            return h + 2 * pad;
        };
        const auto draw_row = [&](const QStringList& cells, bool head) {
            const qreal height = height_of(cells, head ? bold : font);
            Need(height);
            painter.setFont(head ? bold : font);
            qreal x = 0;
            for (int c = 0; c < columns; ++c) {
                const QRectF cell(x, y, widths[c], height);
                if (head)
                    painter.fillRect(cell, QColor(230, 230, 230));
                painter.setPen(QColor(150, 150, 150));
                painter.drawRect(cell);
                painter.setPen(Qt::black);
                const int align = (c == 0 ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignVCenter |
                                  Qt::TextWordWrap;
                painter.drawText(cell.adjusted(pad, 0, -pad, 0), align, cells.value(c));
                x += widths[c];
            }
            y += height;
        };
        draw_row(header, true);
        for (const QStringList& row : rows) {
            if (y + height_of(row, font) > painter.device()->height()) {
                Need(1e9); // a new page, the header first
                draw_row(header, true);
            }
            draw_row(row, false);
        }
    }

    QPdfWriter& writer;
    QPainter& painter;
    qreal y = 0;

private:
    // The widths the columns' texts take on one line, or (words) that of
    // their longest word.
    QVector<qreal> NaturalWidths(const QStringList& header, const QVector<QStringList>& rows,
                                 const QFont& font, bool words = false) const
    {
        QFont bold = font;
        bold.setBold(true);
        const QFontMetricsF plain(font, painter.device());
        const QFontMetricsF heavy(bold, painter.device());
        const auto width = [words](const QFontMetricsF& m, const QString& text) {
            qreal w = 0;
            for (const QString& part : words ? text.split(QLatin1Char(' ')) : QStringList{text})
                w = std::max(w, m.horizontalAdvance(part));
            return w;
        };
        QVector<qreal> widths;
        for (int c = 0; c < header.size(); ++c) {
            qreal w = width(heavy, header[c]);
            for (const QStringList& row : rows)
                w = std::max(w, width(plain, row.value(c)));
            widths.append(w + Mm(3));
        }
        return widths;
    }
};

QString Count(int hand, int device)
{
    return QStringLiteral("%1 / %2").arg(hand).arg(device);
}

} // namespace

QString KoValidationReport::Percent(double share, bool sign)
{
    if (!std::isfinite(share))
        return QStringLiteral("—");
    const double percent = share * 100;
    QString text = QString::number(percent, 'f', 1);
    if (sign && percent >= 0.05)
        text.prepend(QLatin1Char('+'));
    if (text == QLatin1String("-0.0"))
        text = QStringLiteral("0.0");
    return text + QStringLiteral(" %");
}

QString KoValidationReport::Interval(const KoValidationStats::Figures& f)
{
    if (f.samples < 2)
        return QStringLiteral("—");
    return QStringLiteral("%1 … %2").arg(Percent(f.low), Percent(f.high));
}

QString KoValidationReport::VerdictText(const KoValidationStats::Figures& f)
{
    switch (f.verdict) {
    case KoValidationStats::Verdict::Within:
        return tr("within");
    case KoValidationStats::Verdict::Outside:
        return tr("outside");
    case KoValidationStats::Verdict::NotEnough:
        break;
    }
    if (f.moreNeeded > 0)
        return tr("not enough samples yet: %n more needed", nullptr, f.moreNeeded);
    return tr("not enough samples yet");
}

QString KoValidationReport::RowName(int door, int direction)
{
    if (door < 0)
        return direction == KoValidationSession::In    ? tr("All doors in")
               : direction == KoValidationSession::Out ? tr("All doors out")
                                                       : tr("All doors");
    return direction == KoValidationSession::In ? tr("Door %1 in").arg(door + 1)
                                                : tr("Door %1 out").arg(door + 1);
}

QString KoValidationReport::DoorName(int door, const QString& label)
{
    const QString name = tr("Door %1").arg(door + 1);
    return label.trimmed().isEmpty() ? name : name + QStringLiteral(": ") + label.trimmed();
}

QByteArray KoValidationReport::Csv() const
{
    // Column names are the file's own, the same in every language.
    const int doors = session->Doors();
    QStringList header{QStringLiteral("sample"), QStringLiteral("start"), QStringLiteral("end")};
    for (int d = 1; d <= doors; ++d) {
        for (const char* dir : {"in", "out"}) {
            header << QStringLiteral("door%1_%2_hand").arg(d).arg(QLatin1String(dir))
                   << QStringLiteral("door%1_%2_device").arg(d).arg(QLatin1String(dir));
        }
    }
    header << QStringLiteral("total_hand") << QStringLiteral("total_device");
    QByteArray csv = header.join(QLatin1Char(',')).toUtf8() + "\r\n";
    int number = 0;
    for (const KoValidationSession::Sample& s : session->Samples()) {
        QStringList row{QString::number(++number), s.start.toString(TimeFormat),
                        s.end.toString(TimeFormat)};
        for (int d = 0; d < doors; ++d) {
            for (int dir : {KoValidationSession::In, KoValidationSession::Out})
                row << QString::number(s.Hand(d, dir)) << QString::number(s.Device(d, dir));
        }
        row << QString::number(s.Hand(-1, -1)) << QString::number(s.Device(-1, -1));
        csv += row.join(QLatin1Char(',')).toUtf8() + "\r\n";
    }
    return csv;
}

bool KoValidationReport::Save(const QString& path, const QByteArray& bytes, QString* error)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush() &&
        file.commit())
        return true;
    if (error)
        *error = file.errorString();
    file.cancelWriting();
    return false;
}

bool KoValidationReport::WriteCsv(const QString& path, QString* error) const
{
    return Save(path, Csv(), error);
}

bool KoValidationReport::WritePdf(const QString& path, QString* error) const
{
    // Drawn into memory first: the file is replaced only by a whole report.
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
        writer.setResolution(300);
        writer.setTitle(tr("Door validation report"));
        writer.setCreator(QStringLiteral("Velmora Configurator"));
        QPainter painter(&writer);
        PdfCursor page(writer, painter);
        const int doors = session->Doors();

        page.Text(tr("Door validation report"), 16, true);
        page.Space(3);
        const QString none = QStringLiteral("—");
        const auto or_none = [&none](const QString& text) {
            return text.trimmed().isEmpty() ? none : text.trimmed();
        };
        page.Text(tr("Device: %1").arg(or_none(address)), 10);
        page.Text(tr("Written: %1 (local time)").arg(written.toString(TimeFormat)), 10);
        page.Text(tr("Session: %1 to %2")
                      .arg(session->Started().toString(TimeFormat),
                           session->Ended().isValid() ? session->Ended().toString(TimeFormat)
                                                      : none),
                  10);
        page.Text(tr("Operator: %1").arg(or_none(operatorName)), 10);
        page.Text(tr("Vehicle: %1").arg(or_none(vehicle)), 10);
        page.Text(tr("Tolerance: ±%1").arg(Percent(tolerance, false)), 10);
        page.Space(2);
        const KoValidationSession::Row all = session->RowOf(-1, -1, tolerance);
        page.Text(tr("Verdict (all doors, both directions): %1").arg(VerdictText(all.stats)), 12,
                  true);
        page.Text(tr("Mean relative deviation %1, 95 % interval %2, over %n sample(s)", nullptr,
                     all.stats.samples)
                      .arg(Percent(all.stats.mean), Interval(all.stats)),
                  10);
        page.Space(4);

        // The doors as they were set up: two snapshots a row, small enough
        // to leave the figures room on the first page.
        const qreal gap = page.Mm(5);
        const qreal width = std::min((page.Width() - gap) / 2, page.Mm(70));
        for (int d = 0; d < doors; d += 2) {
            qreal row_height = 0;
            for (int k = d; k < std::min(doors, d + 2); ++k) {
                const QImage image = snapshots.value(k);
                const qreal h = image.isNull() ? page.Mm(20) : width * image.height() / image.width();
                row_height = std::max(row_height, h);
            }
            const qreal caption = QFontMetricsF(page.Font(10, true), painter.device()).height();
            page.Need(caption + row_height + page.Mm(4));
            for (int k = d; k < std::min(doors, d + 2); ++k) {
                const qreal x = (k - d) * (width + gap);
                painter.setFont(page.Font(10, true));
                painter.drawText(QRectF(x, page.y, width, caption), Qt::AlignLeft,
                                 DoorName(k, doorLabels.value(k)));
                const QImage image = snapshots.value(k);
                const QRectF target(x, page.y + caption, width,
                                    image.isNull() ? page.Mm(20)
                                                   : width * image.height() / image.width());
                if (image.isNull()) {
                    painter.setFont(page.Font(9));
                    painter.drawRect(target);
                    painter.drawText(target, Qt::AlignCenter, tr("No picture"));
                } else {
                    painter.drawImage(target, image);
                }
            }
            page.y += caption + row_height + page.Mm(4);
        }

        page.Space(2);
        page.Text(tr("Figures"), 12, true);
        page.Space(1);
        QVector<QStringList> figures;
        for (const KoValidationSession::Row& r : session->Rows(tolerance)) {
            figures.append({RowName(r.door, r.direction), QString::number(r.hand),
                            QString::number(r.device), QString::number(r.Difference()),
                            Percent(r.Relative()), QString::number(r.stats.samples),
                            r.stats.samples > 0 ? Percent(r.stats.mean) : none,
                            Interval(r.stats), VerdictText(r.stats)});
        }
        page.Table({QString(), tr("Hand"), tr("Device"), tr("Difference"), tr("Relative"),
                    tr("Samples"), tr("Mean deviation"), tr("95 % interval"), tr("Verdict")},
                   figures, 8);

        page.Space(5);
        page.Text(tr("Samples (hand / device)"), 12, true);
        page.Space(1);
        QStringList header{tr("No."), tr("Start"), tr("End")};
        for (int d = 0; d < doors; ++d)
            header << RowName(d, KoValidationSession::In) << RowName(d, KoValidationSession::Out);
        header << tr("All doors");
        QVector<QStringList> samples;
        int number = 0;
        for (const KoValidationSession::Sample& s : session->Samples()) {
            QStringList row{QString::number(++number),
                            s.start.toString(QStringLiteral("HH:mm:ss")),
                            s.end.toString(QStringLiteral("HH:mm:ss"))};
            for (int d = 0; d < doors; ++d) {
                for (int dir : {KoValidationSession::In, KoValidationSession::Out})
                    row << Count(s.Hand(d, dir), s.Device(d, dir));
            }
            row << Count(s.Hand(-1, -1), s.Device(-1, -1));
            samples.append(row);
        }
        page.Table(header, samples, 8);

        page.Space(12);
        page.Text(tr("Signature: ______________________"), 10);
        if (!painter.end()) {
            if (error)
                *error = tr("the report could not be drawn");
            return false;
        }
    }
    return Save(path, bytes, error);
}
