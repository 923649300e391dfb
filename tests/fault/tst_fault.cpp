// The link, a live panel and their container against velmora-devsim's fault
// modes; and a settings file whose writer is killed in the middle of its work.

#include "../support/devsim_process.h"
#include "../support/real_display.h"
#include "../support/wait_for.h"
#include "ko_algo_service_controll_ui.h"
#include "ko_app_data.h"
#include "ko_client_mult_ui.h"
#include "ko_link_status_widget.h"
#include "ko_settings_file.h"
#include "ko_settings_writer.h"
#include "ko_tcp_client.h"

#include <QDir>
#include <QGraphicsPixmapItem>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>
#include <memory>
#include <string>

using Panel = KoAlgoServiceControllUI;

namespace {

constexpr int Watchdog = 500; // ms: the watchdog of the links these tests make
constexpr int Patience = 20000;

// Generation g gives every key a value made of g, so a file that one write
// made whole is exactly Settings(g).Bytes() for the g of its first line.
KoSettingsWriter Settings(qlonglong generation)
{
    KoSettingsWriter writer(KoSettingsWriter::Terminator::SemicolonCrLf);
    writer.AddNumber("GENERATION", generation);
    for (int i = 0; i < 20000; ++i) // about 500 KB
        writer.AddNumber("KEY_" + std::to_string(i), generation * 100000 + i);
    return writer;
}

// This program started again by settingsKilledMidWrite, before main: rewrites
// the file named in the variable, from the generation after the colon, until
// it is killed, and says when the first generation is whole.
const bool asWriter = [] {
    const QString arg = qEnvironmentVariable("VELMORA_SETTINGS_WRITER");
    if (arg.isEmpty())
        return false;
    const qlonglong first = arg.section(':', -1).toLongLong();
    for (qlonglong generation = first;; ++generation) {
        if (!Settings(generation).Save(arg.section(':', 0, -2)))
            std::exit(1);
        if (generation == first) {
            std::puts("written");
            std::fflush(stdout);
        }
    }
}();

// The live view of pass 0: either the container, with its own link and
// that link's usual watchdog, or a link with a short watchdog and a panel
// wired to it as the container wires them.
struct Rig
{
    std::unique_ptr<KoClientMultUi> ui;
    std::unique_ptr<KoTcpClient> ownLink;
    std::unique_ptr<Panel> ownPanel;
    KoTcpClient* link = nullptr;
    Panel* panel = nullptr;
    int shown = 0; // pictures that replaced the panel's pixmap
    qint64 lastKey = 0;

    Rig(const DevsimProcess& sim, bool container)
    {
        if (container) {
            sim.writeNetworkFile(KoAppData::Folder());
            ui = std::make_unique<KoClientMultUi>();
            link = ui->Link();
            panel = ui->Panel(0);
        } else {
            ownLink = std::make_unique<KoTcpClient>(nullptr, QStringLiteral("127.0.0.1"),
                                                    sim.port(), Watchdog);
            ownPanel = std::make_unique<Panel>(0);
            link = ownLink.get();
            panel = ownPanel.get();
            panel->link = link;
            QObject::connect(link, &KoTcpClient::eImageRecieved0, panel, &Panel::sImageRecieved);
            QObject::connect(link, &KoTcpClient::eTrackingObjectsRecieved, panel,
                             &Panel::sObjectsTracked);
            QObject::connect(link, &KoTcpClient::eConnected, link, &KoTcpClient::SendConnectedReq);
        }
        // A new connection gets its view mode soon, not a second later.
        panel->viewModeTimer.setInterval(100);
        QObject::connect(link, &KoTcpClient::eImageRecieved0, panel,
                         [this](int, int, int, float, int, QImage&) {
                             const qint64 key = panel->pixmapItem->pixmap().cacheKey();
                             if (key != lastKey) {
                                 lastKey = key;
                                 ++shown;
                             }
                         });
    }
};

} // namespace

class TstFault : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void faultModes_data();
    void faultModes();
    void deviceGoesAndComes();
    void settingsKilledMidWrite();

private:
    QTemporaryDir dir;
};

void TstFault::initTestCase()
{
    // The panels write the device's mount data and camera numbers beside them.
    QVERIFY(dir.isValid());
    QDir::setCurrent(dir.path());
}

void TstFault::faultModes_data()
{
    QTest::addColumn<QStringList>("fault");
    QTest::addColumn<bool>("container");
    QTest::addColumn<bool>("reconnect"); // the device's fault ends the connection
    QTest::addColumn<bool>("pictures");  // the device sends any
    QTest::addColumn<QString>("logged"); // what the simulator says of its fault

    QTest::newRow("silent") << QStringList{"--fault", "silent"} << false << true << false
                            << QString();
    QTest::newRow("drop-after") << QStringList{"--fault", "drop-after=30"} << false << true << true
                                << "dropping the connection after 30 frames";
    QTest::newRow("garbage") << QStringList{"--fault", "garbage"} << false << false << true
                             << QString();
    QTest::newRow("slow") << QStringList{"--fault", "slow"} << false << false << true << QString();
    QTest::newRow("flood") << QStringList{"--fault", "flood"} << false << false << true
                           << QString();
    // Messages the tool shows nothing of, beside the pictures: read, passed
    // on, and held back by the same back-pressure.
    QTest::newRow("flood-messages") << QStringList{"--fault", "flood-messages"} << false << false
                                    << true << "flooding messages of unknown codes";
    // The reboot request (39) goes out once pictures flow; no 40 comes back.
    QTest::newRow("no-reboot-ack")
        << QStringList{"--fault", "no-reboot-ack", "--reboot-delay", "300"} << false << true << true
        << "39: reboot (no acknowledgement: fault mode)";
    // The whole container, with its own link: half a picture is left in the
    // reader's parser when the device goes, the next connection's frames follow it.
    QTest::newRow("cut-picture, container") << QStringList{"--fault", "cut-picture=5"} << true
                                            << true << true << "cut a picture frame after";
}

