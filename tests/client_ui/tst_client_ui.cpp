// The live panels, their container and the connection settings, alone and
// against velmora-devsim.

#include "../support/devsim_process.h"
#include "../support/real_display.h"
#include "ko_algo_service_controll_ui.h"
#include "ko_client_mult_ui.h"
#include "ko_cross_line_figure.h"
#include "ko_network_settings.h"
#include "ko_selector_figure.h"
#include "ko_tcp_client.h"
#include "ko_viewer.h"
#include "network_setting_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGraphicsRectItem>
#include <QGraphicsTextItem>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>

using Panel = KoAlgoServiceControllUI;

class TstClientUi : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void panelCounts();
    void panelRefitAndViewMode();
    void panelStale_data();
    void panelStale();
    void panelRecord_data();
    void panelRecord();
    void panelMarks();
    void panelFiles();
    void networkFile_data();
    void networkFile();
    void dialog_data();
    void dialog();
    void endToEnd();

private:
    QTemporaryDir dir;
    QStringList warnings;
};

void TstClientUi::initTestCase()
{
    QVERIFY(dir.isValid());
    QDir::setCurrent(dir.path());
    KoNetworkSettings::warningBox = [this](QWidget*, const QString& title, const QString& text) {
        warnings << title + "/" + text;
    };
}

// Where a mark's rectangle is drawn in the picture; none when hidden.
static QRectF Shown(const QGraphicsRectItem* item)
{
    return item->isVisible() ? item->mapRectToScene(item->rect()) : QRectF();
}

static KoObjectData Object(int id, int x, int y, int state, int track = 0)
{
    return {id, 0, 0, 0, 0, 0, x, y, state, 0, 0, track};
}

void TstClientUi::panelCounts()
{
    Panel panel(1);
    panel.sLinkChanged(true);
    QImage im(64, 48, QImage::Format_RGB888);
    QImage empty;
    panel.sImageRecieved(0, 5, 5, 1, 1, im); // another pass
    QCOMPARE(panel.inLabel->text(), QString("In: 0"));
    panel.sImageRecieved(1, 7, 4, 12.5f, 1, im);
    QCOMPARE(panel.inLabel->text(), QString("In:7"));
    QCOMPARE(panel.fpsLabel->text(), QString("fps: 12.5"));
    panel.sClearInOut();
    QCOMPARE(panel.inLabel->text() + panel.outLabel->text(), QString("In: 0Out: 0"));
    panel.sImageRecieved(1, 10, 4, 1, 1, im);
    QCOMPARE(panel.inLabel->text() + panel.outLabel->text(), QString("In:3Out:0"));
    // An empty picture: counts are remembered, labels not updated.
    panel.sImageRecieved(1, 12, 4, 1, 1, empty);
    QCOMPARE(panel.inLabel->text(), QString("In:3"));
    panel.sImageRecieved(1, 2, 4, 1, 1, im); // the device counter restarted
    QCOMPARE(panel.inLabel->text(), QString("In:0"));
    panel.sImageRecieved(1, 5, 4, 1, 1, im);
    QCOMPARE(panel.inLabel->text(), QString("In:3"));
    panel.sImageRecieved(1, 5, 4, 1, 1, im); // the same count again is no restart
    QCOMPARE(panel.inLabel->text(), QString("In:3"));

    // Back after a lost link the counts start again, and say so until cleared.
    QVERIFY(panel.restartLabel->isHidden());
    panel.sLinkChanged(false);
    panel.sLinkChanged(true);
    panel.sImageRecieved(1, 20, 9, 1, 1, im);
    QCOMPARE(panel.inLabel->text() + panel.outLabel->text(), QString("In:0Out:0"));
    QVERIFY(!panel.restartLabel->isHidden());
    panel.sImageRecieved(1, 22, 9, 1, 1, im);
    QCOMPARE(panel.inLabel->text(), QString("In:2"));
    panel.sClearInOut();
    QVERIFY(panel.restartLabel->isHidden());
}

