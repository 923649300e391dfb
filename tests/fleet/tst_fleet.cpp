// The fleet: the address book's two forms on disk, the readers' refusals, and
// a configuration copied from one velmora-devsim to another through the main
// window, as the operator does it: saved from the first, the second connected
// through the address book, applied, and read back.

#include "../support/devsim_process.h"
#include "../support/files.h"
#include "../support/modal_driver.h"
#include "../support/real_display.h"
#include "../support/wait_for.h"
#include "fleet/ko_address_book.h"
#include "fleet/ko_address_book_window.h"
#include "fleet/ko_apply_dialog.h"
#include "fleet/ko_config_profile.h"
#include "fleet/ko_device_editor.h"
#include "fleet/ko_device_state.h"
#include "fleet/ko_fleet.h"
#include "ko_app_data.h"
#include "ko_client_mult_ui.h"
#include "ko_link_status_widget.h"
#include "ko_menus.h"
#include "ko_network_settings.h"
#include "ko_tcp_client.h"
#include "main_window.h"

#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QtTest>

#include <memory>

namespace {

KoUserParams line(QVector<QPointF> points, const QRectF& zone)
{
    KoUserParams p;
    p.line = points;
    p.count = points.size();
    p.zone = zone;
    return p;
}

// What a device reports of its two doors when a connection is made: per
// pass the line's points and the zone in thousandths, then the mount options
// but the view angle.
QVector<QVector<int>> readBack(quint16 port)
{
    QVector<QVector<int>> lines(2), mounts(2);
    KoTcpClient link(nullptr, QStringLiteral("127.0.0.1"), port);
    QObject::connect(&link, &KoTcpClient::eConnected, &link, [&] { link.SendConnectedReq(); });
    QObject::connect(&link, &KoTcpClient::eUserParamsRecieved, &link,
                     [&](int pass, const KoUserParams& p) {
                         QVector<int>& m = lines[qBound(0, pass, 1)];
                         m.clear();
                         for (const QPointF& q : p.line)
                             m << qRound(q.x() * 1000) << qRound(q.y() * 1000);
                         const QRectF& z = p.zone;
                         for (const qreal v : {z.x(), z.y(), z.width(), z.height()})
                             m << qRound(v * 1000);
                     });
    QObject::connect(&link, &KoTcpClient::eMountDataRecieved, &link,
                     [&](int pass, const ClientOptions& o) {
                         mounts[qBound(0, pass, 1)] = {
                             o.camMountHeight, o.camAngleSlope,       o.minObjectHeight,
                             o.minHeadSquare,  o.maxHumanVelocity,    o.headSize,
                             o.minTrackLenght, o.minLostObjectFrames, o.etalonHeight};
                     });
    WaitFor([&] { return !mounts[1].isEmpty() && !lines[1].isEmpty(); }, 10000);
    return {lines[0] + mounts[0], lines[1] + mounts[1]};
}

} // namespace

class TestFleet : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void bookRoundTrip_data();
    void bookRoundTrip();
    void readersRefuse_data();
    void readersRefuse();
    void copyConfiguration();
    void applyRefused_data();
    void applyRefused();

private:
    // Triggers a File entry; handle gets each dialog it brings up, in turn.
    void file(const QString& entry, const std::function<void(QDialog*)>& handle);
    static void chooseFile(QDialog* dialog, const QString& path);
    void connectThroughBook(const QString& name, quint16 port);
    void connectThroughLan(quint16 port);
    void expectDevice(const QString& name, quint16 port);

    QTemporaryDir data;
    QTemporaryDir work;
    DevsimProcess first, second, refusing;
    ModalDriver driver;
    std::unique_ptr<MainWindow> window;
    KoFleet* fleet = nullptr;
    KoTcpClient* link = nullptr;
    QString saved;
};

void TestFleet::initTestCase()
{
    QVERIFY(data.isValid() && work.isValid());
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    qputenv("PROGRAMDATA", QFile::encodeName(data.path()));
    const QStringList quick{"--passes", "2", "--fps", "5", "--size", "160x120"};
    QVERIFY(first.start(quick));
    QVERIFY(second.start(quick));
    QVERIFY(refusing.start(quick + QStringList{"--refuse", "mount"}));
    QVERIFY(first.writeNetworkFile(KoAppData::Folder()));
    saved = work.filePath("bus 12.json");
}

void TestFleet::cleanupTestCase()
{
    window.reset();
}

