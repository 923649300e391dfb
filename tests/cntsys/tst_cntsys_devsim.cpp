// The system unit's exchange against the device simulator: the settings form
// read and applied as an operator would, and the applies that stop early.

#include "../support/real_display.h"
#include "../support/async_call.h"
#include "../support/devsim_process.h"
#include "block_sys_settings_form.h"
#include "counter_profile.h"
#include "ko_app_data.h"
#include "ko_tcp_client.h"
#include "main_window.h"
#include "sys_controller.h"
#include "text_forms.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QTimeEdit>
#include <QtTest>

using namespace cntsys;

namespace {

SysController::Timing fast()
{
    SysController::Timing t;
    t.pictureMs = 3000;
    t.pictures = 3;
    t.rebootAckMs = 600;
    t.syncPeriodMs = 150;
    return t;
}

quint16 freePort()
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    return server.serverPort();
}

QString path(const char* name)
{
    return KoAppData::Folder() + QLatin1String(name);
}

QStringList lines(const QString& file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
}

// The simulator's log lines with this text.
int count(DevsimProcess& sim, const QString& text)
{
    return sim.output().filter(text).size();
}

} // namespace

// Stands in for the main window: answers the controller's question through a
// slot of the same signature, connected by the controller by name.
class Asker : public QWidget
{
    Q_OBJECT

public:
    bool answer = true;
    int asked = 0;
    QString title;
    QString text;
    int savedLanPort = -1; // "block_net.txt" as it was when asked

public slots:
    void sShowQuestion(std::wstring cap, std::wstring question, bool* result)
    {
        ++asked;
        title = QString::fromStdWString(cap);
        text = QString::fromStdWString(question);
        CounterProfile saved;
        if (saved.LoadFromFile(path(CounterProfile::FileName)))
            savedLanPort = saved.lan.port;
        *result = answer;
    }
};

// A link to the simulator with a controller on it that the Asker answers.
struct Rig
{
    explicit Rig(quint16 port) : link(nullptr, "127.0.0.1", port, 1000), ctl(nullptr, fast())
    {
        ctl.SetLink(&link);
        ctl.SetParentWidget(&asker);
        QObject::connect(&ctl, &SysController::eShowText, &ctl,
                         [this](QString t, int) { texts << t; });
    }
    // Connected, and asking for the pictures as a live panel does.
    bool Start()
    {
        return QTest::qWaitFor([this] { return link.TestConnected(); }, 5000) &&
               link.SendViewMode(0, 1);
    }

    KoTcpClient link;
    Asker asker;
    SysController ctl;
    QStringList texts;
};

class TstCntsysDevsim : public QObject
{
    Q_OBJECT

private slots:
    void questionSeam();
    void formReadAndApply();
    void applyStops_data();
    void applyStops();

private:
    // One simulator for the rows that leave it as it was (it takes a while to start).
    DevsimProcess shared;
    QStringList sharedArgs;
};

void TstCntsysDevsim::questionSeam()
{
    // The controller connects to the main window's question by this name.
    const QByteArray slot =
        QMetaObject::normalizedSignature("sShowQuestion(std::wstring,std::wstring,bool*)");
    QVERIFY(MainWindow::staticMetaObject.indexOfSlot(slot.constData()) >= 0);
    QVERIFY(Asker::staticMetaObject.indexOfSlot(slot.constData()) >= 0);
}

