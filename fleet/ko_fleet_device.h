#pragma once

#include <QDateTime>
#include <QString>

// One device of the address book: a counter on a vehicle and how to reach it.
struct KoFleetDevice
{
    QString name;
    QString vehicle; // the vehicle's number as the fleet writes it
    int doors = 0;   // 1 to 4; 0 while unknown
    QString host;
    quint16 port = 4567;
    QString notes;
    QDateTime lastConnected; // UTC; invalid before the first connection
    QString softwareVersion; // empty unless the device reported one

    bool operator==(const KoFleetDevice& other) const
    {
        return name == other.name && vehicle == other.vehicle && doors == other.doors &&
               host == other.host && port == other.port && notes == other.notes &&
               lastConnected == other.lastConnected && softwareVersion == other.softwareVersion;
    }
};
