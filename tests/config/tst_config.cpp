// The configuration editors, their dialog hosts as the main window opens them,
// and what the main window makes of the device's answers.

#include "../support/buttons.h"
#include "../support/files.h"
#include "../support/real_display.h"
#include "../support/modal_driver.h"
#include "app/command_results.h"
#include "settings/ko_apn_settings.h"
#include "settings/ko_client_options.h"
#include "settings/ko_ip_changer.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

const QStringList optionEdits{"camMountHeight", "camAngleSlope",       "minObjectHeight",
                              "minHeadSquare",  "maxHumanVelocity",    "headSize",
                              "minTrackLenght", "minLostObjectFrames", "etalonHeight"};

QStringList blanks(int count)
{
    return QVector<QString>(count).toList();
}

QLineEdit* edit(QWidget* parent, const QString& name)
{
    auto* found = parent->findChild<QLineEdit*>(name);
    if (!found)
        qFatal("no edit %s", qPrintable(name));
    return found;
}

QStringList editTexts(QWidget* parent, const QStringList& names)
{
    QStringList texts;
    for (const QString& name : names)
        texts << edit(parent, name)->text();
    return texts;
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

    void editorsLoad();
    void editorChecks_data();
    void editorChecks();

    void results_data();
    void results();
    void resultFileNotWritable();

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

// Rows: the nine texts in screen order, then what the check makes of them:
// the row it refuses (-1: none) or the head size it sends.
void TestConfig::optionsChecks_data()
{
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<int>("refused");
    QTest::addColumn<int>("headSize");

    const QStringList base{"150", "10", "50", "100", "5", "2.5", "10", "3", "0"};
    auto row = [&](const char* name, int index, const char* text, bool accepted,
                   int head_size = 25) {
        QStringList texts = base;
        texts[index] = QString::fromLatin1(text);
        QTest::newRow(name) << texts << (accepted ? -1 : index) << head_size;
    };

    QTest::newRow("all valid") << base << -1 << 25;
    QTest::newRow("empty") << blanks(9) << 0 << 0;
    row("height 101", 0, "101", true);
    row("slope -80", 1, "-80", true);
    row("slope 80", 1, "80", true);
    row("slope -81", 1, "-81", false);
    row("object height 6", 2, "6", true);
    row("object height = mount", 2, "150", false);
    row("velocity 1", 4, "1", true);
    // Rounded to tenths before the check: what is sent is what reopens.
    row("head 2.01", 5, "2.01", false);
    row("head 2.05", 5, "2.05", true, 21);
    row("head 2.3", 5, "2.3", true, 23);
    row("head 7", 5, "7", true, 70);
    row("head comma", 5, "2,5", false);
    row("track 2", 6, "2", false);
    row("lost 1", 7, "1", true);
    row("lost 10 = track", 7, "10", false);
    row("etalon 30", 8, "30", false);
    row("etalon 31", 8, "31", true);
}

void TestConfig::optionsChecks()
{
    QFETCH(QStringList, texts);
    QFETCH(int, refused);
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

    if (refused >= 0) {
        QVERIFY(sent.isEmpty());
        QCOMPARE(driver.boxes.size(), 1);
        QCOMPARE(driver.boxes[0].icon, QMessageBox::Warning);
        QCOMPARE(driver.boxes[0].title, QStringLiteral("Error"));
        // The first bad row is named, with what it takes, and has the focus.
        const QStringList names{
            "Camera mount height (sm.)", "Camera slope angle (dg.)",    "Min. object heght (sm.)",
            "Object size (pix.)",        "Max object velocity (km/h.)", "Head size (sm.)",
            "Min track lenght (frames)", "Lost object lenght (frames)", "Etalon height (sm.)"};
        const QString text = driver.boxes[0].text;
        QVERIFY2(text.startsWith("Incorrect parameters\n\n" + names[refused] + ": "),
                 qPrintable(text));
        QCOMPARE(driver.boxes[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QVERIFY(host.isVisible());
        QCOMPARE(host.focusWidget(), edit(editor, optionEdits[refused]));
        QCOMPARE(editTexts(editor, optionEdits), texts);
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
}

void TestConfig::optionsLoad()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, texts);

    if (!file.isNull())
        QVERIFY(writeFile(QStringLiteral("params3.txt"), file));
    QVERIFY(writeFile(QStringLiteral("params0.txt"), "KO_CAM_MOUNT_HEIGHT = 555;\r\n"));
    QDialog host;
    KoClientOptions editor(&host, 3);
    QCOMPARE(editTexts(&editor, optionEdits), texts);
    QVERIFY(!edit(&editor, "minHeadSquare")->isEnabled());
}

// What the editors open with: the files of the device's last confirmation.
void TestConfig::editorsLoad()
{
    QDialog host;
    const QStringList apnFields{"phone", "userName", "password", "apn"};
    QCOMPARE(editTexts(new KoApnSettings(&host), apnFields), blanks(4));
    QCOMPARE(edit(new KoIpChanger(&host), "ip")->text(), QString());
    QVERIFY(writeFile(QStringLiteral("modem.txt"), "PHONE = *99#\r\nUSERNAME = gdata\r\n"
                                                   "PASSWORD = s3cret\r\nAPN = internet.mts.ru\r\n"));
    QVERIFY(writeFile(QStringLiteral("remote.txt"), "IP = 10.20.30.40\r\n"));
    auto* modem = new KoApnSettings(&host);
    QCOMPARE(editTexts(modem, apnFields),
             (QStringList{"*99#", "gdata", "s3cret", "internet.mts.ru"}));
    auto* server = new KoIpChanger(&host);
    QCOMPARE(editTexts(server, {"ip", "key"}), (QStringList{"10.20.30.40", ""}));
    // Masked until asked for.
    QCOMPARE(edit(modem, "password")->echoMode(), QLineEdit::Password);
    modem->findChild<QCheckBox*>("showPassword")->click();
    QCOMPARE(edit(modem, "password")->echoMode(), QLineEdit::Normal);
}

// Rows: the field typed into (of the modem editor, or "ip" of the server
// editor), what is typed, and the field the refusal names, or what is sent.
void TestConfig::editorChecks_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("named");
    QTest::addColumn<QStringList>("sent");
    const auto refused = [](const char* name, const char* field, const QString& text,
                            const char* named) {
        QTest::newRow(name) << QString(field) << text << QString(named) << QStringList();
    };
    // What "modem.txt" could not give back the next time.
    refused("password with blank", "password", "pa ss", "Password");
    refused("address 999.1.1", "ip", "999.1.1", "Ip address");
    QTest::newRow("host name, blanks around") << "ip"
                                              << " srv.example.com "
                                              << "" << QStringList{"srv.example.com", "k 1"};
}

void TestConfig::editorChecks()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, named);
    QFETCH(QStringList, sent);

    QDialog host;
    QStringList got;
    const auto send = [&got](const QStringList& settings) {
        got = settings;
        return true;
    };
    QWidget* editor = nullptr;
    if (field == "ip") {
        auto* changer = new KoIpChanger(&host);
        changer->SetSender(send);
        edit(changer, "key")->setText("k 1");
        editor = changer;
    } else {
        auto* modem = new KoApnSettings(&host);
        modem->SetSender(send);
        editor = modem;
    }
    host.show();
    edit(editor, field)->setText(text);
    ModalDriver driver;
    button(editor, "OK")->click();

    if (named.isEmpty()) {
        QVERIFY(driver.boxes.isEmpty());
        QCOMPARE(got, sent);
        QVERIFY(!host.isVisible());
        return;
    }
    QCOMPARE(driver.boxes.size(), 1);
    QCOMPARE(driver.boxes[0].title, QStringLiteral("Error"));
    QVERIFY2(driver.boxes[0].text.startsWith(named), qPrintable(driver.boxes[0].text));
    QVERIFY(got.isEmpty());
    QVERIFY(host.isVisible());
    QCOMPARE(host.focusWidget(), edit(editor, field));
    QCOMPARE(edit(editor, field)->text(), text);
}

