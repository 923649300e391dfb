#pragma once

#include "ko_device_records.h"

#include <QDateTime>

// Conversions between the device's hour stamps (year - 2000, month, day, hour;
// UTC on the wire) and QDateTime. The pages build their requests from local
// times and show the replies in local time.
class KoStatStamp
{
public:
    // The stamp of a moment, in the moment's own Qt::TimeSpec; count 0.
    static KoStatisticsData pack(const QDateTime& moment);
    // Local midnight of a date, as a UTC request stamp.
    static KoStatisticsData localMidnightUtc(const QDate& date);
    // The stamp read as a moment of the given Qt::TimeSpec; invalid for a stamp
    // that names no real hour.
    static QDateTime unpack(const KoStatisticsData& stamp, Qt::TimeSpec timeSpec);
    // A UTC stamp moved to local time, the count kept. A stamp that names no
    // real hour is returned unchanged.
    static KoStatisticsData utcToLocal(const KoStatisticsData& stamp);
    // End of a month period that starts at start_utc and should cover the local
    // month local_month: one calendar month later. When the UTC start lies in
    // the month before (east of Greenwich) the end moves to the last day of its
    // month, which is where the local month ends.
    static QDateTime monthEnd(const QDateTime& start_utc, int local_month);
};