void TstClientUi::panelRefitAndViewMode()
{
    Panel panel(0);
    QImage im(640, 480, QImage::Format_RGB888);
    im.fill(Qt::red);
    panel.sImageRecieved(0, 0, 0, 1, 1, im);
    QCOMPARE(panel.lineFigure->lineWidth, 16.f);
    QCOMPARE(panel.lineFigure->sceneWidth + panel.zoneFigure->zoneWidth, 1280.f);
    QCOMPARE(panel.pixmapItem->pixmap().toImage().pixelColor(1, 1), QColor(Qt::red));
    panel.lineFigure->sceneWidth = 1; // a same-size picture does not refit
    panel.sImageRecieved(0, 0, 0, 1, 1, im);
    QCOMPARE(panel.lineFigure->sceneWidth, 1.f);
    // (A picture decoded at a quarter of its size: endToEnd.)

    panel.viewModeCombo->setCurrentIndex(2); // "No send": the last picture stays
    QImage blue(640, 480, QImage::Format_RGB888);
    blue.fill(Qt::blue);
    panel.sImageRecieved(0, 0, 0, 1, 1, blue);
    QCOMPARE(panel.pixmapItem->pixmap().toImage().pixelColor(1, 1), QColor(Qt::red));
}

void TstClientUi::panelStale_data()
{
    QTest::addColumn<bool>("link");
    QTest::addColumn<int>("mode"); // view mode: 0 left, 1 right, 2 "No send"
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("replay"); // a capture plays instead of the device
    using S = Panel::PictureState;
    QTest::newRow("no link") << false << 0 << int(S::NoLink) << "No connection" << false;
    QTest::newRow("left picture") << true << 0 << int(S::Live) << "" << false;
    QTest::newRow("right camera, left picture")
        << true << 1 << int(S::NoPicture) << "No picture" << false;
    QTest::newRow("No send") << true << 2 << int(S::Paused) << "Paused" << false;
    QTest::newRow("replay") << false << 0 << int(S::Live) << "" << true;
}

// One left picture arrives in each row.
void TstClientUi::panelStale()
{
    QFETCH(bool, link);
    QFETCH(int, mode);
    QFETCH(int, state);
    QFETCH(QString, text);
    QFETCH(bool, replay);
    Panel panel(0);
    panel.viewModeTimer.stop();
    panel.sLinkChanged(link);
    panel.SetReplay(replay);
    panel.viewModeCombo->setCurrentIndex(mode);
    QImage im(64, 48, QImage::Format_RGB888);
    panel.sImageRecieved(0, 3, 1, 12.5f, 1, im);
    const bool live = state == int(Panel::PictureState::Live);
    QCOMPARE(int(panel.pictureState), state);
    QCOMPARE(panel.staleCover->isVisible(), !live);
    QCOMPARE(panel.staleCover->rect(), QRectF(0, 0, 64, 48));
    if (!live)
        QCOMPARE(panel.staleText->text(), text);
    QCOMPARE(panel.fpsLabel->text(), QString(live ? "fps: 12.5" : "fps: 0"));
    QCOMPARE(panel.inLabel->isEnabled(), live);
    // What sends to the device waits for the link; editing does not.
    panel.defaultButton->click();
    QVERIFY(panel.cancelButton->isEnabled());
    QCOMPARE(panel.installButton->isEnabled(), link);
    QCOMPARE(panel.recordButton->isEnabled(), link);
    QCOMPARE(panel.optionsButton->isEnabled(), link);
    panel.cancelButton->click();
    QVERIFY(!panel.cancelButton->isEnabled() && !panel.installButton->isEnabled());
    if (!live)
        return;
    // Pictures stop: within a second or so the picture says so, its marks go.
    panel.sObjectsTracked(0, {Object(1, 20, 20, 2)}, 0, 0);
    QTRY_COMPARE_WITH_TIMEOUT(int(panel.pictureState), int(Panel::PictureState::NoPicture), 10000);
    QCOMPARE(panel.fpsLabel->text(), QString("fps: 0"));
    QCOMPARE(Shown(panel.objectRects[0]), QRectF());
    panel.sImageRecieved(0, 3, 1, 12.5f, 1, im);
    QCOMPARE(int(panel.pictureState), int(Panel::PictureState::Live));
}

void TstClientUi::panelRecord_data()
{
    QTest::addColumn<bool>("stereo");
    QTest::addColumn<QString>("frames");
    QTest::addColumn<bool>("recording");
    QTest::addColumn<QByteArray>("sent"); // hex of the request's body, empty: nothing
    QTest::newRow("mono") << false << "8000" << false << QByteArray("write -8000");
    QTest::newRow("stereo") << true << "8000" << false << QByteArray("write 8000");
    QTest::newRow("zero") << true << "0" << false << QByteArray();
    QTest::newRow("stop whatever the text") << false << "abc" << true << QByteArray("stop");
}

