#include "ko_statistics_viewer.h"

#include "ko_xml_report_writer.h"

#include "ko_graphics_drawer.h"
#include "ko_report_export.h"
#include "ko_stat_stamp.h"
#include "ko_stats_log.h"
#include "ko_xml_report_writer.h"
#include "settings/ko_app_data.h"
#include "settings/ko_command_outcome.h"

#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

KoStatisticsViewer::KoStatisticsViewer(QWidget* parent) : QWidget(parent)
{
    monthNames = {{1, tr("Yanuary")},  {2, tr("February")},  {3, tr("March")},
                  {4, tr("April")},    {5, tr("May")},       {6, tr("June")},
                  {7, tr("July")},     {8, tr("August")},    {9, tr("September")},
                  {10, tr("October")}, {11, tr("November")}, {12, tr("December")}};
    dayNames = {{1, tr("Mon")}, {2, tr("Tue")}, {3, tr("Wed")}, {4, tr("Thu")},
                {5, tr("Fri")}, {6, tr("Sat")}, {7, tr("San")}};

    const QDate today = QDate::currentDate();

    passBox = new QComboBox(this);
    passBox->setObjectName(QStringLiteral("passBox"));
    for (int p = 0; p < passCount; ++p)
        passBox->addItem(QString::number(p));
    passBox->addItem(tr("Total"));
    passRecords.resize(passCount + 1);

    yearBox = new QComboBox(this);
    yearBox->setObjectName(QStringLiteral("yearBox"));
    for (int y = 2015; y <= today.year(); ++y)
        yearBox->addItem(QString::number(y));
    yearBox->setCurrentText(QString::number(today.year()));

    monthBox = new QComboBox(this);
    monthBox->setObjectName(QStringLiteral("monthBox"));
    for (auto it = monthNames.cbegin(); it != monthNames.cend(); ++it)
        monthBox->addItem(it.value());
    monthBox->setCurrentIndex(today.month() - 1);

    dayBox = new QComboBox(this);
    dayBox->setObjectName(QStringLiteral("dayBox"));
    fillDays();
    dayBox->setCurrentIndex(today.day() - 1);

    typeBox = new QComboBox(this);
    typeBox->setObjectName(QStringLiteral("typeBox"));
    typeBox->addItem(tr("Incoming"));
    typeBox->addItem(tr("Outcoming"));

    auto* year_button = new QPushButton(tr("Year report"), this);
    auto* month_button = new QPushButton(tr("Month report"), this);
    auto* day_button = new QPushButton(tr("Day report"), this);
    auto* xml_button = new QPushButton(tr("Save to .xml"), this);
    auto* csv_button = new QPushButton(tr("Save to .csv"), this);

    drawer = new KoGraphicsDrawer(this);

    // What to show on one row, what to do on the next: in a small window and
    // in either language each control keeps the width its text needs.
    auto* selectors = new QHBoxLayout;
    auto add_box = [&](const QString& caption, QComboBox* box) {
        selectors->addWidget(new QLabel(caption, this));
        selectors->addWidget(box);
    };
    add_box(tr("Pass:"), passBox);
    add_box(tr("Year:"), yearBox);
    add_box(tr("Month:"), monthBox);
    add_box(tr("Day:"), dayBox);
    add_box(tr("Type:"), typeBox);
    selectors->addStretch(1);
    auto* actions = new QHBoxLayout;
    actions->addWidget(year_button);
    actions->addWidget(month_button);
    actions->addWidget(day_button);
    actions->addWidget(xml_button);
    actions->addWidget(csv_button);
    actions->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(selectors);
    layout->addLayout(actions);
    layout->addWidget(drawer, 1);

    connect(passBox, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &KoStatisticsViewer::sPassChanged);
    connect(typeBox, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &KoStatisticsViewer::sTypeChanged);
    connect(yearBox, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &KoStatisticsViewer::sYearChanged);
    connect(monthBox, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &KoStatisticsViewer::sMonthChanged);
    connect(year_button, &QPushButton::clicked, this, &KoStatisticsViewer::sYearButClicked);
    connect(month_button, &QPushButton::clicked, this, &KoStatisticsViewer::sMonthButClicked);
    connect(day_button, &QPushButton::clicked, this, &KoStatisticsViewer::sDayButClicked);
    connect(xml_button, &QPushButton::clicked, this, &KoStatisticsViewer::sXmlButClicked);
    connect(csv_button, &QPushButton::clicked, this, &KoStatisticsViewer::sCsvButClicked);
    connect(drawer, &KoGraphicsDrawer::eHistClicked, this, &KoStatisticsViewer::sHistClicked);
}

