// Captures: the file written and read back, damaged and truncated files, the
// size limit, the player; and the round trip of the tool against
// velmora-devsim: record, replay in the tool, replay through the simulator.

#include "../support/devsim_process.h"
#include "../support/files.h"
#include "../support/real_display.h"
#include "../support/wait_for.h"
#include "fleet/ko_fleet.h"
#include "ko_algo_service_controll_ui.h"
#include "ko_app_data.h"
#include "ko_capture_player.h"
#include "ko_capture_reader.h"
#include "ko_capture_recorder.h"
#include "ko_capture_summary.h"
#include "ko_capture_ui.h"
#include "ko_capture_writer.h"
#include "ko_client_mult_ui.h"
#include "ko_link_status_widget.h"
#include "ko_menus.h"
#include "ko_replay_bar.h"
#include "ko_tcp_client.h"
#include "main_window.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <array>
#include <memory>

using namespace ko_capture;
using Status = KoCaptureReader::Status;
using Panel = KoAlgoServiceControllUI;

namespace {

struct Written
{
    QList<qint64> times;
    QList<QByteArray> chunks;
};

// Chunk i: its size bytes of a pattern of its own.
QByteArray Pattern(int i, int size)
{
    QByteArray bytes(size, '\0');
    quint32 x = quint32(i) * 2654435761u + 1;
    for (char& b : bytes) {
        x = x * 1103515245u + 12345u;
        b = char(x >> 24);
    }
    return bytes;
}

KoCaptureHeader Header()
{
    KoCaptureHeader header;
    header.startMs = 1765200000123;
    header.host = QStringLiteral("10.0.0.7");
    header.port = 4567;
    return header;
}

// Ten chunks of 60000 bytes: four to a block, so blocks of 4, 4 and 2 chunks.
Written WriteTen(const QString& path)
{
    Written w;
    KoCaptureWriter writer;
    if (!writer.Open(path, Header()))
        return w;
    for (int i = 0; i < 10; ++i) {
        w.times << qint64(i) * 40000;
        w.chunks << Pattern(i, 60000);
        writer.Append(w.times.last(), w.chunks.last());
    }
    writer.Finish(EndReason::Stopped);
    return w;
}

QList<QByteArray> ReadAll(KoCaptureReader& reader, QList<qint64>* times = nullptr)
{
    QList<QByteArray> chunks;
    KoCaptureReader::Chunk chunk;
    while (reader.Next(chunk)) {
        chunks << chunk.data;
        if (times)
            *times << chunk.timeUs;
    }
    return chunks;
}

// Offsets of the blocks' heads, found by their stored sizes.
QList<int> BlockOffsets(const QByteArray& file)
{
    QList<int> offsets;
    int pos = 24 + qFromBigEndian<quint16>(file.constData() + 22) + 4;
    while (pos + BlockHeadSize <= file.size() && file.mid(pos, 4) == "VCBK") {
        offsets << pos;
        pos += BlockHeadSize + int(qFromBigEndian<quint32>(file.constData() + pos + 12));
    }
    return offsets;
}

struct DoorCounts
{
    std::array<qint64, 4> pictures{};
    std::array<qint64, 4> tracked{};
};

QString Text(const DoorCounts& c)
{
    QStringList parts;
    for (int d = 0; d < 4; ++d)
        parts << QString("%1/%2").arg(c.pictures[size_t(d)]).arg(c.tracked[size_t(d)]);
    return parts.join(' ');
}

void Count(KoTcpClient* link, DoorCounts& counts, QObject* context)
{
    using ImageSignal = void (KoTcpClient::*)(int, int, int, float, int, QImage&);
    const ImageSignal images[4] = {&KoTcpClient::eImageRecieved0, &KoTcpClient::eImageRecieved1,
                                   &KoTcpClient::eImageRecieved2, &KoTcpClient::eImageRecieved3};
    for (int d = 0; d < 4; ++d) {
        QObject::connect(link, images[d], context,
                         [&counts, d](int, int, int, float, int, QImage&) {
                             ++counts.pictures[size_t(d)];
                         });
    }
    QObject::connect(link, &KoTcpClient::eTrackingObjectsRecieved, context,
                     [&counts](int pass, const std::vector<KoObjectData>&, int, int) {
                         if (pass >= 0 && pass < 4)
                             ++counts.tracked[size_t(pass)];
                     });
}

QStringList ShownCounts(MainWindow& window)
{
    QStringList shown;
    auto* container = window.findChild<KoClientMultUi*>();
    for (int d = 0; d < 4; ++d)
        shown << container->Panel(d)->inLabel->text() + " " + container->Panel(d)->outLabel->text();
    return shown;
}

} // namespace

