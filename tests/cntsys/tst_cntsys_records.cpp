// The system unit's records: their byte layouts and their text forms.

#include "cntsys/ack_message.h"
#include "cntsys/lan_params.h"
#include "cntsys/srv_params.h"
#include "cntsys/text_forms.h"
#include "cntsys/time_params.h"

#include <QtTest>

using namespace cntsys;

namespace {

QByteArray toBytes(const std::vector<uint8_t>& v)
{
    return QByteArray(reinterpret_cast<const char*>(v.data()), static_cast<int>(v.size()));
}

std::vector<uint8_t> fromHex(const char* hex)
{
    const QByteArray bytes = QByteArray::fromHex(hex);
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

} // namespace

class TstCntsysRecords : public QObject
{
    Q_OBJECT

private slots:
    void lanBytes();
    void timeExample();
    void appendsUnlessCleared();
    void shortRepliesRefused();
    void texts_data();
    void texts();
};

void TstCntsysRecords::lanBytes()
{
    LANParams lan;
    QVERIFY(TextToIp("192.168.0.10", lan.ip) && TextToIp("255.255.255.0", lan.mask) &&
            TextToIp("192.168.0.1", lan.gate) && TextToIp("192.168.0.53", lan.dns));
    lan.port = 5000;
    std::vector<uint8_t> out;
    QVERIFY(lan.Serialize(out, true));
    QCOMPARE(toBytes(out).toHex(' ').toUpper(),
             QByteArray("C0 A8 00 0A FF FF FF 00 C0 A8 00 01 C0 A8 00 35 13 88"));
}

void TstCntsysRecords::timeExample()
{
    TimeParams t;
    t.date_time = 0;
    t.time_zone = 180;
    std::vector<uint8_t> out;
    QVERIFY(t.Serialize(out, true));
    QCOMPARE(toBytes(out).toHex(' ').toUpper(), QByteArray("00 00 00 00 00 00 00 00 00 B4"));
    QCOMPARE(t.ToUnitDateTime(), QDateTime(QDate(1970, 1, 1), QTime(3, 0), Qt::UTC));

    // A negative zone travels as two's complement.
    TimeParams west;
    const std::vector<uint8_t> bytes = fromHex("000000005F5E0FFF"
                                               "FF88");
    QVERIFY(west.Deserialize(bytes.data(), bytes.size(), 0));
    QCOMPARE(west.date_time, quint64(0x5F5E0FFF));
    QCOMPARE(west.time_zone, qint16(-120));
    // Garbage from the unit must not overflow the conversion.
    west.date_time = ~quint64(0);
    QVERIFY(west.ToUnitDateTime().isValid());
}

void TstCntsysRecords::appendsUnlessCleared()
{
    SrvParams srv;
    QVERIFY(TextToIp("10.0.0.1", srv.ip));
    srv.port = 80;
    AckMessage ack;
    ack.status = 7;
    std::vector<uint8_t> out = {0x2A};
    QVERIFY(srv.Serialize(out, false));
    QVERIFY(ack.Serialize(out, false));
    QCOMPARE(toBytes(out).toHex(), QByteArray("2a0a000001005007"));
    QVERIFY(ack.Serialize(out, true));
    QCOMPARE(toBytes(out).toHex(), QByteArray("07"));
}

// A record one byte short is refused, also after a 4-byte message code or
// past the end; the full sizes are read by the tests above.
void TstCntsysRecords::shortRepliesRefused()
{
    const std::vector<uint8_t> data = fromHex("00000036"
                                              "7F000001"
                                              "1F90"
                                              "0000000000000000");
    TimeParams t;
    LANParams lan;
    AckMessage ack;
    QVERIFY(!t.Deserialize(data.data(), 9, 0));
    QVERIFY(!lan.Deserialize(data.data(), 17, 0));
    QVERIFY(!ack.Deserialize(nullptr, 0, 0));
    QVERIFY(!ack.Deserialize(data.data(), 10, 10));
    SrvParams srv;
    QVERIFY(srv.Deserialize(data.data(), 10, 4));
    QCOMPARE(IpToText(srv.ip), std::string("127.0.0.1"));
    QCOMPARE(srv.port, quint16(8080));
    QVERIFY(!srv.Deserialize(data.data(), 9, 4));
    QVERIFY(!srv.Deserialize(data.data(), 10, 100));
}

// Rows: an address, port or time zone as typed, and the value read printed
// back as the form shows it; none: refused, the value left as it was.
void TstCntsysRecords::texts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("printed");
    const auto row = [](const char* kind, const char* text, const char* printed) {
        QTest::addRow("%s '%s'", kind, text) << QString(text) << QString(printed);
    };
    row("ip", "255.255.255.255", "255.255.255.255");
    row("ip", " 1.+2. 3.04", "1.2.3.4");
    row("ip", "256.1.1.1", "");
    row("ip", "1.2.3", "");
    row("ip", "1.2.3.4a", "");
    row("ip", "1..3.4", "");
    row("ip", "1.2.-0.4", "");
    row("port", "65535", "65535");
    row("port", "65536", "");
    row("port", "80x", "");
    row("port", "-1", "");
    row("zone", "+5:30", "+5:30");
    row("zone", "-1:30", "-1:30");
    row("zone", "+0", "+0");
    row("zone", "+1:05", "+1:05");
    row("zone", "-0:30", "-0:30");
    row("zone", "3", "+3");
    row("zone", "4:75", "");
    row("zone", "4:", "");
    row("zone", "+3h", "");
    row("zone", "600", "");
    row("zone", "546:07", "+546:07"); // the most minutes a zone holds
    row("zone", "546:08", "");
    row("zone", "1:-30", "");
}

void TstCntsysRecords::texts()
{
    QFETCH(QString, text);
    QFETCH(QString, printed);
    const std::string typed = text.toStdString();
    const QString kind = QString(QTest::currentDataTag()).section(' ', 0, 0);
    bool accepted = false;
    std::string shown;
    if (kind == "ip") {
        uint32_t ip = 0xDEADBEEF;
        accepted = TextToIp(typed, ip);
        shown = ip == 0xDEADBEEF ? "" : IpToText(ip);
    } else if (kind == "port") {
        uint16_t port = 1234;
        accepted = TextToPort(typed, port);
        shown = port == 1234 ? "" : PortToText(port);
    } else {
        int16_t zone = 999;
        accepted = TextToTimeZone(typed, zone);
        shown = zone == 999 ? "" : TimeZoneToText(zone);
    }
    QCOMPARE(accepted, !printed.isEmpty());
    QCOMPARE(QString::fromStdString(shown), printed);
}

QTEST_GUILESS_MAIN(TstCntsysRecords)
#include "tst_cntsys_records.moc"