void TstCntsysDevsim::formReadAndApply()
{
    DevsimProcess sim;
    QVERIFY(sim.start({"--reboot-delay", "0", "--passes", "1", "--size", "64x48"}));
    const quint16 newPort = freePort();
    QVERIFY(newPort != 0 && newPort != sim.port());
    Rig rig(sim.port());
    QVERIFY(rig.Start());
    const int logged = lines(path("Log.txt")).size();
    QFile::remove(path(CounterProfile::FileName)); // a first start
    QSignalSpy ticks(&rig.ctl, &SysController::eShowTimePars);

    // The operator: waits for the unit's settings and a ticking clock, enters
    // a date, a time and a new LAN port, and applies.
    QStringList shown;
    bool ticked = false;
    bool syncAfterEdit = true;
    const QString simPort = QString::number(sim.port());
    QTimer::singleShot(0, this, [&] {
        auto* form = qobject_cast<BlockSysSettingsForm*>(QApplication::activeModalWidget());
        if (!form) {
            for (QWidget* w : QApplication::topLevelWidgets())
                w->close();
            return;
        }
        // A refused field is recorded, not shown in a box that waits for a click.
        form->SetWarner([&](QWidget*, const QString& text) { shown << text; });
        auto* port = form->findChild<QLineEdit*>("LANPortEdit");
        if (QTest::qWaitFor([&] { return port->text() == simPort; }, 5000)) {
            for (const char* name : {"LANIPEdit", "LANPortEdit", "LANMaskEdit", "LANGateEdit",
                                     "LANDNSEdit", "SrvIPEdit", "SrvPortEdit"})
                shown << form->findChild<QLineEdit*>(name)->text();
            shown << form->findChild<QComboBox*>("TimeZoneCombo")->currentText();
        }
        const int first = ticks.count();
        ticked = QTest::qWaitFor([&] { return ticks.count() >= first + 2; }, 5000);
        form->findChild<QDateEdit*>("DateEdit")->setDate(QDate(2030, 1, 2));
        form->findChild<QTimeEdit*>("TimeEdit")->setTime(QTime(12, 0));
        syncAfterEdit = rig.ctl.SyncOn();
        port->setText(QString::number(newPort));
        QTest::mouseClick(form->findChild<QPushButton*>("ApplyBtn"), Qt::LeftButton);
        form->reject(); // closes it if the apply did not
    });
    rig.ctl.ShowSettingsDialog(nullptr);

    QCOMPARE(shown, QStringList({"127.0.0.1", simPort, "255.0.0.0", "127.0.0.1", "127.0.0.53",
                                 "127.0.0.1", "9000", "UTC+3 Москва"}));
    QVERIFY(ticked);
    QVERIFY(!syncAfterEdit);

    // Applied in order, then rebooted onto the new port, where the link follows.
    QTRY_VERIFY_WITH_TIMEOUT(rig.link.Port() == newPort && rig.link.TestConnected(), 10000);
    QCOMPARE(rig.asker.asked, 1);
    QCOMPARE(rig.asker.title, QString("Применение настроек"));
    QCOMPARE(
        rig.asker.text,
        QString("Применить введенные настройки? Устройство будет перезагружено автоматически"));
    QCOMPARE(rig.asker.savedLanPort, int(newPort));
    QCOMPARE(rig.texts,
             QStringList({"Получение параметров", "Параметры получены", "Установка параметров LAN",
                          "Параметры LAN установлены", "Установка параметров сервера",
                          "Параметры сервера установлены", "Установка даты и времени",
                          "Дата и время установлены"}));
    // 12:00 at UTC+3 reaches the unit as 09:00 UTC.
    QVERIFY(sim.waitForOutput("set time 2030-01-02T09:00:00Z UTC, zone +3"));
    QVERIFY(sim.waitForOutput(QString("listening on 127.0.0.1:%1").arg(newPort)));

    const QStringList log = lines(path("Log.txt"));
    QCOMPARE(log.size(), logged + 1);
    QVERIFY2(
        QRegularExpression(QString("^\\d{4}\\.\\d\\d\\.\\d\\d-\\d\\d:\\d\\d {6}127\\.0\\.0\\.1:%1 "
                                   "-> 127\\.0\\.0\\.1:%2$")
                               .arg(sim.port())
                               .arg(newPort))
            .match(log.last())
            .hasMatch(),
        qPrintable(log.last()));
}