// Rows: the answer, the box it brings up ("title: text", none: ""), and the
// bytes of "modem.txt" and "remote.txt" afterwards; both start out as the seed.
void TestConfig::results_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QStringList>("settings");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QByteArray>("modemFile");
    QTest::addColumn<QByteArray>("remoteFile");
    const QStringList four{"+79001234567", "gdata", "pa ss", "internet"};
    const QByteArray modem = "PHONE = +79001234567\r\nUSERNAME = gdata\r\n"
                             "PASSWORD = pa ss\r\nAPN = internet\r\n";

    // Success boxes of the update and the reboot: tst_config_devsim's commands.
    QTest::newRow("update 0") << "update" << QStringList() << 0
                              << "Warning!: Update trouble. Code error: 0" << seed << seed;
    QTest::newRow("modem 0") << "modem" << four << 0 << "" << modem << seed;
    QTest::newRow("modem -3") << "modem" << four << -3
                              << "Warning!: Can not set modem settings. Code error: -3" << seed
                              << seed;
    QTest::newRow("modem three items") << "modem" << QStringList(four.mid(0, 3)) << 1
                                       << "Succes!: Install modem settings OK!" << seed << seed;
    QTest::newRow("server 1 empty list")
        << "server" << QStringList() << 1 << "Succes!: Ip server settings OK!" << seed << seed;
    QTest::newRow("server 0") << "server" << QStringList{"srv 1"} << 0 << "" << seed
                              << QByteArray("IP = srv 1\r\n");
    QTest::newRow("server -1") << "server" << QStringList{"10.1.2.3"} << -1
                               << "Warning!: Can not set ip server. Code error: -1" << seed << seed;
}

