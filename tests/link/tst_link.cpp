// The device link over loopback: reader thread, client, watchdog, reconnection.

#include "../support/frame_bodies.h"
#include "../support/wait_for.h"
#include "fake_device.h"
#include "ko_device_encoder.h"
#include "ko_frame_escaper.h"
#include "ko_tcp_client.h"
#include "ko_tcp_data_reader.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QtTest>
#include <type_traits>

#include <functional>

namespace {

constexpr int Period = 150; // watchdog period of the tests, ms

QByteArray Frame(const QByteArray& body)
{
    return KoFrameEscaper::Frame(body);
}

// The label and the values, joined by blanks.
template <typename... A>
QString Line(const QString& label, const A&... values)
{
    QStringList parts{label};
    (parts << ... << QVariant(values).toString());
    return parts.join(' ');
}

// Writes one line per signal of a link (client or reader) into log.
template <typename Link>
void Record(Link* link, QObject* context, QStringList& log, Qt::ConnectionType blocking)
{
    const auto on = [&](Qt::ConnectionType type, auto signal, auto slot) {
        QObject::connect(link, signal, context, slot, type);
        // As the client does: the reader learns that its arguments were used.
        if constexpr (std::is_same_v<Link, KoTcpDataReader>) {
            if (type == Qt::BlockingQueuedConnection)
                QObject::connect(link, signal, context, [link] { link->HandedOver(); }, type);
        }
    };
    int n = 0;
    for (auto signal : {&Link::eImageRecieved0, &Link::eImageRecieved1, &Link::eImageRecieved2,
                        &Link::eImageRecieved3}) {
        on(blocking, signal,
           [&log, n = n++](int pass_id, int in_cnt, int out_cnt, float fps, int id, QImage& im) {
               log << Line(QStringLiteral("image%1").arg(n), pass_id, in_cnt, out_cnt, fps, id,
                           QStringLiteral("%1x%2").arg(im.width()).arg(im.height()),
                           im.isNull() ? QStringLiteral("null")
                                       : QString::number(im.pixel(0, 0), 16));
           });
    }
    on(blocking, &Link::eTrackingObjectsRecieved,
       [&log](int pass_id, const std::vector<KoObjectData>& objects, int in_cnt, int out_cnt) {
           QStringList ids;
           for (const KoObjectData& o : objects)
               ids << QStringLiteral("%1@%2,%3/%4").arg(o.id).arg(o.x).arg(o.y).arg(o.state);
           log << Line("objects", pass_id, in_cnt, out_cnt, ids.join(' '));
       });
    on(blocking, &Link::eUserParamsRecieved, [&log](int pass_id, const KoUserParams& p) {
        QStringList pts;
        for (const QPointF& pt : p.line)
            pts << QStringLiteral("%1,%2").arg(pt.x()).arg(pt.y());
        const QRectF& z = p.zone;
        log << Line(
            "params", pass_id, p.count, pts.join(' '),
            QStringLiteral("%1,%2,%3,%4").arg(z.x()).arg(z.y()).arg(z.width()).arg(z.height()));
    });
    on(blocking, &Link::eMountDataRecieved, [&log](int pass_id, const ClientOptions& o) {
        log << Line("mount", pass_id, o.camMountHeight, o.etalonHeight);
    });
    on(blocking, &Link::eDispOptionsRecieved, [&log](int pass_id, const KoDispConvertOptions& o) {
        log << Line("disp", pass_id, o.value1, o.value2, o.value3, o.value4, o.value5);
    });
    on(blocking, &Link::eStatisticRecieved,
       [&log](int pass_id, const QVector<KoStatisticsData>& samples,
              const QVector<KoStatisticsAlarmData>& alarms, STATISTICS_ID sid,
              STATISTICS_TYPE stype) {
           log << Line("stat", pass_id, samples.size(),
                       samples.isEmpty() ? 0 : samples.last().count, alarms.size(), int(sid),
                       int(stype));
       });
    on(blocking, &Link::eStatisticAllRecieved,
       [&log](int pass_id, const QVector<QVector<KoStatisticsData>>& groups, STATISTICS_ID sid,
              const QVector<STATISTICS_TYPE>& types) {
           log << Line("statall", pass_id, groups.size(), int(sid),
                       types.isEmpty() ? -1 : int(types.last()));
       });
    on(blocking, &Link::eStopRecord, [&log](int pass_id) { log << Line("stopped", pass_id); });
    on(blocking, &Link::eRecorded,
       [&log](int pass_id, int result) { log << Line("recorded", pass_id, result); });
    on(blocking, &Link::eCameraOptionsRecieved,
       [&log](int pass_id, int result, const KoCameraNums& n) {
           log << Line("cameras", pass_id, result, n.left, n.right);
       });
    const auto plain = Qt::AutoConnection; // not waited for
    on(plain, &Link::eConnectedAns, [&log](int n) { log << Line("passes", n); });
    on(plain, &Link::eUpdateFinished, [&log](int n) { log << Line("updated", n); });
    on(plain, &Link::eModemSettingsAck,
       [&log](QStringList s, int ack) { log << Line("modem", ack, s.join('|')); });
    on(plain, &Link::eIpServerAck,
       [&log](QStringList s, int ack) { log << Line("server", ack, s.join('|')); });
    on(plain, &Link::eRebootAck, [&log] { log << QStringLiteral("rebooted"); });
    on(plain, &Link::eFilesCountInfo, [&log](int pass_id, int counted, int total, QString name) {
        log << Line("files", pass_id, counted, total, name);
    });
    on(plain, &Link::eMessageReceived,
       [&log](uint code, QByteArray data) { log << Line("msg", code, data.size()); });
}

struct Traffic
{
    QByteArray stream;
    QStringList log;

