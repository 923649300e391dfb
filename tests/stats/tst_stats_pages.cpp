// The statistics and report pages: the requests they build under fixed time
// zones, what they make of the device's replies, the pass list, and the two
// XML files they write.

#include "stats/ko_graphics_drawer.h"
#include "stats/ko_report_export.h"
#include "stats/ko_statistics_viewer.h"
#include "stats/ko_xml_report_writer.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QXmlStreamReader>
#include <QtTest>

#include <cstring>
#include <ctime>
#include <memory>

namespace {

struct Box
{
    QMessageBox::Icon icon;
    QString title;
    QString text;
};

class TestViewer : public KoStatisticsViewer
{
public:
    QList<Box> boxes;

protected:
    void showMessage(QMessageBox::Icon icon, const QString& title, const QString& text) override
    {
        boxes.append({icon, title, text});
    }
};

class TestReport : public KoReportExport
{
public:
    QList<Box> boxes;

protected:
    void showMessage(QMessageBox::Icon icon, const QString& title, const QString& text) override
    {
        boxes.append({icon, title, text});
    }
};

// Runs the rest of a test in a fixed time zone.
class Zone
{
public:
    explicit Zone(const QByteArray& tz) : old(qgetenv("TZ"))
    {
        qputenv("TZ", tz);
        tzset();
    }
    ~Zone()
    {
        qputenv("TZ", old);
        tzset();
    }

private:
    QByteArray old;
};

KoStatisticsData stamp(int yy, int month, int day, int hour, int count = 0)
{
    KoStatisticsData s;
    s.year = uint8_t(yy);
    s.month = uint8_t(month);
    s.day = uint8_t(day);
    s.hour = uint8_t(hour);
    s.count = count;
    return s;
}

// The eight bytes of a stamp as the link gets them.
QByteArray bytes(const KoStatisticsData& s)
{
    return QByteArray(reinterpret_cast<const char*>(&s), sizeof s);
}

QByteArray bytes(int yy, int month, int day, int hour)
{
    return bytes(stamp(yy, month, day, hour));
}

// The arguments of one emitted request.
struct Request
{
    int pass;
    QByteArray start;
    QByteArray end;
    int type;
    int sid;
};

// Every request a page emits, in order.
class RequestLog : public QObject
{
public:
    explicit RequestLog(KoStatisticsViewer* viewer)
    {
        connect(viewer, &KoStatisticsViewer::eSendStatReq, this, &RequestLog::record);
    }
    explicit RequestLog(KoReportExport* report)
    {
        connect(report, &KoReportExport::eSendXmlStatReq, this, &RequestLog::record);
    }

