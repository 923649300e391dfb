#pragma once

#include "cntsys/lan_params.h"
#include "cntsys/srv_params.h"
#include "cntsys/time_params.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

// The counter's system unit: a clock (the host's UTC plus an offset), a time
// zone, a LAN profile and a server address, answering the requests 43 to 53.
// A new LAN profile takes effect at the next reboot. The simulator serves
// 127.0.0.1 only, so any other LAN address is refused.
class SysUnit
{
public:
    // Status bytes of the acknowledgements.
    enum Status : uint8_t
    {
        Accepted = 0,
        BadRecord = 1,   // the request is too short for its record
        NotLoopback = 2, // a LAN address outside 127.0.0.0/8
        NotServed = 3,   // a loopback address other than 127.0.0.1
        BadPort = 4,     // port 0
        BadTimeZone = 5, // beyond UTC-12 .. UTC+14
    };

    struct Answer
    {
        bool handled = false; // false: not one of the unit's requests
        int32_t code = 0;     // the reply code
        QByteArray body;      // the reply body, code first
        QString log;          // what happened, for the log line
    };

    explicit SysUnit(quint16 port);

    Answer Handle(int32_t code, const char* payload, qsizetype size, int64_t host_utc_seconds);

    // The unit's clock at the given host time.
    cntsys::TimeParams Time(int64_t host_utc_seconds) const;
    const cntsys::LANParams& Lan() const { return lan; }
    const cntsys::SrvParams& Srv() const { return srv; }
    // The port to listen on after a reboot; the LAN profile applies now.
    quint16 PortAfterReboot() const { return lan.port; }
    // The port the simulator actually listens on, when it was free to choose.
    void SetListenPort(quint16 port) { lan.port = port; }
    int16_t TimeZone() const { return timeZone; }

private:
    Answer Ack(int32_t code, uint8_t status, const QString& log) const;
    template <class Record>
    static QByteArray Reply(int32_t code, const Record& record);

    int64_t clockOffset = 0; // seconds added to the host's UTC
    int16_t timeZone = 180;
    cntsys::LANParams lan;
    cntsys::SrvParams srv;
};
