// The Tools commands and a panel's mount options as an operator uses them: the
// main window connected to velmora-devsim on 127.0.0.1, dialogs filled in and
// confirmed, and the device's answers seen as the boxes and files they become.

#include "../support/buttons.h"
#include "../support/files.h"
#include "../support/real_display.h"
#include "../support/devsim_process.h"
#include "../support/modal_driver.h"
#include "ko_algo_service_controll_ui.h"
#include "ko_app_data.h"
#include "ko_menus.h"
#include "ko_client_mult_ui.h"
#include "ko_report_export.h"
#include "ko_tcp_client.h"
#include "ko_update_progress.h"
#include "main_window.h"
#include "update/ko_distribution_writer.h"
#include "update/ko_updater.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>

#include <ctime>
#include <memory>

namespace {

} // namespace

class TestConfigDevsim : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void commands_data();
    void commands(); // last: its reboot restarts the simulator

private:
    std::function<void()> tool(const QString& name);
    void use(std::function<void()> open, std::function<void(QDialog*)> handle);

    QTemporaryDir data;
    QTemporaryDir work;
    quint16 deadPort = 0;
    DevsimProcess sim;
    ModalDriver driver;
    std::unique_ptr<MainWindow> window;
    KoClientMultUi* container = nullptr;
};

void TestConfigDevsim::initTestCase()
{
    // A fresh data folder, as on a new account, pointed at the simulator.
    QVERIFY(data.isValid() && work.isValid());
    // Stamps in the simulator's log are the UTC of local midnights.
    qputenv("TZ", "UTC");
    tzset();
    // A port nobody listens on: the link's way to have no device.
    {
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost));
        deadPort = probe.serverPort();
    }
    qputenv("PROGRAMDATA", QFile::encodeName(data.path()));
    QVERIFY(sim.start({"--passes", "2", "--fps", "5", "--size", "160x120", "--reboot-delay", "0"}));
    QVERIFY(sim.writeNetworkFile(KoAppData::Folder()));

    window = std::make_unique<MainWindow>();
    window->show();
    container = window->findChild<KoClientMultUi*>();
    QVERIFY(container);
    QTRY_COMPARE_WITH_TIMEOUT(container->PassCount(), 2, 10000);
    // The panel keeps the mount data the device reported on connecting.
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(QStringLiteral("params1.txt")), 10000);
}

void TestConfigDevsim::cleanupTestCase()
{
    window.reset();
    sim.stop();
}

// Picks an entry of the Tools menu.
std::function<void()> TestConfigDevsim::tool(const QString& name)
{
    return [this, name] {
        for (QAction* action : window->findChild<QMenu*>(QStringLiteral("menuTools"))->actions())
            if (KoMenus::PlainText(action->text()) == name)
                action->trigger();
    };
}

// Opens a dialog; handle fills it in and closes it.
void TestConfigDevsim::use(std::function<void()> open, std::function<void(QDialog*)> handle)
{
    int opened = 0;
    driver.onDialog = [&](QDialog* dialog) {
        ++opened;
        handle(dialog);
        if (dialog->isVisible())
            dialog->reject(); // a failed step must not hang the test
    };
    open(); // returns once the dialog is closed
    driver.onDialog = nullptr;
    QCOMPARE(opened, 1);
}

// Every command of the window's dialogs and pages, link down and up. Down: a
// box over the dialog or page that nothing was sent, the dialog still open as
// it was, nothing at the device. Up: the request in the simulator's log, the
// confirmation in the status bar and the answer's box.
void TestConfigDevsim::commands_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("logged");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("answer");
    const auto row = [](const char* command, const char* logged, const char* status,
                        const QString& answer) {
        for (bool up : {false, true})
            QTest::addRow("%s, link %s", command, up ? "up" : "down")
                << QString(command) << (up ? QString(logged) : QString())
                << (up ? QString(status) : QString()) << (up ? answer : QString());
    };
    row("mount options", "3: mount data of pass 1 (height 240 cm)", "Mount options of pass 1 sent",
        QString());
    row("modem", "19: modem settings (4 items)",
        "Modem settings sent, waiting for the device's answer", "Install modem settings OK!");
    row("server", "21: server settings (2 items)",
        "Server address sent, waiting for the device's answer", "Ip server settings OK!");
    row("update", "17: software update of 1000 bytes, installed",
        "Update sent, waiting for the device's answer",
        "Update was finished succesfull. The device will reboot after 1 minute.");
    row("report", "6: statistics both ways, day 2016-03-01 0h", "",
        "Report was saved in %1/reports/report pass 0 2016-3-1_2016-3-2.xml");
    row("reboot", "39: reboot -> 40", "Reboot command sent", "Reboot command received");
    // The door panel's own command: the device echoes an installed line.
    row("install line", "4: counting line of pass 1", "Counting line and zone of pass 1 installed",
        QString());
}

