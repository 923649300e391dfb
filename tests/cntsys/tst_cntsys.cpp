// The system unit's profile file, its exchanges with a scripted device, and
// the settings form.

#include "../link/fake_device.h"
#include "../support/frame_bodies.h"
#include "../support/real_display.h"
#include "block_sys_settings_form.h"
#include "counter_profile.h"
#include "ko_app_data.h"
#include "ko_frame_escaper.h"
#include "ko_frame_parser.h"
#include "ko_tcp_client.h"
#include "sys_controller.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QLineEdit>
#include <QStatusBar>
#include <QTimeEdit>
#include <QtEndian>
#include <QtTest>

using namespace cntsys;

namespace {

// Zone (none: as the form shows it), LAN address, mask, gateway, LAN port,
// server port; DNS and server address are 127.0.0.1.
const QStringList valid{"+4", "127.0.0.1", "255.0.0.0", "127.0.0.1", "65535", "9000"};

void fill(BlockSysSettingsForm& form, const QStringList& values)
{
    if (!values[0].isEmpty())
        form.findChild<QComboBox*>("TimeZoneCombo")->setEditText(values[0]);
    const char* edits[] = {"LANIPEdit", "LANMaskEdit", "LANGateEdit", "LANPortEdit", "SrvPortEdit"};
    for (int i = 0; i < 5; ++i)
        form.findChild<QLineEdit*>(edits[i])->setText(values[i + 1]);
    for (const char* name : {"LANDNSEdit", "SrvIPEdit"})
        form.findChild<QLineEdit*>(name)->setText("127.0.0.1");
}

} // namespace

class TstCntsys : public QObject
{
    Q_OBJECT

private slots:
    void init() { QFile::remove(KoAppData::Folder() + "block_net.txt"); }
    void exchange_data();
    void exchange();
    void formChecks_data();
    void formChecks();
    void formCheckOrder();
    void formZone();
    void formFollowsOperator();
};

void TstCntsys::exchange_data()
{
    QTest::addColumn<QString>("op"); // read, apply (the time as typed), clock (the clock runs), no
    QTest::addColumn<bool>("connected");
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("requests");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<bool>("ok");

    // A read and an apply that succeed: tst_cntsys_devsim's flow.
    QTest::newRow("LAN of 17 bytes")
        << "read" << true << "45>46:000000000000000000b4 49>50:7f000001ff0000007f0000017f00003513"
        << "45 49" << QStringList{"Получение параметров", "Настройки LAN не получены"} << false;
    QTest::newRow("read unconnected") << "read" << false << ""
                                      << "" << QStringList{"Нет связи с устройством"} << false;

    // Pictures sent with the LAN answer come too early to count.
    const QString lanAck = "47>48:00,1:,1:,1: ";
    const QString srvAck = "51>52:00 ";
    const QString timeAck = "43>44:00,1:,1:,1: ";
    const QString all = lanAck + srvAck + timeAck + "39>40:";
    const QStringList steps = {"Установка параметров LAN",     "Параметры LAN установлены",
                               "Установка параметров сервера", "Параметры сервера установлены",
                               "Установка даты и времени",     "Дата и время установлены"};
    QTest::newRow("clock goes on") << "clock" << true << all << "47 51 43 39" << steps << true;
    QTest::newRow("LAN refused") << "apply" << true << "47>48:01"
                                 << "47" << QStringList{steps[0], "Ошибка установки параметров LAN"}
                                 << false;
    QTest::newRow("no reboot ack") << "apply" << true << lanAck + srvAck + timeAck << "47 51 43 39"
                                   << steps + QStringList{"Устройство не перезагрузилось"} << false;
    QTest::newRow("answer no") << "no" << true << all << "" << QStringList{} << false;
    QTest::newRow("apply unconnected")
        << "apply" << false << all << "" << QStringList{"Нет связи с устройством"} << false;
}