void KoStatisticsViewer::showMessage(QMessageBox::Icon icon, const QString& title,
                                     const QString& text)
{
    QMessageBox box(icon, title, text, QMessageBox::Ok, this);
    box.exec();
}

QString KoStatisticsViewer::chooseSaveFile(const QString& start_path)
{
    return QFileDialog::getSaveFileName(this, tr("Save the statistics as"), start_path,
                                        saveCsv ? tr("CSV files (*.csv)")
                                                : tr("XML files (*.xml)"));
}

STATISTICS_TYPE KoStatisticsViewer::selectedType() const
{
    return static_cast<STATISTICS_TYPE>(typeBox->currentIndex());
}

void KoStatisticsViewer::fillDays()
{
    const int days =
        QDate(yearBox->currentText().toInt(), monthBox->currentIndex() + 1, 1).daysInMonth();
    dayBox->clear();
    for (int d = 1; d <= days; ++d)
        dayBox->addItem(QString::number(d));
    dayBox->setCurrentIndex(0);
}

QString KoStatisticsViewer::dayLabel(const QDate& date) const
{
    return QStringLiteral("%0\n%1").arg(date.day()).arg(dayNames.value(date.dayOfWeek()));
}

bool KoStatisticsViewer::requestLevel(int sid)
{
    switch (sid) {
    case STAT_YEAR:
        return requestYear();
    case STAT_MONTH:
        return requestMonth();
    case STAT_DAY:
        return requestDay();
    default:
        return false;
    }
}

bool KoStatisticsViewer::sendRequest(const KoStatisticsData& start, const KoStatisticsData& end,
                                     STATISTICS_TYPE stype, STATISTICS_ID sid, int pass)
{
    if (sender && !sender(pass, start, end, stype, sid)) {
        showMessage(QMessageBox::Warning, KoCommandOutcome::NotSentTitle(),
                    KoCommandOutcome::NotSentText());
        return false;
    }
    emit eSendStatReq(pass, start, end, stype, sid);
    return true;
}

void KoStatisticsViewer::sYearButClicked()
{
    requestYear();
}

void KoStatisticsViewer::sMonthButClicked()
{
    requestMonth();
}

void KoStatisticsViewer::sDayButClicked()
{
    requestDay();
}

bool KoStatisticsViewer::requestYear()
{
    const int year = yearBox->currentText().toInt();
    return sendRequest(KoStatStamp::localMidnightUtc(QDate(year, 1, 1)),
                       KoStatStamp::localMidnightUtc(QDate(year + 1, 1, 1)), selectedType(),
                       STAT_YEAR, passIndex);
}

bool KoStatisticsViewer::requestMonth()
{
    const int year = yearBox->currentText().toInt();
    const int month = monthBox->currentIndex() + 1;
    const QDateTime local_start(QDate(year, month, 1), QTime(0, 0), Qt::LocalTime);
    QDateTime start = local_start.toUTC();
    // The device keeps its months on the zone's standard offset; a month that
    // starts in summer time starts an hour later for it.
    const int start_offset = local_start.offsetFromUtc() / 3600;
    const int winter_offset =
        QDateTime(QDate(year, 12, 5), QTime(15, 0), Qt::LocalTime).offsetFromUtc() / 3600;
    if (start_offset != winter_offset)
        start = start.addSecs(3600);
    const QDateTime end = KoStatStamp::monthEnd(start, month);
    return sendRequest(KoStatStamp::pack(start), KoStatStamp::pack(end), selectedType(), STAT_MONTH,
                       passIndex);
}