class TstCapture : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void roundTrip_data();
    void roundTrip();
    void damage_data();
    void damage();
    void sizeLimit();
    void player();
    void recordAndReplay();

private:
    QTemporaryDir dir;
};

void TstCapture::initTestCase()
{
    QVERIFY(dir.isValid());
    Q_INIT_RESOURCE(resources);
}

void TstCapture::roundTrip_data()
{
    QTest::addColumn<QList<int>>("sizes");
    QTest::addColumn<QList<qint64>>("times");
    QTest::addColumn<QList<qint64>>("readTimes"); // empty: the times written
    QTest::addColumn<double>("deflateShare");
    QTest::addColumn<bool>("repeated");  // chunks of one short text, or of noise
    QTest::addColumn<int>("shrinks");    // 1: to a tenth, -1: not at all, 0: either

    const double normal = KoCaptureWriter::DefaultDeflateShare;
    QTest::newRow("nothing received")
        << QList<int>{} << QList<qint64>{} << QList<qint64>{} << normal << false << 0;
    QList<int> many;
    QList<qint64> many_times;
    for (int i = 0; i < 300; ++i) {
        many << 1 + (i * 997) % 5000;
        many_times << qint64(i) * 3333;
    }
    QTest::newRow("several blocks")
        << many << many_times << QList<qint64>{} << normal << false << 0;
    const QList<int> sizes{20000, 300000, 40000};
    const QList<qint64> three{1, 2, 3};
    QTest::newRow("deflated") << sizes << three << QList<qint64>{} << 1.0 << true << 1;
    QTest::newRow("stored") << sizes << three << QList<qint64>{} << 0.0 << true << -1;
    // Stored in pieces of at most 1 MiB, each with the chunk's time.
    QTest::newRow("a chunk larger than a piece") << QList<int>{10, 2500000} << QList<qint64>{5, 7}
                                                 << QList<qint64>{5, 7, 7, 7} << normal
                                                 << false << 0;
    QTest::newRow("a time going back is taken as the last")
        << QList<int>{10, 10, 10} << QList<qint64>{100, 50, 200} << QList<qint64>{100, 100, 200}
        << normal << false << 0;
}

void TstCapture::roundTrip()
{
    QFETCH(QList<int>, sizes);
    QFETCH(QList<qint64>, times);
    QFETCH(QList<qint64>, readTimes);
    QFETCH(double, deflateShare);
    QFETCH(bool, repeated);
    QFETCH(int, shrinks);

    const QString path = dir.filePath("round.vcap");
    QFile::remove(path);
    KoCaptureWriter writer;
    writer.SetDeflateShare(deflateShare);
    QVERIFY(writer.Open(path, Header()));
    // Nothing stands under the name until the capture is complete.
    QVERIFY(!QFile::exists(path));
    QByteArray stream;
    for (int i = 0; i < sizes.size(); ++i) {
        const QByteArray chunk =
            repeated ? QByteArray("device").repeated(sizes[i] / 6) : Pattern(i, sizes[i]);
        stream += chunk;
        QVERIFY(writer.Append(times[i], chunk));
    }
    QVERIFY(writer.Finish(EndReason::Closed));
    const qint64 file_size = QFileInfo(path).size();
    if (shrinks > 0)
        QVERIFY2(file_size * 10 < stream.size(), qPrintable(QString::number(file_size)));
    if (shrinks < 0)
        QVERIFY2(file_size > stream.size(), qPrintable(QString::number(file_size)));

    KoCaptureReader reader;
    QVERIFY2(reader.Open(path), qPrintable(reader.ErrorText()));
    const KoCaptureHeader h = reader.Header();
    QCOMPARE(QString("%1 %2:%3").arg(h.startMs).arg(h.host).arg(h.port),
             QString("1765200000123 10.0.0.7:4567"));
    QList<qint64> read_times;
    QCOMPARE(ReadAll(reader, &read_times).join(), stream);
    QCOMPARE(read_times, readTimes.isEmpty() ? times : readTimes);
    QCOMPARE(reader.CurrentStatus(), Status::End);
    QCOMPARE(int(reader.Reason()), int(EndReason::Closed));
    QCOMPARE(reader.DurationUs(), times.isEmpty() ? 0 : read_times.last());
}

