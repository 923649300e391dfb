#pragma once

#include "ko_device_records.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <QWidget>

// The "Reports" tab: hourly counts of a date range written as an XML report.
// Also the writer of the statistics page's period files.
class KoReportExport : public QWidget
{
    Q_OBJECT

public:
    explicit KoReportExport(QWidget* parent = nullptr);

    // Writes name + ".xml" with one Stamp per bar; false when nothing was written.
    static bool WritePeriodFile(const QVector<int>& in_values, const QVector<int>& out_values,
                                const QStringList& labels, const QString& name, STATISTICS_ID sid);

signals:
    void eSendXmlStatReq(int pass_id, const KoStatisticsData& data_start,
                         const KoStatisticsData& data_end, const STATISTICS_TYPE stype,
                         const STATISTICS_ID sid);

public slots:
    void sStatisticXmlRecieved(int pass_id, const QVector<QVector<KoStatisticsData>>& statistics,
                               const STATISTICS_ID stat_id,
                               const QVector<STATISTICS_TYPE>& stat_types);
    void sXmlReportClicked();
    void sOpenSaveFolder();
    void sPassChanged(int indx);
    void sYearStartChanged(int indx);
    void sMonthStartChanged(int indx);
    void sYearEndChanged(int indx);
    void sMonthEndChanged(int indx);
    void sPassCnt(int pass_cnt);
};
