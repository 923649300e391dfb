// The simulator's counting model; its answers on the link are driven by the
// end-to-end suites (tst_config_devsim, tst_cntsys_devsim, tst_fault, ...).

#include "counting_line.h"
#include "people_sim.h"

#include <QtTest>

class TestDevsim : public QObject
{
    Q_OBJECT

private slots:
    void crossing_data();
    void crossing();
    void errorModel_data();
    void errorModel();
};

void TestDevsim::crossing_data()
{
    QTest::addColumn<QPointF>("from");
    QTest::addColumn<QPointF>("to");
    QTest::addColumn<int>("expected");
    QTest::addColumn<int>("reversed");
    // Line from left to right at y 0.5: its blue side is below (y grows down).
    QTest::newRow("up through is in") << QPointF(0.5, 0.7) << QPointF(0.5, 0.3) << 1 << -1;
    QTest::newRow("down through is out") << QPointF(0.5, 0.3) << QPointF(0.5, 0.7) << -1 << 1;
    QTest::newRow("beside the line") << QPointF(1.5, 0.7) << QPointF(1.5, 0.3) << 0 << 0;
    QTest::newRow("touching from blue")
        << QPointF(0.5, 0.7) << QPointF(0.5, 0.5) << 1 << 0; // on the line is yellow
    QTest::newRow("from the line back to blue")
        << QPointF(0.5, 0.5) << QPointF(0.5, 0.7) << -1 << 0;
    QTest::newRow("parallel") << QPointF(0.1, 0.6) << QPointF(0.9, 0.6) << 0 << 0;
}

void TestDevsim::crossing()
{
    QFETCH(QPointF, from);
    QFETCH(QPointF, to);
    QFETCH(int, expected);
    QFETCH(int, reversed);
    CountingLine line;
    line.SetPoints({QPointF(0, 0.5), QPointF(1, 0.5)});
    QCOMPARE(line.Crossing(from, to), expected);
    // Reversing the points swaps the sides.
    line.SetPoints({QPointF(1, 0.5), QPointF(0, 0.5)});
    QCOMPARE(line.Crossing(from, to), reversed);
}

void TestDevsim::errorModel_data()
{
    QTest::addColumn<double>("miss");
    QTest::addColumn<double>("extra");
    QTest::addColumn<int>("counted");
    QTest::newRow("no errors") << 0.0 << 0.0 << 1;
    QTest::newRow("always missed") << 1.0 << 0.0 << 0;
    QTest::newRow("always twice") << 0.0 << 1.0 << 2;
    QTest::newRow("missed and added") << 1.0 << 1.0 << 1;
}

// The device's count follows the error model; the truth and the log do not.
void TestDevsim::errorModel()
{
    QFETCH(double, miss);
    QFETCH(double, extra);
    QFETCH(int, counted);
    PeopleSim people(1, 7, SimErrorModel{miss, extra});
    people.SetAutoSpawn(false);
    people.AddPerson(0.5, 0.95, 0, -0.5); // up through the arch: in
    people.AddPerson(0.5, 0.3, 0, 0.5);   // down: out
    for (int i = 0; i < 40; ++i)
        people.Step(0.05);
    QCOMPARE(people.TrueInCount(), 1);
    QCOMPARE(people.TrueOutCount(), 1);
    QCOMPARE(people.InCount(), counted);
    QCOMPARE(people.OutCount(), counted);
    const std::vector<SimCrossing> log = people.TakeCrossings();
    QCOMPARE(int(log.size()), 2);
    QCOMPARE(log[0].passId, 1);
    QCOMPARE(log[0].counted, counted);
    QCOMPARE(log[0].in == log[1].in, false);
    QVERIFY(people.TakeCrossings().empty());
}

QTEST_GUILESS_MAIN(TestDevsim)
#include "tst_devsim.moc"
