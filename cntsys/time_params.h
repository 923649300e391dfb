#pragma once

#include "cnt_obj.h"

#include <QDateTime>
#include <QMetaType>

namespace cntsys {

// The unit's clock: a UTC moment and the zone it shows it in.
class TimeParams : public CntObj
{
public:
    static constexpr size_t WireSize = 10;

    int16_t time_zone = 0;  // minutes east of UTC; 180 is UTC+3
    uint64_t date_time = 0; // seconds since 1970-01-01 00:00 UTC

    // date_time (8 bytes), then time_zone (2 bytes, two's complement).
    bool Serialize(std::vector<uint8_t>& out, bool clear) const override;
    bool Deserialize(const uint8_t* data, size_t size, size_t offset) override;

    // The clock fields as the unit shows them: UTC moved by the zone, in a
    // QDateTime in UTC.
    QDateTime ToUnitDateTime() const;
    // The inverse: clock fields read at the unit's zone (time_zone must be set
    // first); a moment before 1970 is stored as 0.
    void SetFromUnitDateTime(const QDateTime& shown);
};

} // namespace cntsys

Q_DECLARE_METATYPE(cntsys::TimeParams)