void TstCapture::damage_data()
{
    // What is done to the capture of ten chunks (blocks of 4, 4 and 2).
    QTest::addColumn<QString>("change"); // cut: keep N bytes; flip: invert a byte
    QTest::addColumn<int>("block");      // of this block (-1: the header, 3: the end record)
    QTest::addColumn<int>("at");         // bytes after its start (negative: before it)
    QTest::addColumn<bool>("opens");
    QTest::addColumn<int>("chunks");     // read before the reader stops
    QTest::addColumn<int>("status");

    const int truncated = int(Status::Truncated);
    const int damaged = int(Status::Damaged);
    QTest::newRow("cut in the header") << "cut" << -1 << 20 << false << 0 << 0;
    QTest::newRow("cut in the last block") << "cut" << 2 << 100 << true << 8 << truncated;
    QTest::newRow("cut in a block's head") << "cut" << 1 << 20 << true << 4 << truncated;
    QTest::newRow("cut before the end record") << "cut" << 3 << 0 << true << 10 << truncated;
    QTest::newRow("cut in the end record") << "cut" << 3 << 30 << true << 10 << truncated;
    QTest::newRow("flip in the header's host") << "flip" << -1 << 25 << false << 0 << 0;
    QTest::newRow("flip in a block's data") << "flip" << 1 << 5000 << true << 4 << damaged;
    QTest::newRow("flip in the first block's tag") << "flip" << 0 << 1 << true << 0 << damaged;
    QTest::newRow("flip in a block's sizes") << "flip" << 2 << 10 << true << 8 << damaged;
    QTest::newRow("flip in the last data byte") << "flip" << 3 << -1 << true << 8 << damaged;
    QTest::newRow("flip in the end record") << "flip" << 3 << 20 << true << 10 << damaged;
}

void TstCapture::damage()
{
    QFETCH(QString, change);
    QFETCH(int, block);
    QFETCH(int, at);
    QFETCH(bool, opens);
    QFETCH(int, chunks);
    QFETCH(int, status);

    const QString path = dir.filePath("damaged.vcap");
    const Written w = WriteTen(path);
    QByteArray file = readFile(path);
    const QList<int> blocks = BlockOffsets(file);
    QCOMPARE(blocks.size(), 3);
    const int end_record = file.size() - EndRecordSize;
    const int base = block < 0 ? 0 : block < 3 ? blocks[block] : end_record;
    const int pos = base + at;
    if (change == "cut")
        file.truncate(pos);
    else
        file[pos] = char(~file[pos]);
    QVERIFY(writeFile(path, file));

    KoCaptureReader reader;
    QCOMPARE(reader.Open(path), opens);
    if (!opens)
        return;
    const QList<QByteArray> read = ReadAll(reader);
    QCOMPARE(read, w.chunks.mid(0, chunks));
    QCOMPARE(int(reader.CurrentStatus()), status);
    QVERIFY(!reader.ErrorText().isEmpty());
    // Played up to there, again after a jump back.
    reader.Seek(0);
    QCOMPARE(ReadAll(reader).size(), chunks);
}

void TstCapture::sizeLimit()
{
    // Room for the header, two blocks of four chunks (and what zlib adds to
    // bytes that do not compress) and the end record.
    const QString path = dir.filePath("limited.vcap");
    const qint64 limit = (24 + 8 + 4) + 2 * (BlockHeadSize + 4 * 60012 + 100) + EndRecordSize;
    KoCaptureWriter writer(limit);
    QVERIFY(writer.Open(path, Header()));
    int taken = 0;
    while (taken < 20 && writer.Append(taken, Pattern(taken, 60000)))
        ++taken;
    QCOMPARE(writer.CurrentStatus(), KoCaptureWriter::Status::LimitReached);
    QCOMPARE(taken, 12); // the thirteenth fills the third block, which does not fit
    QVERIFY(!writer.Append(99, "x")); // nor does anything after it
    QVERIFY(writer.Finish(EndReason::Stopped));
    QVERIFY(QFileInfo(path).size() <= limit);

    KoCaptureReader reader;
    QVERIFY(reader.Open(path));
    QCOMPARE(ReadAll(reader).size(), 8);
    QCOMPARE(reader.CurrentStatus(), Status::End);
    QCOMPARE(int(reader.Reason()), int(EndReason::SizeLimit));
}