// The panel's request and a reference request made on the same link must
// be the same bytes; when the panel sends nothing, two reference stops.
void TstClientUi::panelRecord()
{
    QFETCH(bool, stereo);
    QFETCH(QString, frames);
    QFETCH(bool, recording);
    QFETCH(QByteArray, sent);
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost));
    KoTcpClient link(nullptr, "127.0.0.1", server.serverPort());
    QSignalSpy connected(&link, &KoTcpClient::eConnected);
    QVERIFY(server.waitForNewConnection(10000));
    QTcpSocket* device = server.nextPendingConnection();
    QTRY_VERIFY_WITH_TIMEOUT(connected.count() > 0, 10000);

    Panel panel(2);
    panel.link = &link;
    panel.viewModeTimer.stop();
    panel.stereoCheck->setChecked(stereo);
    panel.framesEdit->setText(frames);
    panel.recording = recording;
    panel.sLinkChanged(true);
    QCOMPARE(panel.recordButton->isEnabled(), !sent.isEmpty());
    panel.sRecordButClicked();
    QCOMPARE(panel.recording, recording); // only the device's answers change it
    if (sent.startsWith("write"))
        link.WriteVideo(2, sent.mid(6).toInt());
    else if (sent == "stop")
        link.StopRecord(2);
    else {
        link.StopRecord(2);
        link.StopRecord(2);
    }
    QByteArray data;
    QTRY_VERIFY_WITH_TIMEOUT((data += device->readAll()).size() > 0 && data.size() % 2 == 0 &&
                                 data.left(data.size() / 2) == data.mid(data.size() / 2),
                             10000);
}

void TstClientUi::panelMarks()
{
    Panel panel(3);
    const int before = panel.scene.items().size();
    panel.sObjectsTracked(0, {Object(1, 50, 50, 2)}, 0, 0); // another pass
    QCOMPARE(panel.objectRects.size(), 0);
    panel.sObjectsTracked(3, {Object(1, 50, 50, 2), Object(2, 80, 80, 4), Object(3, 9, 9, 1)}, 0,
                          0);
    QCOMPARE(panel.scene.items().size(), before + 12);
    QCOMPARE(Shown(panel.objectRects[0]), QRectF(35, 35, 30, 30));
    QCOMPARE(panel.stateTexts[0]->toPlainText(), QString("IN"));
    QCOMPARE(panel.stateTexts[1]->toPlainText(), QString("OUT"));
    QCOMPARE(panel.objectRects[1]->pen().color(), Panel::ObjectColor(2));
    // Fewer objects: the pool is reset, the third slot has no size.
    panel.sObjectsTracked(3, {Object(1, 50, 50, 2), Object(2, 80, 80, 4)}, 0, 0);
    QCOMPARE(Shown(panel.objectRects[2]), QRectF());
    QCOMPARE(panel.stateTexts[2]->toPlainText(), QString());
    // More objects: the pool grows; a state-0 object's slot keeps no earlier mark.
    panel.sObjectsTracked(
        3, {Object(5, 20, 20, 1), Object(6, 0, 0, 0), Object(7, 30, 30, 1), Object(8, 40, 40, 1)},
        0, 0);
    QCOMPARE(panel.objectRects.size(), 4);
    QCOMPARE(Shown(panel.objectRects[1]), QRectF());
    QCOMPARE(panel.stateTexts[1]->toPlainText(), QString());
    // Track length: stored above 20, shown once it is 20 or less.
    for (int track : {25, 30})
        panel.sObjectsTracked(3, {Object(9, 50, 50, 1, track)}, 0, 0);
    QVERIFY(!panel.lengthTexts[0]->isVisible()); // an empty text costs no painting
    panel.sObjectsTracked(3, {Object(9, 50, 50, 1, 12)}, 0, 0);
    QCOMPARE(panel.lengthTexts[0]->toPlainText(), QString("30"));
    QVERIFY(panel.lengthTexts[0]->isVisible());
    // Another object in that slot never shows 9's number.
    panel.sObjectsTracked(3, {Object(4, 50, 50, 1, 12), Object(9, 90, 90, 1, 12)}, 0, 0);
    QCOMPARE(panel.lengthTexts[0]->toPlainText(), QString());
    QCOMPARE(panel.lengthTexts[1]->toPlainText(), QString("30"));
    panel.sObjectsTracked(3, {Object(4, 50, 50, 1, 12)}, 0, 0); // id 9 gone: forgotten
    QVERIFY(panel.trackLengths.isEmpty());

    // A message may ask for a million objects: the first ones up to the cap are drawn.
    panel.sObjectsTracked(3, std::vector<KoObjectData>(1000000, Object(1, 5, 5, 1)), 0, 0);
    QCOMPARE(panel.objectRects.size(), Panel::MaxMarks);
    QCOMPARE(Shown(panel.objectRects.last()), QRectF(-10, -10, 30, 30));
    QCOMPARE(panel.scene.items().size(), before + 4 * Panel::MaxMarks);
}