    void Add(const QByteArray& body, const QStringList& lines)
    {
        stream += Frame(body);
        // A picture's generic signal carries its code alone.
        const qint32 code = qFromBigEndian<qint32>(body.constData());
        if (body.size() >= 4)
            log << Line("msg", code, code == 1 ? 0 : body.size() - 4);
        log << lines;
    }
};

// One message of every kind the device sends, with the lines they must give.
Traffic EveryMessage()
{
    Traffic t;
    KoDeviceEncoder::ImageHeader h;
    h.passId = 2, h.inCount = 7, h.outCount = 8, h.rate = 1250, h.imageId = 99, h.width = 2,
    h.height = 1, h.lineStep = 6;
    t.Add(KoDeviceEncoder::Image(h, Hex("0A141E000000")), {"image2 2 7 8 12.5 99 2x1 ff1e140a"});
    h.passId = 5; // no panel for it: parsed, nothing emitted
    t.Add(KoDeviceEncoder::Image(h, Hex("0A141E000000")), {});
    h.passId = 0, h.lineStep = 2;
    t.Add(KoDeviceEncoder::Image(h, Hex("AAAB")), {"image0 0 7 8 12.5 99 2x1 ffaaaaaa"});
    KoObjectData o;
    o.id = 4, o.x = 10, o.y = 20, o.state = 2;
    t.Add(KoDeviceEncoder::TrackedObjects(3, {o, o}, 1, 2), {"objects 3 1 2 4@10,20/2 4@10,20/2"});
    ClientOptions mount;
    mount.camMountHeight = 230, mount.etalonHeight = 180;
    t.Add(KoDeviceEncoder::MountData(1, mount), {"mount 1 230 180"});
    KoUserParams p;
    p.line = {QPointF(0.25, 0.5), QPointF(0.75, 0.5)}, p.count = 2,
    p.zone = QRectF(0.1, 0.2, 0.5, 0.25);
    t.Add(KoDeviceEncoder::UserParams(0, p), {"params 0 2 0.25,0.5 0.75,0.5 0.1,0.2,0.5,0.25"});
    KoDispConvertOptions d;
    d.value1 = 1, d.value2 = -2, d.value3 = 3.5f, d.value4 = 0.25f, d.value5 = 6;
    t.Add(KoDeviceEncoder::DispOptions(2, d), {"disp 2 1 -2 3.5 0.25 6"});
    KoStatisticsData s;
    s.count = 0x01020304;
    t.Add(
        KoDeviceEncoder::Statistic(1, STAT_OUTCOMING, STAT_DAY, {s, s}, {KoStatisticsAlarmData()}),
        {"stat 1 2 16909060 1 2 1"});
    t.Add(KoDeviceEncoder::StatisticAll(0, {{s}, {s, s}}, {STAT_INCOMING, STAT_OUTCOMING},
                                        {STAT_DAY, STAT_MONTH}),
          {"statall 0 2 1 1"});
    t.Add(KoDeviceEncoder::Recorded(1, 5), {"recorded 1 5"});
    t.Add(KoDeviceEncoder::RecordStopped(2), {"stopped 2"});
    t.Add(KoDeviceEncoder::CameraNumsAnswer(3, 1, {11, 12}), {"cameras 3 1 11 12"});
    t.Add(KoDeviceEncoder::ConnectedAnswer(4), {"passes 4"});
    t.Add(KoDeviceEncoder::UpdateFinished(100), {"updated 100"});
    t.Add(KoDeviceEncoder::ModemSettingsAck(1, {"internet", "user"}), {"modem 1 internet|user"});
    t.Add(KoDeviceEncoder::IpServerAck(-3, {"10.1.1.1"}), {"server -3 10.1.1.1"});
    t.Add(KoDeviceEncoder::RebootAck(), {"rebooted"});
    t.Add(KoDeviceEncoder::FilesCountInfo(1, 50, 100, "v.avi"), {"files 1 50 100 v.avi"});
    QByteArray unit =
        Hex("0000002D") + QByteArray(3, 'u'); // a system-unit code: only the generic signal
    t.Add(unit, {});
    return t;
}

// Frames the decoder refuses, and damage between frames; none of it may
// emit more than the generic signal.
Traffic Malformed()
{
    Traffic t;
    t.stream += Hex("0102AB"); // garbage up to an end byte
    t.stream += Hex("AA0102"); // a frame cut by the next start byte
    for (const auto& refused : RefusedBodies())
        t.Add(refused.second, {});
    t.Add(Hex("000001"), {}); // no type code: not even the generic signal
    KoDeviceEncoder::ImageHeader h;
    h.width = 100, h.height = 100, h.lineStep = 100;
    t.Add(KoDeviceEncoder::Image(h, QByteArray(10, 'x')), {}); // raw lines missing
    return t;
}

using Call = std::function<bool(KoTcpClient&)>;

} // namespace

