// Door validation: the figures over the samples, the session's counting, and
// the window used as a technician would, against the device simulator with a
// known error model, down to the report read back.

#include "../support/devsim_process.h"
#include "../support/full_disk.h"
#include "../support/real_display.h"
#include "ko_algo_service_controll_ui.h"
#include "ko_app_data.h"
#include "ko_client_mult_ui.h"
#include "ko_menus.h"
#include "ko_scene_snapshot.h"
#include "ko_validation_report.h"
#include "ko_validation_window.h"
#include "main_window.h"

#include <QLineEdit>
#include <QElapsedTimer>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <cmath>

using Verdict = KoValidationStats::Verdict;
using Session = KoValidationSession;
Q_DECLARE_METATYPE(Verdict)

class TstValidation : public QObject
{
    Q_OBJECT

private slots:
    void figures_data();
    void figures();
    void session_data();
    void session();
    void endToEnd();
};

void TstValidation::figures_data()
{
    // Samples as hand:device; the figures worked out by hand with the
    // t table (t 0.975: 4.302653 for 2, 3.182446 for 3 degrees of freedom).
    QTest::addColumn<QString>("samples");
    QTest::addColumn<double>("tolerance");
    QTest::addColumn<int>("n");
    QTest::addColumn<double>("mean");
    QTest::addColumn<double>("low");
    QTest::addColumn<double>("high");
    QTest::addColumn<Verdict>("verdict");
    QTest::addColumn<int>("more");

    // +2, -1, +3, 0 %: sd 1.8257 %, half width 3.182446 * 1.8257 / 2; a
    // sample without a hand count says nothing.
    QTest::newRow("within") << "100:102 100:99 100:103 100:100 0:3" << 0.05 << 4 << 0.01
                            << -0.0190516 << 0.0390516 << Verdict::Within << 0;
    // +10, +12, +8 %: sd 2 %, half width 4.302653 * 2 / sqrt(3) = 4.968 %.
    QTest::newRow("outside above") << "50:55 50:56 50:54" << 0.05 << 3 << 0.10 << 0.0503172
                                   << 0.1496828 << Verdict::Outside << 0;
    QTest::newRow("outside below") << "20:16 20:15 20:17 20:16" << 0.05 << 4 << -0.20
                                   << -0.2649614 << -0.1350386 << Verdict::Outside << 0;
    // +4, 0, +8 %: sd 4 %, the interval reaches over +5 %. It clears the
    // 1 % margin when t(m-1) * 4 % / sqrt(m) < 1 %: t(63) / 8 = 0.24979
    // at m = 64, t(62) / sqrt(63) = 0.25185 still above; 61 more.
    QTest::newRow("not enough") << "25:26 25:25 25:27" << 0.05 << 3 << 0.04 << -0.0593656
                                << 0.1393656 << Verdict::NotEnough << 61;
    // The same samples judged against 2 %: the mean is outside, the
    // interval not yet: t(m-1) * 4 % / sqrt(m) < 2 % first at m = 18
    // (t(17) = 2.109816, / sqrt(18) = 0.4973).
    QTest::newRow("not enough, outside side") << "25:26 25:25 25:27" << 0.02 << 3 << 0.04
                                              << -0.0593656 << 0.1393656 << Verdict::NotEnough
                                              << 15;
    QTest::newRow("one sample") << "10:11" << 0.05 << 1 << 0.1 << 0.1 << 0.1
                                << Verdict::NotEnough << 1;
    QTest::newRow("no spread") << "30:31 30:31" << 0.05 << 2 << 1.0 / 30 << 1.0 / 30
                               << 1.0 / 30 << Verdict::Within << 0;
    QTest::newRow("on the edge is within") << "20:21 20:21" << 0.05 << 2 << 0.05 << 0.05
                                           << 0.05 << Verdict::Within << 0;
    QTest::newRow("no samples") << "" << 0.05 << 0 << 0.0 << 0.0 << 0.0 << Verdict::NotEnough
                                << 2;
}