void TstCntsysDevsim::applyStops_data()
{
    QTest::addColumn<QStringList>("simArgs");
    QTest::addColumn<QString>("lanIp");
    QTest::addColumn<int>("lanPort"); // -1: the simulator's own
    QTest::addColumn<int>("srvPort");
    QTest::addColumn<int>("zone");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<int>("ok"); // the steps accepted; an error text refuses the next
    QTest::addColumn<QString>("last");

    const QStringList none;
    QTest::newRow("LAN outside loopback") << none << "10.0.0.1" << -1 << 9000 << 180 << true << 0
                                          << "Ошибка установки параметров LAN";
    QTest::newRow("LAN port 0") << none << "127.0.0.1" << 0 << 9000 << 180 << true << 0
                                << "Ошибка установки параметров LAN";
    QTest::newRow("server port 0") << none << "127.0.0.1" << -1 << 0 << 180 << true << 1
                                   << "Ошибка установки параметров сервера";
    QTest::newRow("zone UTC+15") << none << "127.0.0.1" << -1 << 9000 << 900 << true << 2
                                 << "Ошибка установки даты и времени";
    QTest::newRow("answer no") << none << "127.0.0.1" << -1 << 9000 << 180 << false << 0 << "";
    QTest::newRow("no reboot ack") << QStringList{"--fault", "no-reboot-ack"} << "127.0.0.1" << -1
                                   << 9000 << 180 << true << 3 << "Устройство не перезагрузилось";
}

void TstCntsysDevsim::applyStops()
{
    QFETCH(QStringList, simArgs);
    QFETCH(QString, lanIp);
    QFETCH(int, lanPort);
    QFETCH(int, srvPort);
    QFETCH(int, zone);
    QFETCH(bool, yes);
    QFETCH(int, ok);
    QFETCH(QString, last);
    const int sent = ok + (last.startsWith("Ошибка") ? 1 : 0); // set requests reaching the unit

    DevsimProcess& sim = shared;
    if (!sim.port() || sharedArgs != simArgs) {
        QVERIFY(sim.start(QStringList{"--reboot-delay", "0", "--passes", "1", "--size", "64x48"} +
                          simArgs));
        sharedArgs = simArgs;
    }
    const int setsBefore = count(sim, ": set ");
    const int readsBefore = count(sim, "49: read LAN");
    const int rebootsBefore = count(sim, "39: reboot");
    Rig rig(sim.port());
    QVERIFY(rig.Start());
    rig.asker.answer = yes;
    const int logged = lines(path("Log.txt")).size();
    QSignalSpy reconnect(&rig.ctl, qOverload<QString, ushort>(&SysController::eReconnect));

    CounterProfile p;
    QVERIFY(TextToIp(lanIp.toStdString(), p.lan.ip));
    p.lan.port = quint16(lanPort < 0 ? sim.port() : lanPort);
    p.lan.mask = 0xFF000000;
    p.lan.gate = p.lan.dns = p.srv.ip = 0x7F000001;
    p.srv.port = quint16(srvPort);
    p.time.time_zone = qint16(zone);
    p.time.date_time = quint64(QDateTime::currentSecsSinceEpoch());
    rig.ctl.sSysSettingsDialogOK(p);
    QTRY_VERIFY_WITH_TIMEOUT(!rig.ctl.Busy(), 10000);

    QCOMPARE(rig.asker.asked, 1);
    // Each accepted step shows two texts; a refused one its start and its error.
    const QStringList steps = {"Установка параметров LAN",     "Параметры LAN установлены",
                               "Установка параметров сервера", "Параметры сервера установлены",
                               "Установка даты и времени",     "Дата и время установлены"};
    const QStringList expected =
        last.isEmpty() ? QStringList() : steps.mid(0, 2 * ok + (sent > ok ? 1 : 0)) << last;
    QTRY_COMPARE(rig.texts, expected);
    QCOMPARE(reconnect.count(), 0);
    QCOMPARE(lines(path("Log.txt")).size(), logged + (ok > 0 ? 1 : 0));

    // The last request of the apply, or a read behind it: everything before
    // has reached the unit.
    if (ok == 3) {
        QTRY_COMPARE(count(sim, "39: reboot"), rebootsBefore + 1);
    } else {
        AsyncCall<bool> read([&rig] {
            LANParams lan;
            return rig.ctl.SendAndWait(49, nullptr, 50, &lan, 3000, false);
        });
        QTRY_VERIFY_WITH_TIMEOUT(read.isFinished(), 5000);
        QVERIFY(read.result());
        QTRY_COMPARE(count(sim, "49: read LAN"), readsBefore + 1);
    }
    QCOMPARE(count(sim, ": set "), setsBefore + sent);
}

VELMORA_REAL_DISPLAY_MAIN(TstCntsysDevsim)
#include "tst_cntsys_devsim.moc"
