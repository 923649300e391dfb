// The Tools commands and a panel's mount options as an operator uses them: the
// main window connected to velmora-devsim on 127.0.0.1, dialogs filled in and
// confirmed, and the device's answers seen as the boxes and files they become.

#include "../support/real_display.h"
#include "../support/devsim_process.h"
#include "../support/modal_driver.h"
#include "ko_algo_service_controll_ui.h"
#include "ko_app_data.h"
#include "ko_client_mult_ui.h"
#include "main_window.h"
#include "update/ko_updater.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

QPushButton* button(QWidget* parent, const QString& text)
{
    for (auto* candidate : parent->findChildren<QPushButton*>())
        if (candidate->text() == text)
            return candidate;
    qFatal("no button %s", qPrintable(text));
    return nullptr;
}

QStringList editTexts(QWidget* parent, const QStringList& names)
{
    QStringList texts;
    for (const QString& name : names)
        texts << parent->findChild<QLineEdit*>(name)->text();
    return texts;
}

QByteArray readFile(const QString& name)
{
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QStringList optionEdits{"camMountHeight", "camAngleSlope",       "minObjectHeight",
                              "minHeadSquare",  "maxHumanVelocity",    "headSize",
                              "minTrackLenght", "minLostObjectFrames", "etalonHeight"};

} // namespace

class TestConfigDevsim : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void update_data();
    void update();
    void settings_data();
    void settings();
    void mountOptions();
    void reboot(); // last: the simulator restarts

private:
    void use(const QString& tool, std::function<void(QDialog*)> handle);
    void use(std::function<void()> open, std::function<void(QDialog*)> handle);
    void expectBox(const QString& text);

    QTemporaryDir data;
    DevsimProcess sim;
    ModalDriver driver;
    std::unique_ptr<MainWindow> window;
    KoClientMultUi* container = nullptr;
};

void TestConfigDevsim::initTestCase()
{
    // A fresh data folder, as on a new account, pointed at the simulator.
    QVERIFY(data.isValid());
    qputenv("PROGRAMDATA", QFile::encodeName(data.path()));
    QVERIFY(sim.start({"--passes", "2", "--fps", "5", "--size", "160x120", "--reboot-delay", "0"}));
    QFile network(KoAppData::Folder() + QStringLiteral("network.txt"));
    QVERIFY(network.open(QIODevice::WriteOnly));
    network.write(
        QStringLiteral("HOST_NAME = 127.0.0.1;\r\nPORT = %1;\r\n").arg(sim.port()).toLatin1());
    network.close();

    window = std::make_unique<MainWindow>();
    window->show();
    container = window->findChild<KoClientMultUi*>();
    QVERIFY(container);
    QTRY_COMPARE_WITH_TIMEOUT(container->PassCount(), 2, 10000);
    // The panel keeps the mount data the device reported on connecting.
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(QStringLiteral("params1.txt")), 10000);
}

void TestConfigDevsim::init()
{
    driver.boxes.clear();
    driver.onDialog = nullptr;
}

void TestConfigDevsim::cleanupTestCase()
{
    window.reset();
    sim.stop();
}

// Picks the Tools entry; handle fills in and closes the dialog it opens.
void TestConfigDevsim::use(const QString& tool, std::function<void(QDialog*)> handle)
{
    use(
        [&] {
            for (QAction* action :
                 window->findChild<QMenu*>(QStringLiteral("menuTools"))->actions())
                if (action->text() == tool)
                    action->trigger();
        },
        handle);
}

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

// Exactly one box, the window's, with OK only.
void TestConfigDevsim::expectBox(const QString& text)
{
    QTRY_COMPARE_WITH_TIMEOUT(driver.boxes.size(), 1, 10000);
    const ModalDriver::Box box = driver.boxes.takeFirst();
    QCOMPARE(box.icon, QMessageBox::Information);
    QCOMPARE(box.title, QStringLiteral("Succes!"));
    QCOMPARE(box.text, text);
    QCOMPARE(box.parent, window.get());
    QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

void TestConfigDevsim::update_data()
{
    QTest::addColumn<QStringList>("mode");
    QTest::newRow("clear") << QStringList();
    QTest::newRow("enciphered") << QStringList{"--cipher"};
}

// The second of two configurations reaches the device whole.
void TestConfigDevsim::update()
{
    QFETCH(QStringList, mode);
    QTemporaryDir work;
    const QString pcd = work.filePath(QStringLiteral("sw.pcd"));
    const QByteArray sizes[] = {QByteArray(13, 'a'), QByteArray(1000, '\xA5')};
    QStringList members;
    for (int i = 0; i < 2; ++i) {
        const QString name = work.filePath(QString::number(i));
        QFile file(name);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(sizes[i]) == sizes[i].size());
        members << QStringLiteral("conf%1=%2").arg(i).arg(name);
    }
    QProcess pcdtool;
    pcdtool.start(QStringLiteral(VELMORA_BIN_DIR "/pcdtool"),
                  QStringList{"pack"} + mode + QStringList{pcd} + members);
    QVERIFY(pcdtool.waitForFinished(10000));
    QCOMPARE(pcdtool.exitCode(), 0);

    use(QStringLiteral("Update"), [&](QDialog* dialog) {
        auto* updater = dialog->findChild<KoUpdater*>();
        updater->SetFileChooser(
            [&](QWidget*, const QString&, const QString&, const QString&) { return pcd; });
        dialog->findChild<QPushButton*>(QStringLiteral("browse"))->click();
        QCOMPARE(updater->ConfigurationNames(), (QStringList{"conf0", "conf1"}));
        auto* list = dialog->findChild<QListView*>(QStringLiteral("configurations"));
        list->setCurrentIndex(list->model()->index(1, 0));
        button(dialog, QStringLiteral("Ok"))->click();
    });
    expectBox(
        QStringLiteral("Update was finished succesfull. The device will reboot after 1 minute."));
    QVERIFY(sim.waitForOutput(QStringLiteral("software update of 1000 bytes, installed")));
}