void TestFleet::file(const QString& entry, const std::function<void(QDialog*)>& handle)
{
    driver.onDialog = [&](QDialog* dialog) {
        handle(dialog);
        if (dialog->isVisible() && !qobject_cast<QFileDialog*>(dialog))
            dialog->reject(); // a failed step must not hang the test
    };
    for (QAction* action : window->findChild<QMenu*>("menuFile")->actions())
        if (KoMenus::PlainText(action->text()) == entry)
            action->trigger(); // returns once its dialogs are closed
    driver.onDialog = nullptr;
}

void TestFleet::chooseFile(QDialog* dialog, const QString& path)
{
    auto* files = qobject_cast<QFileDialog*>(dialog);
    QVERIFY(files);
    files->findChild<QLineEdit*>("fileNameEdit")->setText(path);
    QMetaObject::invokeMethod(files, "accept");
}

// The two forms of the book give back what they were given: names with
// commas, quotes and Cyrillic letters, notes of several lines.
void TestFleet::bookRoundTrip_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("vehicle");
    QTest::addColumn<QString>("notes");
    QTest::addColumn<bool>("spreadsheet"); // CSV in Windows-1251 with ";" as a spreadsheet saves it

    QTest::newRow("commas and quotes") << "Bus \"12\", depot 3"
                                       << "A,1"
                                       << "rear door\n\"sticky\"" << false;
    QTest::newRow("Cyrillic") << QString::fromUtf8("Автобус №7") << QString::fromUtf8("А123ВС 77")
                              << QString::fromUtf8("камера над дверью 2") << false;
    QTest::newRow("spreadsheet") << QString::fromUtf8("Троллейбус 5") << QString::fromUtf8("Т 5")
                                 << QString::fromUtf8("заметка") << true;
}

void TestFleet::bookRoundTrip()
{
    QFETCH(QString, name);
    QFETCH(QString, vehicle);
    QFETCH(QString, notes);
    QFETCH(bool, spreadsheet);

    KoAddressBook book;
    const QDateTime at(QDate(2024, 5, 1), QTime(10, 20, 30), Qt::UTC);
    book.devices = {{name, vehicle, 3, "10.1.2.3", 4600, notes, at, "2.1"},
                    {"second", vehicle, 0, "bus-7.depot", 4600, "", QDateTime(), ""}};

    KoAddressBook json;
    QString why;
    QVERIFY2(KoAddressBook::FromJson(book.ToJson(), &json, &why), qPrintable(why));
    QCOMPARE(json.devices, book.devices);

    QByteArray csv = book.ToCsv();
    if (spreadsheet)
        csv = QTextCodec::codecForName("Windows-1251")
                  ->fromUnicode(QString::fromUtf8(csv.mid(3)).replace(',', ';'));
    KoAddressBook::CsvImport imported;
    QVERIFY2(KoAddressBook::FromCsv(csv, &imported, &why), qPrintable(why));
    QVERIFY(imported.skipped.isEmpty());
    QCOMPARE(imported.devices, book.devices);
}