Q_DECLARE_METATYPE(Call)

class TstLink : public QObject
{
    Q_OBJECT

private slots:
    void readerSplitsAtEveryPosition();
    void requestFrames_data();
    void requestFrames();
    void droppedAndReconnected();
    void reconnectToNewTarget();
    void replayInsteadOfTheSocket();
    void backPressureKeepsTheLink();
    void undeliveredMessagesBounded_data();
    void undeliveredMessagesBounded();
    void destroyWhileStreaming();
};

void TstLink::readerSplitsAtEveryPosition()
{
    Traffic every = EveryMessage();
    Traffic bad = Malformed();
    const QByteArray stream = bad.stream + every.stream;
    const QStringList once = bad.log + every.log;

    QStringList log;
    QStringList expected;
    QObject context;
    auto* reader = new KoTcpDataReader(nullptr);
    QPointer<KoTcpDataReader> guard(reader);
    Record(reader, &context, log, Qt::BlockingQueuedConnection);
    // Two frames share a chunk everywhere; the split runs through every byte.
    for (int i = 0; i <= stream.size(); ++i) {
        reader->Push(stream.left(i));
        reader->Push(stream.mid(i));
        expected << once;
    }
    QVERIFY(WaitFor([&] { return log.size() >= expected.size(); }, 60000));
    // Stop drops the queue: the thread wakes for the next chunk and waits in its
    // emission, since this thread runs no events; the chunk after it is queued.
    reader->Push(Frame(KoDeviceEncoder::Recorded(1, 5)));
    for (int ms = 0; reader->QueuedBytes() != 0 && ms < 10000; ++ms)
        QThread::msleep(1);
    reader->Push(Frame(KoDeviceEncoder::RecordStopped(2)));
    reader->Stop();
    QVERIFY(WaitFor([&] { return guard.isNull(); })); // it deletes itself when its thread ends
    QCoreApplication::processEvents();
    QCOMPARE(log, expected + QStringList({"msg 10 12", "recorded 1 5"}));
}

