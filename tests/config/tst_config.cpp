// The configuration editors, their dialog hosts as the main window opens them,
// and what the main window makes of the device's answers.

#include "../support/real_display.h"
#include "../support/modal_driver.h"
#include "app/change_ip_dialog.h"
#include "app/command_dialogs.h"
#include "app/command_results.h"
#include "app/modem_dialog.h"
#include "app/options_dialog.h"
#include "app/reboot_dialog.h"
#include "settings/ko_apn_settings.h"
#include "settings/ko_client_options.h"
#include "settings/ko_ip_changer.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

// Stands in for the multi-pass container: only its send slots matter here.
class FakeContainer : public QObject
{
public:
    QList<QStringList> modem;
    QList<QStringList> server;
    int reboots = 0;
    QList<QPair<int, ClientOptions>> options;

    void sSendModemSettings(const QStringList& settings) { modem.append(settings); }
    void sSendServerIpSettings(const QStringList& settings) { server.append(settings); }
    void sReboot() { ++reboots; }
    void sSwUpdate(const QByteArray& sw) { updates.append(sw); }
    QList<QByteArray> updates;
    void sSendOptions(int id, ClientOptions record) { options.append({id, record}); }
};

const char* const optionEdits[] = {"camMountHeight", "camAngleSlope",       "minObjectHeight",
                                   "minHeadSquare",  "maxHumanVelocity",    "headSize",
                                   "minTrackLenght", "minLostObjectFrames", "etalonHeight"};

QStringList blanks(int count, const QString& text = QString())
{
    QStringList texts;
    for (int i = 0; i < count; ++i)
        texts << text;
    return texts;
}

QLineEdit* edit(QWidget* parent, const char* name)
{
    auto* found = parent->findChild<QLineEdit*>(QString::fromLatin1(name));
    if (!found)
        qFatal("no edit %s", name);
    return found;
}

QStringList editTexts(QWidget* parent, const QList<const char*>& names)
{
    QStringList texts;
    for (const char* name : names)
        texts << edit(parent, name)->text();
    return texts;
}

QList<const char*> optionEditNames()
{
    return QList<const char*>(std::begin(optionEdits), std::end(optionEdits));
}

QPushButton* button(QWidget* parent, const QString& text)
{
    for (auto* candidate : parent->findChildren<QPushButton*>())
        if (candidate->text() == text)
            return candidate;
    qFatal("no button %s", qPrintable(text));
    return nullptr;
}

void writeFile(const QString& name, const QByteArray& bytes)
{
    QFile file(name);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readFile(const QString& name)
{
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QVector<int32_t> fields(const ClientOptions& o)
{
    return {o.camMountHeight,      o.camViewAngle,     o.camAngleSlope, o.minObjectHeight,
            o.minHeadSquare,       o.maxHumanVelocity, o.headSize,      o.minTrackLenght,
            o.minLostObjectFrames, o.etalonHeight};
}

const QByteArray seed = "OLD = 1\r\n";

} // namespace

class TestConfig : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void optionsChecks_data();
    void optionsChecks();
    void optionsLoad_data();
    void optionsLoad();

    void apnLoad_data();
    void apnLoad();
    void ipLoad_data();
    void ipLoad();

    void openDialogs();
    void openOptionsDialog();

    void results_data();
    void results();
    void resultFileNotWritable();
    void confirmedSettingsReopen();

private:
    std::unique_ptr<QTemporaryDir> dir;
    QString previousDir;
};

void TestConfig::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
    previousDir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir->path()));
}

void TestConfig::cleanup()
{
    QDir::setCurrent(previousDir);
    dir.reset();
}

