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
    void shortRepliesRefused_data();
    void shortRepliesRefused();
    void readsAtOffset();
    void unitDateTimeRoundTrip();
    void ipText_data();
    void ipText();
    void portText_data();
    void portText();
    void timeZoneText_data();
    void timeZoneText();
};

void TstCntsysRecords::lanBytes()
{
    LANParams lan;
    QVERIFY(TextToIp("192.168.0.10", lan.ip));
    QVERIFY(TextToIp("255.255.255.0", lan.mask));
    QVERIFY(TextToIp("192.168.0.1", lan.gate));
    QVERIFY(TextToIp("192.168.0.53", lan.dns));
    lan.port = 5000;
    std::vector<uint8_t> out;
    QVERIFY(lan.Serialize(out, true));
    QCOMPARE(toBytes(out).toHex(' ').toUpper(),
             QByteArray("C0 A8 00 0A FF FF FF 00 C0 A8 00 01 C0 A8 00 35 13 88"));

    LANParams back;
    QVERIFY(back.Deserialize(out.data(), out.size(), 0));
    QCOMPARE(back.ip, lan.ip);
    QCOMPARE(back.mask, lan.mask);
    QCOMPARE(back.gate, lan.gate);
    QCOMPARE(back.dns, lan.dns);
    QCOMPARE(back.port, quint16(5000));
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

void TstCntsysRecords::shortRepliesRefused_data()
{
    QTest::addColumn<int>("record");
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("accepted");
    // 0 TimeParams, 1 LANParams, 2 SrvParams, 3 AckMessage
    QTest::newRow("lan 17") << 1 << 17 << false;
    QTest::newRow("lan 18") << 1 << 18 << true;
    QTest::newRow("lan 25") << 1 << 25 << true;
    QTest::newRow("time 9") << 0 << 9 << false;
    QTest::newRow("time 10") << 0 << 10 << true;
    QTest::newRow("srv 5") << 2 << 5 << false;
    QTest::newRow("srv 6") << 2 << 6 << true;
    QTest::newRow("ack 0") << 3 << 0 << false;
    QTest::newRow("ack 1") << 3 << 1 << true;
}

void TstCntsysRecords::shortRepliesRefused()
{
    QFETCH(int, record);
    QFETCH(int, size);
    QFETCH(bool, accepted);
    TimeParams t;
    LANParams lan;
    SrvParams srv;
    AckMessage ack;
    CntObj* records[] = {&t, &lan, &srv, &ack};
    const std::vector<uint8_t> data(static_cast<size_t>(size), 0x11);
    QCOMPARE(records[record]->Deserialize(size > 0 ? data.data() : nullptr, data.size(), 0),
             accepted);
}

void TstCntsysRecords::readsAtOffset()
{
    // A record after a 4-byte message code; an offset past the end is refused.
    const std::vector<uint8_t> data = fromHex("00000036"
                                              "7F000001"
                                              "1F90");
    SrvParams srv;
    QVERIFY(srv.Deserialize(data.data(), data.size(), 4));
    QCOMPARE(IpToText(srv.ip), std::string("127.0.0.1"));
    QCOMPARE(srv.port, quint16(8080));
    QVERIFY(!srv.Deserialize(data.data(), data.size(), 5));
    QVERIFY(!srv.Deserialize(data.data(), data.size(), 100));
    AckMessage ack;
    QVERIFY(!ack.Deserialize(data.data(), data.size(), data.size()));
}

void TstCntsysRecords::unitDateTimeRoundTrip()
{
    TimeParams t;
    t.time_zone = -330;
    t.SetFromUnitDateTime(QDateTime(QDate(2024, 3, 1), QTime(0, 15), Qt::LocalTime));
    QCOMPARE(t.date_time,
             quint64(QDateTime(QDate(2024, 3, 1), QTime(5, 45), Qt::UTC).toSecsSinceEpoch()));
    QCOMPARE(t.ToUnitDateTime(), QDateTime(QDate(2024, 3, 1), QTime(0, 15), Qt::UTC));

    // Garbage from the unit must not overflow the conversion.
    t.date_time = ~quint64(0);
    QVERIFY(t.ToUnitDateTime().isValid());
}

void TstCntsysRecords::ipText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("printed");
    QTest::newRow("plain") << "192.168.0.10" << true << "192.168.0.10";
    QTest::newRow("zero") << "0.0.0.0" << true << "0.0.0.0";
    QTest::newRow("top") << "255.255.255.255" << true << "255.255.255.255";
    QTest::newRow("blanks and plus") << " 1.+2. 3.04" << true << "1.2.3.4";
    QTest::newRow("octet 256") << "256.1.1.1" << false << "";
    QTest::newRow("three parts") << "1.2.3" << false << "";
    QTest::newRow("trailing dot") << "1.2.3.4." << false << "";
    QTest::newRow("trailing letter") << "1.2.3.4a" << false << "";
    QTest::newRow("trailing blank") << "1.2.3.4 " << false << "";
    QTest::newRow("five parts") << "1.2.3.4.5" << false << "";
    QTest::newRow("empty part") << "1..3.4" << false << "";
    QTest::newRow("minus") << "1.2.-0.4" << false << "";
    QTest::newRow("huge") << "1.2.3.99999999999999999999" << false << "";
    QTest::newRow("empty") << "" << false << "";
}