void TstLink::requestFrames_data()
{
    QTest::addColumn<Call>("call");
    QTest::addColumn<QByteArray>("frame");

    ClientOptions o;
    o.camMountHeight = 250;
    o.headSize = 170; // 0xAA: escaped
    QTest::newRow("options")
        << Call([o](KoTcpClient& c) { return c.SendClientOptions(1, o); })
        << Hex("AA 00000003 00000001 000000FA 00000000 00000000 00000000 00000000 00000000"
               "000000A00A 00000000 00000000 00000000 AB");
    KoUserParams p;
    p.line = {QPointF(0.5, 0.25)}, p.count = 1, p.zone = QRectF(0, 0, 1, 1);
    QTest::newRow("user params")
        << Call([p](KoTcpClient& c) { return c.SendUserParams(2, p); })
        << Hex("AA 00000004 00000002 00000001 000001F4 000000FA 00000000 00000000 000003E8 "
               "000003E8 AB");
    KoStatisticsData from;
    from.year = 19, from.month = 6, from.day = 18, from.hour = 4, from.count = 5;
    KoStatisticsData to = from;
    to.day = 19, to.count = -2;
    QTest::newRow("stat request") << Call([from, to](KoTcpClient& c) {
        return c.SendStatReq(3, from, to, STAT_OUTCOMING, STAT_DAY);
    }) << Hex("AA 00000006 00000003 01 02 13061204 00000005 13061304 FFFFFFFE AB");
    QTest::newRow("record") << Call([](KoTcpClient& c) { return c.WriteVideo(1, 500); })
                            << Hex("AA 00000009 00000001 00000000 000001F4 AB");
    QTest::newRow("stop record") << Call([](KoTcpClient& c) { return c.StopRecord(3); })
                                 << Hex("AA 00000009 00000003 00000001 AB");
    QTest::newRow("cameras") << Call([](KoTcpClient& c) {
        return c.SendCameraNums(2, {160, 161});
    }) << Hex("AA 0000000B 00000002 000000A000 000000A1 AB");
    QTest::newRow("update") << Call([](KoTcpClient& c) { return c.SendSwUpdate(Hex("01FFA0")); })
                            << Hex("AA 00000011 00000003 01FFA000 FFFFFFA000 AB");
    QTest::newRow("modem") << Call([](KoTcpClient& c) { return c.SendModemSettings({"ab"}); })
                           << Hex("AA 00000013 00000001 00000002 6162 AB");
    QTest::newRow("server") << Call([](KoTcpClient& c) {
        return c.SendServerIpSettings({"1", ""});
    }) << Hex("AA 00000015 00000002 00000001 31 00000000 AB");
    QTest::newRow("reboot") << Call([](KoTcpClient& c) { return c.SendReboot(); })
                            << Hex("AA 00000027 A1B1C1D1 AB");
    QTest::newRow("view mode") << Call([](KoTcpClient& c) { return c.SendViewMode(3, 2); })
                               << Hex("AA 0000002A 00000003 00000002 AB");
    QTest::newRow("generic") << Call([](KoTcpClient& c) {
        return c.SendMessage(Hex("00000031 AB"));
    }) << Hex("AA 00000031 A00B AB");
}

void TstLink::requestFrames()
{
    QFETCH(Call, call);
    QFETCH(QByteArray, frame);
    FakeDevice device;
    QVERIFY(device.Listen());
    KoTcpClient client(nullptr, "127.0.0.1", device.Port(), Period);
    QTRY_VERIFY(device.Connected() && client.TestConnected());
    QVERIFY(call(client));
    QTRY_COMPARE(device.received.toHex(' '), frame.toHex(' '));
}

void TstLink::droppedAndReconnected()
{
    FakeDevice device;
    QVERIFY(device.Listen());
    // An empty host name means the local host.
    KoTcpClient client(nullptr, QString(), device.Port(), Period);
    QSignalSpy connected(&client, &KoTcpClient::eConnected);
    QSignalSpy disconnected(&client, &KoTcpClient::eDisconnected);
    QElapsedTimer timer; // from the first connection, not from when the test sees it
    connect(&client, &KoTcpClient::eConnected, this, [&timer] {
        if (!timer.isValid())
            timer.start();
    });
    QTRY_COMPARE(connected.count(), 1);
    // A silent device is dropped after one to two periods, and connected again.
    QTRY_COMPARE_WITH_TIMEOUT(disconnected.count(), 1, Period * 6);
    const qint64 silent = timer.elapsed();
    QVERIFY2(silent >= Period * 0.8 && silent <= Period * 2 + 100,
             qPrintable(QString::number(silent)));
    QTRY_COMPARE_WITH_TIMEOUT(device.connections, 2, Period * 4);
    QTRY_COMPARE(connected.count(), 2);

    // A device that keeps talking is never dropped.
    for (int i = 0; i < 8; ++i) {
        device.Send(Frame(KoDeviceEncoder::ConnectedAnswer(1)));
        QTest::qWait(Period / 3);
    }
    QCOMPARE(disconnected.count(), 1);
}

