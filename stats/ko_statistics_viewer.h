#pragma once

#include "ko_device_records.h"

#include <QVector>
#include <QWidget>

// The "Statistics" tab: histograms of the counts the device has stored.
class KoStatisticsViewer : public QWidget
{
    Q_OBJECT

public:
    explicit KoStatisticsViewer(QWidget* parent = nullptr);

signals:
    void eSendStatReq(int pass_id, const KoStatisticsData& data_start,
                      const KoStatisticsData& data_end, const STATISTICS_TYPE stype,
                      const STATISTICS_ID sid);

public slots:
    void sStatisticRecieved(int pass_id, const QVector<KoStatisticsData>& stat,
                            const QVector<KoStatisticsAlarmData>& alarm_stat,
                            const STATISTICS_ID stat_id, const STATISTICS_TYPE stat_type);
    void sYearButClicked();
    void sMonthButClicked();
    void sDayButClicked();
    void sXmlButClicked();
    void sTypeChanged(int indx);
    void sPassChanged(int indx);
    void sYearChanged(int indx);
    void sMonthChanged(int indx);
    void sHistClicked(int num);
    void sPassCnt(int pass_cnt);
    void sConnected();
};
