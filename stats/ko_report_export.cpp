#include "ko_report_export.h"

#include "ko_stat_stamp.h"
#include "ko_stats_log.h"
#include "ko_xml_report_writer.h"
#include "settings/ko_command_outcome.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QToolButton>

KoReportExport::KoReportExport(QWidget* parent) : QWidget(parent)
{
    const QDate today = QDate::currentDate();
    const QStringList month_names{tr("Yanuary"),   tr("February"), tr("March"),    tr("April"),
                                  tr("May"),       tr("June"),     tr("July"),     tr("August"),
                                  tr("September"), tr("October"),  tr("November"), tr("December")};

    passBox = new QComboBox(this);
    passBox->setObjectName(QStringLiteral("passBox"));
    for (int p = 0; p < passCount; ++p)
        passBox->addItem(QString::number(p));
    passBox->addItem(tr("Total"));

    auto make_date_boxes = [&](QComboBox*& year_box, QComboBox*& month_box, QComboBox*& day_box) {
        year_box = new QComboBox(this);
        for (int y = 2015; y <= today.year(); ++y)
            year_box->addItem(QString::number(y));
        month_box = new QComboBox(this);
        month_box->addItems(month_names);
        day_box = new QComboBox(this);
        year_box->setCurrentText(QString::number(today.year()));
        month_box->setCurrentIndex(today.month() - 1);
        fillDays(year_box, month_box, day_box);
        day_box->setCurrentIndex(today.day() - 1);
    };
    make_date_boxes(startYearBox, startMonthBox, startDayBox);
    make_date_boxes(endYearBox, endMonthBox, endDayBox);
    startYearBox->setObjectName(QStringLiteral("startYearBox"));
    startMonthBox->setObjectName(QStringLiteral("startMonthBox"));
    startDayBox->setObjectName(QStringLiteral("startDayBox"));
    endYearBox->setObjectName(QStringLiteral("endYearBox"));
    endMonthBox->setObjectName(QStringLiteral("endMonthBox"));
    endDayBox->setObjectName(QStringLiteral("endDayBox"));

    folderEdit = new QLineEdit(QDir::currentPath() + QStringLiteral("/reports"), this);
    folderEdit->setObjectName(QStringLiteral("folderEdit"));
    if (!QDir().mkpath(folderEdit->text()))
        qCWarning(lcStats) << "cannot create the report folder" << folderEdit->text();

    auto* report_button = new QPushButton(tr("Xml report"), this);
    auto* folder_button = new QToolButton(this);
    folder_button->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(tr("Pass number:"), this), 0, 0);
    grid->addWidget(passBox, 0, 1);
    auto add_date_row = [&](int row, const QString& caption, QComboBox* year_box,
                            QComboBox* month_box, QComboBox* day_box) {
        grid->addWidget(new QLabel(caption, this), row, 0);
        grid->addWidget(new QLabel(tr("Year:"), this), row, 1);
        grid->addWidget(year_box, row, 2);
        grid->addWidget(new QLabel(tr("Month:"), this), row, 3);
        grid->addWidget(month_box, row, 4);
        grid->addWidget(new QLabel(tr("Day:"), this), row, 5);
        grid->addWidget(day_box, row, 6);
    };
    add_date_row(1, tr("Start date:"), startYearBox, startMonthBox, startDayBox);
    add_date_row(2, tr("End date:"), endYearBox, endMonthBox, endDayBox);
    // The request ends at the end day's midnight, so that day itself is out.
    auto* end_note = new QLabel(tr("The end date is not included: the report runs from the start "
                                   "date up to the day before the end date."),
                                this);
    end_note->setObjectName(QStringLiteral("endDateNote"));
    end_note->setWordWrap(true);
    grid->addWidget(end_note, 3, 0, 1, 8);
    grid->addWidget(report_button, 4, 0);
    // The selectors keep their own widths; a wide window's room is left over.
    grid->setColumnStretch(7, 1);

    auto* folder_row = new QHBoxLayout;
    folder_row->addWidget(new QLabel(tr("Save folder:"), this));
    folder_row->addWidget(folderEdit, 1);
    folder_row->addWidget(folder_button);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(folder_row);
    layout->addStretch(1);

    connect(passBox, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &KoReportExport::sPassChanged);
    connect(startYearBox, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &KoReportExport::sYearStartChanged);
    connect(startMonthBox, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &KoReportExport::sMonthStartChanged);
    connect(endYearBox, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &KoReportExport::sYearEndChanged);
    connect(endMonthBox, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &KoReportExport::sMonthEndChanged);
    connect(report_button, &QPushButton::clicked, this, &KoReportExport::sXmlReportClicked);
    connect(folder_button, &QToolButton::clicked, this, &KoReportExport::sOpenSaveFolder);
}

bool KoReportExport::WritePeriodFile(const QVector<int>& in_values, const QVector<int>& out_values,
                                     const QStringList& labels, const QString& name,
                                     STATISTICS_ID sid, QString* error)
{
    return KoXmlReportWriter::writePeriodFile(name, in_values, out_values, labels, sid, error);
}

QString KoReportExport::saveFolder() const
{
    return folderEdit->text();
}

void KoReportExport::setSaveFolder(const QString& folder)
{
    folderEdit->setText(folder);
}

void KoReportExport::showMessage(QMessageBox::Icon icon, const QString& title, const QString& text)
{
    QMessageBox box(icon, title, text, QMessageBox::Ok, this);
    box.exec();
}

QDate KoReportExport::selectedDate(const QComboBox* year_box, const QComboBox* month_box,
                                   const QComboBox* day_box)
{
    return QDate(year_box->currentText().toInt(), month_box->currentIndex() + 1,
                 day_box->currentText().toInt());
}