// Rows: the nine texts in screen order, then what the check makes of them.
void TestConfig::optionsChecks_data()
{
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("headSize");

    const QStringList base{"150", "10", "50", "100", "5", "2.5", "10", "3", "0"};
    auto row = [&](const char* name, int index, const char* text, bool accepted,
                   int head_size = 25) {
        QStringList texts = base;
        texts[index] = QString::fromLatin1(text);
        QTest::newRow(name) << texts << accepted << head_size;
    };

    QTest::newRow("all valid") << base << true << 25;
    QTest::newRow("empty") << blanks(9) << false << 0;
    row("height 100", 0, "100", false);
    row("height 101", 0, "101", true);
    row("height not a number", 0, "15O", false);
    row("slope -80", 1, "-80", true);
    row("slope 80", 1, "80", true);
    row("slope -81", 1, "-81", false);
    row("slope 81", 1, "81", false);
    row("object height 5", 2, "5", false);
    row("object height 6", 2, "6", true);
    row("object height = mount", 2, "150", false);
    row("object height < mount", 2, "149", true);
    row("object size negative", 3, "-7", true);
    row("object size empty", 3, "", false);
    row("velocity 0", 4, "0", false);
    row("velocity 1", 4, "1", true);
    row("head 2", 5, "2", false);
    row("head 2.0", 5, "2.0", false);
    row("head 2.01", 5, "2.01", true, 20);
    row("head 2.3", 5, "2.3", true, 22);
    row("head 3.19", 5, "3.19", true, 31);
    row("head comma", 5, "2,5", false);
    row("head nan", 5, "nan", false);
    row("head inf", 5, "inf", false);
    row("head beyond record", 5, "1e9", false);
    row("track 2", 6, "2", false);
    row("lost 0", 7, "0", false);
    row("lost 10 = track", 7, "10", false);
    row("lost 9 < track", 7, "9", true);
    row("etalon 30", 8, "30", false);
    row("etalon 31", 8, "31", true);
    row("etalon -1", 8, "-1", false);

    QStringList short_track = base;
    short_track[6] = QStringLiteral("2");
    short_track[7] = QStringLiteral("1");
    QTest::newRow("track 2 lost 1") << short_track << false << 0;
}

void TestConfig::optionsChecks()
{
    QFETCH(QStringList, texts);
    QFETCH(bool, accepted);
    QFETCH(int, headSize);

    QDialog host;
    auto* editor = new KoClientOptions(&host, 1);
    host.show();
    for (int i = 0; i < 9; ++i)
        edit(editor, optionEdits[i])->setText(texts.at(i));

    QList<QPair<int, ClientOptions>> sent;
    connect(editor, &KoClientOptions::eOkClicked, this, [&sent](int pass, ClientOptions record) {
        sent.append({pass, record});
    });
    ModalDriver driver;
    editor->sOkClicked();

    if (!accepted) {
        QVERIFY(sent.isEmpty());
        QCOMPARE(driver.boxes.size(), 1);
        QCOMPARE(driver.boxes[0].icon, QMessageBox::Warning);
        QCOMPARE(driver.boxes[0].title, QStringLiteral("Error"));
        QCOMPARE(driver.boxes[0].text, QStringLiteral("Incorrect parameters"));
        QCOMPARE(driver.boxes[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QVERIFY(host.isVisible());
        QCOMPARE(editTexts(editor, optionEditNames()), texts);
        return;
    }
    QVERIFY(driver.boxes.isEmpty());
    QVERIFY(!host.isVisible());
    QCOMPARE(sent.size(), 1);
    QCOMPARE(sent[0].first, 1);
    QVector<int32_t> expected;
    for (int i = 0; i < 9; ++i)
        expected << (i == 5 ? headSize : texts.at(i).toInt());
    expected.insert(1, 0); // view angle
    QCOMPARE(fields(sent[0].second), expected);
}

void TestConfig::optionsLoad_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("texts");

    QTest::newRow("no file") << QByteArray() << blanks(9);
    QTest::newRow("device values")
        << QByteArray("KO_CAM_MOUNT_HEIGHT = 230;\r\nKO_CAM_VIEW_ANGLE = 45;\r\n"
                      "KO_CAM_ANGLE_SLOPE = -12;\r\nKO_MIN_OBJECT_HEIGHT = 90;\r\n"
                      "KO_MIN_HEAD_SQUARE = 400;\r\nKO_MAX_HUMAN_VELOCITY = 12;\r\n"
                      "KO_HEAD_SIZE = 25;\r\nKO_MIN_TRACK_LENGHT = 8;\r\n"
                      "KO_MIN_LOST_OBJECT_FRAMES = 4;\r\nKO_ETALON_HEIGHT = 170;\r\n")
        << QStringList{"230", "-12", "90", "400", "12", "2.5", "8", "4", "170"};
    QTest::newRow("defaults and odd values")
        << QByteArray("KO_HEAD_SIZE = 20;\r\nKO_CAM_MOUNT_HEIGHT = abc;\r\n"
                      "KO_ETALON_HEIGHT = 99999999999;\r\n")
        << QStringList{"0", "0", "0", "0", "0", "2", "0", "0", "2147483647"};
    QTest::newRow("empty file") << QByteArray("") << blanks(9, QStringLiteral("0"));
}

void TestConfig::optionsLoad()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, texts);

    if (!file.isNull())
        writeFile(QStringLiteral("params3.txt"), file);
    writeFile(QStringLiteral("params0.txt"), "KO_CAM_MOUNT_HEIGHT = 555;\r\n");
    QDialog host;
    KoClientOptions editor(&host, 3);
    QCOMPARE(editTexts(&editor, optionEditNames()), texts);
    QVERIFY(!edit(&editor, "minHeadSquare")->isEnabled());
}