// What the readers refuse, and why; a CSV line that makes no device is left
// out and named.
void TestFleet::readersRefuse_data()
{
    QTest::addColumn<QString>("reader");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("why"); // empty: read

    const QByteArray device = R"({"name":"a","host":"10.0.0.1","port":4567})";
    const auto book = [](const QByteArray& devices, int version = 1) {
        return R"({"format":"velmora-address-book","version":)" + QByteArray::number(version) +
               R"(,"devices":[)" + devices + "]}";
    };
    QTest::newRow("book") << "book" << book(device) << "";
    QTest::newRow("book, newer") << "book" << book(device, 2)
                                 << "written by a newer configurator (format 2";
    QTest::newRow("book, port") << "book" << book(QByteArray(device).replace("4567", "70000"))
                                << "device 1: the port is missing or not a number from 1 to 65535";
    QTest::newRow("book, twice") << "book" << book(device + "," + device)
                                 << "device 2: the same address as device 1";
    QTest::newRow("book, no host") << "book" << book(QByteArray(device).replace("10.0.0.1", "a b"))
                                   << "device 1: \"a b\" is neither an IP address nor a host name";
    QTest::newRow("book, cut") << "book" << book(device).left(30) << "it is not JSON";
    QTest::newRow("book, at the limit")
        << "book" << book(device).leftJustified(KoAddressBook::MaxFileBytes, ' ') << "";
    QTest::newRow("book, port 1.5") << "book" << book(QByteArray(device).replace("4567", "1.5"))
                                    << "device 1: the port is missing";
    QTest::newRow("book, version on two lines")
        << "book" << book(QByteArray(device).replace("}", R"(,"softwareVersion":"1\n2"})"))
        << "device 1: the software version";
    QTest::newRow("book, too big")
        << "book" << QByteArray(KoAddressBook::MaxFileBytes + 1, ' ') << "larger than 4 MiB";
    QTest::newRow("csv, bad line")
        << "csv" << QByteArray("name,host,port\na,10.0.0.1,1\nb,10.0.0.2,0\n")
        << "skipped: line 3: the port \"0\"";
    QTest::newRow("csv, no header")
        << "csv" << QByteArray("a,10.0.0.1\n") << "names no columns \"name\" and \"host\"";
    QTest::newRow("csv, open quote")
        << "csv" << QByteArray("name,host\n\"a,10.0.0.1\n") << "line 2: a quote is not closed";

    KoConfigProfile p;
    p.saved = QDateTime::currentDateTimeUtc();
    KoConfigProfile::Door door;
    door.hasLine = true;
    door.line = line({{0.1, 0.9}, {0.9, 0.9}}, QRectF(0.05, 0.05, 0.9, 0.9));
    p.doors << door;
    const QByteArray profile = p.ToJson();
    QTest::newRow("profile") << "profile" << profile << "";
    QTest::newRow("profile, newer")
        << "profile" << QByteArray(profile).replace("\"version\": 1", "\"version\": 3")
        << "written by a newer configurator (format 3";
    QTest::newRow("profile, cut") << "profile" << profile.left(profile.size() / 2)
                                  << "it is not JSON";
    QTest::newRow("profile, a point of three numbers")
        << "profile" << QByteArray(profile).replace("\"line\": [", "\"line\": [[0.5, 0.5, 0.5], ")
        << "door 1: a point of the line is not two numbers";
    // Read, but not to be applied: the zone runs off the picture.
    QTest::newRow("profile, zone off the picture")
        << "profile" << QByteArray(profile).replace("\"width\": 0.9", "\"width\": 0.96")
        << "blocked: the zone 0.05, 0.05, 0.96 x 0.9 does not lie on the picture";
    QTest::newRow("profile, pass 5")
        << "profile" << QByteArray(profile).replace("\"pass\": 0", "\"pass\": 5")
        << "door 1: the pass is missing or not 0 to 3";
    // The line's two points and 63 more.
    const QByteArray with_long_line = QByteArray(profile).replace(
        "\"line\": [", "\"line\": [" + QByteArray("[0.5, 0.5], ").repeated(63));
    QTest::newRow("profile, 65 points")
        << "profile" << with_long_line << "door 1: the line is not a list of at most 64 points";
}

void TestFleet::readersRefuse()
{
    QFETCH(QString, reader);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, why);

    QString error;
    bool read = false;
    if (reader == "book") {
        KoAddressBook book;
        read = KoAddressBook::FromJson(bytes, &book, &error);
    } else if (reader == "csv") {
        KoAddressBook::CsvImport imported;
        read = KoAddressBook::FromCsv(bytes, &imported, &error);
        if (read && !imported.skipped.isEmpty())
            error = "skipped: " + imported.skipped.join('|');
    } else {
        KoConfigProfile profile;
        read = KoConfigProfile::FromJson(bytes, &profile, &error);
        if (read && !KoConfigProfile::CheckLine(profile.doors.value(0).line).isEmpty())
            error = "blocked: " + KoConfigProfile::CheckLine(profile.doors.value(0).line);
    }
    QVERIFY2(error.contains(why) && (read || !why.isEmpty()), qPrintable(error));
    QCOMPARE(read, why.isEmpty() || why.startsWith("skipped") || why.startsWith("blocked"));
}