void TstCapture::player()
{
    const QString path = dir.filePath("player.vcap");
    const Written w = WriteTen(path);
    KoCapturePlayer player;
    QList<QByteArray> fed;
    bool busy = false;
    player.SetReceiver([&fed](const QByteArray& b) { fed << b; }, [&busy] { return busy; });
    QVERIFY(player.Open(path));
    QCOMPARE(player.DurationUs(), w.times.last());
    player.SetSpeed(KoCapturePlayer::MaxSpeed);

    // A busy receiver holds everything back; once free it gets it all, in order.
    busy = true;
    player.Play();
    QTest::qWait(100);
    QVERIFY(fed.isEmpty());
    busy = false;
    QSignalSpy ended(&player, &KoCapturePlayer::eEnded);
    QVERIFY(ended.wait(10000));
    QCOMPARE(fed, w.chunks);
    QCOMPARE(ended.first().first().value<KoCaptureReader::Status>(), Status::End);
    QCOMPARE(player.CurrentState(), KoCapturePlayer::State::Ended);

    // A jump tells the receiver first; paused, the receiver then gets what
    // follows the place for a moment, and nothing more until it plays.
    fed.clear();
    QStringList events;
    connect(&player, &KoCapturePlayer::eJumped, this, [&events, &fed](qint64 t) {
        events << QString("jump %1 after %2").arg(t).arg(fed.size());
    });
    player.Seek(w.times[6] - 1);
    QCOMPARE(events, QStringList{QString("jump %1 after 0").arg(w.times[6] - 1)});
    QCOMPARE(fed, w.chunks.mid(6));
    fed.clear();
    player.Seek(w.times[2]);
    const int shown = int(std::count_if(w.times.begin(), w.times.end(), [&w](qint64 t) {
        return t >= w.times[2] && t <= w.times[2] + KoCapturePlayer::PreviewUs;
    }));
    QCOMPARE(fed, w.chunks.mid(2, shown));
}

