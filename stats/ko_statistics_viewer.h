#pragma once

#include "ko_device_records.h"

#include <QMap>
#include <QMessageBox>
#include <QStringList>
#include <QVector>
#include <QWidget>

#include <functional>

class KoGraphicsDrawer;
class QComboBox;

// The "Statistics" tab: histograms of the counts the device has stored, a
// year by months, a month by days or a day by hours, for one pass or all of
// them, in or out. A click on a bar asks for the next finer period; the shown
// period can be saved with both directions as an XML file, where the operator
// chooses; the selectors and the histogram stay as they were.
class KoStatisticsViewer : public QWidget
{
    Q_OBJECT

public:
    // Sends a request to the device; false when it could not go out (no
    // connection). Without one, eSendStatReq is left to whoever listens.
    using Sender = std::function<bool(int, const KoStatisticsData&, const KoStatisticsData&,
                                      STATISTICS_TYPE, STATISTICS_ID)>;

    explicit KoStatisticsViewer(QWidget* parent = nullptr);

    void SetSender(Sender send) { sender = std::move(send); }

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
    // A request, once it has gone out.
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
    // The same bars as CSV, with each bar's local time.
    void sCsvButClicked();
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
    // Asks where to save the period file, starting at start_path (a folder
    // and a proposed name); empty when the operator cancels.
    virtual QString chooseSaveFile(const QString& start_path);

private:
    bool requestLevel(int sid);
    bool requestYear();
    bool requestMonth();
    bool requestDay();
    bool sendRequest(const KoStatisticsData& start, const KoStatisticsData& end,
                     STATISTICS_TYPE stype, STATISTICS_ID sid, int pass);
    void endXmlCollection();
    void fillDays();
    QString dayLabel(const QDate& date) const;
    void storeByDirection(int stat_type, const QVector<int>& values, const QStringList& labels,
                          const QVector<KoStatisticsData>& stamps = {});
    void saveFile(bool csv);
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
    QVector<KoStatisticsData> inStamps; // local, one per bar of the last incoming reply
    int xmlState = 0;
    // While collecting: the file chosen (without ".xml") and the direction
    // selected before, which is the one drawn and selected again after.
    QString xmlPath;
    int xmlShownType = STAT_INCOMING;
    bool saveCsv = false; // the collection ends in a CSV file, not an XML one
    Sender sender;
};