void TstClientUi::panelFiles()
{
    Panel panel(1);
    const ClientOptions o{230, 0, -5, 100, 40, 9, 150, 10, 7, 170}; // in the file's order
    panel.sMountDataRecieved(0, o);                                 // another pass
    QVERIFY(!QFile::exists("params0.txt") && !QFile::exists("params1.txt"));
    panel.SetReplay(true); // a capture's values are another device's
    panel.sMountDataRecieved(1, o);
    QVERIFY(!QFile::exists("params1.txt"));
    panel.SetReplay(false);
    panel.sMountDataRecieved(1, o);
    panel.sCameraOptionsRecieved(1, -1, KoCameraNums{11, 12});
    QFile params("params1.txt"), cameras("cameras1.txt");
    QVERIFY(params.open(QIODevice::ReadOnly) && cameras.open(QIODevice::ReadOnly));
    QCOMPARE(params.readAll(),
             QByteArray("KO_CAM_MOUNT_HEIGHT = 230;\r\nKO_CAM_VIEW_ANGLE = 0;\r\n"
                        "KO_CAM_ANGLE_SLOPE = -5;\r\nKO_MIN_OBJECT_HEIGHT = 100;\r\n"
                        "KO_MIN_HEAD_SQUARE = 40;\r\nKO_MAX_HUMAN_VELOCITY = 9;\r\n"
                        "KO_HEAD_SIZE = 150;\r\nKO_MIN_TRACK_LENGHT = 10;\r\n"
                        "KO_MIN_LOST_OBJECT_FRAMES = 7;\r\nKO_ETALON_HEIGHT = 170;\r\n"));
    QCOMPARE(cameras.readAll(), QByteArray("KO_LEFT_CAM_ID = 11;\r\nKO_RIGHT_CAM_ID = 12;\r\n"));

    panel.sFilesCountInfo(1, 3, 9, "a.avi");
    QCOMPARE(panel.countedFilesLabel->text(), QString("Counted files: 3/9 of file: a.avi"));
    panel.sRecorded(1, 1);
    QVERIFY(panel.recording && panel.stereoCheck->isChecked());
    panel.sStopRecord(1);
    QVERIFY(!panel.recording);
    // A recording is not known to run on after the link dropped.
    panel.sLinkChanged(true);
    panel.sRecorded(1, -1);
    QVERIFY(panel.recording);
    panel.sLinkChanged(false);
    QVERIFY(!panel.recording);
}

// Rows: "network.txt" (empty: no file) and the host and port read from it.
void TstClientUi::networkFile_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");
    const auto row = [](const char* name, const char* text, const char* host, int port) {
        QTest::newRow(name) << QByteArray(text) << QString(host) << port;
    };
    row("no file", "", "localhost", 4567);
    row("defaults", "HOST_NAME = default;\r\nPORT = 4000;\r\n", "localhost", 4000);
    row("empty host", "HOST_NAME = ;\r\nPORT = 4001;\r\n", "localhost", 4001);
    row("host and port", "HOST_NAME = 10.0.0.7;\r\nPORT = 5000;\r\n", "10.0.0.7", 5000);
    row("port missing", "HOST_NAME = counter;\r\n", "counter", 4567);
    // A value that is no port or no host leaves the default.
    row("port out of range", "PORT = 70000;\r\n", "localhost", 4567);
    row("host not a name", "HOST_NAME = 999.1.1;\r\nPORT = 5000;\r\n", "localhost", 5000);
}

void TstClientUi::networkFile()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, host);
    QFETCH(int, port);
    const QString path = dir.filePath("network.txt");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
    file.close();
    if (text.isEmpty())
        QFile::remove(path);
    QString read_host = "localhost";
    ushort read_port = 4567;
    KoClientMultUi::ReadNetworkFile(path, read_host, read_port);
    QCOMPARE(read_host, host);
    QCOMPARE(int(read_port), port);
}

void TstClientUi::dialog_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("warning");
    const auto row = [](const char* name, const char* host, const char* port, const char* warn) {
        QTest::newRow(name) << QString(host) << QString(port) << QString(warn);
    };
    row("empty form: port first", "", "", "Warning/Not correct port");
    row("blanks only", "  ", "4000", "Warning/Not host name");
    row("host with blank", "my host", "4000",
        "Warning/\"my host\" is neither an IP address nor a host name.");
    row("valid, blanks around", " 127.0.0.1 ", " 65535", "");
}

