// The pure codec of the device link: framing, payload encodings, decoders.

#include "tests/support/frame_bodies.h"

#include "ko_device_encoder.h"
#include "ko_frame_escaper.h"
#include "ko_frame_parser.h"
#include "ko_message_decoder.h"
#include "ko_message_encoder.h"
#include "ko_request_decoder.h"
#include "ko_wire.h"

#include <QRandomGenerator>
#include <QtTest>

namespace {

// Feeds the chunks in order and collects every complete body.
QList<QByteArray> ParseChunks(KoFrameParser& parser, const QList<QByteArray>& chunks)
{
    QList<QByteArray> bodies;
    for (const QByteArray& chunk : chunks)
        AppendFrameBodies(parser, chunk, bodies);
    return bodies;
}

QList<QByteArray> Parse(const QByteArray& stream)
{
    KoFrameParser parser;
    return ParseChunks(parser, {stream});
}

// The receiving rules one byte at a time, as the reference the bulk parser
// must agree with. Bytes outside a frame are never a frame, whatever they
// unescape to.
struct BytewiseParser
{
    QByteArray buffer;
    bool inFrame = false;
    bool escaped = false;
    int bad = 0;
    QList<QByteArray> bodies;

    void Feed(const QByteArray& bytes)
    {
        for (const char c : bytes) {
            const auto b = static_cast<uint8_t>(c);
            if (b == 0xAA) {
                buffer.clear();
                inFrame = true;
                escaped = false;
            } else if (b == 0xAB) {
                if (inFrame)
                    bodies.append(buffer);
                else if (!buffer.isEmpty())
                    ++bad;
                buffer.clear();
                inFrame = false;
                escaped = false;
            } else if (b == 0xA0) {
                buffer.append(c);
                escaped = true;
            } else if (escaped && (b == 0x00 || b == 0x0A || b == 0x0B)) {
                buffer[buffer.size() - 1] = static_cast<char>(b == 0x00   ? 0xA0
                                                              : b == 0x0A ? 0xAA
                                                                          : 0xAB);
                escaped = false;
            } else {
                buffer.append(c);
                escaped = false;
            }
        }
    }
};

using Result = KoDecodedMessage::Result;

} // namespace

Q_DECLARE_METATYPE(KoFrameEscaper::Mode)

class TstProtocol : public QObject
{
    Q_OBJECT

private slots:
    void escapeModes_data();
    void escapeModes();
    void everySplitPosition();
    void bulkAgreesWithBytewise_data();
    void bulkAgreesWithBytewise();
    void oversizedFrameDropped();
    void bufferShrinksBack();
    void encoderArithmetic();
    void requestsDecodeBack();
    void deviceMessagesDecode();
    void refusals_data();
    void refusals();
};

void TstProtocol::escapeModes_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<KoFrameEscaper::Mode>("mode");
    QTest::addColumn<QByteArray>("expected");

    const QByteArray special = Hex("A0AAAB01");
    QTest::newRow("whole") << special << KoFrameEscaper::Whole << Hex("AAA000A00AA00B01AB");
    QTest::newRow("start only") << special << KoFrameEscaper::StartOnly << Hex("AAA000A00AA00B01");
    QTest::newRow("end only") << special << KoFrameEscaper::EndOnly << Hex("A000A00AA00B01AB");
    QTest::newRow("body only") << special << KoFrameEscaper::BodyOnly << Hex("A000A00AA00B01");
    QTest::newRow("neighbours pass")
        << Hex("9FA1A9ACFF00") << KoFrameEscaper::Whole << Hex("AA9FA1A9ACFF00AB");
    QTest::newRow("escape runs") << Hex("A0A0") << KoFrameEscaper::Whole << Hex("AAA000A000AB");
    QTest::newRow("empty whole") << QByteArray() << KoFrameEscaper::Whole << QByteArray();
}

void TstProtocol::escapeModes()
{
    QFETCH(QByteArray, body);
    QFETCH(KoFrameEscaper::Mode, mode);
    QFETCH(QByteArray, expected);
    QByteArray out("x");
    KoFrameEscaper::Escape(body, mode, out);
    QCOMPARE(out.toHex(), (QByteArray("x") + expected).toHex());
}

void TstProtocol::everySplitPosition()
{
    // Two frames full of escapes, a stray end byte and garbage between them.
    const QByteArray a = Hex("A0AAAB01A00BA0");
    const QByteArray b = Hex("0000000DAAABA0");
    const QByteArray stream =
        Hex("AB") + KoFrameEscaper::Frame(a) + Hex("0102AB") + KoFrameEscaper::Frame(b);
    for (int i = 0; i <= stream.size(); ++i) {
        for (int j = i; j <= stream.size(); ++j) {
            KoFrameParser parser;
            const auto bodies =
                ParseChunks(parser, {stream.left(i), stream.mid(i, j - i), stream.mid(j)});
            QCOMPARE(bodies, (QList<QByteArray>{a, b}));
            QCOMPARE(parser.BadFrames(), quint64(1));
        }
    }
}

