#include "tests/support/frame_bodies.h"

#include "cntsys/ack_message.h"
#include "cntsys/lan_params.h"
#include "counting_line.h"
#include "ko_frame_escaper.h"
#include "ko_frame_parser.h"
#include "ko_message_decoder.h"
#include "ko_message_encoder.h"
#include "sim_server.h"

#include <QTcpSocket>
#include <QtEndian>
#include <QtTest>

namespace {

// The tool's side of the link, as bare as the tests need it.
class Peer
{
public:
    bool connectTo(quint16 port)
    {
        socket.connectToHost(QHostAddress::LocalHost, port);
        return QTest::qWaitFor([&]() { return socket.state() == QAbstractSocket::ConnectedState; },
                               5000);
    }
    void send(const QByteArray& body) { socket.write(KoFrameEscaper::Frame(body)); }
    // Waits for the next body of the given code, keeping the others.
    QByteArray waitFor(int32_t code, int timeout_ms = 5000)
    {
        QByteArray found;
        (void)QTest::qWaitFor(
            [&]() {
                pump();
                for (int i = 0; i < bodies.size(); ++i) {
                    if (codeOf(bodies[i]) == code) {
                        found = bodies.takeAt(i);
                        return true;
                    }
                }
                return false;
            },
            timeout_ms);
        return found;
    }
    void pump() { AppendFrameBodies(parser, socket.readAll(), bodies); }
    static int32_t codeOf(const QByteArray& body)
    {
        return body.size() < 4 ? 0 : qFromBigEndian<qint32>(body.constData());
    }

    QTcpSocket socket;
    KoFrameParser parser;
    QList<QByteArray> bodies;
};

} // namespace

class TestDevsim : public QObject
{
    Q_OBJECT

private slots:
    void crossing_data();
    void crossing();
    void errorModel_data();
    void errorModel();
    void answers();
    void lanOutsideLoopbackIsRefused();
};

void TestDevsim::crossing_data()
{
    QTest::addColumn<QPointF>("from");
    QTest::addColumn<QPointF>("to");
    QTest::addColumn<int>("expected");
    QTest::addColumn<int>("reversed");
    // Line from left to right at y 0.5: its blue side is below (y grows down).
    QTest::newRow("up through is in") << QPointF(0.5, 0.7) << QPointF(0.5, 0.3) << 1 << -1;
    QTest::newRow("down through is out") << QPointF(0.5, 0.3) << QPointF(0.5, 0.7) << -1 << 1;
    QTest::newRow("beside the line") << QPointF(1.5, 0.7) << QPointF(1.5, 0.3) << 0 << 0;
    QTest::newRow("touching from blue")
        << QPointF(0.5, 0.7) << QPointF(0.5, 0.5) << 1 << 0; // on the line is yellow
    QTest::newRow("from the line back to blue")
        << QPointF(0.5, 0.5) << QPointF(0.5, 0.7) << -1 << 0;
    QTest::newRow("parallel") << QPointF(0.1, 0.6) << QPointF(0.9, 0.6) << 0 << 0;
}

void TestDevsim::crossing()
{
    QFETCH(QPointF, from);
    QFETCH(QPointF, to);
    QFETCH(int, expected);
    QFETCH(int, reversed);
    CountingLine line;
    line.SetPoints({QPointF(0, 0.5), QPointF(1, 0.5)});
    QCOMPARE(line.Crossing(from, to), expected);
    // Reversing the points swaps the sides.
    line.SetPoints({QPointF(1, 0.5), QPointF(0, 0.5)});
    QCOMPARE(line.Crossing(from, to), reversed);
    // A person walking up through the default arch is counted in, once.
    PeopleSim people(0, 1);
    people.SetAutoSpawn(false);
    people.AddPerson(0.5, 0.95, 0, -0.5);
    for (int i = 0; i < 40; ++i)
        people.Step(0.05);
    QCOMPARE(people.InCount(), 1);
    QCOMPARE(people.OutCount(), 0);
}

void TestDevsim::errorModel_data()
{
    QTest::addColumn<double>("miss");
    QTest::addColumn<double>("extra");
    QTest::addColumn<int>("counted");
    QTest::newRow("no errors") << 0.0 << 0.0 << 1;
    QTest::newRow("always missed") << 1.0 << 0.0 << 0;
    QTest::newRow("always twice") << 0.0 << 1.0 << 2;
    QTest::newRow("missed and added") << 1.0 << 1.0 << 1;
}

