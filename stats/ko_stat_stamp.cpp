#include "ko_stat_stamp.h"

KoStatisticsData KoStatStamp::pack(const QDateTime& moment)
{
    KoStatisticsData stamp;
    const QDate date = moment.date();
    stamp.year = static_cast<uint8_t>(date.year() - 2000);
    stamp.month = static_cast<uint8_t>(date.month());
    stamp.day = static_cast<uint8_t>(date.day());
    stamp.hour = static_cast<uint8_t>(moment.time().hour());
    stamp.count = 0;
    return stamp;
}

KoStatisticsData KoStatStamp::localMidnightUtc(const QDate& date)
{
    return pack(QDateTime(date, QTime(0, 0), Qt::LocalTime).toUTC());
}

QDateTime KoStatStamp::unpack(const KoStatisticsData& stamp, Qt::TimeSpec timeSpec)
{
    const QDate date(2000 + stamp.year, stamp.month, stamp.day);
    if (!date.isValid() || stamp.hour > 23)
        return QDateTime();
    return QDateTime(date, QTime(stamp.hour, 0), timeSpec);
}

KoStatisticsData KoStatStamp::utcToLocal(const KoStatisticsData& stamp)
{
    const QDateTime utc = unpack(stamp, Qt::UTC);
    if (!utc.isValid())
        return stamp;
    KoStatisticsData local = pack(utc.toLocalTime());
    local.count = stamp.count;
    return local;
}

QDateTime KoStatStamp::monthEnd(const QDateTime& start_utc, int local_month)
{
    QDateTime end = start_utc.addMonths(1);
    // West of Greenwich the UTC start is already inside the requested month and
    // one calendar month later is its end; moving that to the last day of the
    // following month would ask for two months.
    if (end.time().hour() != 0 && start_utc.date().month() != local_month) {
        const QDate date = end.date();
        end.setDate(QDate(date.year(), date.month(), date.daysInMonth()));
    }
    return end;
}
