#include "sys_unit.h"

#include "cntsys/ack_message.h"
#include "cntsys/text_forms.h"

#include <vector>

namespace {

constexpr uint32_t Loopback = 0x7F000001; // 127.0.0.1

QString ipText(uint32_t ip)
{
    return QString::fromStdString(cntsys::IpToText(ip));
}

} // namespace

SysUnit::SysUnit(quint16 port)
{
    lan.ip = Loopback;
    lan.port = port;
    lan.mask = 0xFF000000;
    lan.gate = Loopback;
    lan.dns = 0x7F000035; // 127.0.0.53
    srv.ip = Loopback;
    srv.port = 9000;
}

template <class Record>
QByteArray SysUnit::Reply(int32_t code, const Record& record)
{
    std::vector<uint8_t> bytes = {static_cast<uint8_t>(code >> 24),
                                  static_cast<uint8_t>(code >> 16), static_cast<uint8_t>(code >> 8),
                                  static_cast<uint8_t>(code)};
    record.Serialize(bytes, false);
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<int>(bytes.size()));
}

SysUnit::Answer SysUnit::Ack(int32_t code, uint8_t status, const QString& log) const
{
    cntsys::AckMessage ack;
    ack.status = status;
    Answer a;
    a.handled = true;
    a.code = code;
    a.body = Reply(code, ack);
    a.log = status == Accepted ? log
                               : QStringLiteral("%1, refused with status %2").arg(log).arg(status);
    return a;
}

cntsys::TimeParams SysUnit::Time(int64_t host_utc_seconds) const
{
    cntsys::TimeParams t;
    const int64_t now = host_utc_seconds + clockOffset;
    t.date_time = now > 0 ? static_cast<uint64_t>(now) : 0;
    t.time_zone = timeZone;
    return t;
}

SysUnit::Answer SysUnit::Handle(int32_t code, const char* payload, qsizetype size,
                                int64_t host_utc_seconds)
{
    const auto* data = reinterpret_cast<const uint8_t*>(payload);
    const size_t length = size > 0 ? static_cast<size_t>(size) : 0;
    Answer a;
    switch (code) {
    case 43: {
        cntsys::TimeParams t;
        if (!t.Deserialize(data, length, 0))
            return Ack(44, BadRecord, QStringLiteral("set time"));
        if (t.time_zone < -12 * 60 || t.time_zone > 14 * 60)
            return Ack(44, BadTimeZone, QStringLiteral("set time zone %1").arg(t.time_zone));
        // Keep the offset in a range where the clock cannot overflow.
        const uint64_t limit = 253402300799ULL; // the end of year 9999
        const int64_t wanted = static_cast<int64_t>(t.date_time < limit ? t.date_time : limit);
        clockOffset = wanted - host_utc_seconds;
        timeZone = t.time_zone;
        return Ack(44, Accepted,
                   QStringLiteral("set time %1 UTC, zone %2")
                       .arg(QDateTime::fromSecsSinceEpoch(wanted, Qt::UTC).toString(Qt::ISODate),
                            QString::fromStdString(cntsys::TimeZoneToText(timeZone))));
    }
    case 45: {
        a.handled = true;
        a.code = 46;
        a.body = Reply(46, Time(host_utc_seconds));
        a.log = QStringLiteral("read time");
        return a;
    }
    case 47: {
        cntsys::LANParams wanted;
        if (!wanted.Deserialize(data, length, 0))
            return Ack(48, BadRecord, QStringLiteral("set LAN"));
        const QString what =
            QStringLiteral("set LAN %1:%2").arg(ipText(wanted.ip)).arg(wanted.port);
        if ((wanted.ip >> 24) != 127)
            return Ack(48, NotLoopback, what);
        if (wanted.ip != Loopback)
            return Ack(48, NotServed, what);
        if (wanted.port == 0)
            return Ack(48, BadPort, what);
        lan = wanted;
        return Ack(48, Accepted, what + QStringLiteral(" (after the next reboot)"));
    }
    case 49: {
        a.handled = true;
        a.code = 50;
        a.body = Reply(50, lan);
        a.log = QStringLiteral("read LAN");
        return a;
    }
    case 51: {
        cntsys::SrvParams wanted;
        if (!wanted.Deserialize(data, length, 0))
            return Ack(52, BadRecord, QStringLiteral("set server"));
        const QString what =
            QStringLiteral("set server %1:%2").arg(ipText(wanted.ip)).arg(wanted.port);
        if (wanted.port == 0)
            return Ack(52, BadPort, what);
        // Only stored: the simulator never calls the server.
        srv = wanted;
        return Ack(52, Accepted, what);
    }
    case 53: {
        a.handled = true;
        a.code = 54;
        a.body = Reply(54, srv);
        a.log = QStringLiteral("read server");
        return a;
    }
    default:
        break;
    }
    return a;
}