void TestConfig::apnLoad_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("texts");

    QTest::newRow("no file") << QByteArray() << blanks(4);
    QTest::newRow("all keys") << QByteArray("PHONE = *99#\r\nUSERNAME = gdata\r\n"
                                            "PASSWORD = s3cret\r\nAPN = internet.mts.ru\r\n")
                              << QStringList{"*99#", "gdata", "s3cret", "internet.mts.ru"};
    QTest::newRow("some keys, blank password")
        << QByteArray("APN = inet\nPASSWORD = two words\nPHONE =\n")
        << QStringList{"", "", "", "inet"};
}

void TestConfig::apnLoad()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, texts);
    if (!file.isNull())
        writeFile(QStringLiteral("modem.txt"), file);
    QDialog host;
    KoApnSettings editor(&host);
    QCOMPARE(editTexts(&editor, {"phone", "userName", "password", "apn"}), texts);
    QCOMPARE(edit(&editor, "password")->echoMode(), QLineEdit::Normal);
}

void TestConfig::ipLoad_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("address");

    QTest::newRow("no file") << QByteArray() << QString();
    QTest::newRow("address") << QByteArray("IP = 10.20.30.40\r\n") << QStringLiteral("10.20.30.40");
    QTest::newRow("address with blank") << QByteArray("IP = 10.20 30.40\r\n") << QString();
    QTest::newRow("no IP key") << QByteArray("KEY = abc\r\n") << QString();
}

void TestConfig::ipLoad()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, address);
    if (!file.isNull())
        writeFile(QStringLiteral("remote.txt"), file);
    QDialog host;
    KoIpChanger editor(&host);
    QCOMPARE(edit(&editor, "ip")->text(), address);
    QCOMPARE(edit(&editor, "key")->text(), QString());
}

