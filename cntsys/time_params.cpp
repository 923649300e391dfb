#include "time_params.h"

namespace cntsys {

bool TimeParams::Serialize(std::vector<uint8_t>& out, bool clear) const
{
    if (clear)
        out.clear();
    AppendBigEndian(out, date_time, 8);
    AppendBigEndian(out, static_cast<uint16_t>(time_zone), 2);
    return true;
}

bool TimeParams::Deserialize(const uint8_t* data, size_t size, size_t offset)
{
    if (!Available(data, size, offset, WireSize))
        return false;
    date_time = ReadBigEndian(data + offset, 8);
    time_zone = static_cast<int16_t>(ReadBigEndian(data + offset + 8, 2));
    return true;
}

QDateTime TimeParams::ToUnitDateTime() const
{
    // A unit can report any 64-bit number; keep within what QDateTime shows
    // (the end of year 9999) rather than overflow.
    const uint64_t last_second = 253402300799ULL;
    const uint64_t seconds = date_time < last_second ? date_time : last_second;
    QDateTime utc = QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(seconds) * 1000, Qt::UTC);
    return utc.addSecs(static_cast<qint64>(time_zone) * 60);
}

void TimeParams::SetFromUnitDateTime(const QDateTime& shown)
{
    // The fields are the unit's wall clock whatever time zone the caller gave them.
    QDateTime fields(shown.date(), shown.time(), Qt::UTC);
    qint64 seconds = fields.toSecsSinceEpoch() - static_cast<qint64>(time_zone) * 60;
    date_time = seconds > 0 ? static_cast<uint64_t>(seconds) : 0;
}

} // namespace cntsys