void TstLink::reconnectToNewTarget()
{
    FakeDevice first, second;
    QVERIFY(first.Listen());
    QVERIFY(second.Listen());
    KoTcpClient client(nullptr, "127.0.0.1", first.Port(), Period);
    QStringList log;
    QObject context;
    QTRY_VERIFY(first.Connected());
    QPointer<QTcpSocket> old_socket = client.findChild<QTcpSocket*>();
    QVERIFY(old_socket);
    QSignalSpy disconnected(&client, &KoTcpClient::eDisconnected);
    QSignalSpy target(&client, &KoTcpClient::eTargetChanged);

    client.Reconnect("127.0.0.1", second.Port());
    QTRY_VERIFY(second.Connected());
    QVERIFY(old_socket.isNull());
    // The old connection's end is told, and the new target.
    QCOMPARE(disconnected.count(), 1);
    QCOMPARE(target.count(), 1);
    QCOMPARE(target.at(0).at(1).value<ushort>(), second.Port());
    QCOMPARE(client.findChildren<QTcpSocket*>(QString(), Qt::FindDirectChildrenOnly).size(), 1);
    QCOMPARE(client.findChildren<QTimer*>(QString(), Qt::FindDirectChildrenOnly).size(), 1);
    QTRY_VERIFY(!first.Connected());

    // The new reader delivers every message the new device sends, and only them.
    Record(&client, &context, log, Qt::AutoConnection);
    const Traffic bad = Malformed();
    const Traffic every = EveryMessage();
    second.Send(bad.stream + every.stream);
    const QStringList expected = bad.log + every.log;
    QVERIFY(WaitFor([&] { return log.size() >= expected.size(); }));
    QCOMPARE(log, expected);
    QVERIFY(client.SendConnectedReq());
    QTRY_COMPARE(second.received, Hex("AA0000000DAB"));
    QCOMPARE(first.connections, 1);
}

// A replay feeds the reader instead of the socket: the connection ends and
// stays ended, nothing can be sent, a frame fed in two pieces comes whole, a
// jump drops a frame begun before it, and the end of the replay connects again.
void TstLink::replayInsteadOfTheSocket()
{
    FakeDevice device;
    QVERIFY(device.Listen());
    KoTcpClient client(nullptr, "127.0.0.1", device.Port(), Period);
    QTRY_VERIFY(device.Connected());
    QStringList log;
    QObject context;
    Record(&client, &context, log, Qt::AutoConnection);

    client.BeginReplay();
    QTRY_COMPARE(device.disconnections, 1);
    QVERIFY(!client.SendConnectedReq());
    const QByteArray three = Frame(KoDeviceEncoder::ConnectedAnswer(3));
    QVERIFY(client.FeedReplay(three.left(4)));
    QVERIFY(client.FeedReplay(three.mid(4)));
    QTRY_COMPARE(log, (QStringList{"msg 14 4", "passes 3"}));
    client.FeedReplay(three.left(4));
    client.RestartReplay();
    client.FeedReplay(three.mid(4));
    client.FeedReplay(Frame(KoDeviceEncoder::ConnectedAnswer(2)));
    QTRY_COMPARE(log.size(), 4);
    QCOMPARE(log.mid(2), (QStringList{"msg 14 4", "passes 2"}));
    QTest::qWait(Period * 3);
    QCOMPARE(device.connections, 1); // no watchdog came back meanwhile

    client.EndReplay();
    QVERIFY(!client.FeedReplay(three));
    QTRY_COMPARE(device.connections, 2);
}