// The device's count follows the error model; the truth and the log do not.
void TestDevsim::errorModel()
{
    QFETCH(double, miss);
    QFETCH(double, extra);
    QFETCH(int, counted);
    PeopleSim people(1, 7, SimErrorModel{miss, extra});
    people.SetAutoSpawn(false);
    people.AddPerson(0.5, 0.95, 0, -0.5); // up through the arch: in
    people.AddPerson(0.5, 0.3, 0, 0.5);   // down: out
    for (int i = 0; i < 40; ++i)
        people.Step(0.05);
    QCOMPARE(people.TrueInCount(), 1);
    QCOMPARE(people.TrueOutCount(), 1);
    QCOMPARE(people.InCount(), counted);
    QCOMPARE(people.OutCount(), counted);
    const std::vector<SimCrossing> log = people.TakeCrossings();
    QCOMPARE(int(log.size()), 2);
    QCOMPARE(log[0].passId, 1);
    QCOMPARE(log[0].counted, counted);
    QCOMPARE(log[0].in == log[1].in, false);
    QVERIFY(people.TakeCrossings().empty());
}

namespace {

SimOptions quickOptions()
{
    SimOptions o;
    o.port = 0;
    o.passes = 2;
    o.width = 160;
    o.height = 120;
    o.rebootDelayMs = 100;
    return o;
}

KoDecodedMessage decoded(const QByteArray& body)
{
    KoDecodedMessage m;
    KoMessageDecoder::Decode(body, m);
    return m;
}

QByteArray unitRequest(int32_t code, const cntsys::CntObj& record)
{
    std::vector<uint8_t> bytes = {0, 0, 0, static_cast<uint8_t>(code)};
    record.Serialize(bytes, false);
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), int(bytes.size()));
}

} // namespace

void TestDevsim::answers()
{
    SimServer server(quickOptions(), [](const QString&) {});
    QString error;
    QVERIFY2(server.Start(error), qPrintable(error));
    Peer peer;
    QVERIFY(peer.connectTo(server.Port()));

    peer.send(KoMessageEncoder::CameraNums(1, {7, 8}));
    KoDecodedMessage m = decoded(peer.waitFor(12));
    QCOMPARE(m.cameraNums.passId, 1);
    QCOMPARE(m.cameraNums.nums.right, 8);

    KoStatisticsData start, end;
    start.year = 26, start.month = 3, start.day = 5, start.hour = 21;
    end = start, end.day = 6;
    peer.send(KoMessageEncoder::StatRequest(0, start, end, STAT_INCOMING, STAT_DAY));
    m = decoded(peer.waitFor(7));
    QCOMPARE(m.statistic.samples.size(), 24);
    QCOMPARE(int(m.statistic.samples[0].hour), 21);
    QCOMPARE(int(m.statistic.samples[3].day), 6); // 00h of the next day
    const int first = m.statistic.samples[0].count;
    peer.send(KoMessageEncoder::StatRequest(0, start, end, STATISTICS_TYPE(2), STAT_DAY));
    m = decoded(peer.waitFor(8));
    QCOMPARE(m.statisticAll.groups.size(), 2);
    QCOMPARE(m.statisticAll.groups[0][0].count, first); // the same hour, the same count

    peer.send(KoMessageEncoder::StartRecord(0, 30));
    m = decoded(peer.waitFor(10));
    QCOMPARE(m.recordAnswer.kind, 2);
    QCOMPARE(m.recordAnswer.result, 30);

    // Pictures and objects flow once a view mode asks for a camera.
    peer.send(KoMessageEncoder::ViewMode(1, 2));
    m = decoded(peer.waitFor(1));
    QCOMPARE(m.image.passId, 1);
    QCOMPARE(m.image.imageId, 2);
    QCOMPARE(m.image.rate, 1500);
    QVERIFY(!peer.waitFor(2).isEmpty());
}

void TestDevsim::lanOutsideLoopbackIsRefused()
{
    SimServer server(quickOptions(), [](const QString&) {});
    QString error;
    QVERIFY(server.Start(error));
    Peer peer;
    QVERIFY(peer.connectTo(server.Port()));
    cntsys::LANParams lan;
    lan.ip = 0xC0A8000A; // 192.168.0.10
    lan.port = 5000;
    peer.send(unitRequest(47, lan));
    cntsys::AckMessage ack;
    QByteArray reply = peer.waitFor(48);
    QVERIFY(ack.Deserialize(reinterpret_cast<const uint8_t*>(reply.constData()), reply.size(), 4));
    QVERIFY(ack.status != 0);
    QCOMPARE(server.Device().Unit().Lan().ip, 0x7F000001u);
}

QTEST_GUILESS_MAIN(TestDevsim)
#include "tst_devsim.moc"
