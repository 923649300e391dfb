#pragma once

#include "ko_device_records.h"

#include <QString>
#include <QStringList>
#include <QVector>

// The two XML file kinds of the statistics pages. Both are a root element
// "report" with one "Stamp" element per sample, one space of indent per level,
// after the line <?xml version='1.0' encoding='UTF-8'?>. Files are written
// through QSaveFile, flushed before they take the old file's place: a failed
// write leaves no file, or the old one whole, and error gets the reason.
class KoXmlReportWriter
{
public:
    // One series of hourly records per direction (local stamps), tagged by
    // type name ("In", "Out"). Writes path + ".xml".
    static QByteArray reportXml(const QVector<QVector<KoStatisticsData>>& local_series,
                                const QStringList& type_names);
    static bool writeReport(const QString& path,
                            const QVector<QVector<KoStatisticsData>>& local_series,
                            const QStringList& type_names, QString* error = nullptr);

    // The incoming and outgoing bars of a histogram: one Stamp per incoming
    // value with the bar label under the unit name of the period kind.
    // Empty for a kind that has no unit.
    static QByteArray periodXml(const QVector<int>& in_values, const QVector<int>& out_values,
                                const QStringList& labels, STATISTICS_ID sid);
    static bool writePeriodFile(const QString& name, const QVector<int>& in_values,
                                const QVector<int>& out_values, const QStringList& labels,
                                STATISTICS_ID sid, QString* error = nullptr);

    // The same bars as CSV (UTF-8, a header row): the bar label under the
    // unit name, the bar's local time, the incoming and the outgoing value.
    // local_stamps gives each bar's time (empty cells where it has none).
    static QByteArray periodCsv(const QVector<int>& in_values, const QVector<int>& out_values,
                                const QStringList& labels,
                                const QVector<KoStatisticsData>& local_stamps, STATISTICS_ID sid);
    static bool writePeriodCsv(const QString& name, const QVector<int>& in_values,
                               const QVector<int>& out_values, const QStringList& labels,
                               const QVector<KoStatisticsData>& local_stamps, STATISTICS_ID sid,
                               QString* error = nullptr);

    // The unit attribute of a period kind: "Month", "Days", "Hours"; empty otherwise.
    static QString unitName(STATISTICS_ID sid);
    // A local stamp as the report's Date text, e.g. 2016-03-05:09.
    static QString dateText(const KoStatisticsData& local_stamp);

private:
    static bool save(const QString& file_name, const QByteArray& content, QString* error);
};