void TstCntsys::exchange()
{
    QFETCH(QString, op);
    QFETCH(bool, connected);
    QFETCH(QString, script);
    QFETCH(QString, requests);
    QFETCH(QStringList, texts);
    QFETCH(bool, ok);

    // The device answers each request with the frames of the script: the
    // request code, ">", then each reply as its code, ":" and its payload.
    QMap<uint, QByteArray> answers;
    for (const QString& entry : script.split(' ', Qt::SkipEmptyParts)) {
        const QStringList asked = entry.split('>');
        for (const QString& reply : asked[1].split(','))
            answers[asked[0].toUInt()] +=
                KoFrameEscaper::Frame(I32(reply.section(':', 0, 0).toInt()) +
                                      QByteArray::fromHex(reply.section(':', 1).toLatin1()));
    }
    FakeDevice device;
    QVERIFY(device.Listen());
    KoTcpClient link(nullptr, "127.0.0.1", connected ? device.Port() : 1);
    if (connected)
        QTRY_VERIFY(device.Connected() && link.TestConnected());
    QStringList asked;
    TimeParams sentTime;
    KoFrameParser parser;
    if (device.peer) {
        connect(device.peer, &QTcpSocket::readyRead, this, [&] {
            QList<QByteArray> bodies;
            AppendFrameBodies(parser, device.received, bodies);
            device.received.clear();
            for (const QByteArray& body : bodies) {
                const uint code = qFromBigEndian<quint32>(body.constData());
                if (code == 43)
                    sentTime.Deserialize(reinterpret_cast<const uchar*>(body.constData()),
                                         size_t(body.size()), 4);
                if (code >= 39 && code <= 53)
                    asked << QString::number(code);
                device.Send(answers.value(code));
            }
        });
    }

    SysController::Timing timing;
    timing.readMs = timing.applyMs = timing.pictureMs = timing.rebootAckMs = 1000;
    timing.pictures = 3;
    timing.syncPeriodMs = 600000; // no refresh of its own
    SysController ctl(nullptr, timing);
    // The status bar first: setting the link must not take its connection.
    QStatusBar bar;
    ctl.SetStatusBar(&bar);
    ctl.SetLink(&link);
    QStringList shown;
    connect(&bar, &QStatusBar::messageChanged, this, [&](const QString& text) { shown << text; });
    // The operator thinks a second over the question.
    connect(&ctl, &SysController::eShowWindow, this, [&](std::wstring, std::wstring, bool* yes) {
        if (op == "clock")
            QTest::qWait(1100);
        *yes = op != "no";
    });
    QSignalSpy done(&ctl,
                    op == "read" ? &SysController::eParamsRead : &SysController::eParamsApplied);
    QSignalSpy reconnect(&ctl, qOverload<QString, ushort>(&SysController::eReconnect));
    QFile::remove(KoAppData::Folder() + "network.txt");

    CounterProfile p;
    p.lan.ip = 0x7F000001;
    p.lan.port = 5001;
    p.time.date_time = 1000000;
    p.time.time_zone = 300;
    if (op == "read") {
        ctl.ReadParams(1000, true);
    } else {
        if (op == "clock")
            ctl.EnableSync();
        ctl.sSysSettingsDialogOK(p);
    }
    QTRY_COMPARE_WITH_TIMEOUT(done.count(), 1, 10000);
    QCOMPARE(done.at(0).at(0).toBool(), ok);
    QCOMPARE(shown, texts);
    QCOMPARE(asked.join(' '), requests);
    if (requests.contains("43")) {
        // The time as typed, or the clock moved on by the question's second.
        QCOMPARE(sentTime.time_zone, qint16(300));
        QVERIFY2(op == "clock" ? sentTime.date_time > p.time.date_time
                               : sentTime.date_time == p.time.date_time,
                 qPrintable(QString::number(sentTime.date_time)));
    }
    // After an apply the link, and the next start, follow the device.
    QCOMPARE(reconnect.count(), op != "read" && ok ? 1 : 0);
    QFile network(KoAppData::Folder() + "network.txt");
    QCOMPARE(network.open(QIODevice::ReadOnly) ? network.readAll() : QByteArray(),
             QByteArray(reconnect.count() ? "HOST_NAME = 127.0.0.1;\r\nPORT = 5001;\r\n" : ""));
}