    QList<Request> requests;

private:
    void record(int pass, const KoStatisticsData& start, const KoStatisticsData& end,
                STATISTICS_TYPE type, STATISTICS_ID sid)
    {
        requests.append({pass, bytes(start), bytes(end), type, sid});
    }
};

QComboBox* box(QWidget* page, const char* name)
{
    auto* found = page->findChild<QComboBox*>(name);
    Q_ASSERT(found);
    return found;
}

QStringList entries(QComboBox* combo)
{
    QStringList list;
    for (int i = 0; i < combo->count(); ++i)
        list.append(combo->itemText(i));
    return list;
}

void selectDate(QWidget* page, const char* year, const char* month, const char* day,
                const QDate& date)
{
    box(page, year)->setCurrentText(QString::number(date.year()));
    box(page, month)->setCurrentIndex(date.month() - 1);
    box(page, day)->setCurrentText(QString::number(date.day()));
}

// Device replies carry UTC stamps; these build them from local hours.
KoStatisticsData utcOf(const QDateTime& local, int count)
{
    const QDateTime utc = local.toUTC();
    return stamp(utc.date().year() - 2000, utc.date().month(), utc.date().day(), utc.time().hour(),
                 count);
}

QVector<KoStatisticsData> hoursOf(const QDate& first, int days, int base)
{
    QVector<KoStatisticsData> records;
    for (int d = 0; d < days; ++d)
        for (int h = 0; h < 24; ++h)
            records.append(utcOf(QDateTime(first.addDays(d), QTime(h, 0)), base + d * 24 + h));
    return records;
}

// Elements and attributes of an XML file, as Qt's reader sees them.
struct Parsed
{
    QString firstLine;
    QString root;
    QList<QXmlStreamAttributes> stamps;
    QString error;
};

Parsed parse(const QString& file_name)
{
    Parsed parsed;
    QFile file(file_name);
    if (!file.open(QIODevice::ReadOnly)) {
        parsed.error = "cannot open " + file_name;
        return parsed;
    }
    const QByteArray content = file.readAll();
    parsed.firstLine = QString::fromUtf8(content.left(content.indexOf('\n')));
    QXmlStreamReader reader(content);
    if (reader.readNextStartElement()) {
        parsed.root = reader.name().toString();
        while (reader.readNextStartElement()) {
            if (reader.name() == QLatin1String("Stamp"))
                parsed.stamps.append(reader.attributes());
            reader.skipCurrentElement();
        }
    }
    // Read on to the end, so that anything after the root counts as an error.
    while (!reader.atEnd())
        reader.readNext();
    if (reader.hasError())
        parsed.error = reader.errorString();
    return parsed;
}

QByteArray golden(const QString& name)
{
    QFile file(QStringLiteral(VELMORA_SOURCE_DIR "/tests/stats/golden/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray readAll(const QString& name)
{
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

Q_DECLARE_METATYPE(KoStatisticsData)

class TestStatsPages : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void viewerRequests_data();
    void viewerRequests();
    void repeatsFollowTypeAndPass();
    void dayBoxFollowsMonth();
    void emptyReplies_data();
    void emptyReplies();
    void yearReply();
    void monthReplyPadsToTheMonth();
    void dayReplyPadsTo24();
    void passTextAndUnknownPass();
    void alarmsUnderTheirBar_data();
    void alarmsUnderTheirBar();
    void drillDown_data();
    void drillDown();
    void viewerPassCount();
    void periodFile();
    void periodFileNeedsEqualDirections();

    void reportRequest_data();
    void reportRequest();
    void reportDateWarning_data();
    void reportDateWarning();
    void reportFile_data();
    void reportFile();
    void reportGolden();
    void reportEmptyReply_data();
    void reportEmptyReply();
    void reportWriteFailure();
    void reportPassCount();
    void reportDefaultFolder();
    void realBoxIsModalAndClosable();

    void periodWriter_data();
    void periodWriter();

private:
    std::unique_ptr<QTemporaryDir> tmp;
};

void TestStatsPages::init()
{
    // Period files go to the working directory, the report folder below it.
    QDir::setCurrent(QDir::tempPath());
    tmp = std::make_unique<QTemporaryDir>();
    QVERIFY(tmp->isValid());
    QVERIFY(QDir::setCurrent(tmp->path()));
}

void TestStatsPages::viewerRequests_data()
{
    QTest::addColumn<QByteArray>("tz");
    QTest::addColumn<int>("sid");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QByteArray>("start");
    QTest::addColumn<QByteArray>("end");

    const QDate d(2016, 3, 5);
    QTest::newRow("year UTC+3") << QByteArray("Etc/GMT-3") << 0 << d << bytes(15, 12, 31, 21)
                                << bytes(16, 12, 31, 21);
    QTest::newRow("year UTC") << QByteArray("UTC") << 0 << d << bytes(16, 1, 1, 0)
                              << bytes(17, 1, 1, 0);
    QTest::newRow("month UTC+3") << QByteArray("Etc/GMT-3") << 1 << d << bytes(16, 2, 29, 21)
                                 << bytes(16, 3, 31, 21);
    QTest::newRow("month UTC") << QByteArray("UTC") << 1 << d << bytes(16, 3, 1, 0)
                               << bytes(16, 4, 1, 0);
    // February of a leap year: one month on from January 31 is February 29.
    QTest::newRow("february UTC+3") << QByteArray("Etc/GMT-3") << 1 << QDate(2016, 2, 1)
                                    << bytes(16, 1, 31, 21) << bytes(16, 2, 29, 21);
    QTest::newRow("december UTC+3") << QByteArray("Etc/GMT-3") << 1 << QDate(2016, 12, 1)
                                    << bytes(16, 11, 30, 21) << bytes(16, 12, 31, 21);
    // West of Greenwich the month ends one calendar month after its UTC start,
    // not at the end of the month after.
    QTest::newRow("month UTC-5") << QByteArray("Etc/GMT+5") << 1 << d << bytes(16, 3, 1, 5)
                                 << bytes(16, 4, 1, 5);
    // A summer month starts an hour later than local midnight: offset +2 then,
    // +1 in December.
    QTest::newRow("month in summer time") << QByteArray("Europe/Berlin") << 1 << QDate(2016, 7, 1)
                                          << bytes(16, 6, 30, 23) << bytes(16, 7, 31, 23);
    QTest::newRow("month in winter time") << QByteArray("Europe/Berlin") << 1 << QDate(2016, 1, 1)
                                          << bytes(15, 12, 31, 23) << bytes(16, 1, 31, 23);
    QTest::newRow("day UTC+3") << QByteArray("Etc/GMT-3") << 2 << d << bytes(16, 3, 4, 21)
                               << bytes(16, 3, 5, 21);
    QTest::newRow("day UTC") << QByteArray("UTC") << 2 << d << bytes(16, 3, 5, 0)
                             << bytes(16, 3, 6, 0);
    QTest::newRow("new year's eve UTC+3") << QByteArray("Etc/GMT-3") << 2 << QDate(2016, 12, 31)
                                          << bytes(16, 12, 30, 21) << bytes(16, 12, 31, 21);
}

void TestStatsPages::viewerRequests()
{
    QFETCH(QByteArray, tz);
    QFETCH(int, sid);
    QFETCH(QDate, date);
    QFETCH(QByteArray, start);
    QFETCH(QByteArray, end);
    Zone zone(tz);

    TestViewer viewer;
    selectDate(&viewer, "yearBox", "monthBox", "dayBox", date);
    box(&viewer, "typeBox")->setCurrentIndex(1);
    RequestLog spy(&viewer);

    const char* buttons[] = {"Year report", "Month report", "Day report"};
    for (QPushButton* button : viewer.findChildren<QPushButton*>())
        if (button->text() == buttons[sid])
            button->click();

    QCOMPARE(spy.requests.size(), 1);
    const Request r = spy.requests.first();
    QCOMPARE(r.start.toHex(' '), start.toHex(' '));
    QCOMPARE(r.end.toHex(' '), end.toHex(' '));
    QCOMPARE(r.sid, sid);
    QCOMPARE(r.type, 1);
    QCOMPARE(r.pass, 0);
}

void TestStatsPages::repeatsFollowTypeAndPass()
{
    Zone zone("UTC");
    TestViewer viewer;
    selectDate(&viewer, "yearBox", "monthBox", "dayBox", QDate(2016, 3, 5));
    RequestLog spy(&viewer);

    // Before any reply the page repeats a day.
    box(&viewer, "typeBox")->setCurrentIndex(1);
    QCOMPARE(spy.requests.size(), 1);
    QCOMPARE(spy.requests.last().sid, 2);
    QCOMPARE(spy.requests.last().type, 1);
    QCOMPARE(spy.requests.last().start, bytes(16, 3, 5, 0));

    // After a year reply it repeats a year, for the chosen pass; the Total
    // entry is pass index 4.
    viewer.sStatisticRecieved(0, {stamp(16, 1, 1, 0, 3)}, {}, STAT_YEAR, STAT_OUTCOMING);
    QCOMPARE(viewer.shownLevel(), 0);
    box(&viewer, "passBox")->setCurrentIndex(4);
    QCOMPARE(spy.requests.size(), 2);
    QCOMPARE(spy.requests.last().pass, 4);
    QCOMPARE(spy.requests.last().sid, 0);
    QCOMPARE(spy.requests.last().start, bytes(16, 1, 1, 0));
    QCOMPARE(spy.requests.last().end, bytes(17, 1, 1, 0));
}

void TestStatsPages::dayBoxFollowsMonth()
{
    TestViewer viewer;
    QComboBox* days = box(&viewer, "dayBox");
    box(&viewer, "yearBox")->setCurrentText("2016");
    box(&viewer, "monthBox")->setCurrentIndex(1);
    QCOMPARE(days->count(), 29);
    QCOMPARE(days->currentText(), QString("1"));
    box(&viewer, "yearBox")->setCurrentText("2015");
    QCOMPARE(days->count(), 28);
    QCOMPARE(entries(box(&viewer, "monthBox")).first(), QString("Yanuary"));
    QCOMPARE(entries(box(&viewer, "typeBox")), QStringList({"Incoming", "Outcoming"}));
    QCOMPARE(entries(box(&viewer, "passBox")), QStringList({"0", "1", "2", "3", "Total"}));
}

void TestStatsPages::emptyReplies_data()
{
    QTest::addColumn<int>("sid");
    QTest::addColumn<int>("bars");
    QTest::addColumn<QString>("axis");
    QTest::addColumn<QString>("heading");
    QTest::newRow("year") << 0 << 12 << "Month"
                          << "Year statistics";
    QTest::newRow("month") << 1 << 31 << "Days"
                           << "Month statistics";
    QTest::newRow("day") << 2 << 24 << "Hours"
                         << "Day statistics";
}

void TestStatsPages::emptyReplies()
{
    QFETCH(int, sid);
    QFETCH(int, bars);
    QFETCH(QString, axis);
    QFETCH(QString, heading);

    TestViewer viewer;
    viewer.sStatisticRecieved(1, {stamp(16, 3, 5, 0, 4)}, {}, STAT_DAY, STAT_INCOMING);
    QVERIFY(!viewer.histogramTitle().isEmpty());

    viewer.sStatisticRecieved(1, {}, {}, STATISTICS_ID(sid), STAT_INCOMING);
    const KoGraphicsDrawer* drawer = viewer.histogram();
    QCOMPARE(drawer->barItems().size(), bars);
    QCOMPARE(drawer->shownValues(), QVector<float>(bars, 0));
    QCOMPARE(drawer->shownLabels(), QVector<QString>(bars).toList());
    QCOMPARE(drawer->shownXAxisText(), axis);
    QCOMPARE(drawer->shownYAxisText(), QString("People count"));
    QCOMPARE(drawer->shownHeading(), heading);
    QCOMPARE(drawer->shownTotalText(), QString());
    QCOMPARE(viewer.histogramTitle(), QString());
    // The kind shown before stays the one repeated.
    QCOMPARE(viewer.shownLevel(), 2);
}

void TestStatsPages::yearReply()
{
    Zone zone("Etc/GMT-3");
    TestViewer viewer;
    // Month starts in local time, as the device stamps them in UTC; two
    // records for March, the first one counts.
    const QVector<KoStatisticsData> reply{utcOf(QDateTime(QDate(2016, 1, 1), QTime(0, 0)), 11),
                                          utcOf(QDateTime(QDate(2016, 3, 1), QTime(0, 0)), 5),
                                          utcOf(QDateTime(QDate(2016, 3, 1), QTime(0, 0)), 7),
                                          utcOf(QDateTime(QDate(2016, 12, 1), QTime(0, 0)), 2)};
    QCOMPARE(bytes(reply.first()).left(4), bytes(15, 12, 31, 21).left(4));
    viewer.sStatisticRecieved(1, reply, {}, STAT_YEAR, STAT_OUTCOMING);

    const KoGraphicsDrawer* drawer = viewer.histogram();
    QCOMPARE(drawer->shownValues(), QVector<float>({11, 0, 5, 0, 0, 0, 0, 0, 0, 0, 0, 2}));
    QCOMPARE(drawer->shownLabels(),
             QStringList({"Yanuary", "February", "March", "April", "May", "June", "July", "August",
                          "September", "October", "November", "December"}));
    QCOMPARE(drawer->shownXAxisText(), QString("Month"));
    QCOMPARE(viewer.histogramTitle(), QString("Year statistics for 2016 pass 1"));
    QCOMPARE(drawer->shownHeading(), QString("Year statistics for 2016 pass 1 (Outcoming)"));
    // Every record adds to the total, the second March one included.
    QCOMPARE(drawer->shownTotalText(), QString("Total people count = 25"));
    QCOMPARE(viewer.barRecords(1).size(), 12);
    QCOMPARE(viewer.barRecords(1).at(2).count, 5);
    QCOMPARE(box(&viewer, "passBox")->currentIndex(), 1);
    QCOMPARE(viewer.shownLevel(), 0);
    QCOMPARE(viewer.shownDirection(), 1);
}

void TestStatsPages::monthReplyPadsToTheMonth()
{
    Zone zone("Etc/GMT-3");
    TestViewer viewer;
    // April 2016 has 30 days; the device sent 28.
    QVector<KoStatisticsData> reply;
    for (int d = 1; d <= 28; ++d)
        reply.append(utcOf(QDateTime(QDate(2016, 4, d), QTime(0, 0)), d));
    viewer.sStatisticRecieved(0, reply, {}, STAT_MONTH, STAT_INCOMING);

    const KoGraphicsDrawer* drawer = viewer.histogram();
    QCOMPARE(drawer->barItems().size(), 30);
    QCOMPARE(drawer->shownValues().mid(26), QVector<float>({27, 28, 0, 0}));
    const QStringList labels = drawer->shownLabels();
    QCOMPARE(labels.at(0), QString("1\nFri"));
    QCOMPARE(labels.at(2), QString("3\nSan"));
    QCOMPARE(labels.at(28), QString("29\nFri"));
    QCOMPARE(labels.at(29), QString("30\nSat"));
    QCOMPARE(drawer->shownXAxisText(), QString("Days"));
    QCOMPARE(viewer.histogramTitle(), QString("Month statistics for 4.16 pass 0"));
    QCOMPARE(drawer->shownTotalText(), QString("Total people count = 406"));
    QCOMPARE(box(&viewer, "monthBox")->currentIndex(), 3);
    QCOMPARE(viewer.barRecords(0).size(), 30);
    QCOMPARE(viewer.barRecords(0).at(29).day, uint8_t(30));
    QCOMPARE(viewer.barRecords(0).at(29).count, 0);
}

void TestStatsPages::dayReplyPadsTo24()
{
    Zone zone("Etc/GMT-3");
    TestViewer viewer;
    box(&viewer, "yearBox")->setCurrentText("2016");
    box(&viewer, "monthBox")->setCurrentIndex(2);
    QVector<KoStatisticsData> reply;
    for (int h = 0; h < 10; ++h)
        reply.append(utcOf(QDateTime(QDate(2016, 3, 5), QTime(h, 0)), 2 * h));
    QCOMPARE(bytes(reply.first()).left(4), bytes(16, 3, 4, 21).left(4));
    viewer.sStatisticRecieved(2, reply, {}, STAT_DAY, STAT_INCOMING);

    const KoGraphicsDrawer* drawer = viewer.histogram();
    QCOMPARE(drawer->barItems().size(), 24);
    QStringList hours;
    for (int h = 0; h < 24; ++h)
        hours.append(QString::number(h));
    QCOMPARE(drawer->shownLabels(), hours);
    QCOMPARE(drawer->shownValues().at(9), 18.f);
    QCOMPARE(drawer->shownValues().at(10), 0.f);
    QCOMPARE(drawer->shownXAxisText(), QString("Hours"));
    QCOMPARE(viewer.histogramTitle(), QString("Day statistics for 5.3.16 pass 2"));
    QCOMPARE(drawer->shownHeading(), QString("Day statistics for 5.3.16 pass 2 (Incoming)"));
    QCOMPARE(box(&viewer, "dayBox")->currentText(), QString("5"));
}

void TestStatsPages::passTextAndUnknownPass()
{
    Zone zone("UTC");
    TestViewer viewer;
    viewer.sStatisticRecieved(4, {stamp(16, 3, 5, 0, 1)}, {}, STAT_DAY, STAT_INCOMING);
    QCOMPARE(viewer.histogramTitle(), QString("Day statistics for 5.3.16 all passes"));
    QCOMPARE(box(&viewer, "passBox")->currentText(), QString("Total"));
    QCOMPARE(viewer.currentPass(), 4);

    viewer.sPassCnt(2);
    viewer.sStatisticRecieved(2, {stamp(16, 3, 6, 0, 1)}, {}, STAT_DAY, STAT_INCOMING);
    QCOMPARE(viewer.histogramTitle(), QString("Day statistics for 6.3.16 all passes"));

    // No entry 3 any more: the reply is dropped, the chart kept.
    viewer.sStatisticRecieved(3, {stamp(16, 4, 1, 0, 9)}, {}, STAT_MONTH, STAT_OUTCOMING);
    viewer.sStatisticRecieved(-1, {stamp(16, 4, 1, 0, 9)}, {}, STAT_MONTH, STAT_OUTCOMING);
    // A kind the page does not know is dropped too.
    viewer.sStatisticRecieved(0, {stamp(16, 4, 1, 0, 9)}, {}, STATISTICS_ID(7), STAT_OUTCOMING);
    QCOMPARE(viewer.histogramTitle(), QString("Day statistics for 6.3.16 all passes"));
    QCOMPARE(viewer.shownLevel(), 2);
    QCOMPARE(viewer.histogram()->shownValues().first(), 1.f);
}

void TestStatsPages::alarmsUnderTheirBar_data()
{
    QTest::addColumn<int>("sid");
    QTest::addColumn<QDateTime>("alarmAt");
    QTest::addColumn<int>("bar");

    // Local times, in UTC+3.
    QTest::newRow("year: May") << 0 << QDateTime(QDate(2016, 5, 20), QTime(12, 0)) << 4;
    QTest::newRow("year: local New Year") << 0 << QDateTime(QDate(2016, 1, 1), QTime(1, 0)) << 0;
    QTest::newRow("month: day 12") << 1 << QDateTime(QDate(2016, 4, 12), QTime(23, 30)) << 11;
    QTest::newRow("month: past the bars") << 1 << QDateTime(QDate(2016, 5, 31), QTime(8, 0)) << -1;
    QTest::newRow("day: local 01:xx") << 2 << QDateTime(QDate(2016, 4, 1), QTime(1, 10)) << 1;
    QTest::newRow("day: 23:59") << 2 << QDateTime(QDate(2016, 4, 1), QTime(23, 59)) << 23;
}

void TestStatsPages::alarmsUnderTheirBar()
{
    QFETCH(int, sid);
    QFETCH(QDateTime, alarmAt);
    QFETCH(int, bar);
    Zone zone("Etc/GMT-3");

    TestViewer viewer;
    // April: 30 bars for a month.
    const QVector<KoStatisticsData> reply{utcOf(QDateTime(QDate(2016, 4, 1), QTime(0, 0)), 3)};
    const KoStatisticsAlarmData alarm{alarmAt.toSecsSinceEpoch(), 12, 0, 0};
    viewer.sStatisticRecieved(0, reply, {alarm}, STATISTICS_ID(sid), STAT_INCOMING);

    const QVector<QVector<KoStatisticsAlarmData>> events = viewer.histogram()->shownEvents();
    QCOMPARE(events.size(), viewer.histogram()->barItems().size());
    for (int i = 0; i < events.size(); ++i) {
        QCOMPARE(events.at(i).size(), i == bar ? 1 : 0);
        if (i == bar)
            QCOMPARE(events.at(i).first().time, alarm.time);
    }
}

void TestStatsPages::drillDown_data()
{
    QTest::addColumn<QByteArray>("tz");
    QTest::addColumn<QByteArray>("monthStart");
    QTest::addColumn<QByteArray>("monthEnd");
    QTest::addColumn<QByteArray>("dayStart");
    QTest::addColumn<QByteArray>("dayEnd");
    QTest::newRow("UTC+3") << QByteArray("Etc/GMT-3") << bytes(16, 2, 29, 21)
                           << bytes(16, 3, 31, 21) << bytes(16, 3, 4, 21) << bytes(16, 3, 5, 21);
    QTest::newRow("UTC") << QByteArray("UTC") << bytes(16, 3, 1, 0) << bytes(16, 4, 1, 0)
                         << bytes(16, 3, 5, 0) << bytes(16, 3, 6, 0);
    QTest::newRow("UTC-5") << QByteArray("Etc/GMT+5") << bytes(16, 3, 1, 5) << bytes(16, 4, 1, 5)
                           << bytes(16, 3, 5, 5) << bytes(16, 3, 6, 5);
}

void TestStatsPages::drillDown()
{
    QFETCH(QByteArray, tz);
    QFETCH(QByteArray, monthStart);
    QFETCH(QByteArray, monthEnd);
    QFETCH(QByteArray, dayStart);
    QFETCH(QByteArray, dayEnd);
    Zone zone(tz);

    TestViewer viewer;
    RequestLog spy(&viewer);
    QVector<KoStatisticsData> year;
    for (int m = 1; m <= 12; ++m)
        year.append(utcOf(QDateTime(QDate(2016, m, 1), QTime(0, 0)), m == 2 ? 0 : 10 + m));
    viewer.sStatisticRecieved(1, year, {}, STAT_YEAR, STAT_OUTCOMING);

    // A bar with no people, and bars that do not exist, send nothing.
    viewer.sHistClicked(1);
    viewer.sHistClicked(12);
    viewer.sHistClicked(-1);
    QCOMPARE(spy.requests.size(), 0);

    viewer.sHistClicked(2);
    QCOMPARE(spy.requests.size(), 1);
    Request r = spy.requests.last();
    QCOMPARE(r.pass, 1);
    QCOMPARE(r.type, 1);
    QCOMPARE(r.sid, 1);
    QCOMPARE(r.start.toHex(' '), monthStart.toHex(' '));
    QCOMPARE(r.end.toHex(' '), monthEnd.toHex(' '));

    QVector<KoStatisticsData> month;
    for (int d = 1; d <= 31; ++d)
        month.append(utcOf(QDateTime(QDate(2016, 3, d), QTime(0, 0)), d));
    viewer.sStatisticRecieved(1, month, {}, STAT_MONTH, STAT_OUTCOMING);
    viewer.sHistClicked(4);
    QCOMPARE(spy.requests.size(), 2);
    r = spy.requests.last();
    QCOMPARE(r.sid, 2);
    QCOMPARE(r.type, 1);
    QCOMPARE(r.pass, 1);
    QCOMPARE(r.start.toHex(' '), dayStart.toHex(' '));
    QCOMPARE(r.end.toHex(' '), dayEnd.toHex(' '));

    // A day is the finest period.
    viewer.sStatisticRecieved(1, hoursOf(QDate(2016, 3, 5), 1, 1), {}, STAT_DAY, STAT_OUTCOMING);
    viewer.sHistClicked(5);
    QCOMPARE(spy.requests.size(), 2);

    // The drawer's click reaches the page.
    viewer.sStatisticRecieved(1, year, {}, STAT_YEAR, STAT_INCOMING);
    emit viewer.histogram()->eHistClicked(2);
    QCOMPARE(spy.requests.size(), 3);
    QCOMPARE(spy.requests.last().type, 0);
}

void TestStatsPages::viewerPassCount()
{
    Zone zone("UTC");
    TestViewer viewer;
    QComboBox* passes = box(&viewer, "passBox");
    RequestLog spy(&viewer);
    viewer.sStatisticRecieved(1, {stamp(16, 3, 5, 0, 8)}, {}, STAT_DAY, STAT_INCOMING);
    viewer.sStatisticRecieved(4, {stamp(16, 3, 5, 0, 9)}, {}, STAT_DAY, STAT_INCOMING);

    viewer.sPassCnt(2);
    QCOMPARE(entries(passes), QStringList({"0", "1", "Total"}));
    // Pass 1 keeps its bars; Total's moved with it.
    QCOMPARE(viewer.barRecords(1).first().count, 8);
    QCOMPARE(viewer.barRecords(2).first().count, 9);
    QCOMPARE(passes->currentText(), QString("Total"));
    QCOMPARE(viewer.currentPass(), 2);
    viewer.sPassCnt(0);
    QCOMPARE(entries(passes), QStringList({"0", "1", "Total"}));
    QCOMPARE(spy.requests.size(), 0);

    viewer.sPassCnt(4);
    QCOMPARE(entries(passes), QStringList({"0", "1", "2", "3", "Total"}));
    QCOMPARE(viewer.barRecords(2).size(), 0);
    QCOMPARE(viewer.barRecords(4).first().count, 9);
    QCOMPARE(viewer.currentPass(), 4);
    viewer.sPassCnt(1);
    QCOMPARE(entries(passes), QStringList({"0", "Total"}));
}

void TestStatsPages::periodFile()
{
    Zone zone("Etc/GMT-3");
    TestViewer viewer;
    selectDate(&viewer, "yearBox", "monthBox", "dayBox", QDate(2016, 3, 5));
    box(&viewer, "typeBox")->setCurrentIndex(1);
    RequestLog spy(&viewer);
    const QVector<KoStatisticsData> in = hoursOf(QDate(2016, 3, 5), 1, 0);
    viewer.sStatisticRecieved(0, in, {}, STAT_DAY, STAT_OUTCOMING);

    // One request for the incoming side, though the type box had to change.
    viewer.sXmlButClicked();
    QCOMPARE(spy.requests.size(), 1);
    QCOMPARE(spy.requests.last().type, 0);
    QCOMPARE(spy.requests.last().sid, 2);
    QCOMPARE(spy.requests.last().start, bytes(16, 3, 4, 21));
    QCOMPARE(box(&viewer, "typeBox")->currentIndex(), 0);

    // An empty reply does not count as one of the two.
    viewer.sStatisticRecieved(0, {}, {}, STAT_DAY, STAT_INCOMING);
    QCOMPARE(spy.requests.size(), 1);

    viewer.sStatisticRecieved(0, in, {}, STAT_DAY, STAT_INCOMING);
    QCOMPARE(spy.requests.size(), 2);
    QCOMPARE(spy.requests.last().type, 1);
    QCOMPARE(box(&viewer, "typeBox")->currentIndex(), 1);
    QVERIFY(viewer.boxes.isEmpty());

    QVector<KoStatisticsData> out = in;
    for (KoStatisticsData& record : out)
        record.count = 100 - record.count;
    viewer.sStatisticRecieved(0, out, {}, STAT_DAY, STAT_OUTCOMING);
    QCOMPARE(spy.requests.size(), 2);

    const QString name = "Day statistics for 5.3.16 pass 0";
    QCOMPARE(viewer.boxes.size(), 1);
    QCOMPARE(viewer.boxes.first().icon, QMessageBox::Information);
    QCOMPARE(viewer.boxes.first().title, QString("Succes!"));
    QCOMPARE(viewer.boxes.first().text, "Report was saved in \"" + name + ".xml\"");
    const QString file = tmp->filePath(name + ".xml");
    QCOMPARE(readAll(file), golden("period_day.xml"));

    const Parsed parsed = parse(file);
    QCOMPARE(parsed.error, QString());
    QCOMPARE(parsed.firstLine, QString("<?xml version='1.0' encoding='UTF-8'?>"));
    QCOMPARE(parsed.root, QString("report"));
    QCOMPARE(parsed.stamps.size(), 24);
    for (int h = 0; h < 24; ++h) {
        const QXmlStreamAttributes& a = parsed.stamps.at(h);
        QCOMPARE(a.size(), 3);
        QCOMPARE(a.value("Hours").toString(), QString::number(h));
        QCOMPARE(a.value("Incoming").toInt(), h);
        QCOMPARE(a.value("Outcoming").toInt(), 100 - h);
    }

    // The next replies are ordinary ones again.
    viewer.sStatisticRecieved(0, out, {}, STAT_DAY, STAT_OUTCOMING);
    QCOMPARE(viewer.boxes.size(), 1);
}

void TestStatsPages::periodFileNeedsEqualDirections()
{
    Zone zone("UTC");
    TestViewer viewer;
    viewer.sStatisticRecieved(0, hoursOf(QDate(2016, 3, 5), 1, 0), {}, STAT_DAY, STAT_INCOMING);
    viewer.sXmlButClicked();
    viewer.sStatisticRecieved(0, hoursOf(QDate(2016, 3, 5), 2, 0), {}, STAT_DAY, STAT_INCOMING);
    viewer.sStatisticRecieved(0, hoursOf(QDate(2016, 3, 5), 1, 0), {}, STAT_DAY, STAT_OUTCOMING);
    QVERIFY(viewer.boxes.isEmpty());
    QCOMPARE(QDir(tmp->path()).entryList({"*.xml"}), QStringList());
}

void TestStatsPages::reportRequest_data()
{
    QTest::addColumn<QByteArray>("tz");
    QTest::addColumn<QByteArray>("start");
    QTest::addColumn<QByteArray>("end");
    QTest::newRow("UTC+3") << QByteArray("Etc/GMT-3") << bytes(16, 2, 29, 21)
                           << bytes(16, 3, 4, 21);
    QTest::newRow("UTC") << QByteArray("UTC") << bytes(16, 3, 1, 0) << bytes(16, 3, 5, 0);
}

void TestStatsPages::reportRequest()
{
    QFETCH(QByteArray, tz);
    QFETCH(QByteArray, start);
    QFETCH(QByteArray, end);
    Zone zone(tz);

    TestReport report;
    selectDate(&report, "startYearBox", "startMonthBox", "startDayBox", QDate(2016, 3, 1));
    selectDate(&report, "endYearBox", "endMonthBox", "endDayBox", QDate(2016, 3, 5));
    box(&report, "passBox")->setCurrentIndex(1);
    RequestLog spy(&report);
    for (QPushButton* button : report.findChildren<QPushButton*>())
        if (button->text() == "Xml report")
            button->click();

    QCOMPARE(spy.requests.size(), 1);
    const Request r = spy.requests.first();
    QCOMPARE(r.pass, 1);
    QCOMPARE(r.start.toHex(' '), start.toHex(' '));
    QCOMPARE(r.end.toHex(' '), end.toHex(' '));
    QCOMPARE(r.type, 2);
    QCOMPARE(r.sid, 2);
    QVERIFY(report.boxes.isEmpty());
}

void TestStatsPages::reportDateWarning_data()
{
    QTest::addColumn<QDate>("start");
    QTest::addColumn<QDate>("end");
    QTest::addColumn<bool>("warned");
    QTest::newRow("same day") << QDate(2016, 3, 5) << QDate(2016, 3, 5) << true;
    QTest::newRow("end a day before") << QDate(2016, 3, 5) << QDate(2016, 3, 4) << true;
    QTest::newRow("end a year before") << QDate(2017, 1, 1) << QDate(2016, 12, 31) << true;
    QTest::newRow("end a month later, lower day")
        << QDate(2016, 2, 28) << QDate(2016, 3, 1) << false;
    QTest::newRow("one day") << QDate(2016, 12, 31) << QDate(2017, 1, 1) << false;
}

void TestStatsPages::reportDateWarning()
{
    QFETCH(QDate, start);
    QFETCH(QDate, end);
    QFETCH(bool, warned);
    TestReport report;
    RequestLog spy(&report);
    selectDate(&report, "startYearBox", "startMonthBox", "startDayBox", start);
    selectDate(&report, "endYearBox", "endMonthBox", "endDayBox", end);
    report.sXmlReportClicked();

    QCOMPARE(spy.requests.size(), warned ? 0 : 1);
    QCOMPARE(report.boxes.size(), warned ? 1 : 0);
    if (warned) {
        QCOMPARE(report.boxes.first().icon, QMessageBox::Warning);
        QCOMPARE(report.boxes.first().title, QString("Date error"));
        QCOMPARE(report.boxes.first().text, QString("Final date must be later than start date"));
    }
}

void TestStatsPages::reportFile_data()
{
    QTest::addColumn<QByteArray>("tz");
    QTest::addColumn<int>("pass");
    QTest::addColumn<QString>("name");
    QTest::newRow("pass 1, UTC+3")
        << QByteArray("Etc/GMT-3") << 1 << "report pass 1 2016-3-1_2016-3-4.xml";
    QTest::newRow("Total, UTC+3") << QByteArray("Etc/GMT-3") << 4
                                  << "report pass all 2016-3-1_2016-3-4.xml";
    QTest::newRow("pass 0, UTC") << QByteArray("UTC") << 0 << "report pass 0 2016-3-1_2016-3-4.xml";
}

void TestStatsPages::reportFile()
{
    QFETCH(QByteArray, tz);
    QFETCH(int, pass);
    QFETCH(QString, name);
    Zone zone(tz);

    TestReport report;
    const QString folder = tmp->filePath("out");
    QVERIFY(QDir().mkpath(folder));
    report.setSaveFolder(folder);
    // Every hour of four local days, both directions.
    const QVector<QVector<KoStatisticsData>> reply{hoursOf(QDate(2016, 3, 1), 4, 0),
                                                   hoursOf(QDate(2016, 3, 1), 4, 1000)};
    report.sStatisticXmlRecieved(pass, reply, STAT_DAY, {STAT_INCOMING, STAT_OUTCOMING});

    const QString file = folder + "/" + name;
    QCOMPARE(report.boxes.size(), 1);
    QCOMPARE(report.boxes.first().icon, QMessageBox::Information);
    QCOMPARE(report.boxes.first().title, QString("Succes!"));
    QCOMPARE(report.boxes.first().text, "Report was saved in " + file);

    const Parsed parsed = parse(file);
    QCOMPARE(parsed.error, QString());
    QCOMPARE(parsed.firstLine, QString("<?xml version='1.0' encoding='UTF-8'?>"));
    QCOMPARE(parsed.root, QString("report"));
    QCOMPARE(parsed.stamps.size(), 192);
    for (int i = 0; i < 192; ++i) {
        const QXmlStreamAttributes& a = parsed.stamps.at(i);
        const int hour = i % 96;
        const QString date =
            QString("2016-03-0%1:%2").arg(1 + hour / 24).arg(hour % 24, 2, 10, QChar('0'));
        QCOMPARE(a.value("Date").toString(), date);
        QCOMPARE(a.value("Type").toString(), QString(i < 96 ? "In" : "Out"));
        QCOMPARE(a.value("Count").toInt(), i < 96 ? hour : 1000 + hour);
    }
    QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList(name));
}

void TestStatsPages::reportGolden()
{
    Zone zone("Etc/GMT-3");
    TestReport report;
    report.setSaveFolder(tmp->path());
    // (16, 3, 5, 6) UTC is 09:00 local; a count above 2^31 is shown unsigned;
    // a series of unknown direction has an empty type.
    const QVector<QVector<KoStatisticsData>> reply{{stamp(16, 3, 5, 6, 12), stamp(16, 3, 5, 7, 0)},
                                                   {stamp(16, 3, 5, 6, -1)},
                                                   {stamp(16, 3, 5, 20, 3)}};
    report.sStatisticXmlRecieved(2, reply, STAT_DAY,
                                 {STAT_INCOMING, STAT_OUTCOMING, STATISTICS_TYPE(5)});
    const QString file = tmp->filePath("report pass 2 2016-3-5_2016-3-5.xml");
    QCOMPARE(readAll(file), golden("report.xml"));
    QCOMPARE(parse(file).stamps.at(0).value("Date").toString(), QString("2016-03-05:09"));
}

void TestStatsPages::reportEmptyReply_data()
{
    QTest::addColumn<QVector<QVector<KoStatisticsData>>>("reply");
    QTest::newRow("no series") << QVector<QVector<KoStatisticsData>>();
    QTest::newRow("empty series") << QVector<QVector<KoStatisticsData>>(2);
}

void TestStatsPages::reportEmptyReply()
{
    QFETCH(QVector<QVector<KoStatisticsData>>, reply);
    TestReport report;
    report.setSaveFolder(tmp->path());
    report.sStatisticXmlRecieved(0, reply, STAT_DAY, {STAT_INCOMING, STAT_OUTCOMING});
    QCOMPARE(report.boxes.size(), 1);
    QCOMPARE(report.boxes.first().icon, QMessageBox::Warning);
    QCOMPARE(report.boxes.first().title, QString("Message"));
    QCOMPARE(report.boxes.first().text, QString("Empty data for report"));
    QCOMPARE(QDir(tmp->path()).entryList({"*.xml"}), QStringList());

    // An empty last series does not hide the records before it.
    report.boxes.clear();
    report.sStatisticXmlRecieved(0, {{stamp(16, 3, 5, 0, 1)}, {}}, STAT_DAY, {STAT_INCOMING});
    QCOMPARE(report.boxes.size(), 1);
    QCOMPARE(report.boxes.first().title, QString("Succes!"));
}

void TestStatsPages::reportWriteFailure()
{
    Zone zone("UTC");
    TestReport report;
    const QVector<QVector<KoStatisticsData>> reply{{stamp(16, 3, 5, 0, 1)}};

    // A folder that does not exist is not made at save time.
    const QString missing = tmp->filePath("missing");
    report.setSaveFolder(missing);
    report.sStatisticXmlRecieved(0, reply, STAT_DAY, {STAT_INCOMING});
    QVERIFY(report.boxes.isEmpty());
    QVERIFY(!QFileInfo::exists(missing));

    // A file that cannot be replaced leaves nothing of the attempt behind.
    const QString folder = tmp->filePath("blocked");
    QVERIFY(QDir().mkpath(folder + "/report pass 0 2016-3-5_2016-3-5.xml"));
    report.setSaveFolder(folder);
    report.sStatisticXmlRecieved(0, reply, STAT_DAY, {STAT_INCOMING});
    QVERIFY(report.boxes.isEmpty());
    QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList("report pass 0 2016-3-5_2016-3-5.xml"));

    // The period writer fails the same way.
    QVERIFY(!KoReportExport::WritePeriodFile({1}, {2}, {"0"}, missing + "/x", STAT_DAY));
    QVERIFY(!QFileInfo::exists(missing));
}

void TestStatsPages::reportPassCount()
{
    Zone zone("UTC");
    TestReport report;
    report.setSaveFolder(tmp->path());
    QComboBox* passes = box(&report, "passBox");
    QCOMPARE(entries(passes), QStringList({"0", "1", "2", "3", "Total"}));
    report.sPassCnt(2);
    QCOMPARE(entries(passes), QStringList({"0", "1", "Total"}));
    report.sPassCnt(3);
    QCOMPARE(entries(passes), QStringList({"0", "1", "2", "Total"}));

    // With three passes, index 3 is the Total entry.
    passes->setCurrentIndex(3);
    RequestLog spy(&report);
    selectDate(&report, "startYearBox", "startMonthBox", "startDayBox", QDate(2016, 3, 1));
    selectDate(&report, "endYearBox", "endMonthBox", "endDayBox", QDate(2016, 3, 2));
    report.sXmlReportClicked();
    QCOMPARE(spy.requests.size(), 1);
    QCOMPARE(spy.requests.first().pass, 3);
    report.sStatisticXmlRecieved(3, {{stamp(16, 3, 1, 0, 1)}}, STAT_DAY, {STAT_INCOMING});
    QVERIFY(QFileInfo::exists(tmp->filePath("report pass all 2016-3-1_2016-3-1.xml")));
}

void TestStatsPages::reportDefaultFolder()
{
    TestReport report;
    QCOMPARE(report.saveFolder(), QDir::currentPath() + "/reports");
    QVERIFY(QFileInfo(tmp->filePath("reports")).isDir());
    const QDate today = QDate::currentDate();
    for (const char* prefix : {"start", "end"}) {
        QCOMPARE(box(&report, qPrintable(QString(prefix) + "YearBox"))->currentText(),
                 QString::number(today.year()));
        QCOMPARE(box(&report, qPrintable(QString(prefix) + "MonthBox"))->currentIndex(),
                 today.month() - 1);
        QCOMPARE(box(&report, qPrintable(QString(prefix) + "DayBox"))->currentText(),
                 QString::number(today.day()));
    }
    // The untouched page asks for nothing: start and end are the same day.
    report.sXmlReportClicked();
    QCOMPARE(report.boxes.size(), 1);
    QCOMPARE(report.boxes.first().title, QString("Date error"));
}

void TestStatsPages::realBoxIsModalAndClosable()
{
    // The page's own box: modal, titled, one OK button.
    KoReportExport report;
    QString title, text;
    QMessageBox::StandardButtons buttons;
    QTimer closer;
    closer.setInterval(5);
    connect(&closer, &QTimer::timeout, &report, [&] {
        auto* shown = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!shown)
            return;
        title = shown->windowTitle();
        text = shown->text();
        buttons = shown->standardButtons();
        shown->button(QMessageBox::Ok)->click();
    });
    closer.start();
    report.sXmlReportClicked();
    QCOMPARE(title, QString("Date error"));
    QCOMPARE(text, QString("Final date must be later than start date"));
    QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

void TestStatsPages::periodWriter_data()
{
    QTest::addColumn<int>("sid");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QStringList>("labels");
    QTest::newRow("year") << 0 << "Month" << QStringList({"Yanuary", "February"});
    QTest::newRow("month: labels with line breaks")
        << 1 << "Days" << QStringList({"1\nFri", "2\nSat"});
    QTest::newRow("day") << 2 << "Hours" << QStringList({"0", "1"});
    QTest::newRow("unknown kind") << 3 << "" << QStringList({"0", "1"});
}

void TestStatsPages::periodWriter()
{
    QFETCH(int, sid);
    QFETCH(QString, unit);
    QFETCH(QStringList, labels);

    const bool written =
        KoReportExport::WritePeriodFile({7, 8}, {9, 10}, labels, "period", STATISTICS_ID(sid));
    QCOMPARE(written, !unit.isEmpty());
    QCOMPARE(QFileInfo::exists(tmp->filePath("period.xml")), written);
    if (!written)
        return;
    const Parsed parsed = parse(tmp->filePath("period.xml"));
    QCOMPARE(parsed.error, QString());
    QCOMPARE(parsed.stamps.size(), 2);
    for (int i = 0; i < 2; ++i) {
        QCOMPARE(parsed.stamps.at(i).value(unit).toString(), labels.at(i));
        QCOMPARE(parsed.stamps.at(i).value("Incoming").toInt(), 7 + i);
        QCOMPARE(parsed.stamps.at(i).value("Outcoming").toInt(), 9 + i);
    }
    QVERIFY(QFile::remove(tmp->filePath("period.xml")));
}

QTEST_MAIN(TestStatsPages)
#include "tst_stats_pages.moc"