void TstValidation::figures()
{
    QFETCH(QString, samples);
    QFETCH(double, tolerance);
    QFETCH(int, n);
    QFETCH(double, mean);
    QFETCH(double, low);
    QFETCH(double, high);
    QFETCH(Verdict, verdict);
    QFETCH(int, more);

    QVector<QPair<int, int>> pairs;
    for (const QString& s : samples.split(' ', Qt::SkipEmptyParts))
        pairs.append({s.section(':', 0, 0).toInt(), s.section(':', 1).toInt()});
    const KoValidationStats::Figures f =
        KoValidationStats::Judge(KoValidationStats::Deviations(pairs), tolerance);
    QCOMPARE(f.samples, n);
    QVERIFY2(std::abs(f.mean - mean) < 1e-7, qPrintable(QString::number(f.mean, 'g', 10)));
    QVERIFY2(std::abs(f.low - low) < 1e-7, qPrintable(QString::number(f.low, 'g', 10)));
    QVERIFY2(std::abs(f.high - high) < 1e-7, qPrintable(QString::number(f.high, 'g', 10)));
    QCOMPARE(f.verdict, verdict);
    QCOMPARE(f.moreNeeded, more);
}

void TstValidation::session_data()
{
    // start<doors>; i<door>, o<door>: a hand count; c<door>:<in>:<out>: the
    // device's counters; u undo, m mark, p pause, r resume, x stop.
    QTest::addColumn<QString>("events");
    QTest::addColumn<QString>("samples"); // hand/device of each sample | of the open one
    QTest::newRow("counters before the start do not count")
        << "c0:5:5 start2 c0:7:6 i0 i0 o0 m" << "3/3 | 0/0";
    QTest::newRow("a counter that went back started again")
        << "start2 c0:10:0 c0:12:0 c0:3:0 m" << "0/5 | 0/0";
    QTest::newRow("paused counts nothing") << "start2 c1:0:0 p i1 c1:4:0 r c1:5:0 i1 m"
                                           << "1/1 | 0/0";
    QTest::newRow("undo stops at the mark") << "start2 i0 i1 m u o1 u u" << "2/0 | 0/0";
    QTest::newRow("an empty mark is no sample") << "start2 m c0:0:0 m i0" << " | 1/0";
    QTest::newRow("stop closes the open sample") << "start2 i0 x i0 c0:0:0 c0:9:9"
                                                 << "1/0 | 0/0";
    QTest::newRow("only the session's doors") << "start1 i1 c1:0:0 c1:3:3 i0 m" << "1/0 | 0/0";
}

void TstValidation::session()
{
    QFETCH(QString, events);
    QFETCH(QString, samples);

    Session s;
    const QDateTime now = QDateTime::currentDateTime();
    for (const QString& e : events.split(' ')) {
        const int door = e.mid(1, 1).toInt();
        if (e.startsWith("start"))
            s.Start(now, e.mid(5).toInt());
        else if (e[0] == 'i' || e[0] == 'o')
            s.Hand(door, e[0] == 'i' ? Session::In : Session::Out);
        else if (e[0] == 'c')
            s.DeviceCounters(door, e.section(':', 1, 1).toInt(), e.section(':', 2).toInt());
        else if (e == "u")
            s.Undo();
        else if (e == "m")
            s.MarkSample(now);
        else if (e == "p")
            s.Pause();
        else if (e == "r")
            s.Resume();
        else if (e == "x")
            s.Stop(now);
    }
    QStringList shown;
    for (const Session::Sample& sample : s.Samples())
        shown << QString("%1/%2").arg(sample.Hand(-1, -1)).arg(sample.Device(-1, -1));
    QCOMPARE(shown.join(' ') + QString(" | %1/%2").arg(s.Open().Hand(-1, -1)).arg(s.Open().Device(-1, -1)),
             samples);
}

namespace {

// What the test counted, per door and direction, as the window should have.
struct Ledger
{
    std::array<std::array<int, 2>, 4> hand{};
    std::array<std::array<int, 2>, 4> device{};

    bool Matches(const Session::Sample& s) const
    {
        for (int d = 0; d < 4; ++d) {
            for (int dir = 0; dir < 2; ++dir) {
                if (s.Hand(d, dir) != hand[d][dir] || s.Device(d, dir) != device[d][dir])
                    return false;
            }
        }
        return true;
    }
    int Hand() const { return hand[0][0] + hand[0][1] + hand[1][0] + hand[1][1] + hand[2][0] +
                              hand[2][1] + hand[3][0] + hand[3][1]; }
};

} // namespace