void TstCntsysRecords::ipText()
{
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QFETCH(QString, printed);
    uint32_t ip = 0xDEADBEEF;
    QCOMPARE(TextToIp(text.toStdString(), ip), accepted);
    if (accepted)
        QCOMPARE(QString::fromStdString(IpToText(ip)), printed);
    else
        QCOMPARE(ip, 0xDEADBEEFu);
}

void TstCntsysRecords::portText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("port");
    QTest::newRow("max") << "65535" << 65535;
    QTest::newRow("zero") << "0" << 0;
    QTest::newRow("blank plus") << " +4567" << 4567;
    QTest::newRow("too big") << "65536" << -1;
    QTest::newRow("trailing") << "80x" << -1;
    QTest::newRow("negative") << "-1" << -1;
    QTest::newRow("empty") << "" << -1;
}

void TstCntsysRecords::portText()
{
    QFETCH(QString, text);
    QFETCH(int, port);
    uint16_t value = 1234;
    QCOMPARE(TextToPort(text.toStdString(), value), port >= 0);
    QCOMPARE(int(value), port >= 0 ? port : 1234);
    if (port >= 0)
        QCOMPARE(QString::fromStdString(PortToText(value)), QString::number(port));
}

// Rows: a text, the zone it gives (or refused), and whether the unit's own
// text for that zone is the same text.
void TstCntsysRecords::timeZoneText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("zone");
    QTest::addColumn<bool>("printed");
    const auto row = [](const char* text, bool accepted, int zone, bool printed) {
        QTest::addRow("'%s'", text) << QString(text) << accepted << zone << printed;
    };
    row("+3", true, 180, true);
    row("+5:30", true, 330, true);
    row("-1", true, -60, true);
    row("-1:30", true, -90, true);
    row("+0", true, 0, true);
    row("+5:45", true, 345, true);
    row("+1:05", true, 65, true);
    row("-0:30", true, -30, true);
    row("3", true, 180, false);
    row(" -2", true, -120, false);
    row("4:75", false, 0, false);
    row("4:", false, 0, false);
    row("+3h", false, 0, false);
    row("", false, 0, false);
    row("600", false, 0, false);
    row("546:07", true, 32767, false); // the most minutes a zone holds
    row("546:08", false, 0, false);
    row("1:-30", false, 0, false);
}

void TstCntsysRecords::timeZoneText()
{
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QFETCH(int, zone);
    QFETCH(bool, printed);
    int16_t value = 999;
    QCOMPARE(TextToTimeZone(text.toStdString(), value), accepted);
    QCOMPARE(int(value), accepted ? zone : 999);
    if (printed)
        QCOMPARE(QString::fromStdString(TimeZoneToText(static_cast<int16_t>(zone))), text);
}

QTEST_GUILESS_MAIN(TstCntsysRecords)
#include "tst_cntsys_records.moc"
