// The system unit's profile file, its exchange over the link, a window that
// closes while a task waits, and the settings form's checks.

#include "../support/real_display.h"
#include "../link/fake_device.h"
#include "../support/async_call.h"
#include "block_sys_settings_form.h"
#include "counter_profile.h"
#include "ko_app_data.h"
#include "ko_frame_escaper.h"
#include "ko_tcp_client.h"
#include "sys_controller.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QLineEdit>
#include <QTimeEdit>
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
    void syncDuringRead();
    void closeWhileAsking();
    void formChecks_data();
    void formChecks();
    void formCheckOrder();
    void formZone_data();
    void formZone();
    void formClock();
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
    KoTcpClient link(nullptr, "127.0.0.1", device.Port());
    QTRY_VERIFY(device.Connected() && link.TestConnected());
    SysController ctl;
    ctl.SetLink(&link);

    // A reply, read into its record.
    auto run = [&](uint reply_code, int timeout) {
        return AsyncCall<int>([&ctl, reply_code, timeout] {
            SrvParams srv;
            return ctl.SendAndWait(53, nullptr, reply_code, &srv, timeout, false) ? int(srv.port)
                                                                                  : -1;
        });
    };
    AsyncCall<int> ok = run(54, 5000);
    QTRY_VERIFY(device.received.size() >= 4);
    device.Send(message(54, QByteArray::fromHex("7f0000011f90")));
    QTRY_VERIFY(ok.isFinished());
    QCOMPARE(ok.result(), 8080);

    // No reply: a timeout; the late reply afterwards is dropped.
    AsyncCall<int> late = run(54, 100);
    QTRY_VERIFY(late.isFinished());
    QCOMPARE(late.result(), -1);
    device.Send(message(54, QByteArray::fromHex("7f0000010001")));
    QTest::qWait(50);

    // A second waiter on the code takes it over; the first ends at its timeout.
    // (A request reaches the device only after its waiter is registered.)
    const QByteArray ask = message(53, {});
    const int asked = device.received.count(ask);
    AsyncCall<int> first = run(54, 600);
    QTRY_COMPARE(device.received.count(ask), asked + 1);
    AsyncCall<int> second = run(54, 5000);
    QTRY_COMPARE(device.received.count(ask), asked + 2);
    device.Send(message(54, QByteArray::fromHex("7f0000010002")));
    QTRY_VERIFY(second.isFinished());
    QCOMPARE(second.result(), 2);
    QTRY_VERIFY(first.isFinished());
    QCOMPARE(first.result(), -1);
}

void TstCntsys::syncDuringRead()
{
    FakeDevice device;
    QVERIFY(device.Listen());
    KoTcpClient link(nullptr, "127.0.0.1", device.Port());
    QTRY_VERIFY(device.Connected() && link.TestConnected());
    SysController::Timing timing;
    timing.syncPeriodMs = 60;
    SysController ctl(nullptr, timing);
    ctl.SetLink(&link);
    CounterProfile p;
    AsyncCall<bool> read([&] { return ctl.ReadParams(p, 5000, false); });
    QTRY_COMPARE(device.received.count(message(45, {})), 1);

    // The clock refresh starts while the read waits for the time: the answer
    // is still the read's.
    ctl.EnableSync();
    QTest::qWait(100);
    device.Send(message(46, QByteArray::fromHex("00000000000000000000b4")));
    QTRY_VERIFY(device.received.contains(message(49, {})));
    device.Send(message(50, QByteArray(18, 1)));
    QTRY_VERIFY(device.received.contains(message(53, {})));
    device.Send(message(54, QByteArray(6, 1)));
    QTRY_VERIFY(read.isFinished());
    QVERIFY(read.result());
    QCOMPARE(p.lan.port, quint16(0x0101));
    ctl.DisableSync();
}