void TstCntsys::formChecks_data()
{
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<QString>("warning");
    const auto row = [](const char* name, int field, const QString& value, const QString& warning) {
        QStringList values = valid;
        values[field] = value;
        QTest::newRow(name) << values << warning;
    };
    row("valid", 0, "+4", "");
    row("no gateway", 3, "0.0.0.0", "");
    row("ip 0.0.0.0", 1, "0.0.0.0", "ip-адрес LAN не может быть 0.0.0.0 или 255.255.255.255");
    row("mask with a gap", 2, "255.0.255.0",
        "Неверное значение маски подсети LAN: единицы маски должны идти подряд");
    row("gateway outside", 3, "10.0.0.1", "Адрес шлюза LAN не входит в подсеть устройства");
    row("LAN port 0", 4, "0", "Номер порта LAN не может быть равен 0");
    row("server port 0", 5, "0", "Номер порта сервера не может быть равен 0");
}

void TstCntsys::formChecks()
{
    QFETCH(QStringList, values);
    QFETCH(QString, warning);
    BlockSysSettingsForm form;
    QString shown;
    form.SetWarner([&](QWidget*, const QString& text) { shown = text; });
    QSignalSpy ok(&form, &BlockSysSettingsForm::eOK);
    fill(form, values);
    form.sApplyBtnPressed();
    QCOMPARE(shown, warning);
    QCOMPARE(ok.count(), warning.isEmpty() ? 1 : 0);
    if (!warning.isEmpty())
        return;
    QCOMPARE(form.Profile().time.time_zone, qint16(240));
    QCOMPARE(form.Profile().lan.port, quint16(65535));
    // Kept for the next opening.
    BlockSysSettingsForm again;
    QCOMPARE(again.findChild<QComboBox*>("TimeZoneCombo")->currentText(), QString("UTC+4 Самара"));
    QCOMPARE(again.findChild<QLineEdit*>("LANPortEdit")->text(), QString("65535"));
}

void TstCntsys::formCheckOrder()
{
    BlockSysSettingsForm form;
    QString shown;
    form.SetWarner([&](QWidget*, const QString& text) { shown = text; });
    QSignalSpy ok(&form, &BlockSysSettingsForm::eOK);
    auto* zone = form.findChild<QComboBox*>("TimeZoneCombo");
    zone->setEditText("x");
    // Each edit, its warning (after "Неверное значение ") and a value it takes.
    const QList<QStringList> fields{{"LANIPEdit", "ip-адреса LAN", "127.0.0.1"},
                                    {"LANMaskEdit", "маски подсети LAN", "255.0.0.0"},
                                    {"LANGateEdit", "адреса шлюза LAN", "127.0.0.1"},
                                    {"LANDNSEdit", "адреса DNS", "127.0.0.1"},
                                    {"LANPortEdit", "номера порта LAN", "80"},
                                    {"SrvPortEdit", "номера порта сервера", "80"},
                                    {"SrvIPEdit", "ip-адреса сервера", "127.0.0.1"}};
    for (const QStringList& field : fields)
        form.findChild<QLineEdit*>(field[0])->setText("1.2.3.4.5");
    // Every field is wrong; each press names the first one still wrong.
    form.sApplyBtnPressed();
    QCOMPARE(shown, QString("Неверное значение часового пояса"));
    zone->setEditText("-1:30");
    for (const QStringList& field : fields) {
        form.sApplyBtnPressed();
        QCOMPARE(shown, "Неверное значение " + field[1]);
        form.findChild<QLineEdit*>(field[0])->setText(field[2]);
    }
    QCOMPARE(ok.count(), 0);
    form.sApplyBtnPressed();
    QCOMPARE(ok.count(), 1);
    QCOMPARE(form.Profile().time.time_zone, qint16(-90));
}

