#include "tests/support/devsim_process.h"

#include "ko_frame_escaper.h"
#include "ko_frame_parser.h"
#include "ko_message_decoder.h"
#include "ko_message_encoder.h"

#include <QDataStream>
#include <QTcpSocket>
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
    void pump()
    {
        const QByteArray data = socket.readAll();
        const char* p = data.constData();
        qsizetype left = data.size();
        while (left > 0) {
            const qsizetype used = parser.Feed(p, left);
            p += used;
            left -= used;
            if (parser.HasFrame()) {
                bodies.append(QByteArray(parser.BodyData(), int(parser.BodySize())));
                parser.ReleaseFrame();
            }
        }
    }
    static int32_t codeOf(const QByteArray& body)
    {
        QDataStream in(body);
        int32_t code = 0;
        in >> code;
        return code;
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
    void processAnswersTheConnectionRequest();
};

void TestDevsim::processAnswersTheConnectionRequest()
{
    DevsimProcess sim;
    QVERIFY(sim.start({QStringLiteral("--passes"), QStringLiteral("2")}));
    Peer peer;
    QVERIFY(peer.connectTo(sim.port()));
    peer.send(KoMessageEncoder::ConnectedRequest());
    KoDecodedMessage m;
    QCOMPARE(KoMessageDecoder::Decode(peer.waitFor(14), m), KoDecodedMessage::Result::Decoded);
    QCOMPARE(m.passCount, 2);
    for (const int32_t code : {4, 3, 12})
        QVERIFY(!peer.waitFor(code).isEmpty());
}

QTEST_GUILESS_MAIN(TestDevsim)
#include "tst_devsim.moc"
