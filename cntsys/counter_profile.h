#pragma once

#include "lan_params.h"
#include "srv_params.h"
#include "time_params.h"

#include <QMetaType>
#include <QString>

namespace cntsys {

// The system unit's settings as one value: its clock, LAN and server address.
class CounterProfile
{
public:
    // The profile file of the data folder, kept by the settings form.
    static const char* const FileName;
    // The zone taken when the file gives none.
    static constexpr int16_t DefaultTimeZone = 180;

    TimeParams time;
    LANParams lan;
    SrvParams srv;

    // Writes lan_ip, lan_mask, lan_port, lan_gate, lan_dns, srv_ip, srv_port and
    // time_zone; false when the file cannot be written.
    bool SaveToFile(const QString& path) const;
    // False when the file cannot be read or a value fails its text rule; the
    // fields read before that value keep what they read. A key left at
    // "default" keeps its field, except time_zone, which then becomes 180.
    bool LoadFromFile(const QString& path);

    // Registers CounterProfile, TimeParams and cntsys::TimeParams for queued
    // signals; safe to call more than once.
    static void RegisterMetaTypes();
};

} // namespace cntsys

Q_DECLARE_METATYPE(cntsys::CounterProfile)