// Adds a device through the book's window and connects to it there.
void TestFleet::connectThroughBook(const QString& name, quint16 port)
{
    file("Address book", [&](QDialog* dialog) {
        if (auto* editor = qobject_cast<KoDeviceEditor*>(dialog)) {
            editor->findChild<QLineEdit*>("name")->setText(name);
            editor->findChild<QLineEdit*>("host")->setText("127.0.0.1");
            editor->findChild<QLineEdit*>("port")->setText(QString::number(port));
            editor->accept();
            return;
        }
        auto* book = qobject_cast<KoAddressBookWindow*>(dialog);
        QVERIFY(book);
        book->findChild<QPushButton*>("add")->click(); // returns once the editor is closed
        book->findChild<QLineEdit*>("search")->setText(name);
        auto* table = book->findChild<QTableWidget*>("devices");
        for (int row = 0; row < table->rowCount(); ++row)
            if (!table->isRowHidden(row))
                table->selectRow(row);
        QCOMPARE(book->Chosen(), fleet->Book().IndexOf("127.0.0.1", port));
        book->findChild<QPushButton*>("connect")->click();
        QVERIFY(!book->isVisible());
    });
    expectDevice(name, port);
}

// Types an address the book does not know into "Lan options", first without
// and then with "Add to the address book" ticked.
void TestFleet::connectThroughLan(quint16 port)
{
    for (const bool add : {false, true}) {
        driver.onDialog = [&](QDialog* dialog) {
            auto* settings = dialog->findChild<KoNetworkSettings*>();
            settings->portEdit->setText(QString::number(port));
            QVERIFY(!settings->addToBook->isHidden());
            settings->addToBook->setChecked(add);
            settings->sOkClicked();
        };
        window->sOpenNetworkSettingsDialog();
        QCOMPARE(fleet->Book().IndexOf("127.0.0.1", port) >= 0, add);
    }
    driver.onDialog = nullptr;
    expectDevice(QString("127.0.0.1:%1").arg(port), port);
}

void TestFleet::expectDevice(const QString& name, quint16 port)
{
    QTRY_COMPARE_WITH_TIMEOUT(link->Port(), port, 10000);
    QTRY_COMPARE_WITH_TIMEOUT(fleet->State()->PassCount(), 2, 10000);
    QTRY_VERIFY_WITH_TIMEOUT(fleet->State()->DoorOf(1).hasMount, 10000);
    // The device in use by name; "network.txt" aims the next start at it too.
    QVERIFY2(window->windowTitle().startsWith(name), qPrintable(window->windowTitle()));
    QVERIFY(window->findChild<KoLinkStatusWidget*>()->Text().contains(name));
    QVERIFY(readFile(KoAppData::Folder() + "network.txt").contains(QByteArray::number(port)));
}

// Doors configured on the first device, saved, the second connected through
// the address book, the configuration applied: the second then reports the
// first's lines, zones and mount options.
void TestFleet::copyConfiguration()
{
    window = std::make_unique<MainWindow>();
    window->show();
    fleet = window->findChild<KoFleet*>();
    link = window->findChild<KoClientMultUi*>()->Link();
    QTRY_COMPARE_WITH_TIMEOUT(fleet->State()->PassCount(), 2, 10000);

    ClientOptions mount;
    mount.camAngleSlope = -5;
    mount.minObjectHeight = 100;
    mount.minHeadSquare = 200;
    mount.maxHumanVelocity = 9;
    mount.minTrackLenght = 12;
    mount.minLostObjectFrames = 4;
    mount.etalonHeight = 170;
    for (int pass = 0; pass < 2; ++pass) {
        mount.camMountHeight = 240 + pass;
        mount.headSize = 23;
        QVERIFY(link->SendClientOptions(pass, mount));
        QVERIFY(
            link->SendUserParams(pass, line({{0.29, 0.7}, {0.5, 0.55 + pass / 10.0}, {0.81, 0.7}},
                                            QRectF(0.1, 0.2, 0.8, 0.7))));
    }
    QVERIFY(link->SendModemSettings({"+7900", "user", "pw", "internet"}));
    QVERIFY(link->SendServerIpSettings({"10.20.30.41", "k"}));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists("remote.txt") && QFile::exists("modem.txt"), 10000);
    QTRY_COMPARE_WITH_TIMEOUT(fleet->State()->DoorOf(1).mount.camMountHeight, 241, 10000);
    QTRY_COMPARE_WITH_TIMEOUT(driver.boxes.size(), 2, 10000); // the acknowledgements' boxes
    driver.boxes.clear();

    // Saved: two doors' lines and mount options, modem and server, as the six
    // sections applied below show.
    file("Save configuration", [&](QDialog* dialog) { chooseFile(dialog, saved); });

    connectThroughBook("Bus 14", second.port());
    QString summary;
    file("Apply configuration", [&](QDialog* dialog) {
        if (auto* apply = qobject_cast<KoApplyDialog*>(dialog)) {
            // Every section differs from what the second device has.
            for (int i = 0; i < apply->Sections().size(); ++i)
                QVERIFY2(apply->Chosen(i), qPrintable(apply->Sections()[i].title));
            apply->findChild<QPushButton*>("apply")->click();
            QVERIFY(WaitFor([&] { return !apply->Summary().isEmpty(); }, 20000));
            summary = apply->Summary();
            apply->reject();
        } else {
            chooseFile(dialog, saved);
        }
    });
    QCOMPARE(summary, QString("All chosen sections applied (6)."));
    QVERIFY(driver.boxes.isEmpty()); // the dialog reported the answers, no box did

    const QVector<QVector<int>> source = readBack(first.port());
    QCOMPARE(readBack(second.port()), source);
    QCOMPARE(source[0].mid(0, 2), (QVector<int>{290, 700}));
}