// The Tools dialogs, opened the way the main window opens them: modal, parented
// to the window, connected to the container, and gone once closed.
void TestConfig::openDialogs()
{
    writeFile(QStringLiteral("remote.txt"), "IP = 10.0.0.1\r\n");
    QWidget window;
    FakeContainer container;
    ModalDriver driver;
    QList<QPointer<QDialog>> opened;
    QStringList titles;
    QString press;
    driver.onDialog = [&](QDialog* dialog) {
        opened.append(dialog);
        titles.append(dialog->windowTitle());
        QVERIFY(dialog->isModal());
        QCOMPARE(dialog->parentWidget(), &window);
        if (dialog->windowTitle() == QStringLiteral("Update sw dialog"))
            QVERIFY(!dialog->windowFlags().testFlag(Qt::WindowContextHelpButtonHint));
        if (dialog->findChild<KoApnSettings*>()) {
            edit(dialog, "phone")->setText(QStringLiteral("+7900"));
            edit(dialog, "password")->setText(QStringLiteral("pa ss"));
        }
        if (dialog->findChild<KoIpChanger*>()) {
            QCOMPARE(edit(dialog, "ip")->text(), QStringLiteral("10.0.0.1"));
            edit(dialog, "ip")->clear();
            edit(dialog, "key")->setText(QStringLiteral("k 1"));
        }
        button(dialog, press)->click();
    };

    press = QStringLiteral("Cancel");
    CommandDialogs::OpenModemDialog(&window, &container);
    CommandDialogs::OpenServerChangeDialog(&window, &container);
    CommandDialogs::OpenRebootDialog(&window, &container);
    CommandDialogs::OpenUpdateDialog(&window, &container);
    QVERIFY(container.updates.isEmpty());
    QVERIFY(container.modem.isEmpty());
    QVERIFY(container.server.isEmpty());
    QCOMPARE(container.reboots, 0);

    press = QStringLiteral("OK");
    CommandDialogs::OpenModemDialog(&window, &container);
    CommandDialogs::OpenServerChangeDialog(&window, &container);
    press = QStringLiteral("Ok");
    CommandDialogs::OpenRebootDialog(&window, &container);
    // Nothing is checked: empty texts and blanks go out as typed.
    QCOMPARE(container.modem, (QList<QStringList>{{"+7900", "", "pa ss", ""}}));
    QCOMPARE(container.server, (QList<QStringList>{{"", "k 1"}}));
    QCOMPARE(container.reboots, 1);

    const QStringList once{"Modem settings dialog", "Server IP dialog", ""};
    QCOMPARE(titles, once + QStringList{"Update sw dialog"} + once);
    QCOMPARE(opened.size(), 7);
    for (const auto& dialog : opened)
        QVERIFY(dialog.isNull());
}

// The device's values go back as they came, with the view angle always 0.
void TestConfig::openOptionsDialog()
{
    writeFile(QStringLiteral("params2.txt"),
              "KO_CAM_MOUNT_HEIGHT = 230;\r\nKO_CAM_VIEW_ANGLE = 45;\r\n"
              "KO_CAM_ANGLE_SLOPE = 5;\r\nKO_MIN_OBJECT_HEIGHT = 90;\r\n"
              "KO_MIN_HEAD_SQUARE = 400;\r\nKO_MAX_HUMAN_VELOCITY = 12;\r\n"
              "KO_HEAD_SIZE = 27;\r\nKO_MIN_TRACK_LENGHT = 8;\r\n"
              "KO_MIN_LOST_OBJECT_FRAMES = 4;\r\nKO_ETALON_HEIGHT = 0;\r\n");
    QWidget window;
    FakeContainer container;
    ModalDriver driver;
    QStringList titles;
    driver.onDialog = [&](QDialog* dialog) {
        titles.append(dialog->windowTitle());
        button(dialog, QStringLiteral("Cancel"))->click();
    };
    CommandDialogs::OpenOptionsDialog(&window, &container, 2);
    QVERIFY(container.options.isEmpty());

    driver.onDialog = [&](QDialog* dialog) {
        titles.append(dialog->windowTitle());
        // First a refused value: the box comes up over the dialog, which stays.
        edit(dialog, "maxHumanVelocity")->setText(QStringLiteral("0"));
        button(dialog, QStringLiteral("Ok"))->click();
        QVERIFY(dialog->isVisible());
        // The next check reads every row again.
        edit(dialog, "camMountHeight")->setText(QStringLiteral("200"));
        edit(dialog, "maxHumanVelocity")->setText(QStringLiteral("12"));
        button(dialog, QStringLiteral("Ok"))->click();
    };
    CommandDialogs::OpenOptionsDialog(&window, &container, 2);

    QCOMPARE(titles, blanks(2, QStringLiteral("Mount options for 2 channel")));
    QCOMPARE(driver.boxes.size(), 1);
    QCOMPARE(container.options.size(), 1);
    QCOMPARE(container.options[0].first, 2);
    QCOMPARE(fields(container.options[0].second),
             (QVector<int32_t>{200, 0, 5, 90, 400, 12, 27, 8, 4, 0}));
}