void KoReportExport::fillDays(const QComboBox* year_box, const QComboBox* month_box,
                              QComboBox* day_box)
{
    const int days =
        QDate(year_box->currentText().toInt(), month_box->currentIndex() + 1, 1).daysInMonth();
    day_box->clear();
    for (int d = 1; d <= days; ++d)
        day_box->addItem(QString::number(d));
    day_box->setCurrentIndex(0);
}

void KoReportExport::sXmlReportClicked()
{
    const QDate start = selectedDate(startYearBox, startMonthBox, startDayBox);
    const QDate end = selectedDate(endYearBox, endMonthBox, endDayBox);
    auto key = [](const QDate& date) {
        return ((static_cast<long long>(date.year() - 2000) * 365 + date.month()) * 31 +
                date.day()) *
               24;
    };
    if (!start.isValid() || !end.isValid() || key(end) < key(start) || start == end) {
        showMessage(QMessageBox::Warning, tr("Date error"),
                    tr("Final date must be later than start date"));
        return;
    }
    // Both directions of the whole days from start up to, not including, end.
    const KoStatisticsData from = KoStatStamp::localMidnightUtc(start);
    const KoStatisticsData to = KoStatStamp::localMidnightUtc(end);
    const auto both = static_cast<STATISTICS_TYPE>(2);
    if (sender && !sender(passIndex, from, to, both, STAT_DAY)) {
        showMessage(QMessageBox::Warning, KoCommandOutcome::NotSentTitle(),
                    KoCommandOutcome::NotSentText());
        return;
    }
    emit eSendXmlStatReq(passIndex, from, to, both, STAT_DAY);
}

void KoReportExport::sStatisticXmlRecieved(int pass_id,
                                           const QVector<QVector<KoStatisticsData>>& statistics,
                                           const STATISTICS_ID /*stat_id*/,
                                           const QVector<STATISTICS_TYPE>& stat_types)
{
    QVector<QVector<KoStatisticsData>> local_series;
    local_series.reserve(statistics.size());
    const KoStatisticsData* first = nullptr;
    const KoStatisticsData* last = nullptr;
    for (const QVector<KoStatisticsData>& series : statistics) {
        QVector<KoStatisticsData> local;
        local.reserve(series.size());
        for (const KoStatisticsData& record : series)
            local.append(KoStatStamp::utcToLocal(record));
        local_series.append(local);
    }
    for (const QVector<KoStatisticsData>& series : qAsConst(local_series)) {
        if (series.isEmpty())
            continue;
        if (!first)
            first = &series.first();
        last = &series.last();
    }
    // A reply whose series are all empty has no dates to name the file by.
    if (!first) {
        showMessage(QMessageBox::Warning, tr("Message"), tr("Empty data for report"));
        return;
    }

    const QString pass_text =
        pass_id == passCount ? QStringLiteral("all") : QString::number(pass_id);
    const QString name = QStringLiteral("report pass %1 20%2-%3-%4_20%5-%6-%7")
                             .arg(pass_text)
                             .arg(first->year)
                             .arg(first->month)
                             .arg(first->day)
                             .arg(last->year)
                             .arg(last->month)
                             .arg(last->day);
    const QString path = folderEdit->text() + QLatin1Char('/') + name;

    QStringList type_names;
    for (int s = 0; s < statistics.size(); ++s) {
        const int type = s < stat_types.size() ? stat_types.at(s) : -1;
        type_names.append(type == STAT_INCOMING    ? QStringLiteral("In")
                          : type == STAT_OUTCOMING ? QStringLiteral("Out")
                                                   : QString());
    }

    QString error;
    if (!KoXmlReportWriter::writeReport(path, local_series, type_names, &error)) {
        showMessage(QMessageBox::Critical, tr("Error"),
                    tr("\"%1\" could not be written: %2. A file of that name keeps its old "
                       "content.")
                        .arg(QDir::toNativeSeparators(path + QStringLiteral(".xml")), error));
        return;
    }
    showMessage(QMessageBox::Information, tr("Succes!"),
                tr("Report was saved in ") + path + QStringLiteral(".xml"));
}

void KoReportExport::sOpenSaveFolder()
{
    const QString folder = QFileDialog::getExistingDirectory(
        this, tr("Choose directory"), folderEdit->text(),
        QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks);
    // A cancelled dialog keeps the folder: an empty one would put the next
    // report at the root of the file system.
    if (!folder.isEmpty())
        setSaveFolder(folder);
}

void KoReportExport::sPassChanged(int indx)
{
    passIndex = indx;
}

void KoReportExport::sYearStartChanged(int /*indx*/)
{
    fillDays(startYearBox, startMonthBox, startDayBox);
}

void KoReportExport::sMonthStartChanged(int /*indx*/)
{
    fillDays(startYearBox, startMonthBox, startDayBox);
}

void KoReportExport::sYearEndChanged(int /*indx*/)
{
    fillDays(endYearBox, endMonthBox, endDayBox);
}

void KoReportExport::sMonthEndChanged(int /*indx*/)
{
    fillDays(endYearBox, endMonthBox, endDayBox);
}

void KoReportExport::sPassCnt(int pass_cnt)
{
    if (pass_cnt <= 0)
        return;
    {
        const QSignalBlocker blocker(passBox);
        const bool had_passes = passCount > 0;
        for (int p = passCount; p < pass_cnt; ++p)
            passBox->insertItem(p, QString::number(p));
        if (!had_passes)
            passBox->addItem(tr("Total"));
        for (int p = passCount - 1; p >= pass_cnt; --p)
            passBox->removeItem(p);
    }
    passCount = pass_cnt;
    passIndex = passBox->currentIndex();
}
