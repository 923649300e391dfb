#include "ko_statistics_viewer.h"

KoStatisticsViewer::KoStatisticsViewer(QWidget* parent) : QWidget(parent) {}

void KoStatisticsViewer::sStatisticRecieved(int, const QVector<KoStatisticsData>&,
                                            const QVector<KoStatisticsAlarmData>&,
                                            const STATISTICS_ID, const STATISTICS_TYPE)
{
}

void KoStatisticsViewer::sYearButClicked() {}

void KoStatisticsViewer::sMonthButClicked() {}

void KoStatisticsViewer::sDayButClicked() {}

void KoStatisticsViewer::sXmlButClicked() {}

void KoStatisticsViewer::sTypeChanged(int) {}

void KoStatisticsViewer::sPassChanged(int) {}

void KoStatisticsViewer::sYearChanged(int) {}

void KoStatisticsViewer::sMonthChanged(int) {}

void KoStatisticsViewer::sHistClicked(int) {}

void KoStatisticsViewer::sPassCnt(int) {}

void KoStatisticsViewer::sConnected() {}
