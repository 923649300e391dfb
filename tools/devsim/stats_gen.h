#pragma once

#include "ko_device_records.h"

#include <QDateTime>
#include <QVector>

#include <cstdint>

// The counts the device has "stored": deterministic per seed, pass,
// direction and hour, busy at the rush hours and quiet at night by the
// unit's local clock.
class StatsGen
{
public:
    StatsGen(uint64_t seed, int passes);

    // Minutes east of UTC of the unit's clock; decides which hours are busy.
    void SetTimeZone(int minutes) { timeZone = minutes; }

    // People in the hour that begins at utc_hour (minutes and seconds are
    // ignored). A pass id beyond the device's passes means all passes.
    int HourCount(int pass_id, int direction, const QDateTime& utc_hour) const;
    // People from start (inclusive) to end (exclusive), hour by hour.
    int PeriodCount(int pass_id, int direction, const QDateTime& start, const QDateTime& end) const;

    // The samples of a request: one per month, day or hour from start on,
    // each stamped in UTC, up to end (exclusive). Without a usable end one
    // period's worth follows (12 months, the days of the month, 24 hours).
    // An invalid start gives no samples.
    QVector<KoStatisticsData> Series(int pass_id, int direction, STATISTICS_ID sid,
                                     const KoStatisticsData& start,
                                     const KoStatisticsData& end) const;
    // A few device events inside the period of a request.
    QVector<KoStatisticsAlarmData> Alarms(int pass_id, const KoStatisticsData& start,
                                          const KoStatisticsData& end, STATISTICS_ID sid) const;

    static QDateTime StampToUtc(const KoStatisticsData& stamp);
    static KoStatisticsData UtcToStamp(const QDateTime& utc, int count);
    // The moment of sample k of a series of the given kind starting at start.
    static QDateTime SampleStart(const QDateTime& start, STATISTICS_ID sid, int k);

private:
    uint64_t Hash(uint64_t a, uint64_t b, uint64_t c) const;
    int OnePass(int pass_id, int direction, const QDateTime& utc_hour) const;
    QDateTime EndOf(const QDateTime& start, const KoStatisticsData& end, STATISTICS_ID sid,
                    int& samples) const;

    uint64_t seed;
    int passes;
    int timeZone = 180;
};