enum Command
{
    Update,
    Reboot,
    Modem,
    Server
};

// Rows: the answer, the box it brings up (icon -1: none), and the bytes of
// "modem.txt" and "remote.txt" afterwards; both start out as the seed.
void TestConfig::results_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<QStringList>("settings");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("icon");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("modemFile");
    QTest::addColumn<QByteArray>("remoteFile");

    const int info = QMessageBox::Information;
    const int warn = QMessageBox::Warning;
    const QString ok = QStringLiteral("Succes!");
    const QString bad = QStringLiteral("Warning!");
    const QStringList four{"+79001234567", "gdata", "pa ss", "internet"};
    const QByteArray modem = "PHONE = +79001234567\r\nUSERNAME = gdata\r\n"
                             "PASSWORD = pa ss\r\nAPN = internet\r\n";

    QTest::newRow("update 100")
        << int(Update) << QStringList() << 100 << info << ok
        << "Update was finished succesfull. The device will reboot after 1 minute." << seed << seed;
    QTest::newRow("update 0") << int(Update) << QStringList() << 0 << warn << bad
                              << "Update trouble. Code error: 0" << seed << seed;
    QTest::newRow("update -7") << int(Update) << QStringList() << -7 << warn << bad
                               << "Update trouble. Code error: -7" << seed << seed;
    QTest::newRow("reboot") << int(Reboot) << QStringList() << 0 << info << ok
                            << "Reboot command received" << seed << seed;

    QTest::newRow("modem 1") << int(Modem) << four << 1 << info << ok
                             << "Install modem settings OK!" << modem << seed;
    QTest::newRow("modem 0") << int(Modem) << four << 0 << -1 << ""
                             << "" << modem << seed;
    QTest::newRow("modem 2") << int(Modem) << four << 2 << -1 << ""
                             << "" << modem << seed;
    QTest::newRow("modem -3") << int(Modem) << four << -3 << warn << bad
                              << "Can not set modem settings. Code error: -3" << seed << seed;
    QTest::newRow("modem three items") << int(Modem) << QStringList(four.mid(0, 3)) << 1 << info
                                       << ok << "Install modem settings OK!" << seed << seed;
    QTest::newRow("modem five items")
        << int(Modem) << (four + QStringList{"extra"}) << 0 << -1 << ""
        << "" << modem << seed;
    QTest::newRow("modem empty texts")
        << int(Modem) << blanks(4) << 0 << -1 << ""
        << "" << QByteArray("PHONE = \r\nUSERNAME = \r\nPASSWORD = \r\nAPN = \r\n") << seed;
    QTest::newRow("modem non-ascii")
        << int(Modem) << QStringList{"1", "оператор", "2", "3"} << 0 << -1 << ""
        << "" << QByteArray("PHONE = 1\r\nUSERNAME = оператор\r\nPASSWORD = 2\r\nAPN = 3\r\n")
        << seed;

    QTest::newRow("modem line break")
        << int(Modem) << QStringList{"1\r\nAPN = evil", "u", "p", "a"} << 0 << -1 << ""
        << "" << QByteArray("PHONE = 1\r\nUSERNAME = u\r\nPASSWORD = p\r\nAPN = a\r\n") << seed;

    QTest::newRow("server 1") << int(Server) << QStringList{"10.1.2.3", "key"} << 1 << info << ok
                              << "Ip server settings OK!" << seed
                              << QByteArray("IP = 10.1.2.3\r\n");
    QTest::newRow("server 1 empty list") << int(Server) << QStringList() << 1 << info << ok
                                         << "Ip server settings OK!" << seed << seed;
    QTest::newRow("server 0") << int(Server) << QStringList{"srv 1"} << 0 << -1 << ""
                              << "" << seed << QByteArray("IP = srv 1\r\n");
    QTest::newRow("server -1") << int(Server) << QStringList{"10.1.2.3"} << -1 << warn << bad
                               << "Can not set ip server. Code error: -1" << seed << seed;
}