void TstClientUi::dialog()
{
    QFETCH(QString, host);
    QFETCH(QString, port);
    QFETCH(QString, warning);
    QFile::remove(KoNetworkSettings::FilePath());
    warnings.clear();
    NetworkSettingDialog dialog;
    KoNetworkSettings* content = dialog.Content();
    QCOMPARE(content->hostEdit->text(), QString("localhost"));
    QCOMPARE(content->portEdit->text(), QString("4567"));
    QSignalSpy ok(&dialog, &NetworkSettingDialog::eOkClicked);
    content->hostEdit->setText(host);
    content->portEdit->setText(port);
    content->sOkClicked();
    QCOMPARE(warnings.join(","), warning);
    QCOMPARE(ok.count(), warning.isEmpty() ? 1 : 0);
    QCOMPARE(QFile::exists(KoNetworkSettings::FilePath()), warning.isEmpty());
    if (!warning.isEmpty())
        return;
    NetworkSettingDialog again; // shows the stored address
    QCOMPARE(again.Content()->hostEdit->text() + ":" + again.Content()->portEdit->text(),
             QString("127.0.0.1:65535"));
    QFile::remove(KoNetworkSettings::FilePath());
}

void TstClientUi::endToEnd()
{
    DevsimProcess sim;
    QVERIFY(sim.start({"--passes", "2"}));
    QFile::remove(KoNetworkSettings::FilePath());
    KoClientMultUi ui(nullptr); // connects to localhost:4567, nothing there
    ui.show();
    QSignalSpy connected(&ui, &KoClientMultUi::eConnected);
    // The dialog's address reaches the link, which reconnects.
    NetworkSettingDialog dialog;
    connect(&dialog, &NetworkSettingDialog::eOkClicked, &ui,
            [&ui](KoNetworkOptions o) { ui.Link()->Reconnect(o.hostName, o.port); });
    dialog.Content()->hostEdit->setText("127.0.0.1");
    dialog.Content()->portEdit->setText(QString::number(sim.port()));
    dialog.Content()->sOkClicked();
    QFile::remove(KoNetworkSettings::FilePath());
    QTRY_VERIFY_WITH_TIMEOUT(connected.count() > 0, 20000);
    QTRY_COMPARE_WITH_TIMEOUT(ui.PassCount(), 2, 20000);
    QVERIFY(ui.Panel(1)->isEnabled() && !ui.Panel(2)->isEnabled());

    for (int i = 0; i < 2; ++i)
        QTRY_VERIFY_WITH_TIMEOUT(ui.Panel(i)->imageSizes[0].isValid(), 20000);
    QVERIFY(!ui.Panel(2)->imageSizes[0].isValid());
    Panel* panel = ui.Panel(0);
    QTRY_VERIFY_WITH_TIMEOUT(panel->lastIn + panel->lastOut > 0, 60000);

    // Zoomed out, the next pictures are decoded at a quarter of their size;
    // zoomed in past full size, at full size. The picture stays 640 x 480.
    qreal decoded = 0;
    connect(ui.Link(), &KoTcpClient::eImageRecieved0, this,
            [&decoded](int, int, int, float, int, QImage& im) { decoded = im.devicePixelRatio(); });
    panel->viewer->zoomSlider->setValue(0);
    QTRY_COMPARE_WITH_TIMEOUT(decoded, 0.25, 20000);
    QCOMPARE(panel->imageSizes[0], QSize(640, 480));
    QCOMPARE(panel->pixmapItem->sceneBoundingRect(), QRectF(0, 0, 640, 480));
    panel->viewer->zoomSlider->setValue(30);
    QTRY_COMPARE_WITH_TIMEOUT(decoded, 1.0, 20000);

    panel->sMousePressEvL(int(panel->imageWidth / 2), int(panel->imageHeight / 3));
    panel->sMouseReleaseEvL(int(panel->imageWidth / 2), int(panel->imageHeight / 3));
    QVERIFY(panel->installButton->isEnabled());
    const QVector<QPointF> edited = panel->lineFigure->editingPoints;
    QSignalSpy back(ui.Link(), &KoTcpClient::eUserParamsRecieved);
    panel->installButton->click();
    QTRY_VERIFY_WITH_TIMEOUT(back.count() > 0, 20000);
    QTRY_VERIFY(!panel->installButton->isEnabled() && !panel->cancelButton->isEnabled());
    QCOMPARE(panel->lineFigure->committedPoints.size(), edited.size());
}

VELMORA_REAL_DISPLAY_MAIN(TstClientUi)
#include "tst_client_ui.moc"