void TstFault::faultModes()
{
    QFETCH(QStringList, fault);
    QFETCH(bool, container);
    QFETCH(bool, reconnect);
    QFETCH(bool, pictures);
    QFETCH(QString, logged);
    const bool flood = !fault.filter("flood").isEmpty();
    const bool reboot = fault.contains("no-reboot-ack");

    DevsimProcess sim;
    QVERIFY(sim.start(fault + QStringList{"--passes", "1", "--fps", "25", "--size", "160x120"}));
    Rig rig(sim, container);
    QSignalSpy connected(rig.link, &KoTcpClient::eConnected);
    QSignalSpy disconnected(rig.link, &KoTcpClient::eDisconnected);
    QSignalSpy rebootAck(rig.link, &KoTcpClient::eRebootAck);
    if (flood)
        // Far below what one read of the flooded socket brings, so reading
        // pauses whatever the speed of the machine, and must resume.
        rig.link->SetQueueLimit(2 * 1024);
    const auto log = [&sim] { return sim.output().join('\n'); };

    QVERIFY(WaitFor([&] { return connected.count() > 0; }, Patience));
    if (pictures)
        QVERIFY(WaitFor([&] { return rig.shown >= 2; }, Patience));
    if (reboot)
        QVERIFY(rig.link->SendReboot());

    int before = rig.shown;
    if (reconnect) {
        // Dropped by the device or by the watchdog, the link comes back.
        QVERIFY2(
            WaitFor([&] { return connected.count() >= 2 && log().contains("#2 connection from"); },
                    Patience),
            qPrintable(log()));
        QVERIFY(disconnected.count() >= 1);
        before = rig.shown;
    }
    if (pictures) {
        // The next good pictures reach the panel.
        QVERIFY2(WaitFor([&] { return rig.shown >= before + 3; }, Patience), qPrintable(log()));
    }
    if (!reconnect) {
        QCOMPARE(disconnected.count(), 0);
        QVERIFY(!log().contains("#2 connection from"));
        QVERIFY(rig.link->TestConnected());
    }
    if (!logged.isEmpty())
        QVERIFY2(log().contains(logged), qPrintable(log()));
    QCOMPARE(rebootAck.count(), 0);
    if (flood)
        QVERIFY(rig.link->ReadPauses() > 0);
}

void TstFault::deviceGoesAndComes()
{
    DevsimProcess sim;
    const QStringList options{"--passes", "2", "--fps", "25", "--size", "160x120"};
    QVERIFY(sim.start(options));
    const quint16 port = sim.port();
    Rig rig(sim, true);
    KoLinkStatusWidget status;
    status.Watch(rig.link);
    const auto doors = [&rig](int count, Panel::PictureState state) {
        for (int i = 0; i < count; ++i) {
            if (rig.ui->Panel(i)->pictureState != state)
                return false;
        }
        return true;
    };
    QVERIFY(WaitFor([&] { return doors(2, Panel::PictureState::Live); }, Patience));
    QCOMPARE(status.CurrentState(), KoLinkStatusWidget::State::Connected);

    // The device goes: every door says so, and so does the link's place.
    sim.stop();
    QVERIFY(WaitFor([&] { return doors(4, Panel::PictureState::NoLink); }, Patience));
    QCOMPARE(status.CurrentState(), KoLinkStatusWidget::State::NoConnection);
    QVERIFY2(status.Text().contains(QStringLiteral("127.0.0.1:%1").arg(port)),
             qPrintable(status.Text()));

    // It comes back on its address: pictures again, without a hand moved.
    QVERIFY(sim.start(options + QStringList{"--port", QString::number(port)}));
    QVERIFY(WaitFor([&] { return doors(2, Panel::PictureState::Live); }, Patience));
    QCOMPARE(status.CurrentState(), KoLinkStatusWidget::State::Connected);
}

void TstFault::settingsKilledMidWrite()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("network.txt"));
    QVERIFY(Settings(0).Save(path));
    qlonglong last = 0;
    // Killed at once, then a few milliseconds after its first whole write.
    for (int delay : {-1, 0, 1, 2, 3, 5, 8, 13}) {
        QProcess writer;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("VELMORA_SETTINGS_WRITER", path + ':' + QString::number(last + 1));
        writer.setProcessEnvironment(env);
        writer.start(QCoreApplication::applicationFilePath(), QStringList());
        QVERIFY(writer.waitForStarted(10000));
        if (delay >= 0) {
            QVERIFY(writer.waitForReadyRead(10000));
            if (delay > 0)
                QTest::qSleep(delay);
        }
        writer.kill(); // SIGKILL: no clean-up of any kind
        QVERIFY(writer.waitForFinished(10000));

        // The file is one generation whole: the old one or a newer one.
        KoSettingsFile read;
        read.AddKey("GENERATION");
        QVERIFY(read.Load(path.toStdString()));
        bool ok = false;
        const qlonglong generation =
            QString::fromStdString(read.Values["GENERATION"]).toLongLong(&ok);
        const QString at = QStringLiteral("killed after %1 ms").arg(delay);
        QVERIFY2(ok && generation >= last, qPrintable(at));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY2(file.readAll() == Settings(generation).Bytes(), qPrintable(at));
        if (delay >= 0)
            QVERIFY2(generation > last, qPrintable(at));
        last = generation;
    }
}

VELMORA_REAL_DISPLAY_MAIN(TstFault)
#include "tst_fault.moc"