void TestConfig::results()
{
    QFETCH(int, command);
    QFETCH(QStringList, settings);
    QFETCH(int, code);
    QFETCH(int, icon);
    QFETCH(QString, title);
    QFETCH(QString, text);
    QFETCH(QByteArray, modemFile);
    QFETCH(QByteArray, remoteFile);

    writeFile(QStringLiteral("modem.txt"), seed);
    writeFile(QStringLiteral("remote.txt"), seed);
    QWidget window;
    ModalDriver driver;
    switch (command) {
    case Update:
        CommandResults::UpdateFinished(&window, code);
        break;
    case Reboot:
        CommandResults::RebootAck(&window);
        break;
    case Modem:
        CommandResults::ModemSettingsAck(&window, settings, code);
        break;
    case Server:
        CommandResults::IpServerAck(&window, settings, code);
        break;
    }

    if (icon < 0) {
        QVERIFY(driver.boxes.isEmpty());
    } else {
        QCOMPARE(driver.boxes.size(), 1);
        const ModalDriver::Box& box = driver.boxes[0];
        QCOMPARE(int(box.icon), icon);
        QCOMPARE(box.title, title);
        QCOMPARE(box.text, text);
        QCOMPARE(box.parent, &window);
        QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }
    QCOMPARE(readFile(QStringLiteral("modem.txt")), modemFile);
    QCOMPARE(readFile(QStringLiteral("remote.txt")), remoteFile);
}

// A file that cannot be written is skipped without a word.
void TestConfig::resultFileNotWritable()
{
    QVERIFY(QDir().mkdir(QStringLiteral("remote.txt")));
    QVERIFY(QDir().mkdir(QStringLiteral("modem.txt")));
    QWidget window;
    ModalDriver driver;
    CommandResults::IpServerAck(&window, {"10.1.2.3"}, 0);
    CommandResults::ModemSettingsAck(&window, blanks(4), 0);
    QVERIFY(driver.boxes.isEmpty());
    QVERIFY(!CommandResults::WriteRemoteFile({"10.1.2.3"}));
    QVERIFY(!CommandResults::WriteModemFile(blanks(4)));
}

// What the device confirmed is what the editors show next time, apart from
// values the settings reader cannot take back (a blank inside).
void TestConfig::confirmedSettingsReopen()
{
    QWidget window;
    CommandResults::ModemSettingsAck(&window, {"*99#", "gdata", "pa ss", "inet"}, 0);
    CommandResults::IpServerAck(&window, {"10.9.8.7", "key"}, 0);
    QDialog host;
    KoApnSettings modem(&host);
    QCOMPARE(editTexts(&modem, {"phone", "userName", "password", "apn"}),
             (QStringList{"*99#", "gdata", "", "inet"}));
    KoIpChanger server(&host);
    QCOMPARE(edit(&server, "ip")->text(), QStringLiteral("10.9.8.7"));
    QCOMPARE(edit(&server, "key")->text(), QString());
}

VELMORA_REAL_DISPLAY_MAIN(TestConfig)
#include "tst_config.moc"