// The technician's whole job: open the window from the Tools menu, start,
// press a door's key for every person the simulator says crossed, mark a
// sample at each quiet moment, stop, save the report; then read it back.
void TstValidation::endToEnd()
{
    QTemporaryDir out;
    DevsimProcess sim;
    QVERIFY(sim.start({"--passes", "4", "--fps", "10", "--size", "320x240", "--seed", "11",
                       "--miss-rate", "0.1", "--extra-rate", "0.05"}));
    QVERIFY(sim.writeNetworkFile(KoAppData::Folder()));

    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* container = window.findChild<KoClientMultUi*>();
    QTRY_COMPARE_WITH_TIMEOUT(container->PassCount(), 4, 10000);
    QAction* entry = nullptr;
    for (QAction* a : window.findChild<QMenu*>("menuTools")->actions())
        entry = KoMenus::PlainText(a->text()) == "Validate doors" ? a : entry;
    QVERIFY(entry);
    entry->trigger();
    auto* v = window.findChild<KoValidationWindow*>("validationWindow");
    QVERIFY(v);
    QVERIFY(QTest::qWaitForWindowExposed(v));
    QString chosen;
    v->SetFileChooser([&chosen](const QString&, const QString&, const QString&) { return chosen; });
    v->findChild<QLineEdit*>("operatorEdit")->setText(QString::fromUtf8("Иванов И. И."));
    QTest::keyClicks(v->findChild<QLineEdit*>("vehicleEdit"), "Bus 1042");

    // The session counts from the device's counters at the start: the
    // crossings after the one that brought them there are the test's.
    std::array<std::array<int, 2>, 4> base{};
    for (int d = 0; d < 4; ++d)
        base[d] = {container->Panel(d)->lastIn, container->Panel(d)->lastOut};
    v->findChild<QPushButton*>("startButton")->click();
    std::array<std::array<int, 2>, 4> before{};
    int read = 0;
    Ledger open, total;
    QVector<Ledger> marked;
    const QRegularExpression crossing("^crossing pass (\\d) (in|out), device counts (\\d)$");
    const auto key_new_crossings = [&] {
        const QStringList lines = sim.output();
        for (; read < lines.size(); ++read) {
            const QRegularExpressionMatch m = crossing.match(lines[read]);
            if (!m.hasMatch())
                continue;
            const int d = m.captured(1).toInt();
            const int dir = m.captured(2) == "in" ? 0 : 1;
            const int counted = m.captured(3).toInt();
            if (before[d][dir] + counted <= base[d][dir] && before[d][dir] < base[d][dir]) {
                before[d][dir] += counted; // before the start
                continue;
            }
            QTest::keyClick(v, dir == 0 ? "1234"[d] : "QWER"[d]);
            for (Ledger* l : {&open, &total}) {
                ++l->hand[d][dir];
                l->device[d][dir] += counted;
            }
        }
    };
    // A quiet moment: every crossing read has reached the window, and no
    // count has reached it before its line.
    const auto wait_quiet = [&] {
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 20000) {
            QTest::qWait(30);
            key_new_crossings();
            if (open.Matches(v->Session().Open()))
                return true;
        }
        return false;
    };

    // A slip of the finger, taken back.
    QTest::keyClick(v, '1');
    QTest::keyClick(v, Qt::Key_Backspace);
    const int Samples = 5;
    while (marked.size() < Samples) {
        QTest::qWait(100);
        key_new_crossings();
        if (open.Hand() < 6)
            continue;
        QVERIFY(wait_quiet());
        v->findChild<QPushButton*>("markButton")->click();
        marked.append(open);
        open = Ledger();
    }
    QVERIFY(wait_quiet());
    v->findChild<QPushButton*>("stopButton")->click();
    QCOMPARE(v->Session().CurrentState(), Session::State::Stopped);
    if (open.Hand() > 0 || open.device != Ledger().device)
        marked.append(open);

    // Every sample holds exactly what was counted by hand and by the device.
    const Session& s = v->Session();
    QCOMPARE(s.Samples().size(), marked.size());
    for (int k = 0; k < marked.size(); ++k)
        QVERIFY2(marked[k].Matches(s.Samples()[k]), qPrintable(QString::number(k)));
    const QVector<Session::Row> rows = s.Rows(v->Tolerance());
    QCOMPARE(rows.size(), 4 * 2 + 3);
    const Session::Row& all = rows.last();
    QCOMPARE(all.hand, total.Hand());
    // The session's deviation lies within the interval around the samples'
    // mean (their sizes are near equal: Cauchy-Schwarz).
    const double realised = double(all.device - all.hand) / all.hand;
    QCOMPARE(all.Relative(), realised);
    QVERIFY2(all.stats.low <= realised && realised <= all.stats.high,
             qPrintable(QString("%1 outside %2 .. %3").arg(realised).arg(all.stats.low).arg(all.stats.high)));

    // The report, where the operator chose, and the snapshot of door 1.
    chosen = out.filePath("bus 1042");
    v->findChild<QPushButton*>("saveButton")->click();
    const QString pdf = chosen + ".pdf";
    QVERIFY(QFile::exists(pdf));
    chosen = out.filePath("door1.png");
    for (QToolButton* b : v->findChildren<QToolButton*>())
        if (b->toolTip().startsWith("Save a snapshot") && (b->click(), true))
            break;
    QCOMPARE(QImage(chosen).size(), QSize(320, 240));
    {
        // A full disk: said, and no half picture left.
        FullDisk full(64);
        QString error;
        QVERIFY(!KoSceneSnapshot::SavePng(QImage(chosen), out.filePath("full.png"), &error));
        QVERIFY(!error.isEmpty() && !QFile::exists(out.filePath("full.png")));
    }

    // The CSV read back: a header, then one row per sample with the same counts.
    QFile csv(out.filePath("bus 1042.csv"));
    QVERIFY(csv.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(csv.readAll()).split("\r\n", Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), marked.size() + 1);
    QVERIFY(lines[0].startsWith("sample,start,end,door1_in_hand,door1_in_device,door1_out_hand"));
    QVERIFY(lines[0].endsWith("door4_out_device,total_hand,total_device"));
    for (int k = 0; k < marked.size(); ++k) {
        const QStringList f = lines[k + 1].split(',');
        QCOMPARE(f.size(), 3 + 4 * 4 + 2);
        QCOMPARE(f[0].toInt(), k + 1);
        QCOMPARE(f[19].toInt(), marked[k].Hand());
        for (int d = 0; d < 4; ++d) {
            for (int dir = 0; dir < 2; ++dir) {
                QCOMPARE(f[3 + d * 4 + dir * 2].toInt(), marked[k].hand[d][dir]);
                QCOMPARE(f[4 + d * 4 + dir * 2].toInt(), marked[k].device[d][dir]);
            }
        }
    }

    // The PDF as its reader sees it.
    QProcess pdftotext;
    pdftotext.start("pdftotext", {"-layout", pdf, "-"});
    QVERIFY(pdftotext.waitForFinished(30000));
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
    for (const QString& part :
         {QString("Door validation report"), QString::fromUtf8("Operator: Иванов И. И."),
          QString("Vehicle: Bus 1042"), QString("Device: 127.0.0.1:%1").arg(sim.port()),
          "Verdict (all doors, both directions): " + KoValidationReport::VerdictText(all.stats),
          QString("Door 4 out"), QString("Signature")})
        QVERIFY2(text.simplified().contains(part), qPrintable(part + "\n" + text));
    QCOMPARE(KoValidationReport::DoorName(3, " rear "), QString("Door 4: rear"));
    // The figures' row of all doors: its name, then hand, device and difference.
    QVERIFY2(text.contains(QRegularExpression(QString("All doors\\s+%1\\s+%2\\s+%3\\s")
                                                  .arg(all.hand)
                                                  .arg(all.device)
                                                  .arg(all.Difference()))),
             qPrintable(text));
}

VELMORA_REAL_DISPLAY_MAIN(TstValidation)
#include "tst_validation.moc"