void TstProtocol::bulkAgreesWithBytewise_data()
{
    QTest::addColumn<bool>("fastPath");
    QTest::addColumn<int>("frameBytePercent");
    // Frame bytes often: every rule and every order of them. Rarely: long
    // runs dense in escapes, which the block paths take.
    QTest::newRow("portable, short frames") << false << 25;
    QTest::newRow("portable, long frames") << false << 1;
    QTest::newRow("block path, short frames") << true << 25;
    QTest::newRow("block path, long frames") << true << 1;
}

void TstProtocol::bulkAgreesWithBytewise()
{
    QFETCH(bool, fastPath);
    QFETCH(int, frameBytePercent);
    KoFrameParser::SetFastPathAllowed(fastPath);
    for (quint32 seed = 1; seed <= 200; ++seed) {
        QRandomGenerator gen(seed);
        static const char alphabet[] = {char(0xA0), 0x00,       0x0A,       0x0B,
                                        0x01,       char(0xA1), char(0xA0), 0x0A};
        QByteArray stream(int(gen.bounded(1, 2000)), Qt::Uninitialized);
        for (char& c : stream) {
            if (int(gen.bounded(100)) < frameBytePercent)
                c = gen.bounded(2) ? char(0xAA) : char(0xAB);
            else
                c = gen.bounded(4) == 0 ? char(gen.bounded(256)) : alphabet[gen.bounded(8)];
        }
        BytewiseParser reference;
        reference.Feed(stream);
        KoFrameParser parser;
        QList<QByteArray> chunks;
        for (int at = 0; at < stream.size();) {
            const int n = int(gen.bounded(1, 300));
            chunks.append(stream.mid(at, n));
            at += n;
        }
        QCOMPARE(ParseChunks(parser, chunks), reference.bodies);
        QCOMPARE(parser.BadFrames(), quint64(reference.bad));
    }
    KoFrameParser::SetFastPathAllowed(true);
}

void TstProtocol::oversizedFrameDropped()
{
    KoFrameParser parser(16);
    const QByteArray fits(16, 'x');
    const QByteArray stream = KoFrameEscaper::Frame(QByteArray(17, 'y')) + Hex("AB") +
                              KoFrameEscaper::Frame(fits) + Hex("AA") + QByteArray(100, 'z') +
                              KoFrameEscaper::Frame(Hex("A0A0"));
    QCOMPARE(ParseChunks(parser, {stream}), (QList<QByteArray>{fits, Hex("A0A0")}));
    QCOMPARE(parser.OversizedFrames(), quint64(2));
    // The end byte of a dropped frame is not reported as bad data again.
    QCOMPARE(parser.BadFrames(), quint64(0));
}

void TstProtocol::bufferShrinksBack()
{
    KoFrameParser parser;
    const int big = 8 << 20;
    QCOMPARE(ParseChunks(parser, {KoFrameEscaper::Frame(QByteArray(big, 'x'))}).size(), 1);
    QVERIFY(parser.BufferCapacity() >= big);
    QByteArray small;
    for (int i = 0; i < 63; ++i)
        small += KoFrameEscaper::Frame(QByteArray(100, 's'));
    // Pictures of that size may come again soon: kept among small frames...
    QCOMPARE(ParseChunks(parser, {small}).size(), 63);
    QVERIFY(parser.BufferCapacity() >= big);
    // ... but not once a whole run of frames needed far less.
    QCOMPARE(ParseChunks(parser, {small + KoFrameEscaper::Frame("s")}).size(), 64);
    QVERIFY(parser.BufferCapacity() < 64 * 1024);

    // A frame dropped for its size lets its memory go at once.
    KoFrameParser capped(1 << 20);
    QCOMPARE(ParseChunks(capped, {KoFrameEscaper::Frame(QByteArray(2 << 20, 'y'))}).size(), 0);
    QVERIFY(capped.BufferCapacity() < 64 * 1024);
}

void TstProtocol::encoderArithmetic()
{
    // Coordinates in thousandths: toward zero, clamped.
    QCOMPARE(KoMessageEncoder::ToMilli(0.2509), 250);
    QCOMPARE(KoMessageEncoder::ToMilli(-0.2509), -250);
    QCOMPARE(KoMessageEncoder::ToMilli(1e12), std::numeric_limits<int32_t>::max());
    // The update frame's bytes are the link suite's; here the sum, its 32-bit
    // wrap, and the device's side checking it.
    const QByteArray sw = Hex("01FFA0");
    QCOMPARE(KoMessageEncoder::SwChecksum(sw), -96);
    const QByteArray big(20000000, char(0x7F));
    QCOMPARE(KoMessageEncoder::SwChecksum(big), int32_t(uint32_t(20000000u * 127u)));
    KoDecodedRequest request;
    QCOMPARE(KoRequestDecoder::Decode(Parse(KoMessageEncoder::SwUpdateFrame(sw)).value(0), request),
             KoDecodedRequest::Result::Decoded);
    QVERIFY(request.swChecksumOk);
    QCOMPARE(request.sw, sw);
}