void TstCntsys::closeWhileAsking()
{
    FakeDevice device;
    QVERIFY(device.Listen());
    KoTcpClient link(nullptr, "127.0.0.1", device.Port());
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
    // The unanswered question sent nothing: no LAN request (code 47) follows.
    QTest::qWait(50);
    QVERIFY(!device.received.contains(QByteArray::fromHex("aa0000002f")));
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

void TstCntsys::formCheckOrder()
{
    QFile::remove(KoAppData::Folder() + "block_net.txt");
    BlockSysSettingsForm form;
    QString shown;
    form.SetWarner([&](QWidget*, const QString& text) { shown = text; });
    QSignalSpy ok(&form, &BlockSysSettingsForm::eOK);
    auto* zone = form.findChild<QComboBox*>("TimeZoneCombo");
    zone->setEditText("x");
    const std::pair<const char*, const char*> fields[] = {
        {"LANIPEdit", "Неверное значение ip-адреса LAN"},
        {"LANMaskEdit", "Неверное значение маски подсети LAN"},
        {"LANGateEdit", "Неверное значение адреса шлюза LAN"},
        {"LANDNSEdit", "Неверное значение адреса DNS"},
        {"LANPortEdit", "Неверное значение номера порта LAN"},
        {"SrvPortEdit", "Неверное значение номера порта сервера"},
        {"SrvIPEdit", "Неверное значение ip-адреса сервера"}};
    for (const auto& field : fields)
        form.findChild<QLineEdit*>(field.first)->setText("1.2.3.4.5");
    // Every field is wrong; each press names the first one still wrong.
    form.sApplyBtnPressed();
    QCOMPARE(shown, QString("Неверное значение часового пояса"));
    zone->setEditText("-1:30");
    for (const auto& field : fields) {
        form.sApplyBtnPressed();
        QCOMPARE(shown, QString(field.second));
        form.findChild<QLineEdit*>(field.first)
            ->setText(QString(field.first).contains("Port") ? "80" : "127.0.0.1");
    }
    QCOMPARE(ok.count(), 0);
    form.sApplyBtnPressed();
    QCOMPARE(ok.count(), 1);
    QCOMPARE(form.Profile().time.time_zone, qint16(-90));
}

void TstCntsys::formZone_data()
{
    QTest::addColumn<int>("zone");
    QTest::addColumn<QString>("text");
    QTest::newRow("table 240") << 240 << "UTC+4 Самара";
    QTest::newRow("table 720") << 720 << "UTC+12 Камчатка";
    QTest::newRow("+1") << 60 << "+1";
    QTest::newRow("+5:30") << 330 << "+5:30";
    QTest::newRow("-1:30") << -90 << "-1:30";
}

void TstCntsys::formZone()
{
    QFETCH(int, zone);
    QFETCH(QString, text);
    QFile::remove(KoAppData::Folder() + "block_net.txt");
    BlockSysSettingsForm form;
    QSignalSpy ok(&form, &BlockSysSettingsForm::eOK);
    for (const char* name : {"LANIPEdit", "LANMaskEdit", "LANGateEdit", "LANDNSEdit", "SrvIPEdit"})
        form.findChild<QLineEdit*>(name)->setText("127.0.0.1");
    form.findChild<QLineEdit*>("LANPortEdit")->setText("80");
    form.findChild<QLineEdit*>("SrvPortEdit")->setText("80");
    // A zone shown after another of the other kind replaces it.
    const bool inTable = zone >= 120 && zone <= 720 && zone % 60 == 0;
    TimeParams t;
    for (int shown : {inTable ? 60 : 180, zone}) {
        t.time_zone = qint16(shown);
        form.ShowTimeParams(t);
    }
    QCOMPARE(form.findChild<QComboBox*>("TimeZoneCombo")->currentText(), text);
    // Applied unchanged, the unit gets the zone back.
    form.sApplyBtnPressed();
    QCOMPARE(ok.count(), 1);
    QCOMPARE(form.Profile().time.time_zone, qint16(zone));
}

void TstCntsys::formClock()
{
    BlockSysSettingsForm form;
    QSignalSpy stop(&form, &BlockSysSettingsForm::eDisableSync);
    auto* date = form.findChild<QDateEdit*>("DateEdit");
    auto* time = form.findChild<QTimeEdit*>("TimeEdit");
    TimeParams t;
    t.time_zone = 180;
    // The unit's clock shown and refreshed: no operator edit.
    for (quint64 at : {0, 3600}) {
        t.date_time = at;
        form.ShowDateTime(t);
    }
    QCOMPARE(date->date(), QDate(1970, 1, 1));
    QCOMPARE(time->time(), QTime(4, 0));
    form.sCalendarFormExit(false, QDate(2030, 1, 2));
    QCOMPARE(date->date(), QDate(1970, 1, 1));
    QCOMPARE(stop.count(), 0);
    // The first operator edit stops the refresh, which no longer overwrites it.
    form.sCalendarFormExit(true, QDate(2030, 1, 2));
    QCOMPARE(stop.count(), 1);
    t.date_time = 7200;
    form.ShowDateTime(t);
    QCOMPARE(date->date(), QDate(2030, 1, 2));
    QCOMPARE(time->time(), QTime(4, 0));
}

VELMORA_REAL_DISPLAY_MAIN(TstCntsys)
#include "tst_cntsys.moc"
