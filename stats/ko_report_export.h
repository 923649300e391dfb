#pragma once

#include "ko_device_records.h"

#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <QVector>
#include <QWidget>

#include <functional>

class QComboBox;
class QLineEdit;

// The "Reports" tab: hourly counts of a date range written as an XML report.
// Also the writer of the statistics page's period files.
class KoReportExport : public QWidget
{
    Q_OBJECT

public:
    // Sends a request to the device; false when it could not go out (no
    // connection). Without one, eSendXmlStatReq is left to whoever listens.
    using Sender = std::function<bool(int, const KoStatisticsData&, const KoStatisticsData&,
                                      STATISTICS_TYPE, STATISTICS_ID)>;

    explicit KoReportExport(QWidget* parent = nullptr);

    void SetSender(Sender send) { sender = std::move(send); }

    // Writes name + ".xml" with one Stamp per bar; false when nothing was
    // written, with the reason in error.
    static bool WritePeriodFile(const QVector<int>& in_values, const QVector<int>& out_values,
                                const QStringList& labels, const QString& name, STATISTICS_ID sid,
                                QString* error = nullptr);

    // The folder reports are written to; what the folder dialog sets.
    QString saveFolder() const;
    void setSaveFolder(const QString& folder);

signals:
    // A request, once it has gone out.
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

protected:
    // Every box of the page goes through here (modal, one OK button).
    virtual void showMessage(QMessageBox::Icon icon, const QString& title, const QString& text);

private:
    static QDate selectedDate(const QComboBox* year_box, const QComboBox* month_box,
                              const QComboBox* day_box);
    static void fillDays(const QComboBox* year_box, const QComboBox* month_box, QComboBox* day_box);

    QComboBox* passBox = nullptr;
    QComboBox* startYearBox = nullptr;
    QComboBox* endYearBox = nullptr;
    QComboBox* startMonthBox = nullptr;
    QComboBox* endMonthBox = nullptr;
    QComboBox* startDayBox = nullptr;
    QComboBox* endDayBox = nullptr;
    QLineEdit* folderEdit = nullptr;
    int passIndex = 0;
    int passCount = 4;
    Sender sender;
};
