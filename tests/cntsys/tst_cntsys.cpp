// The system unit's profile file, its exchange over the link, a window that
// closes while a task waits, and the settings form's checks.

#include "../link/fake_device.h"
#include "block_sys_settings_form.h"
#include "counter_profile.h"
#include "ko_app_data.h"
#include "ko_frame_escaper.h"
#include "ko_tcp_client.h"
#include "sys_controller.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QtConcurrent>
#include <QtTest>

using namespace cntsys;

namespace {

QByteArray message(uint code, const QByteArray& payload)
{
    QByteArray body(4, 0);
    for (int i = 0; i < 4; ++i)
        body[i] = char(code >> (24 - 8 * i));
    return KoFrameEscaper::Frame(body + payload);
}

} // namespace

class TstCntsys : public QObject
{
    Q_OBJECT

private slots:
    void profileFile();
    void exchange();
    void closeWhileAsking();
    void formChecks_data();
    void formChecks();
};

void TstCntsys::profileFile()
{
    const QString path = KoAppData::Folder() + "block_net.txt";
    CounterProfile p;
    p.lan.ip = 0xC0A8000A;
    p.lan.port = 5000;
    p.srv.port = 9000;
    p.time.time_zone = -90;
    QVERIFY(p.SaveToFile(path));
    CounterProfile back;
    QVERIFY(back.LoadFromFile(path));
    QCOMPARE(back.lan.ip, p.lan.ip);
    QCOMPARE(back.lan.port, p.lan.port);
    QCOMPARE(back.time.time_zone, qint16(-90));

    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("lan_port = 80;\r\ntime_zone = default;\r\n");
    f.close();
    QVERIFY(back.LoadFromFile(path));
    QCOMPARE(back.lan.port, quint16(80));
    QCOMPARE(back.time.time_zone, qint16(180));
}

void TstCntsys::exchange()
{
    FakeDevice device;
    QVERIFY(device.Listen());
    KoTcpClient link(nullptr, "127.0.0.1", device.Port(), 200);
    QTRY_VERIFY(device.Connected() && link.TestConnected());
    SysController ctl;
    ctl.SetLink(&link);

    // A reply, read into its record.
    auto run = [&](uint reply_code, int timeout) {
        return QtConcurrent::run([&ctl, reply_code, timeout] {
            SrvParams srv;
            return ctl.SendAndWait(53, nullptr, reply_code, &srv, timeout, false) ? int(srv.port)
                                                                                  : -1;
        });
    };
    QFuture<int> ok = run(54, 5000);
    QTRY_VERIFY(device.received.size() >= 4);
    device.Send(message(54, QByteArray::fromHex("7f0000011f90")));
    QTRY_VERIFY(ok.isFinished());
    QCOMPARE(ok.result(), 8080);

    // No reply: a timeout; the late reply afterwards is dropped.
    QFuture<int> late = run(54, 100);
    QTRY_VERIFY(late.isFinished());
    QCOMPARE(late.result(), -1);
    device.Send(message(54, QByteArray::fromHex("7f0000010001")));
    QTest::qWait(50);

    // A second waiter on the code takes it over; the first ends at its timeout.
    QFuture<int> first = run(54, 600);
    QTest::qWait(100);
    QFuture<int> second = run(54, 5000);
    QTest::qWait(100);
    device.Send(message(54, QByteArray::fromHex("7f0000010002")));
    QTRY_VERIFY(second.isFinished());
    QCOMPARE(second.result(), 2);
    QTRY_VERIFY(first.isFinished());
    QCOMPARE(first.result(), -1);
}

void TstCntsys::closeWhileAsking()
{
    FakeDevice device;
    QVERIFY(device.Listen());
    KoTcpClient link(nullptr, "127.0.0.1", device.Port(), 200);
    QTRY_VERIFY(link.TestConnected());
    bool asked = false;
    {
        SysController ctl;
        ctl.SetLink(&link);
        // The question is never answered before the window goes.
        connect(&ctl, &SysController::eShowWindow, this,
                [&](std::wstring, std::wstring, bool*) { asked = true; });
        ctl.sSysSettingsDialogOK(CounterProfile());
        ctl.EnableSync();
        QTRY_VERIFY(asked);
    }
    QVERIFY(device.received.size() >= 4); // the clock sync's request, nothing else
}

void TstCntsys::formChecks_data()
{
    QTest::addColumn<QString>("zone");
    QTest::addColumn<QString>("lanIp");
    QTest::addColumn<QString>("lanPort");
    QTest::addColumn<QString>("warning");
    QTest::newRow("empty ip") << "UTC+3 Москва"
                              << ""
                              << ""
                              << "Неверное значение ip-адреса LAN";
    QTest::newRow("+4") << "+4"
                        << "127.0.0.1"
                        << "65535"
                        << "";
    QTest::newRow("4:75") << "4:75"
                          << "127.0.0.1"
                          << "1"
                          << "Неверное значение часового пояса";
    QTest::newRow("port 65536") << "+4"
                                << "127.0.0.1"
                                << "65536"
                                << "Неверное значение номера порта LAN";
}

void TstCntsys::formChecks()
{
    QFETCH(QString, zone);
    QFETCH(QString, lanIp);
    QFETCH(QString, lanPort);
    QFETCH(QString, warning);
    QFile::remove(KoAppData::Folder() + "block_net.txt");
    BlockSysSettingsForm form;
    QString shown;
    form.SetWarner([&](QWidget*, const QString& text) { shown = text; });
    QSignalSpy ok(&form, &BlockSysSettingsForm::eOK);
    form.findChild<QComboBox*>("TimeZoneCombo")->setEditText(zone);
    form.findChild<QLineEdit*>("LANIPEdit")->setText(lanIp);
    form.findChild<QLineEdit*>("LANPortEdit")->setText(lanPort);
    for (const char* name : {"LANMaskEdit", "LANGateEdit", "LANDNSEdit", "SrvIPEdit"})
        form.findChild<QLineEdit*>(name)->setText("127.0.0.1");
    form.findChild<QLineEdit*>("SrvPortEdit")->setText("9000");
    form.sApplyBtnPressed();
    QCOMPARE(shown, warning);
    QCOMPARE(ok.count(), warning.isEmpty() ? 1 : 0);
    if (warning.isEmpty()) {
        QCOMPARE(form.Profile().time.time_zone, qint16(240));
        QCOMPARE(form.Profile().lan.port, quint16(65535));
        QVERIFY(QFile::exists(KoAppData::Folder() + "block_net.txt"));
    }
}

QTEST_MAIN(TstCntsys)
#include "tst_cntsys.moc"