// Rows: the Tools entry, its edits and what is typed into them, the answer's
// box and file, and what the editor shows when it is opened again.
void TestConfigDevsim::settings_data()
{
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QStringList>("edits");
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("written");
    QTest::addColumn<QStringList>("reopened");

    const QStringList modem{"+79001234567", "gdata", "s3cret", "internet.mts.ru"};
    QTest::newRow("modem") << "Modem settings"
                           << QStringList{"phone", "userName", "password", "apn"} << modem
                           << "Install modem settings OK!"
                           << "modem.txt"
                           << QByteArray("PHONE = +79001234567\r\nUSERNAME = gdata\r\n"
                                         "PASSWORD = s3cret\r\nAPN = internet.mts.ru\r\n")
                           << modem;
    QTest::newRow("server") << "Server settings" << QStringList{"ip", "key"}
                            << QStringList{"10.20.30.40", "k1"} << "Ip server settings OK!"
                            << "remote.txt" << QByteArray("IP = 10.20.30.40\r\n")
                            << QStringList{"10.20.30.40", ""};
}

void TestConfigDevsim::settings()
{
    QFETCH(QString, tool);
    QFETCH(QStringList, edits);
    QFETCH(QStringList, typed);
    QFETCH(QString, box);
    QFETCH(QString, file);
    QFETCH(QByteArray, written);
    QFETCH(QStringList, reopened);

    QVERIFY(!QFile::exists(file));
    use(tool, [&](QDialog* dialog) {
        for (int i = 0; i < edits.size(); ++i)
            dialog->findChild<QLineEdit*>(edits[i])->setText(typed[i]);
        button(dialog, QStringLiteral("OK"))->click();
    });
    expectBox(box);
    QCOMPARE(readFile(file), written);

    QStringList shown;
    use(tool, [&](QDialog* dialog) {
        shown = editTexts(dialog, edits);
        button(dialog, QStringLiteral("Cancel"))->click();
    });
    QCOMPARE(shown, reopened);
    QVERIFY(driver.boxes.isEmpty());
}

// The panel's "Options" shows what the device reported; a changed value comes
// back from the device and is what the dialog shows next time.
void TestConfigDevsim::mountOptions()
{
    QStringList titles;
    QList<QStringList> shown;
    const auto options = [&](const char* press, const QString& height) {
        use([&] { container->Panel(1)->optionsButton->click(); },
            [&](QDialog* dialog) {
                titles << dialog->windowTitle();
                shown << editTexts(dialog, optionEdits);
                dialog->findChild<QLineEdit*>(QStringLiteral("camMountHeight"))->setText(height);
                button(dialog, QLatin1String(press))->click();
            });
    };
    options("Ok", QStringLiteral("250"));
    // The link writes from the event loop: wait in it first.
    QTRY_VERIFY_WITH_TIMEOUT(readFile("params1.txt").startsWith("KO_CAM_MOUNT_HEIGHT = 250;"),
                             10000);
    QVERIFY(sim.waitForOutput(QStringLiteral("mount data of pass 1 (height 250 cm) stored")));
    options("Cancel", QString());

    const QString title = QStringLiteral("Mount options for 1 channel");
    QCOMPARE(titles, (QStringList{title, title}));
    QStringList reported{"220", "0", "100", "200", "10", "18", "10", "5", "175"};
    QCOMPARE(shown.value(0), reported);
    reported[0] = QStringLiteral("250");
    QCOMPARE(shown.value(1), reported);
    QVERIFY(driver.boxes.isEmpty());
}

void TestConfigDevsim::reboot()
{
    use(QStringLiteral("Reboot"),
        [](QDialog* dialog) { button(dialog, QStringLiteral("Ok"))->click(); });
    expectBox(QStringLiteral("Reboot command received"));
    QVERIFY(sim.waitForOutput(QStringLiteral("39: reboot -> 40")));
}

VELMORA_REAL_DISPLAY_MAIN(TestConfigDevsim)
#include "tst_config_devsim.moc"
