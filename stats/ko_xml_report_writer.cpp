#include "ko_xml_report_writer.h"

#include "ko_stats_log.h"
#include "settings/ko_settings_writer.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QXmlStreamWriter>

namespace {

// QDomDocument would give the same layout, but its attribute order changes
// from run to run; the stream writer keeps them as written, so two reports of
// the same data are the same bytes.
class StampDocument
{
public:
    StampDocument() : writer(&buffer)
    {
        buffer.open(QIODevice::WriteOnly);
        // The writer opens with a line break of its own before the root.
        buffer.write("<?xml version='1.0' encoding='UTF-8'?>");
        writer.setAutoFormatting(true);
        writer.setAutoFormattingIndent(1);
        writer.writeStartElement(QStringLiteral("report"));
    }

    QXmlStreamWriter& stamp()
    {
        writer.writeEmptyElement(QStringLiteral("Stamp"));
        return writer;
    }

    QByteArray finish()
    {
        writer.writeEndElement();
        writer.writeEndDocument();
        return buffer.data();
    }

private:
    QBuffer buffer;
    QXmlStreamWriter writer;
};

} // namespace

QString KoXmlReportWriter::unitName(STATISTICS_ID sid)
{
    switch (sid) {
    case STAT_YEAR:
        return QStringLiteral("Month");
    case STAT_MONTH:
        return QStringLiteral("Days");
    case STAT_DAY:
        return QStringLiteral("Hours");
    }
    return QString();
}

QString KoXmlReportWriter::dateText(const KoStatisticsData& local_stamp)
{
    return QStringLiteral("20%0-%1-%2:%3")
        .arg(local_stamp.year)
        .arg(local_stamp.month, 2, 10, QLatin1Char('0'))
        .arg(local_stamp.day, 2, 10, QLatin1Char('0'))
        .arg(local_stamp.hour, 2, 10, QLatin1Char('0'));
}

QByteArray KoXmlReportWriter::reportXml(const QVector<QVector<KoStatisticsData>>& local_series,
                                        const QStringList& type_names)
{
    StampDocument doc;
    for (int s = 0; s < local_series.size(); ++s) {
        const QString type = s < type_names.size() ? type_names.at(s) : QString();
        for (const KoStatisticsData& record : local_series.at(s)) {
            QXmlStreamWriter& w = doc.stamp();
            w.writeAttribute(QStringLiteral("Date"), dateText(record));
            w.writeAttribute(QStringLiteral("Type"), type);
            w.writeAttribute(QStringLiteral("Count"),
                             QString::number(static_cast<uint32_t>(record.count)));
        }
    }
    return doc.finish();
}

bool KoXmlReportWriter::writeReport(const QString& path,
                                    const QVector<QVector<KoStatisticsData>>& local_series,
                                    const QStringList& type_names, QString* error)
{
    return save(path + QStringLiteral(".xml"), reportXml(local_series, type_names), error);
}

QByteArray KoXmlReportWriter::periodXml(const QVector<int>& in_values,
                                        const QVector<int>& out_values, const QStringList& labels,
                                        STATISTICS_ID sid)
{
    const QString unit = unitName(sid);
    if (unit.isEmpty())
        return QByteArray();
    StampDocument doc;
    for (int i = 0; i < in_values.size(); ++i) {
        QXmlStreamWriter& w = doc.stamp();
        w.writeAttribute(unit, i < labels.size() ? labels.at(i) : QString());
        w.writeAttribute(QStringLiteral("Incoming"), QString::number(in_values.at(i)));
        w.writeAttribute(QStringLiteral("Outcoming"),
                         QString::number(i < out_values.size() ? out_values.at(i) : 0));
    }
    return doc.finish();
}

bool KoXmlReportWriter::writePeriodFile(const QString& name, const QVector<int>& in_values,
                                        const QVector<int>& out_values, const QStringList& labels,
                                        STATISTICS_ID sid, QString* error)
{
    const QByteArray content = periodXml(in_values, out_values, labels, sid);
    if (content.isEmpty()) {
        if (error)
            *error = QCoreApplication::translate("KoXmlReportWriter", "unknown period kind");
        return false;
    }
    return save(name + QStringLiteral(".xml"), content, error);
}

QByteArray KoXmlReportWriter::periodCsv(const QVector<int>& in_values,
                                        const QVector<int>& out_values, const QStringList& labels,
                                        const QVector<KoStatisticsData>& local_stamps,
                                        STATISTICS_ID sid)
{
    const QString unit = unitName(sid);
    if (unit.isEmpty())
        return QByteArray();
    // A bar's time to its own precision: the month, the day or the hour.
    const auto time_text = [sid](const KoStatisticsData& s) {
        const QString month = QStringLiteral("20%1-%2").arg(s.year, 2, 10, QLatin1Char('0'))
                                  .arg(s.month, 2, 10, QLatin1Char('0'));
        if (sid == STAT_YEAR)
            return month;
        const QString day = month + QStringLiteral("-%1").arg(s.day, 2, 10, QLatin1Char('0'));
        if (sid == STAT_MONTH)
            return day;
        return day + QStringLiteral(" %1:00").arg(s.hour, 2, 10, QLatin1Char('0'));
    };
    // A label is the file's text: one with a separator or a quote is quoted.
    const auto field = [](QString text) {
        if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
            !text.contains(QLatin1Char('\n')))
            return text;
        text.replace(QLatin1Char('"'), QStringLiteral("\"\""));
        return QLatin1Char('"') + text + QLatin1Char('"');
    };
    QByteArray csv = (unit + QStringLiteral(",Time,Incoming,Outcoming\r\n")).toUtf8();
    for (int i = 0; i < in_values.size(); ++i) {
        const QString time =
            i < local_stamps.size() ? time_text(local_stamps.at(i)) : QString();
        csv += QStringLiteral("%1,%2,%3,%4\r\n")
                   .arg(field(labels.value(i)), time)
                   .arg(in_values.at(i))
                   .arg(out_values.value(i))
                   .toUtf8();
    }
    return csv;
}

bool KoXmlReportWriter::writePeriodCsv(const QString& name, const QVector<int>& in_values,
                                       const QVector<int>& out_values, const QStringList& labels,
                                       const QVector<KoStatisticsData>& local_stamps,
                                       STATISTICS_ID sid, QString* error)
{
    const QByteArray content = periodCsv(in_values, out_values, labels, local_stamps, sid);
    if (content.isEmpty()) {
        if (error)
            *error = QCoreApplication::translate("KoXmlReportWriter", "unknown period kind");
        return false;
    }
    return save(name + QStringLiteral(".csv"), content, error);
}

bool KoXmlReportWriter::save(const QString& file_name, const QByteArray& content, QString* error)
{
    QString reason;
    if (!KoSettingsWriter::SaveBytes(file_name, content, &reason)) {
        qCWarning(lcStats) << "cannot write" << file_name << reason;
        if (error)
            *error = reason;
        return false;
    }
    return true;
}