bool KoStatisticsViewer::requestDay()
{
    const QDate date(yearBox->currentText().toInt(), monthBox->currentIndex() + 1,
                     dayBox->currentText().toInt());
    return sendRequest(KoStatStamp::localMidnightUtc(date),
                       KoStatStamp::localMidnightUtc(date.addDays(1)), selectedType(), STAT_DAY,
                       passIndex);
}

void KoStatisticsViewer::sXmlButClicked()
{
    saveFile(false);
}

void KoStatisticsViewer::sCsvButClicked()
{
    saveFile(true);
}

void KoStatisticsViewer::saveFile(bool csv)
{
    // Where, asked first: the folder of the last save and the histogram's title.
    saveCsv = csv;
    const QString extension = csv ? QStringLiteral(".csv") : QStringLiteral(".xml");
    const QString folder_key = QStringLiteral("statistics");
    const QString folder = KoAppData::LastFolder(folder_key, QDir::currentPath());
    const QString proposed = xmlTitle.isEmpty() ? tr("statistics") : xmlTitle;
    QString chosen = chooseSaveFile(QDir(folder).filePath(proposed + extension));
    if (chosen.isEmpty())
        return;
    const QFileInfo info(chosen);
    KoAppData::SetLastFolder(folder_key, info.absolutePath());
    chosen = info.absoluteFilePath();
    // The writer adds the extension.
    if (chosen.endsWith(extension, Qt::CaseInsensitive))
        chosen.chop(4);
    xmlPath = chosen;

    xmlShownType = typeBox->currentIndex();
    xmlState = 1;
    // One request, incoming first: selecting the type must not send one too.
    {
        const QSignalBlocker blocker(typeBox);
        typeBox->setCurrentIndex(STAT_INCOMING);
    }
    if (!requestLevel(level))
        endXmlCollection();
}

void KoStatisticsViewer::endXmlCollection()
{
    xmlState = 0;
    const QSignalBlocker blocker(typeBox);
    typeBox->setCurrentIndex(xmlShownType);
}

void KoStatisticsViewer::sTypeChanged(int /*indx*/)
{
    requestLevel(level);
}

void KoStatisticsViewer::sPassChanged(int indx)
{
    passIndex = indx;
    requestLevel(level);
}

void KoStatisticsViewer::sYearChanged(int /*indx*/)
{
    fillDays();
}

void KoStatisticsViewer::sMonthChanged(int /*indx*/)
{
    fillDays();
}

void KoStatisticsViewer::storeByDirection(int stat_type, const QVector<int>& values,
                                          const QStringList& labels,
                                          const QVector<KoStatisticsData>& stamps)
{
    if (stat_type == STAT_INCOMING) {
        inValues = values;
        inLabels = labels;
        inStamps = stamps;
    } else {
        outValues = values;
        outLabels = labels;
    }
}