// A zone the unit reports replaces one of the other kind: a table entry, or
// its own text. Applied unchanged, the unit gets the zone back.
void TstCntsys::formZone()
{
    BlockSysSettingsForm form;
    QSignalSpy ok(&form, &BlockSysSettingsForm::eOK);
    fill(form, QStringList{""} + valid.mid(1));
    QStringList shown;
    TimeParams t;
    t.date_time = 86400;
    for (int zone : {60, 240, -90}) {
        t.time_zone = qint16(zone);
        form.ShowTimeParams(t);
        shown << form.findChild<QComboBox*>("TimeZoneCombo")->currentText();
    }
    QCOMPARE(shown, (QStringList{"+1", "UTC+4 Самара", "-1:30"}));
    form.sApplyBtnPressed();
    QCOMPARE(ok.count(), 1);
    QCOMPARE(form.Profile().time.time_zone, qint16(-90));
    QCOMPARE(form.Profile().time.date_time, quint64(86400));
}

void TstCntsys::formFollowsOperator()
{
    BlockSysSettingsForm form;
    QSignalSpy ok(&form, &BlockSysSettingsForm::eOK);
    auto* zone = form.findChild<QComboBox*>("TimeZoneCombo");
    auto* time = form.findChild<QTimeEdit*>("TimeEdit");
    auto* port = form.findChild<QLineEdit*>("LANPortEdit");
    TimeParams t;
    t.date_time = 9 * 3600;
    t.time_zone = 180;
    form.ShowTimeParams(t);
    QCOMPARE(time->time(), QTime(12, 0));
    // Another zone shows the same moment; its time is what the unit will show.
    zone->setCurrentIndex(zone->findText("UTC+5 Екатеринбург"));
    QCOMPARE(time->time(), QTime(14, 0));
    // The unit's settings come after the operator typed a port: the zone and
    // the port stay the operator's, the clock goes on in the chosen zone.
    port->setText("5001");
    port->setModified(true);
    CounterProfile p;
    p.time = t;
    p.time.date_time += 1;
    p.lan.ip = p.lan.gate = p.lan.dns = p.srv.ip = 0x7F000001;
    p.lan.mask = 0xFF000000;
    p.lan.port = 4567;
    p.srv.port = 9000;
    form.ShowParams(p);
    QCOMPARE(zone->currentText(), QString("UTC+5 Екатеринбург"));
    QCOMPARE(time->time(), QTime(14, 0, 1));
    QCOMPARE(port->text(), QString("5001"));
    QCOMPARE(form.findChild<QLineEdit*>("LANIPEdit")->text(), QString("127.0.0.1"));
    form.sApplyBtnPressed();
    QCOMPARE(ok.count(), 1);
    QCOMPARE(form.Profile().time.date_time, quint64(9 * 3600 + 1));
    QCOMPARE(form.Profile().time.time_zone, qint16(300));
    QCOMPARE(form.Profile().lan.port, quint16(5001));
    // A date chosen in the calendar stops the refresh, which then moves it no more.
    auto* date = form.findChild<QDateEdit*>("DateEdit");
    QSignalSpy stop(&form, &BlockSysSettingsForm::eDisableSync);
    form.sCalendarFormExit(false, QDate(2030, 1, 2));
    QCOMPARE(date->date(), QDate(1970, 1, 1));
    QCOMPARE(stop.count(), 0);
    form.sCalendarFormExit(true, QDate(2030, 1, 2));
    QCOMPARE(stop.count(), 1);
    p.time.date_time += 3600;
    form.ShowDateTime(p.time);
    QCOMPARE(date->date(), QDate(2030, 1, 2));
    QCOMPARE(time->time(), QTime(14, 0, 1));
}

VELMORA_REAL_DISPLAY_MAIN(TstCntsys)
#include "tst_cntsys.moc"