void TstLink::backPressureKeepsTheLink()
{
    FakeDevice device;
    QVERIFY(device.Listen());
    KoTcpClient client(nullptr, "127.0.0.1", device.Port(), Period);
    client.SetQueueLimit(16 * 1024);
    QSignalSpy disconnected(&client, &KoTcpClient::eDisconnected);
    // A result box opened from the first picture: the reader waits in its
    // emission while the box runs its own loop, for many watchdog periods, so
    // reading must pause, and resume without losing a picture.
    int next = 0;
    bool in_order = true;
    connect(&client, &KoTcpClient::eImageRecieved0, this,
            [&](int, int, int, float, int id, QImage&) {
                in_order = in_order && id == next++;
                if (id != 0)
                    return;
                QEventLoop box;
                QTimer::singleShot(Period * 10, &box, &QEventLoop::quit);
                box.exec();
            });
    QTRY_VERIFY(device.Connected());
    KoDeviceEncoder::ImageHeader h;
    h.width = 64, h.height = 64, h.lineStep = 64;
    const int count = 1000; // 4 MiB
    QByteArray flood;
    for (h.imageId = 0; h.imageId < count; ++h.imageId)
        flood += Frame(KoDeviceEncoder::Image(h, QByteArray(64 * 64, char(0x40))));
    device.Send(flood);
    QVERIFY(WaitFor([&] { return next >= count; }, 60000));
    QVERIFY(in_order);
    QVERIFY(client.ReadPauses() > 0);
    QCOMPARE(disconnected.count(), 0);

    // Silent again, the device is dropped as before.
    QTRY_COMPARE_WITH_TIMEOUT(disconnected.count(), 1, Period * 20);
}

void TstLink::undeliveredMessagesBounded_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("held"); // waiting for the GUI thread at most
    QTest::newRow("small: by number") << 1000 << 16 << KoTcpDataReader::MaxUndeliveredMessages;
    QTest::newRow("large: by bytes") << 20 << 1024 * 1024 << 8;
    QTest::newRow("one beyond the bytes goes alone") << 3 << 9 * 1024 * 1024 << 1;
}

void TstLink::undeliveredMessagesBounded()
{
    QFETCH(int, count);
    QFETCH(int, size);
    QFETCH(int, held);
    auto* reader = new KoTcpDataReader(nullptr);
    QPointer<KoTcpDataReader> guard(reader);
    int next = 0;
    bool in_order = true;
    QObject context; // a failed row leaves nothing connected to its locals
    connect(reader, &KoTcpDataReader::eMessageReceived, &context, [&](uint code, QByteArray data) {
        in_order = in_order && code == 900 && data.size() == size &&
                   qFromBigEndian<qint32>(data.constData()) == next;
        ++next;
    });
    QByteArray flood;
    for (int i = 0; i < count; ++i) {
        QByteArray body = Hex("00000384") + QByteArray(size, char(0x5A));
        qToBigEndian<qint32>(i, body.data() + 4);
        flood += Frame(body);
    }
    reader->Push(flood);
    // This thread takes nothing now: the reader stops at the limit.
    for (int ms = 0; reader->UndeliveredMessages() < held && ms < 20000; ms += 5)
        QThread::msleep(5);
    QThread::msleep(50);
    QCOMPARE(reader->UndeliveredMessages(), held);
    QVERIFY(WaitFor([&] { return next >= count; }, 30000));
    QVERIFY(in_order);
    QCOMPARE(reader->UndeliveredMessages(), 0);
    reader->Stop();
    QVERIFY(WaitFor([&] { return guard.isNull(); }));
}

void TstLink::destroyWhileStreaming()
{
    FakeDevice device;
    QVERIFY(device.Listen());
    auto* client = new KoTcpClient(nullptr, "127.0.0.1", device.Port(), Period);
    int pictures = 0;
    connect(client, &KoTcpClient::eImageRecieved1, this,
            [&pictures](int, int, int, float, int, QImage&) { ++pictures; });
    QTRY_VERIFY(device.Connected());
    KoDeviceEncoder::ImageHeader h;
    h.passId = 1, h.width = 320, h.height = 240, h.lineStep = 320;
    const QByteArray frame = Frame(KoDeviceEncoder::Image(h, QByteArray(320 * 240, char(0x40))));
    QByteArray burst;
    for (int i = 0; i < 50; ++i)
        burst += frame;
    device.Send(burst);
    QTRY_VERIFY(pictures > 3);
    delete client; // reader in the middle of its blocking emissions
    const int seen = pictures;
    QTest::qWait(50);
    QCOMPARE(pictures, seen);
    QTRY_COMPARE(device.disconnections, 1);
}

QTEST_MAIN(TstLink)
#include "tst_link.moc"
