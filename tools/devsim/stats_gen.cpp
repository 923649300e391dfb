#include "stats_gen.h"

#include <algorithm>
#include <cmath>

namespace {

// People per hour through a front door on a working day, by local hour.
const int HourProfile[24] = {1,  0,  0,  0,  1,  5,  20, 55, 72, 42, 26, 22,
                             25, 27, 26, 32, 46, 66, 58, 36, 21, 12, 6,  3};
const double PassShare[4] = {1.0, 0.8, 0.65, 0.5};

// The longest series a request can ask for: ten years of months, a leap
// year of days or of hours.
constexpr int MaxSamples[3] = {120, 366, 366 * 24};
constexpr int MaxAlarms = 40;

uint64_t mix(uint64_t x)
{
    x += 0x9E3779B97F4A7C15ULL;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
    return x ^ (x >> 31);
}

} // namespace

StatsGen::StatsGen(uint64_t seed, int passes) : seed(seed), passes(passes) {}

uint64_t StatsGen::Hash(uint64_t a, uint64_t b, uint64_t c) const
{
    return mix(mix(mix(seed ^ a) ^ b) ^ c);
}

QDateTime StatsGen::StampToUtc(const KoStatisticsData& stamp)
{
    const QDate date(2000 + stamp.year, stamp.month, stamp.day);
    if (!date.isValid() || stamp.hour > 23)
        return QDateTime();
    return QDateTime(date, QTime(stamp.hour, 0), Qt::UTC);
}

KoStatisticsData StatsGen::UtcToStamp(const QDateTime& utc, int count)
{
    const QDateTime t = utc.toUTC();
    KoStatisticsData s;
    s.year = static_cast<uint8_t>(t.date().year() - 2000);
    s.month = static_cast<uint8_t>(t.date().month());
    s.day = static_cast<uint8_t>(t.date().day());
    s.hour = static_cast<uint8_t>(t.time().hour());
    s.count = count;
    return s;
}

QDateTime StatsGen::SampleStart(const QDateTime& start, STATISTICS_ID sid, int k)
{
    switch (sid) {
    case STAT_YEAR:
        return start.addMonths(k);
    case STAT_MONTH:
        return start.addDays(k);
    case STAT_DAY:
        break;
    }
    return start.addSecs(3600LL * k);
}

int StatsGen::OnePass(int pass_id, int direction, const QDateTime& utc_hour) const
{
    const QDateTime local = utc_hour.addSecs(timeZone * 60LL);
    const QDate day = local.date();
    const int hour = local.time().hour();
    const uint64_t key =
        static_cast<uint64_t>(day.toJulianDay()) * 24 + static_cast<uint64_t>(hour);
    const uint64_t h = Hash(static_cast<uint64_t>(pass_id), static_cast<uint64_t>(direction), key);
    double base = HourProfile[hour] * PassShare[pass_id & 3];
    if (day.dayOfWeek() >= 6)
        base *= 0.55; // weekends are quieter and without rush hours
    // Some days are simply busier than others.
    const uint64_t day_hash =
        Hash(static_cast<uint64_t>(pass_id), 99, static_cast<uint64_t>(day.toJulianDay()));
    base *= 0.8 + 0.4 * ((day_hash & 0xFFFF) / 65535.0);
    const double noise = 0.7 + 0.6 * ((h & 0xFFFF) / 65535.0);
    return static_cast<int>(std::lround(base * noise));
}

int StatsGen::HourCount(int pass_id, int direction, const QDateTime& utc_hour) const
{
    if (pass_id < 0 || !utc_hour.isValid())
        return 0;
    const QDateTime hour(utc_hour.toUTC().date(), QTime(utc_hour.toUTC().time().hour(), 0),
                         Qt::UTC);
    if (pass_id < passes)
        return OnePass(pass_id, direction, hour);
    int total = 0;
    for (int p = 0; p < passes; ++p)
        total += OnePass(p, direction, hour);
    return total;
}

int StatsGen::PeriodCount(int pass_id, int direction, const QDateTime& start,
                          const QDateTime& end) const
{
    int total = 0;
    for (QDateTime t = start; t < end; t = t.addSecs(3600))
        total += HourCount(pass_id, direction, t);
    return total;
}

