#include "ko_report_export.h"

KoReportExport::KoReportExport(QWidget* parent) : QWidget(parent) {}

bool KoReportExport::WritePeriodFile(const QVector<int>&, const QVector<int>&, const QStringList&,
                                     const QString&, STATISTICS_ID)
{
    return false;
}

void KoReportExport::sStatisticXmlRecieved(int, const QVector<QVector<KoStatisticsData>>&,
                                           const STATISTICS_ID, const QVector<STATISTICS_TYPE>&)
{
}

void KoReportExport::sXmlReportClicked() {}

void KoReportExport::sOpenSaveFolder() {}

void KoReportExport::sPassChanged(int) {}

void KoReportExport::sYearStartChanged(int) {}

void KoReportExport::sMonthStartChanged(int) {}

void KoReportExport::sYearEndChanged(int) {}

void KoReportExport::sMonthEndChanged(int) {}

void KoReportExport::sPassCnt(int) {}