void TstProtocol::requestsDecodeBack()
{
    KoDecodedRequest r;
    using R = KoDecodedRequest::Result;
    QCOMPARE(KoRequestDecoder::Decode(KoMessageEncoder::StartRecord(2, 300), r), R::Decoded);
    QCOMPARE(r.recordFrames, 300);
    QCOMPARE(KoRequestDecoder::Decode(KoMessageEncoder::ModemSettings({"a", "bc"}), r), R::Decoded);
    QCOMPARE(r.settings, (QStringList{"a", "bc"}));
    QCOMPARE(KoRequestDecoder::Decode(KoMessageEncoder::Reboot(), r), R::Decoded);
    QVERIFY(r.rebootMagicOk);
    QCOMPARE(KoRequestDecoder::Decode(I32(19) + I32(0x7fffffff), r), R::Dropped);
    QCOMPARE(KoRequestDecoder::Decode(I32(17) + I32(100) + Hex("0102"), r), R::Dropped);
}

// What the link suite's round trip cannot see: the bytes on the wire and
// fields its signals do not carry.
void TstProtocol::deviceMessagesDecode()
{
    KoDecodedMessage msg;
    KoStatisticsData a, b;
    a.year = b.year = 19, a.month = b.month = 6, a.day = b.day = 18, a.hour = 4, b.hour = 5;
    a.count = 0x01020304, b.count = -1;
    KoStatisticsAlarmData alarm;
    alarm.time = 1560830400, alarm.value2 = -2.25;
    const QByteArray stat =
        KoDeviceEncoder::Statistic(1, STAT_OUTCOMING, STAT_DAY, {a, b}, {alarm}, 99);
    QCOMPARE(stat.size(), 22 + 16 + 28);
    QCOMPARE(stat.mid(22, 16).toHex(), Hex("1306120404030201 13061205FFFFFFFF").toHex());
    QCOMPARE(KoMessageDecoder::Decode(stat, msg), Result::Decoded);
    QCOMPARE(msg.statistic.samples[1].count, -1);
    QCOMPARE(msg.statistic.alarms[0].time, alarm.time);
    QCOMPARE(msg.statistic.alarms[0].value2, -2.25);

    KoDeviceEncoder::ImageHeader h;
    h.rate = 2550, h.width = 4, h.height = 2, h.lineStep = 4;
    const QByteArray pixels = Hex("0102030405060708");
    const QByteArray image = KoDeviceEncoder::Image(h, pixels);
    QCOMPARE(image.size(), 68 + 8);
    QCOMPARE(KoMessageDecoder::Decode(image, msg), Result::Decoded);
    QCOMPARE(msg.payloadSize, qsizetype(72));
    QCOMPARE(msg.image.Fps(), 25.5f);
    QCOMPARE(QByteArray(msg.image.data, int(msg.image.dataLength)), pixels);

    KoObjectData o;
    o.stamp = -5000000000LL, o.trackLength = 21, o.aux6 = -4;
    QCOMPARE(KoMessageDecoder::Decode(KoDeviceEncoder::TrackedObjects(1, {o, o}, 3, 4), msg),
             Result::Decoded);
    QCOMPARE(msg.tracking.objects[1].stamp, o.stamp);
    QCOMPARE(msg.tracking.objects[1].aux6, -4);

    // Fields missing at the end of a shorter body read as zero.
    QCOMPARE(KoMessageDecoder::Decode(I32(3) + I32(1) + I32(250), msg), Result::Decoded);
    QCOMPARE(msg.mountData.options.camMountHeight, 250);
    QCOMPARE(msg.mountData.options.etalonHeight, 0);
    QCOMPARE(KoMessageDecoder::Decode(KoDeviceEncoder::Recorded(1, -3), msg), Result::Decoded);
    QCOMPARE(msg.recordAnswer.kind, 2);
    QCOMPARE(KoMessageDecoder::Decode(I32(45) + Hex("0102"), msg), Result::Unknown);
    QCOMPARE(msg.payloadSize, qsizetype(2));
}

void TstProtocol::refusals_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("result");
    for (const auto& refused : RefusedBodies())
        QTest::newRow(refused.first) << refused.second << int(Result::Dropped);
    QTest::newRow("no type code") << Hex("000001") << int(Result::Empty);
}

void TstProtocol::refusals()
{
    QFETCH(QByteArray, body);
    QFETCH(int, result);
    KoDecodedMessage msg;
    QCOMPARE(int(KoMessageDecoder::Decode(body, msg)), result);
}

QTEST_APPLESS_MAIN(TstProtocol)
#include "tst_protocol.moc"