QDateTime StatsGen::EndOf(const QDateTime& start, const KoStatisticsData& end, STATISTICS_ID sid,
                          int& samples) const
{
    const int cap = MaxSamples[sid];
    QDateTime stop = StampToUtc(end);
    if (!stop.isValid() || stop <= start) {
        // One period's worth.
        const int count =
            sid == STAT_YEAR ? 12 : (sid == STAT_MONTH ? start.date().daysInMonth() : 24);
        stop = SampleStart(start, sid, count);
    }
    samples = 0;
    while (samples < cap && SampleStart(start, sid, samples) < stop)
        ++samples;
    return stop;
}

QVector<KoStatisticsData> StatsGen::Series(int pass_id, int direction, STATISTICS_ID sid,
                                           const KoStatisticsData& start,
                                           const KoStatisticsData& end) const
{
    QVector<KoStatisticsData> series;
    const QDateTime first = StampToUtc(start);
    if (!first.isValid() || pass_id < 0 || sid < STAT_YEAR || sid > STAT_DAY)
        return series;
    int samples = 0;
    const QDateTime stop = EndOf(first, end, sid, samples);
    series.reserve(samples);
    for (int k = 0; k < samples; ++k) {
        const QDateTime from = SampleStart(first, sid, k);
        const QDateTime to = std::min(SampleStart(first, sid, k + 1), stop);
        const int count = sid == STAT_DAY ? HourCount(pass_id, direction, from)
                                          : PeriodCount(pass_id, direction, from, to);
        series.append(UtcToStamp(from, count));
    }
    return series;
}

QVector<KoStatisticsAlarmData> StatsGen::Alarms(int pass_id, const KoStatisticsData& start,
                                                const KoStatisticsData& end,
                                                STATISTICS_ID sid) const
{
    QVector<KoStatisticsAlarmData> alarms;
    const QDateTime first = StampToUtc(start);
    if (!first.isValid() || pass_id < 0 || sid < STAT_YEAR || sid > STAT_DAY)
        return alarms;
    int samples = 0;
    const QDateTime stop = EndOf(first, end, sid, samples);
    const QDateTime last = SampleStart(first, sid, samples);
    const QDateTime until = std::min(stop, last);

    // Every service day: ignition and start in the morning, shutdown at
    // night; now and then a covered lens or a lost camera signal, and an
    // event of a kind the tool does not list (5).
    QVector<KoStatisticsAlarmData> all;
    auto add = [&](const QDateTime& local_day, int minutes, int code, double value2) {
        const QDateTime at = local_day.addSecs(minutes * 60LL - timeZone * 60LL);
        if (at < first || at >= until)
            return;
        KoStatisticsAlarmData a;
        a.time = at.toSecsSinceEpoch();
        a.code = code;
        a.value1 = pass_id;
        a.value2 = value2;
        all.append(a);
    };
    const QDate from_day = first.addSecs(timeZone * 60LL).date();
    const QDate to_day = until.addSecs(timeZone * 60LL).date();
    for (QDate d = from_day; d <= to_day && all.size() < 40 * MaxAlarms; d = d.addDays(1)) {
        const QDateTime day(d, QTime(0, 0), Qt::UTC);
        const uint64_t h =
            Hash(static_cast<uint64_t>(pass_id), 7, static_cast<uint64_t>(d.toJulianDay()));
        add(day, 5 * 60 + 10 + int(h % 7), 14, 0);
        add(day, 5 * 60 + 12 + int(h % 7), 12, 0);
        if (h % 5 == 0) {
            const int at = 8 * 60 + int((h >> 8) % 600);
            add(day, at, 3, 1);
            add(day, at + 2 + int((h >> 20) % 5), 6, 0);
        }
        if (h % 7 == 1) {
            const int at = 10 * 60 + int((h >> 12) % 480);
            add(day, at, 4, 0);
            add(day, at + 1, 7, 1);
        }
        if (h % 3 == 2)
            add(day, 13 * 60 + int((h >> 4) % 60), 5, 0);
        add(day, 23 * 60 + 38, 16, 0);
        add(day, 23 * 60 + 40, 13, 0);
        add(day, 23 * 60 + 41, 15, 0);
    }
    if (all.size() <= MaxAlarms)
        return all;
    // A long period: an even selection over it.
    alarms.reserve(MaxAlarms);
    for (int i = 0; i < MaxAlarms; ++i)
        alarms.append(all[static_cast<int>(static_cast<long long>(i) * all.size() / MaxAlarms)]);
    return alarms;
}