// A damaged file is refused before anything is sent; a value the dialog
// would refuse cannot be chosen, the rest is applied; a device that refuses
// a section stops the run there, with what was applied before it named.
void TestFleet::applyRefused_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QStringList>("said");
    QTest::addColumn<QString>("sent");   // in the device's log
    QTest::addColumn<QString>("unsent"); // a pattern not in it
    QTest::newRow("damaged file") << "damaged" << QStringList{"cannot be applied: it is not JSON"}
                                  << "" << "(^| )(3|4|19|21): ";
    QTest::newRow("value out of range")
        << "range"
        << QStringList{"cannot be applied: Camera mount height (sm.): 50 is out of range. "
                       "Allowed: 101 or more."}
        << "mount data of pass 1 (height 241 cm) stored" << "mount data of pass 0";
    QTest::newRow("device refuses mount options")
        << "device"
        << QStringList{"refused by the device (the device kept Camera mount height (sm.) 220)",
                       "Stopped at \"Pass 0: mount options\". Applied before it: Pass 0: "
                       "counting line and zone."}
        << "" << "line of pass 1|19:"; // nothing after the refusal
}

void TestFleet::applyRefused()
{
    QFETCH(QString, fault);
    QFETCH(QStringList, said);
    QFETCH(QString, sent);
    QFETCH(QString, unsent);
    QVERIFY2(window, "runs after copyConfiguration");
    DevsimProcess& target = fault == "device" ? refusing : second;
    if (link->Port() != target.port())
        connectThroughLan(target.port());
    QByteArray bytes = readFile(saved);
    if (fault == "damaged")
        bytes.chop(10);
    if (fault == "range")
        bytes.replace("\"KO_CAM_MOUNT_HEIGHT\": 240", "\"KO_CAM_MOUNT_HEIGHT\": 50");
    const QString changed = work.filePath(fault + ".json");
    QVERIFY(writeFile(changed, bytes));
    const int logged = target.output().size();

    QStringList shown;
    file("Apply configuration", [&](QDialog* dialog) {
        auto* apply = qobject_cast<KoApplyDialog*>(dialog);
        if (!apply)
            return chooseFile(dialog, changed);
        for (int i = 0; i < apply->Sections().size(); ++i) {
            const KoProfilePlan::Section& s = apply->Sections()[i];
            apply->Choose(i, true);
            QCOMPARE(apply->Chosen(i), s.blocked.isEmpty());
            if (!s.blocked.isEmpty())
                shown << s.title + ": cannot be applied: " + s.blocked;
        }
        apply->findChild<QPushButton*>("apply")->click();
        QVERIFY(WaitFor([&] { return !apply->Summary().isEmpty(); }, 20000));
        auto* report = apply->findChild<QListWidget*>("report");
        for (int i = 0; i < report->count(); ++i)
            shown << report->item(i)->text();
        apply->reject();
    });
    for (const ModalDriver::Box& box : qAsConst(driver.boxes))
        shown << box.text;
    driver.boxes.clear();
    for (const QString& text : said)
        QVERIFY2(shown.join('\n').contains(text), qPrintable(shown.join('\n')));

    QTest::qWait(300);
    const QString requests = target.output().mid(logged).join('\n');
    QVERIFY2(requests.contains(sent), qPrintable(requests));
    QVERIFY2(!requests.contains(QRegularExpression(unsent, QRegularExpression::MultilineOption)),
             qPrintable(requests));
}

VELMORA_REAL_DISPLAY_MAIN(TestFleet)
#include "tst_fleet.moc"
