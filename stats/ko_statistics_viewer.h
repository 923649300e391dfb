#pragma once

#include "ko_device_records.h"

#include <QMap>
#include <QMessageBox>
#include <QStringList>
#include <QVector>
#include <QWidget>

class KoGraphicsDrawer;
class QComboBox;

// The "Statistics" tab: histograms of the counts the device has stored, a
// year by months, a month by days or a day by hours, for one pass or all of
// them, in or out. A click on a bar asks for the next finer period; the shown
// period can be saved with both directions as an XML file.
class KoStatisticsViewer : public QWidget
{
    Q_OBJECT

public:
    explicit KoStatisticsViewer(QWidget* parent = nullptr);

    KoGraphicsDrawer* histogram() const { return drawer; }
    // Period kind and direction of the shown histogram.
    int shownLevel() const { return level; }
    int shownDirection() const { return shownType; }
    // The records behind the bars of a pass entry, local stamps, in bar order.
    QVector<KoStatisticsData> barRecords(int pass_entry) const
    {
        return passRecords.value(pass_entry);
    }
    int currentPass() const { return passIndex; }
    QString histogramTitle() const { return xmlTitle; }

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

protected:
    // Every box of the page goes through here (modal, one OK button).
    virtual void showMessage(QMessageBox::Icon icon, const QString& title, const QString& text);

private:
    void requestLevel(int sid);
    void fillDays();
    QString dayLabel(const QDate& date) const;
    void storeByDirection(int stat_type, const QVector<int>& values, const QStringList& labels);
    STATISTICS_TYPE selectedType() const;

    KoGraphicsDrawer* drawer = nullptr;
    QComboBox* yearBox = nullptr;
    QComboBox* monthBox = nullptr;
    QComboBox* dayBox = nullptr;
    QComboBox* typeBox = nullptr;
    QComboBox* passBox = nullptr;
    QMap<int, QString> monthNames;
    QMap<int, QString> dayNames;
    int level = STAT_DAY;
    int shownType = STAT_INCOMING;
    QVector<QVector<KoStatisticsData>> passRecords;
    int passIndex = 0;
    int passCount = 4;
    QString xmlTitle;
    QVector<KoStatisticsAlarmData> alarms;
    QVector<int> inValues;
    QVector<int> outValues;
    QStringList inLabels;
    QStringList outLabels;
    int xmlState = 0;
};