// Ten seconds of four doors recorded from the simulator; the same pictures
// and tracked objects per door, and the same counts, live, replayed in the
// tool, and replayed through the simulator into a second tool. A truncated
// and a damaged copy play up to their damage and say so.
void TstCapture::recordAndReplay()
{
    DevsimProcess sim;
    QVERIFY(sim.start({"--passes", "4", "--fps", "25"}));
    QVERIFY(sim.writeNetworkFile(KoAppData::Folder()));
    const QString path = dir.filePath("doors.vcap");

    DoorCounts counted;
    DoorCounts expected;
    QStringList shown;
    auto live = std::make_unique<MainWindow>();
    live->show();
    KoTcpClient* link = live->findChild<KoClientMultUi*>()->Link();
    Count(link, counted, live.get());
    KoCaptureUi* captures = live->Captures();
    // From before the connection: the capture holds all that the tool got.
    QString error;
    QVERIFY2(captures->StartRecording(path, &error), qPrintable(error));
    QVERIFY(WaitFor([&counted] { return counted.pictures[3] > 0; }, 30000));
    QTest::qWait(10000);
    auto* status = live->findChild<KoLinkStatusWidget*>("linkStatus");
    QVERIFY2(status->Text().contains(QRegularExpression("Recording \\d+\\.\\d MiB")),
             qPrintable(status->Text()));
    sim.stop();
    QVERIFY(WaitFor([link] { return link->State() != QAbstractSocket::ConnectedState; }));
    QVERIFY2(captures->StopRecording(&error), qPrintable(error));
    QVERIFY(!status->Text().contains("Recording"));

    {
        KoCaptureReader reader;
        QVERIFY(reader.Open(path));
        QVERIFY(reader.DurationUs() >= 10000000);
        const KoCaptureSummary summary = KoCaptureSummary::Of(reader);
        expected.pictures = summary.pictures;
        expected.tracked = summary.tracked;
    }
    QVERIFY2(WaitFor([&] { return Text(counted) == Text(expected); }, 30000),
             qPrintable(Text(counted) + " live, " + Text(expected) + " in the capture"));
    shown = ShownCounts(*live);

    // Replayed in the tool, fast: as live, with nothing to send.
    KoReplayBar* bar = captures->Bar();
    bar->speedCombo->setCurrentIndex(bar->speedCombo->count() - 1);
    const auto replay = [&](const QString& capture) {
        counted = DoorCounts();
        return captures->OpenCapture(capture, &error) &&
               WaitFor([&] { return captures->Player()->CurrentState() ==
                                    KoCapturePlayer::State::Ended; },
                       120000);
    };
    QVERIFY2(replay(path), qPrintable(error));
    QVERIFY2(WaitFor([&] { return Text(counted) == Text(expected); }, 60000),
             qPrintable(Text(counted) + " replayed, " + Text(expected) + " in the capture"));
    QCOMPARE(ShownCounts(*live), shown);
    QCOMPARE(bar->EndText(), QString("Played to the end."));
    QCOMPARE(bar->playButton->text(), QString("Play"));
    QVERIFY(live->Replaying());
    QVERIFY(live->windowTitle().contains("replay of doors.vcap"));
    Panel* panel = live->findChild<KoClientMultUi*>()->Panel(0);
    QCOMPARE(int(panel->pictureState), int(Panel::PictureState::Live));
    QVERIFY(!panel->installButton->isEnabled() && !panel->optionsButton->isEnabled() &&
            !panel->recordButton->isEnabled());
    for (QAction* action : live->findChild<QMenu*>("menuTools")->actions())
        QVERIFY2(!action->isEnabled(), qPrintable(action->text()));
    auto* tabs = live->findChild<QTabWidget*>("tabWidget");
    QVERIFY(!tabs->isTabEnabled(1) && !tabs->isTabEnabled(2));
    QVERIFY(!captures->RecordAction()->isEnabled());
    // No device to save a configuration from, apply one to or connect to.
    int configuration_entries = 0;
    for (QAction* action : live->findChild<QMenu*>("menuFile")->actions())
        if (KoMenus::PlainText(action->text()).endsWith(" configuration"))
            configuration_entries += action->isEnabled() ? 10 : 1;
    QCOMPARE(configuration_entries, 2);
    auto* fleet = live->findChild<KoFleet*>();
    QVERIFY(!fleet->SendingAllowed());

    // A truncated and a damaged copy: some of the pictures, then the reason.
    const QByteArray whole = readFile(path);
    const QList<int> blocks = BlockOffsets(whole);
    QVERIFY(blocks.size() > 4);
    QByteArray flipped = whole;
    const int flip_at = blocks[blocks.size() / 2] + 100;
    flipped[flip_at] = char(~flipped[flip_at]);
    const struct
    {
        const char* name;
        QByteArray bytes;
        QString said;
    } broken[] = {
        {"cut.vcap", whole.left(whole.size() * 3 / 5), "The capture ends early, at "},
        {"flipped.vcap", flipped, "The capture is damaged at "},
    };
    for (const auto& b : broken) {
        QVERIFY(writeFile(dir.filePath(b.name), b.bytes));
        QVERIFY2(replay(dir.filePath(b.name)), b.name);
        QVERIFY2(bar->EndText().startsWith(b.said), qPrintable(bar->EndText()));
        QVERIFY(WaitFor([&] { return counted.pictures[0] > expected.pictures[0] / 4; }));
        QVERIFY2(counted.pictures[0] < expected.pictures[0], qPrintable(Text(counted)));
    }
    captures->CloseCapture();
    QVERIFY(!live->Replaying());
    QVERIFY(tabs->isTabEnabled(1) && live->findChild<QMenu*>("menuTools")->isEnabled());
    QVERIFY(fleet->SendingAllowed());
    live.reset();

    // Replayed by the simulator into a second tool.
    DevsimProcess player_sim;
    QVERIFY(player_sim.start({"--replay", path, "--speed", "16"}));
    QVERIFY(player_sim.writeNetworkFile(KoAppData::Folder()));
    DoorCounts counted_second;
    MainWindow second;
    second.show();
    Count(second.findChild<KoClientMultUi*>()->Link(), counted_second, &second);
    // Closed once everything is out; stopped before the tool comes back for more.
    QVERIFY(WaitFor([&] { return player_sim.output().join('\n').contains("#1 closed"); }, 120000));
    player_sim.stop();
    QVERIFY2(WaitFor([&] { return Text(counted_second) == Text(expected); }, 60000),
             qPrintable(Text(counted_second) + " through the simulator, " + Text(expected) +
                        " in the capture"));
    QCOMPARE(ShownCounts(second), shown);
}

VELMORA_REAL_DISPLAY_MAIN(TstCapture)
#include "tst_capture.moc"