void KoStatisticsViewer::sStatisticRecieved(int pass_id, const QVector<KoStatisticsData>& stat,
                                            const QVector<KoStatisticsAlarmData>& alarm_stat,
                                            const STATISTICS_ID stat_id,
                                            const STATISTICS_TYPE stat_type)
{
    if (stat_id < STAT_YEAR || stat_id > STAT_DAY || stat_type < STAT_INCOMING ||
        stat_type > STAT_OUTCOMING) {
        qCDebug(lcStats) << "statistics reply of unknown kind" << stat_id << "or direction"
                         << stat_type;
        return;
    }

    QVector<KoStatisticsData> records;
    records.reserve(stat.size());
    for (const KoStatisticsData& record : stat)
        records.append(KoStatStamp::utcToLocal(record));

    const QString type_text = stat_type == STAT_INCOMING ? tr("Incoming") : tr("Outcoming");
    const QString pass_text =
        pass_id + 1 == passBox->count() ? tr("all passes") : tr("pass %0").arg(pass_id);
    const QString y_axis_text = tr("People count");
    static const int standard_bars[] = {12, 31, 24};
    const QString x_axis_texts[] = {tr("Month"), tr("Days"), tr("Hours")};
    const QString x_axis_text = x_axis_texts[stat_id];
    // While both directions are collected for a file, only the one selected
    // before is drawn; the other is only kept for the file.
    const bool shown = xmlState <= 0 || stat_type == xmlShownType;

    if (records.isEmpty()) {
        const int n = standard_bars[stat_id];
        const QString headings[] = {tr("Year statistics"), tr("Month statistics"),
                                    tr("Day statistics")};
        const QVector<int> zeros(n, 0);
        QStringList labels;
        for (int i = 0; i < n; ++i)
            labels.append(QString());
        if (shown)
            drawer->draw(zeros, QVector<QVector<KoStatisticsAlarmData>>(n), labels, x_axis_text,
                         y_axis_text, headings[stat_id], QString(), stat_type);
        xmlTitle.clear();
        storeByDirection(stat_type, zeros, labels);
        return;
    }

    if (pass_id < 0 || pass_id >= passRecords.size()) {
        qCDebug(lcStats) << "statistics reply for unknown pass" << pass_id;
        return;
    }
    passIndex = pass_id;
    {
        const QSignalBlocker blocker(passBox);
        passBox->setCurrentIndex(pass_id);
    }
    if (shown)
        alarms = alarm_stat;

    const KoStatisticsData first = records.first();
    QVector<KoStatisticsData> bars;
    QVector<int> values;
    QStringList labels;
    QString title;
    switch (stat_id) {
    case STAT_YEAR:
        for (int month = 1; month <= 12; ++month) {
            KoStatisticsData bar;
            bar.year = first.year;
            bar.month = static_cast<uint8_t>(month);
            bar.day = 1;
            for (const KoStatisticsData& record : qAsConst(records)) {
                if (record.month == month) {
                    bar = record;
                    break;
                }
            }
            bars.append(bar);
            values.append(bar.count);
            labels.append(monthNames.value(month));
        }
        title = tr("Year statistics for 20%0 %1").arg(first.year).arg(pass_text);
        break;
    case STAT_MONTH: {
        for (const KoStatisticsData& record : qAsConst(records)) {
            bars.append(record);
            values.append(record.count);
            labels.append(dayLabel(QDate(2000 + record.year, record.month, record.day)));
        }
        const KoStatisticsData& last = records.last();
        QDate date(2000 + last.year, last.month, last.day);
        const int days = date.daysInMonth();
        while (values.size() < days) {
            date = date.addDays(1);
            KoStatisticsData pad;
            pad.year = static_cast<uint8_t>(date.year() - 2000);
            pad.month = static_cast<uint8_t>(date.month());
            pad.day = static_cast<uint8_t>(date.day());
            bars.append(pad);
            values.append(0);
            labels.append(dayLabel(date));
        }
        title = tr("Month statistics for %0.%1 %2").arg(first.month).arg(first.year).arg(pass_text);
        if (first.month >= 1 && first.month <= 12)
            monthBox->setCurrentIndex(first.month - 1);
        break;
    }
    case STAT_DAY:
        for (const KoStatisticsData& record : qAsConst(records)) {
            bars.append(record);
            values.append(record.count);
            labels.append(QStringLiteral("%0").arg(record.hour));
        }
        while (values.size() < 24) {
            KoStatisticsData pad = first;
            pad.hour = static_cast<uint8_t>(values.size());
            pad.count = 0;
            labels.append(QStringLiteral("%0").arg(values.size()));
            bars.append(pad);
            values.append(0);
        }
        title = tr("Day statistics for %0.%1.%2 %3")
                    .arg(first.day)
                    .arg(first.month)
                    .arg(first.year)
                    .arg(pass_text);
        if (first.day >= 1 && first.day <= dayBox->count())
            dayBox->setCurrentIndex(first.day - 1);
        break;
    }
    if (shown)
        passRecords[pass_id] = bars;

    qint64 total = 0;
    for (const KoStatisticsData& record : qAsConst(records))
        total += record.count;
    const QString total_text = tr("Total people count = %0").arg(total);
    const QString heading = title + QStringLiteral(" (") + type_text + QStringLiteral(")");

    QVector<QVector<KoStatisticsAlarmData>> events(values.size());
    for (const KoStatisticsAlarmData& alarm : alarm_stat) {
        const QDateTime when =
            QDateTime::fromSecsSinceEpoch(static_cast<uint32_t>(alarm.time), Qt::UTC).toLocalTime();
        int bar = -1;
        if (stat_id == STAT_YEAR)
            bar = when.date().month() - 1;
        else if (stat_id == STAT_MONTH)
            bar = when.date().day() - 1;
        else
            bar = when.time().hour();
        if (bar >= 0 && bar < events.size())
            events[bar].append(alarm);
    }

    level = stat_id;
    xmlTitle = title;
    if (shown) {
        shownType = stat_type;
        drawer->draw(values, events, labels, x_axis_text, y_axis_text, heading, total_text,
                     stat_type);
    }
    storeByDirection(stat_type, values, labels, bars);

    if (xmlState <= 0)
        return;
    ++xmlState;
    if (xmlState == 2) {
        {
            const QSignalBlocker blocker(typeBox);
            typeBox->setCurrentIndex(STAT_OUTCOMING);
        }
        if (!requestLevel(level))
            endXmlCollection();
    } else if (xmlState > 2) {
        endXmlCollection();
        const int n = inValues.size();
        if (outValues.size() != n || inLabels.size() != n || outLabels.size() != n) {
            qCDebug(lcStats) << "directions of unequal length, no period file";
            showMessage(QMessageBox::Warning, tr("Error"),
                        tr("The device sent the two directions with different numbers of bars; "
                           "nothing was saved."));
            return;
        }
        const QString file = xmlPath + (saveCsv ? QStringLiteral(".csv") : QStringLiteral(".xml"));
        QString error;
        const auto sid = static_cast<STATISTICS_ID>(level);
        if (saveCsv ? KoXmlReportWriter::writePeriodCsv(xmlPath, inValues, outValues, inLabels,
                                                        inStamps, sid, &error)
                    : KoReportExport::WritePeriodFile(inValues, outValues, inLabels, xmlPath, sid,
                                                      &error))
            showMessage(QMessageBox::Information, tr("Succes!"),
                        tr("Report was saved in ") + QLatin1Char('"') +
                            QDir::toNativeSeparators(file) + QLatin1Char('"'));
        else
            showMessage(QMessageBox::Critical, tr("Error"),
                        tr("\"%1\" could not be written: %2. A file of that name keeps its "
                           "old content.")
                            .arg(QDir::toNativeSeparators(file), error));
    }
}