void TestConfigDevsim::commands()
{
    QFETCH(QString, command);
    QFETCH(QString, logged);
    QFETCH(QString, status);
    QFETCH(QString, answer);
    const bool up = !logged.isEmpty();
    auto* reports = window->findChild<KoReportExport*>();
    // The link to the simulator, or to a port nobody listens on.
    KoTcpClient* link = container->Link();
    const quint16 port = up ? sim.port() : deadPort;
    if (link->Port() != port)
        link->Reconnect(QStringLiteral("127.0.0.1"), port);
    QTRY_COMPARE_WITH_TIMEOUT(link->Port(), port, 10000);
    if (up)
        QTRY_COMPARE_WITH_TIMEOUT(link->State(), QAbstractSocket::ConnectedState, 10000);
    else
        QVERIFY(link->State() != QAbstractSocket::ConnectedState);
    // Whatever the new connection brought first is in before the command.
    QTest::qWait(200);
    driver.boxes.clear();
    // The simulator's lines about requests, without its people's crossings.
    const auto requests = [this] {
        return sim.output().filter(QRegularExpression(QStringLiteral("^(?!crossing )")));
    };
    const int logged_before = requests().size();
    // Every status line (the connection's own may follow the command's); an
    // earlier row's line, still standing, would not be announced again.
    window->statusBar()->clearMessage();
    QSignalSpy statuses(window->statusBar(), &QStatusBar::messageChanged);

    QWidget* origin = nullptr; // where a box that nothing was sent belongs
    // Fills a dialog in and presses its button.
    const auto fill = [&](const QMap<QString, QString>& texts, const QString& press) {
        return [&, texts, press](QDialog* dialog) {
            origin = dialog;
            for (auto it = texts.cbegin(); it != texts.cend(); ++it)
                dialog->findChild<QLineEdit*>(it.key())->setText(it.value());
            button(dialog, press)->click();
            QCOMPARE(dialog->isVisible(), !up);
            for (auto it = texts.cbegin(); it != texts.cend(); ++it)
                QCOMPARE(dialog->findChild<QLineEdit*>(it.key())->text(), it.value());
        };
    };
    if (command == "install line") {
        KoAlgoServiceControllUI* panel = container->Panel(1);
        panel->sDefaultsLine();
        // Without a link the panel's button waits for it.
        QCOMPARE(panel->installButton->isEnabled(), up);
        if (!up)
            return;
        panel->installButton->click();
    } else if (command == "mount options") {
        // Without a link the panel's button waits for it; the dialog can
        // still be open when the link goes.
        QCOMPARE(container->Panel(1)->optionsButton->isEnabled(), up);
        use([&] { up ? container->Panel(1)->optionsButton->click() : window->sOptionsReq(1); },
            fill({{"camMountHeight", "240"}}, "Ok"));
    } else if (command == "modem") {
        use(tool("Modem settings"), fill({{"phone", "+7900"}, {"password", "pw1"}}, "OK"));
    } else if (command == "server") {
        use(tool("Server settings"), fill({{"ip", "10.20.30.41"}, {"key", "k"}}, "OK"));
    } else if (command == "update") {
        // An enciphered distribution of two configurations.
        const QString pcd = work.filePath(QStringLiteral("sw.pcd"));
        KoDistributionWriter writer;
        QVERIFY(writer.addMember("conf0", QByteArray(13, 'a'), KoDistribution::modeEnciphered));
        QVERIFY(
            writer.addMember("conf1", QByteArray(1000, '\xA5'), KoDistribution::modeEnciphered));
        QVERIFY(writer.write(pcd));
        QString start;
        use(tool("Update"), [&](QDialog* dialog) {
            origin = dialog;
            dialog->findChild<KoUpdater*>()->SetFileChooser(
                [&](QWidget*, const QString&, const QString& from, const QString&) {
                    start = from;
                    return pcd;
                });
            dialog->findChild<QPushButton*>(QStringLiteral("browse"))->click();
            auto* list = dialog->findChild<QListView*>(QStringLiteral("configurations"));
            list->setCurrentIndex(list->model()->index(1, 0));
            button(dialog, QStringLiteral("Ok"))->click();
            QCOMPARE(dialog->isVisible(), !up);
            QCOMPARE(list->currentIndex().row(), 1);
        });
        // A new dialog's file dialog opens where the last distribution was.
        QCOMPARE(start, up ? work.path() : QDir::currentPath());
    } else if (command == "report") {
        origin = reports;
        for (const QString prefix : {"start", "end"}) {
            reports->findChild<QComboBox*>(prefix + "YearBox")->setCurrentText("2016");
            reports->findChild<QComboBox*>(prefix + "MonthBox")->setCurrentIndex(2);
        }
        reports->findChild<QComboBox*>("startDayBox")->setCurrentText("1");
        reports->findChild<QComboBox*>("endDayBox")->setCurrentText("3");
        button(reports, QStringLiteral("Xml report"))->click();
        if (up)
            answer = answer.arg(QDir(KoAppData::Folder()).absolutePath());
    } else if (command == "reboot") {
        use(tool("Reboot"), [&](QDialog* dialog) {
            origin = dialog;
            button(dialog, QStringLiteral("Ok"))->click();
            QCOMPARE(dialog->isVisible(), !up);
        });
    }

    if (!up) {
        QTRY_COMPARE_WITH_TIMEOUT(driver.boxes.size(), 1, 10000);
        const ModalDriver::Box box = driver.boxes.takeFirst();
        QCOMPARE(box.icon, QMessageBox::Warning);
        QCOMPARE(box.text, QStringLiteral("No connection to the device: nothing was sent."));
        QCOMPARE(box.parent, origin);
        QCOMPARE(requests().size(), logged_before);
        return;
    }
    QTRY_VERIFY2_WITH_TIMEOUT(requests().mid(logged_before).join('\n').contains(logged),
                              qPrintable(sim.output().join('\n')), 10000);
    QStringList shown;
    for (const QList<QVariant>& message : qAsConst(statuses))
        shown << message.at(0).toString();
    QVERIFY2(shown.contains(status) == !status.isEmpty(), qPrintable(shown.join(QLatin1Char('|'))));
    if (!answer.isEmpty()) {
        QTRY_COMPARE_WITH_TIMEOUT(driver.boxes.size(), 1, 10000);
        const ModalDriver::Box box = driver.boxes.takeFirst();
        QCOMPARE(box.icon, QMessageBox::Information);
        QCOMPARE(box.title, QStringLiteral("Succes!"));
        QCOMPARE(box.text, answer);
        QCOMPARE(box.parent, origin == reports ? origin : window.get());
        QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }
    // What the device confirmed is kept for the editors' next opening.
    if (command == "mount options")
        QTRY_VERIFY_WITH_TIMEOUT(readFile("params1.txt").contains("KO_CAM_MOUNT_HEIGHT = 240;"),
                                 10000);
    if (command == "modem")
        QVERIFY(readFile("modem.txt").contains("PHONE = +7900\r\nUSERNAME = \r\nPASSWORD = pw1"));
    if (command == "server")
        QCOMPARE(readFile("remote.txt"), QByteArray("IP = 10.20.30.41\r\n"));
    QTRY_VERIFY_WITH_TIMEOUT(driver.boxes.isEmpty(), 10000);
    // An update's progress goes with the device's answer.
    QCOMPARE(window->findChildren<KoUpdateProgress*>().size(), 0);
}

VELMORA_REAL_DISPLAY_MAIN(TestConfigDevsim)
#include "tst_config_devsim.moc"
