// The live-view container as far as the link goes: "network.txt", the
// connection request, connected and disconnected.

#include "../support/real_display.h"
#include "fake_device.h"
#include "ko_app_data.h"
#include "ko_client_mult_ui.h"
#include "ko_tcp_client.h"

#include <QFile>
#include <QSignalSpy>
#include <QtTest>

class TstClientMultUi : public QObject
{
    Q_OBJECT

private slots:
    void networkFile_data();
    void networkFile();
    void connectionRequestOnConnect();

private:
    static QString NetworkPath() { return KoAppData::Folder() + QStringLiteral("network.txt"); }
    static void WriteNetwork(const QByteArray& text)
    {
        QFile file(NetworkPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
};

void TstClientMultUi::networkFile_data()
{
    QTest::addColumn<QByteArray>("text"); // empty: no file
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");
    QTest::newRow("no file") << QByteArray() << "localhost" << 4567;
    QTest::newRow("defaults") << QByteArray("HOST_NAME = default;\r\nPORT = 4000;\r\n")
                              << "localhost" << 4000;
    QTest::newRow("empty host") << QByteArray("HOST_NAME = ;\r\nPORT = 4001;\r\n") << "localhost"
                                << 4001;
    QTest::newRow("host and port")
        << QByteArray("HOST_NAME = 10.0.0.7;\r\nPORT = 5000;\r\n") << "10.0.0.7" << 5000;
    // A value that is no port or no host leaves the default.
    QTest::newRow("port not a number") << QByteArray("PORT = 45x;\r\n") << "localhost" << 4567;
    QTest::newRow("port out of range") << QByteArray("PORT = 70000;\r\n") << "localhost" << 4567;
    QTest::newRow("port beyond int")
        << QByteArray("PORT = 99999999999;\r\n") << "localhost" << 4567;
    QTest::newRow("host not a name")
        << QByteArray("HOST_NAME = 999.1.1;\r\nPORT = 5000;\r\n") << "localhost" << 5000;
}

void TstClientMultUi::networkFile()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, host);
    QFETCH(int, port);
    QFile::remove(NetworkPath());
    if (!text.isEmpty())
        WriteNetwork(text);
    QString read_host = "localhost";
    ushort read_port = 4567;
    KoClientMultUi::ReadNetworkFile(NetworkPath(), read_host, read_port);
    QCOMPARE(read_host, host);
    QCOMPARE(int(read_port), port);
    QFile::remove(NetworkPath());
}

void TstClientMultUi::connectionRequestOnConnect()
{
    FakeDevice device;
    QVERIFY(device.Listen());
    WriteNetwork("HOST_NAME = 127.0.0.1;\r\nPORT = " + QByteArray::number(device.Port()) + ";\r\n");
    KoClientMultUi ui(nullptr);
    QFile::remove(NetworkPath());
    QVERIFY(ui.Link());
    QCOMPARE(ui.Link()->HostName(), QString("127.0.0.1"));
    QCOMPARE(ui.Link()->Port(), device.Port());

    QSignalSpy connected(&ui, &KoClientMultUi::eConnected);
    QSignalSpy disconnected(&ui, &KoClientMultUi::eDisconnected);
    QTRY_COMPARE(connected.count(), 1);
    // The connection request goes out as the link connects.
    QTRY_COMPARE(device.received, QByteArray::fromHex("AA0000000DAB"));
    device.Drop();
    QTRY_COMPARE(disconnected.count(), 1);
}

VELMORA_REAL_DISPLAY_MAIN(TstClientMultUi)
#include "tst_client_mult_ui.moc"
