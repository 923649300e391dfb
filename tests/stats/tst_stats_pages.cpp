// The statistics and report pages: the requests they build under fixed time
// zones, what they make of the device's replies, the pass list, the two XML
// files they write, and both pages against the device simulator.

#include "../support/files.h"
#include "../support/buttons.h"
#include "../support/real_display.h"
#include "settings/ko_app_data.h"
#include "stats/ko_graphics_drawer.h"
#include "stats/ko_report_export.h"
#include "stats/ko_stat_stamp.h"
#include "stats/ko_statistics_viewer.h"

#include "ko_tcp_client.h"
#include "scene/ko_painter_graphics_view.h"
#include "tests/support/devsim_process.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGraphicsRectItem>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <ctime>
#include <memory>

namespace {

QString boxOf(QMessageBox::Icon icon, const QString& title, const QString& text)
{
    return QString("%1 %2: %3").arg(int(icon)).arg(title, text);
}

// The pages with their boxes recorded instead of shown.
template <class Page>
class Recorded : public Page
{
public:
    QStringList boxes;

protected:
    void showMessage(QMessageBox::Icon icon, const QString& title, const QString& text) override
    {
        boxes.append(boxOf(icon, title, text));
    }
};
using TestReport = Recorded<KoReportExport>;

// The viewer's save dialog answered as the operator would.
class TestViewer : public Recorded<KoStatisticsViewer>
{
public:
    QStringList asked; // where the dialog opened
    QString saveAs;    // the operator's choice; null: what the dialog proposed

protected:
    QString chooseSaveFile(const QString& start_path) override
    {
        asked.append(start_path);
        return saveAs.isNull() ? start_path : saveAs;
    }
};

// The time zone local times are read in, until the next test sets another.
void setZone(const QByteArray& tz)
{
    qputenv("TZ", tz);
    tzset();
}

KoStatisticsData stamp(int yy, int month, int day, int hour, int count = 0)
{
    return {uint8_t(yy), uint8_t(month), uint8_t(day), uint8_t(hour), count};
}

// The eight bytes of a stamp as the link gets them, in hex.
QByteArray bytes(const KoStatisticsData& s)
{
    return QByteArray(reinterpret_cast<const char*>(&s), sizeof s).toHex(' ');
}

QByteArray bytes(int yy, int month, int day, int hour)
{
    return bytes(stamp(yy, month, day, hour));
}

// A request as one text: pass, direction, period kind, and the stamps' bytes.
QString req(int pass, int type, int sid, const QByteArray& start, const QByteArray& end)
{
    return QString("pass %1 type %2 sid %3 | ").arg(pass).arg(type).arg(sid) + start + " | " + end;
}

// Every request a page emits, in order.
class RequestLog : public QObject
{
public:
    explicit RequestLog(KoStatisticsViewer* v) { listen(v, &KoStatisticsViewer::eSendStatReq); }
    explicit RequestLog(KoReportExport* r) { listen(r, &KoReportExport::eSendXmlStatReq); }
    QStringList requests;

private:
    template <class Page, class Signal>
    void listen(Page* page, Signal signal)
    {
        connect(page, signal, this,
                [this](int pass, const KoStatisticsData& start, const KoStatisticsData& end,
                       STATISTICS_TYPE type, STATISTICS_ID sid) {
                    requests.append(req(pass, type, sid, bytes(start), bytes(end)));
                });
    }
};

QComboBox* box(QWidget* page, const char* name)
{
    return page->findChild<QComboBox*>(name);
}

QStringList entries(QComboBox* combo)
{
    QStringList list;
    for (int i = 0; i < combo->count(); ++i)
        list.append(combo->itemText(i));
    return list;
}

void selectDate(QWidget* page, const QDate& date, const QString& prefix = QString())
{
    const auto name = [&](const char* part) {
        return prefix.isEmpty() ? QString(part).toLower() + "Box" : prefix + part + "Box";
    };
    box(page, qPrintable(name("Year")))->setCurrentText(QString::number(date.year()));
    box(page, qPrintable(name("Month")))->setCurrentIndex(date.month() - 1);
    box(page, qPrintable(name("Day")))->setCurrentText(QString::number(date.day()));
}

// Device replies carry UTC stamps; these build them from local hours.
KoStatisticsData utcOf(const QDate& date, int hour, int count)
{
    const QDateTime utc = QDateTime(date, QTime(hour, 0)).toUTC();
    return stamp(utc.date().year() - 2000, utc.date().month(), utc.date().day(), utc.time().hour(),
                 count);
}

QVector<KoStatisticsData> hoursOf(const QDate& first, int days, int base)
{
    QVector<KoStatisticsData> records;
    for (int h = 0; h < days * 24; ++h)
        records.append(utcOf(first.addDays(h / 24), h % 24, base + h));
    return records;
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
    void replies_data();
    void replies();
    void passesAndRepeats();
    void periodFile();

    void reportRequest_data();
    void reportRequest();
    void reportGolden();

    void againstTheSimulator();

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
    // No folder remembered from an earlier test.
    QFile::remove(KoAppData::Folder() + "configurator.ini");
}

void TestStatsPages::viewerRequests_data()
{
    QTest::addColumn<QByteArray>("tz");
    QTest::addColumn<QString>("report");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QByteArray>("start");
    QTest::addColumn<QByteArray>("end");

    const auto row = [](const char* name, const char* tz, const char* button, QDate date,
                        const QByteArray& start, const QByteArray& end) {
        QTest::newRow(name) << QByteArray(tz) << QString(button) << date << start << end;
    };
    const char* east = "Etc/GMT-3";
    const QDate d(2016, 3, 5);
    row("year UTC+3", east, "Year report", d, bytes(15, 12, 31, 21), bytes(16, 12, 31, 21));
    row("month UTC+3", east, "Month report", d, bytes(16, 2, 29, 21), bytes(16, 3, 31, 21));
    // West of Greenwich the month ends one calendar month after its UTC start,
    // not at the end of the month after.
    row("month UTC-5", "Etc/GMT+5", "Month report", d, bytes(16, 3, 1, 5), bytes(16, 4, 1, 5));
    // Drilled down from the month's first bar (UTC+3: periodFile's request).
    row("day UTC, New Year", "UTC", "Day report", QDate(2016, 1, 1), bytes(16, 1, 1, 0),
        bytes(16, 1, 2, 0));
}

void TestStatsPages::viewerRequests()
{
    QFETCH(QByteArray, tz);
    QFETCH(QString, report);
    QFETCH(QDate, date);
    QFETCH(QByteArray, start);
    QFETCH(QByteArray, end);
    setZone(tz);

    TestViewer viewer;
    selectDate(&viewer, date);
    box(&viewer, "typeBox")->setCurrentIndex(1);
    RequestLog spy(&viewer);
    button(&viewer, report)->click();

    const int sid = QStringList({"Year report", "Month report", "Day report"}).indexOf(report);
    QCOMPARE(spy.requests, QStringList(req(0, 1, sid, start, end)));
    if (sid == STAT_YEAR)
        return;

    // Drilling down from the coarser histogram asks for the same period, for
    // the pass and the direction shown there. Bars with no people, and bars
    // that do not exist, send nothing.
    spy.requests.clear();
    const bool month = sid == STAT_MONTH;
    QVector<KoStatisticsData> coarser;
    for (int i = 1; i <= (month ? 12 : date.daysInMonth()); ++i)
        coarser.append(utcOf(QDate(date.year(), month ? i : date.month(), month ? 1 : i), 0,
                             i == 2 ? 0 : 10 + i));
    viewer.sStatisticRecieved(1, coarser, {}, STATISTICS_ID(sid - 1), STAT_INCOMING);
    for (int bar : {1, coarser.size(), -1})
        viewer.sHistClicked(bar);
    QCOMPARE(spy.requests, QStringList());
    emit viewer.histogram()->eHistClicked((month ? date.month() : date.day()) - 1);
    QCOMPARE(spy.requests, QStringList(req(1, 0, sid, start, end)));
    // A day is the finest period.
    viewer.sStatisticRecieved(1, hoursOf(date, 1, 1), {}, STAT_DAY, STAT_INCOMING);
    viewer.sHistClicked(5);
    QCOMPARE(spy.requests.size(), 1);
}

void TestStatsPages::replies_data()
{
    setZone("Etc/GMT-3");
    QTest::addColumn<int>("sid");
    QTest::addColumn<QVector<KoStatisticsData>>("reply");
    QTest::addColumn<QVector<float>>("values");
    QTest::addColumn<QStringList>("firstAndLastLabel");
    QTest::addColumn<QString>("texts");          // the axis, the heading and the total
    QTest::addColumn<QStringList>("selects");    // a box the reply selects, and its text
    QTest::addColumn<QVector<qint64>>("alarms"); // local times, in UTC+3
    QTest::addColumn<QVector<int>>("alarmBars");

    const QStringList none{QString(), QString()};
    const QStringList axes{"Month", "Days", "Hours"};
    const QStringList headings{"Year statistics", "Month statistics", "Day statistics"};
    const int bars[] = {12, 31, 24};
    for (int sid = 0; sid < 3; ++sid)
        QTest::addRow("empty %s", qPrintable(axes[sid]))
            << sid << QVector<KoStatisticsData>() << QVector<float>(bars[sid], 0) << none
            << axes[sid] + " | " + headings[sid] + " | " << QStringList() << QVector<qint64>()
            << QVector<int>();
    const auto at = [](int month, int day, int hour, int minute) {
        return QDateTime(QDate(2016, month, day), QTime(hour, minute)).toSecsSinceEpoch();
    };

    // Local month starts, stamped in UTC; of two records for March the first
    // gives the bar, though both add to the total.
    const QVector<KoStatisticsData> year{
        utcOf(QDate(2016, 1, 1), 0, 11), utcOf(QDate(2016, 3, 1), 0, 5),
        utcOf(QDate(2016, 3, 1), 0, 7), utcOf(QDate(2016, 12, 1), 0, 2)};
    QTest::newRow("year") << 0 << year << QVector<float>({11, 0, 5, 0, 0, 0, 0, 0, 0, 0, 0, 2})
                          << QStringList({"Yanuary", "December"})
                          << "Month | Year statistics for 2016 pass 1 (Outcoming) | "
                             "Total people count = 25"
                          << QStringList({"passBox", "1"}) << QVector<qint64>{at(5, 20, 12, 0)}
                          << QVector<int>{4};

    // April 2016 has 30 days, from a Friday; the device sent 28. An alarm on
    // the 31st of another month has no bar.
    QVector<KoStatisticsData> month;
    QVector<float> month_values(30, 0);
    for (int d = 1; d <= 28; ++d) {
        month.append(utcOf(QDate(2016, 4, d), 0, d));
        month_values[d - 1] = d;
    }
    QTest::newRow("month padded")
        << 1 << month << month_values << QStringList({"1\nFri", "30\nSat"})
        << "Days | Month statistics for 4.16 pass 1 (Outcoming) | Total people count = 406"
        << QStringList({"monthBox", "April"}) << QVector<qint64>{at(4, 12, 23, 30), at(5, 31, 8, 0)}
        << QVector<int>{11};

    QVector<KoStatisticsData> day;
    QVector<float> day_values(24, 0);
    for (int h = 0; h < 10; ++h) {
        day.append(utcOf(QDate(2016, 3, 5), h, 2 * h));
        day_values[h] = 2 * h;
    }
    QTest::newRow("day padded")
        << 2 << day << day_values << QStringList({"0", "23"})
        << "Hours | Day statistics for 5.3.16 pass 1 (Outcoming) | Total people count = 90"
        << QStringList({"dayBox", "5"}) << QVector<qint64>{at(3, 5, 1, 10)} << QVector<int>{1};
}

void TestStatsPages::replies()
{
    QFETCH(int, sid);
    QFETCH(QVector<KoStatisticsData>, reply);
    QFETCH(QVector<float>, values);
    QFETCH(QStringList, firstAndLastLabel);
    QFETCH(QString, texts);
    QFETCH(QStringList, selects);
    QFETCH(QVector<qint64>, alarms);
    QFETCH(QVector<int>, alarmBars);
    setZone("Etc/GMT-3");

    TestViewer viewer;
    selectDate(&viewer, QDate(2016, 3, 1));
    viewer.sStatisticRecieved(1, {stamp(16, 3, 1, 0, 4)}, {}, STAT_DAY, STAT_INCOMING);
    QVector<KoStatisticsAlarmData> events;
    for (qint64 time : alarms)
        events.append({time, 12, 0, 0});
    viewer.sStatisticRecieved(1, reply, events, STATISTICS_ID(sid), STAT_OUTCOMING);

    const KoGraphicsDrawer* drawer = viewer.histogram();
    QCOMPARE(drawer->shownValues(), values);
    const QStringList labels = drawer->shownLabels();
    QCOMPARE(labels.size(), values.size());
    QCOMPARE(QStringList({labels.first(), labels.last()}), firstAndLastLabel);
    QCOMPARE(
        QStringList({drawer->shownXAxisText(), drawer->shownHeading(), drawer->shownTotalText()})
            .join(" | "),
        texts);
    QCOMPARE(drawer->shownEvents().size(), values.size());
    for (int i = 0; i < values.size(); ++i)
        QCOMPARE(drawer->shownEvents().at(i).size(), int(alarmBars.count(i)));
    if (reply.isEmpty()) {
        // No title to save under, and the kind shown before stays the one repeated.
        QCOMPARE(viewer.histogramTitle(), QString());
        QCOMPARE(viewer.shownLevel(), 2);
        return;
    }
    // A stamp of an hour no day has is no moment: it stays as the device sent it.
    QCOMPARE(int(KoStatStamp::utcToLocal(stamp(16, 3, 5, 24)).hour), 24);
    QCOMPARE(viewer.histogramTitle() + " (Outcoming)", drawer->shownHeading());
    QCOMPARE(viewer.shownLevel(), sid);
    QCOMPARE(viewer.barRecords(1).size(), values.size());
    QCOMPARE(box(&viewer, qPrintable(selects[0]))->currentText(), selects[1]);
}

void TestStatsPages::passesAndRepeats()
{
    setZone("UTC");
    TestViewer viewer;
    selectDate(&viewer, QDate(2016, 2, 29));
    QCOMPARE(box(&viewer, "dayBox")->count(), 29);
    box(&viewer, "typeBox")->setCurrentIndex(1);
    RequestLog spy(&viewer);
    // After a year reply it repeats a year; the Total entry is pass index 4.
    viewer.sStatisticRecieved(0, {stamp(16, 1, 1, 0, 3)}, {}, STAT_YEAR, STAT_OUTCOMING);
    QComboBox* passes = box(&viewer, "passBox");
    passes->setCurrentIndex(4);
    QCOMPARE(spy.requests, QStringList(req(4, 1, 0, bytes(16, 1, 1, 0), bytes(17, 1, 1, 0))));
    spy.requests.clear();

    viewer.sStatisticRecieved(1, {stamp(16, 3, 5, 0, 8)}, {}, STAT_DAY, STAT_INCOMING);
    viewer.sStatisticRecieved(4, {stamp(16, 3, 5, 0, 9)}, {}, STAT_DAY, STAT_INCOMING);
    QCOMPARE(viewer.histogramTitle(), QString("Day statistics for 5.3.16 all passes"));
    QCOMPARE(passes->currentText(), QString("Total"));

    viewer.sPassCnt(2);
    QCOMPARE(entries(passes), QStringList({"0", "1", "Total"}));
    // Pass 1 keeps its bars; Total's moved with it and stays selected.
    QCOMPARE(viewer.barRecords(1).first().count, 8);
    QCOMPARE(viewer.barRecords(2).first().count, 9);
    QCOMPARE(viewer.currentPass(), 2);
    viewer.sStatisticRecieved(2, {stamp(16, 3, 6, 0, 1)}, {}, STAT_DAY, STAT_INCOMING);
    QCOMPARE(viewer.histogramTitle(), QString("Day statistics for 6.3.16 all passes"));
    // No entry 3 any more, no entry -1, no kind 7: each reply is dropped.
    viewer.sStatisticRecieved(3, {stamp(16, 4, 1, 0, 9)}, {}, STAT_MONTH, STAT_OUTCOMING);
    viewer.sStatisticRecieved(-1, {stamp(16, 4, 1, 0, 9)}, {}, STAT_MONTH, STAT_OUTCOMING);
    viewer.sStatisticRecieved(0, {stamp(16, 4, 1, 0, 9)}, {}, STATISTICS_ID(7), STAT_OUTCOMING);
    QCOMPARE(viewer.histogramTitle(), QString("Day statistics for 6.3.16 all passes"));
    QCOMPARE(viewer.shownLevel(), 2);

    viewer.sPassCnt(0);
    QCOMPARE(entries(passes), QStringList({"0", "1", "Total"}));
    viewer.sPassCnt(4);
    QCOMPARE(entries(passes), QStringList({"0", "1", "2", "3", "Total"}));
    QCOMPARE(viewer.barRecords(2).size(), 0);
    QCOMPARE(viewer.currentPass(), 4);
    // Changing the list asks the device for nothing.
    QCOMPARE(spy.requests.size(), 0);
}

void TestStatsPages::periodFile()
{
    setZone("Etc/GMT-3");
    TestViewer viewer;
    selectDate(&viewer, QDate(2016, 3, 5));
    box(&viewer, "typeBox")->setCurrentIndex(1);
    RequestLog spy(&viewer);
    const QVector<KoStatisticsData> in = hoursOf(QDate(2016, 3, 5), 1, 0);
    viewer.sStatisticRecieved(0, in, {}, STAT_DAY, STAT_OUTCOMING);
    const QString name = "Day statistics for 5.3.16 pass 0";

    // A cancelled save dialog asks nothing; with no link the box says so and
    // the type box is left as it was.
    viewer.saveAs = "";
    viewer.sXmlButClicked();
    viewer.saveAs = QString();
    viewer.SetSender([](int, const KoStatisticsData&, const KoStatisticsData&, STATISTICS_TYPE,
                        STATISTICS_ID) { return false; });
    viewer.sXmlButClicked();
    QCOMPARE(viewer.boxes, QStringList(boxOf(QMessageBox::Warning, "Warning",
                                             "No connection to the device: nothing was sent.")));
    viewer.boxes.clear();
    QCOMPARE(box(&viewer, "typeBox")->currentIndex(), 1);
    viewer.SetSender(nullptr);
    QCOMPARE(spy.requests, QStringList());

    // One request for the incoming side, though the type box had to change.
    // The dialog opens in the working directory with the histogram's title.
    viewer.sXmlButClicked();
    const QString incoming = req(0, 0, 2, bytes(16, 3, 4, 21), bytes(16, 3, 5, 21));
    QCOMPARE(spy.requests, QStringList(incoming));
    QCOMPARE(viewer.asked.last(), tmp->filePath(name + ".xml"));

    // An empty reply does not count as one of the two.
    viewer.sStatisticRecieved(0, {}, {}, STAT_DAY, STAT_INCOMING);
    QCOMPARE(spy.requests.size(), 1);
    viewer.sStatisticRecieved(0, in, {}, STAT_DAY, STAT_INCOMING);
    QCOMPARE(spy.requests,
             QStringList({incoming, req(0, 1, 2, bytes(16, 3, 4, 21), bytes(16, 3, 5, 21))}));
    QCOMPARE(box(&viewer, "typeBox")->currentIndex(), 1);
    QVERIFY(viewer.boxes.isEmpty());

    QVector<KoStatisticsData> out = in;
    for (KoStatisticsData& record : out)
        record.count = 100 - record.count;
    viewer.sStatisticRecieved(0, out, {}, STAT_DAY, STAT_OUTCOMING);
    QCOMPARE(spy.requests.size(), 2);

    QCOMPARE(viewer.boxes.size(), 1); // its text: the simulator flow's
    QCOMPARE(readFile(tmp->filePath(name + ".xml")),
             readFile(VELMORA_SOURCE_DIR "/tests/stats/golden/period_day.xml"));
    // The next replies are ordinary ones again.
    viewer.sStatisticRecieved(0, out, {}, STAT_DAY, STAT_OUTCOMING);
    QCOMPARE(viewer.boxes.size(), 1);

    // The same bars as CSV, each with its local hour (the stamps were UTC).
    viewer.sCsvButClicked();
    QCOMPARE(viewer.asked.last(), tmp->filePath(name + ".csv"));
    viewer.sStatisticRecieved(0, in, {}, STAT_DAY, STAT_INCOMING);
    viewer.sStatisticRecieved(0, out, {}, STAT_DAY, STAT_OUTCOMING);
    QCOMPARE(viewer.boxes.size(), 2);
    const QStringList lines =
        QString::fromUtf8(readFile(tmp->filePath(name + ".csv"))).split("\r\n");
    // The header, 24 bars and nothing after the last line break.
    QCOMPARE(lines.size(), 26);
    QCOMPARE((QStringList{lines[0], lines[1], lines[24], lines[25]}).join('|'),
             QString("Hours,Time,Incoming,Outcoming|0,2016-03-05 00:00,0,100|"
                     "23,2016-03-05 23:00,23,77|"));

    // Two directions that differ in length are no file, and said.
    viewer.sXmlButClicked();
    viewer.sStatisticRecieved(0, hoursOf(QDate(2016, 3, 6), 2, 0), {}, STAT_DAY, STAT_INCOMING);
    viewer.sStatisticRecieved(0, in, {}, STAT_DAY, STAT_OUTCOMING);
    QCOMPARE(viewer.boxes.size(), 3);
    QVERIFY(viewer.boxes[2].startsWith(boxOf(QMessageBox::Warning, "Error", "The device sent")));
}

void TestStatsPages::reportRequest_data()
{
    QTest::addColumn<QByteArray>("tz");
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<QByteArray>("start"); // empty: the date warning
    QTest::addColumn<QByteArray>("end");
    const QByteArray east("Etc/GMT-3"), utc("UTC");
    QTest::newRow("a month later, lower day") << utc << QDate(2016, 2, 28) << QDate(2016, 3, 1)
                                              << bytes(16, 2, 28, 0) << bytes(16, 3, 1, 0);
    QTest::newRow("same day") << east << QDate(2016, 3, 5) << QDate(2016, 3, 5) << QByteArray()
                              << QByteArray();
    QTest::newRow("a day before") << utc << QDate(2016, 3, 5) << QDate(2016, 3, 4) << QByteArray()
                                  << QByteArray();
}

void TestStatsPages::reportRequest()
{
    QFETCH(QByteArray, tz);
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(QByteArray, start);
    QFETCH(QByteArray, end);
    setZone(tz);

    TestReport report;
    // The default folder is made with the page.
    QCOMPARE(report.saveFolder(), QDir::currentPath() + "/reports");
    QVERIFY(QFileInfo(tmp->filePath("reports")).isDir());
    selectDate(&report, from, "start");
    selectDate(&report, to, "end");
    box(&report, "passBox")->setCurrentIndex(1);
    RequestLog spy(&report);
    button(&report, "Xml report")->click();

    if (start.isEmpty()) {
        QCOMPARE(spy.requests, QStringList());
        QCOMPARE(report.boxes, QStringList(boxOf(QMessageBox::Warning, "Date error",
                                                 "Final date must be later than start date")));
        return;
    }
    QCOMPARE(report.boxes, QStringList());
    QCOMPARE(spy.requests, QStringList(req(1, 2, 2, start, end)));
}

void TestStatsPages::reportGolden()
{
    setZone("Etc/GMT-3");
    TestReport report;
    report.setSaveFolder(tmp->path());
    // (16, 3, 5, 6) UTC is 09:00 local; a count above 2^31 is shown unsigned;
    // a series of unknown direction has an empty type.
    report.sStatisticXmlRecieved(2,
                                 {{stamp(16, 3, 5, 6, 12), stamp(16, 3, 5, 7, 0)},
                                  {stamp(16, 3, 5, 6, -1)},
                                  {stamp(16, 3, 5, 20, 3)}},
                                 STAT_DAY, {STAT_INCOMING, STAT_OUTCOMING, STATISTICS_TYPE(5)});
    const QString file = tmp->filePath("report pass 2 2016-3-5_2016-3-5.xml");
    QCOMPARE(report.boxes, QStringList(boxOf(QMessageBox::Information, "Succes!",
                                             "Report was saved in " + file)));
    QCOMPARE(readFile(file), readFile(VELMORA_SOURCE_DIR "/tests/stats/golden/report.xml"));
    // An empty reply, with no series or only empty ones, writes nothing.
    report.boxes.clear();
    QFile::remove(file);
    for (int series : {0, 2})
        report.sStatisticXmlRecieved(0, QVector<QVector<KoStatisticsData>>(series), STAT_DAY,
                                     {STAT_INCOMING, STAT_OUTCOMING});
    const QString empty = boxOf(QMessageBox::Warning, "Message", "Empty data for report");
    QCOMPARE(report.boxes, QStringList({empty, empty}));
    QCOMPARE(QDir(tmp->path()).entryList({"*.xml"}), QStringList());
    // A folder that does not exist is not made at save time; the failure is said.
    const QString missing = tmp->filePath("missing");
    report.setSaveFolder(missing);
    report.sStatisticXmlRecieved(0, {{stamp(16, 3, 5, 0, 7)}}, STAT_DAY, {STAT_INCOMING});
    QCOMPARE(report.boxes.size(), 3);
    QVERIFY2(report.boxes[2].startsWith(
                 boxOf(QMessageBox::Critical, "Error",
                       "\"" + missing + "/report pass 0 2016-3-5_2016-3-5.xml\" could not")),
             qPrintable(report.boxes[2]));
}

// Both pages wired to a real link as the main window wires them, against the
// device simulator, used as an operator would.
void TestStatsPages::againstTheSimulator()
{
    setZone("Etc/GMT-3");
    DevsimProcess sim;
    QVERIFY(sim.start({"--passes", "2"}));
    KoTcpClient link(nullptr, "127.0.0.1", sim.port());
    TestViewer viewer;
    TestReport report;
    report.setSaveFolder(tmp->path());
    connect(&link, &KoTcpClient::eConnected, &link, &KoTcpClient::SendConnectedReq);
    connect(&link, &KoTcpClient::eConnectedAns, &viewer, &KoStatisticsViewer::sPassCnt);
    connect(&link, &KoTcpClient::eConnectedAns, &report, &KoReportExport::sPassCnt);
    connect(&viewer, &KoStatisticsViewer::eSendStatReq, &link, &KoTcpClient::SendStatReq);
    connect(&link, &KoTcpClient::eStatisticRecieved, &viewer,
            &KoStatisticsViewer::sStatisticRecieved);
    connect(&report, &KoReportExport::eSendXmlStatReq, &link, &KoTcpClient::SendStatReq);
    connect(&link, &KoTcpClient::eStatisticAllRecieved, &report,
            &KoReportExport::sStatisticXmlRecieved);

    QTRY_COMPARE(entries(box(&viewer, "passBox")), QStringList({"0", "1", "Total"}));
    QCOMPARE(entries(box(&report, "passBox")), QStringList({"0", "1", "Total"}));

    const KoGraphicsDrawer* drawer = viewer.histogram();
    const auto press = [drawer](int bar) {
        const QPoint at = drawer->view()->mapFromScene(drawer->barItems().at(bar)->rect().center());
        const_cast<KoGraphicsDrawer*>(drawer)->sMousePressEvent(at.x(), at.y());
    };

    selectDate(&viewer, QDate(2016, 3, 5));
    button(&viewer, "Day report")->click();
    QTRY_COMPARE(viewer.histogramTitle(), QString("Day statistics for 5.3.16 pass 0"));

    button(&viewer, "Year report")->click();
    QTRY_COMPARE(viewer.histogramTitle(), QString("Year statistics for 2016 pass 0"));
    press(2);
    QTRY_COMPARE(viewer.histogramTitle(), QString("Month statistics for 3.16 pass 0"));
    press(4);
    QTRY_COMPARE(viewer.histogramTitle(), QString("Day statistics for 5.3.16 pass 0"));
    const QVector<float> incoming = drawer->shownValues();

    button(&viewer, "Save to .xml")->click();
    QTRY_COMPARE(viewer.boxes.size(), 1);
    const QString saved = tmp->filePath("Day statistics for 5.3.16 pass 0.xml");
    QCOMPARE(viewer.boxes.first(),
             boxOf(QMessageBox::Information, "Succes!", "Report was saved in \"" + saved + "\""));
    // The incoming histogram stays shown and selected.
    QCOMPARE(box(&viewer, "typeBox")->currentIndex(), 0);
    QCOMPARE(viewer.shownDirection(), 0);
    QCOMPARE(drawer->shownValues(), incoming);
    box(&viewer, "typeBox")->setCurrentIndex(1);
    QTRY_COMPARE(viewer.shownDirection(), 1);
    // Both directions went into the file (its format: the golden file above).
    QCOMPARE(readFile(saved).count("<Stamp "), 24);

    // With two passes, entry 2 is Total.
    selectDate(&report, QDate(2016, 3, 1), "start");
    selectDate(&report, QDate(2016, 3, 5), "end");
    box(&report, "passBox")->setCurrentIndex(2);
    button(&report, "Xml report")->click();
    QTRY_COMPARE(report.boxes.size(), 1);
    const QString file = tmp->filePath("report pass all 2016-3-1_2016-3-4.xml");
    QCOMPARE(report.boxes.first(),
             boxOf(QMessageBox::Information, "Succes!", "Report was saved in " + file));
    // Four days of hours each way, incoming first (the format: the golden file).
    const QList<QByteArray> lines = readFile(file).split('\n');
    QCOMPARE(lines.size(), 2 + 192 + 2);
    QVERIFY(lines[2].startsWith(R"( <Stamp Date="2016-03-01:00" Type="In")"));
    QVERIFY(lines[97].startsWith(R"( <Stamp Date="2016-03-04:23" Type="In")"));
    QVERIFY(lines[98].startsWith(R"( <Stamp Date="2016-03-01:00" Type="Out")"));
}

VELMORA_REAL_DISPLAY_MAIN(TestStatsPages)
#include "tst_stats_pages.moc"