void KoStatisticsViewer::sHistClicked(int num)
{
    const QVector<KoStatisticsData> records = passRecords.value(passIndex);
    if (num < 0 || num >= records.size() || records.at(num).count == 0)
        return;
    STATISTICS_ID next;
    if (level == STAT_YEAR)
        next = STAT_MONTH;
    else if (level == STAT_MONTH)
        next = STAT_DAY;
    else
        return;

    const QDateTime local = KoStatStamp::unpack(records.at(num), Qt::LocalTime);
    if (!local.isValid())
        return;
    const QDateTime start = local.toUTC();
    const QDateTime end = next == STAT_MONTH ? KoStatStamp::monthEnd(start, local.date().month())
                                             : start.addSecs(86400);
    sendRequest(KoStatStamp::pack(start), KoStatStamp::pack(end),
                static_cast<STATISTICS_TYPE>(shownType), next, passIndex);
}

void KoStatisticsViewer::sPassCnt(int pass_cnt)
{
    if (pass_cnt <= 0)
        return;
    {
        const QSignalBlocker blocker(passBox);
        const bool had_passes = passCount > 0;
        for (int p = passCount; p < pass_cnt; ++p) {
            passBox->insertItem(p, QString::number(p));
            passRecords.insert(p, QVector<KoStatisticsData>());
        }
        if (!had_passes) {
            passBox->addItem(tr("Total"));
            passRecords.append(QVector<KoStatisticsData>());
        }
        for (int p = passCount - 1; p >= pass_cnt; --p) {
            passBox->removeItem(p);
            passRecords.remove(p);
        }
    }
    passCount = pass_cnt;
    passIndex = passBox->currentIndex();
}

void KoStatisticsViewer::sConnected() {}