void TestConfig::results()
{
    QFETCH(QString, command);
    QFETCH(QStringList, settings);
    QFETCH(int, code);
    QFETCH(QString, box);
    QFETCH(QByteArray, modemFile);
    QFETCH(QByteArray, remoteFile);

    QVERIFY(writeFile(QStringLiteral("modem.txt"), seed));
    QVERIFY(writeFile(QStringLiteral("remote.txt"), seed));
    QWidget window;
    ModalDriver driver;
    if (command == "update")
        CommandResults::UpdateFinished(&window, code);
    else if (command == "modem")
        CommandResults::ModemSettingsAck(&window, settings, code);
    else
        CommandResults::IpServerAck(&window, settings, code);

    QStringList shown;
    for (const ModalDriver::Box& b : qAsConst(driver.boxes)) {
        shown << b.title + ": " + b.text;
        QCOMPARE(b.icon, b.title == "Succes!" ? QMessageBox::Information : QMessageBox::Warning);
        QCOMPARE(b.parent, &window);
        QCOMPARE(b.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }
    QCOMPARE(shown.join('|'), box);
    QCOMPARE(readFile(QStringLiteral("modem.txt")), modemFile);
    QCOMPARE(readFile(QStringLiteral("remote.txt")), remoteFile);
    // The password is the owner's alone once the file holds one.
    const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                            QFileDevice::ReadOther | QFileDevice::WriteOther;
    QCOMPARE(bool(QFile::permissions("modem.txt") & others), modemFile == seed);
}

// A file that cannot be written is said, with its name.
void TestConfig::resultFileNotWritable()
{
    QVERIFY(QDir().mkdir(QStringLiteral("remote.txt")));
    QVERIFY(QDir().mkdir(QStringLiteral("modem.txt")));
    QWidget window;
    ModalDriver driver;
    CommandResults::IpServerAck(&window, {"10.1.2.3"}, 0);
    CommandResults::ModemSettingsAck(&window, blanks(4), 0);
    QCOMPARE(driver.boxes.size(), 2);
    QCOMPARE(driver.boxes[0].title, QStringLiteral("Error"));
    QVERIFY(driver.boxes[0].text.contains("\"remote.txt\" could not be written"));
    QVERIFY(driver.boxes[1].text.contains("\"modem.txt\" could not be written"));
}

VELMORA_REAL_DISPLAY_MAIN(TestConfig)
#include "tst_config.moc"
