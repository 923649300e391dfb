#include "ko_validation_window.h"

#include "ko_app_data.h"
#include "ko_scene_snapshot.h"
#include "ko_tcp_client.h"
#include "ko_validation_report.h"

#include <QDir>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

namespace {

// A door's picture, small: the panel's own scene fitted into the view,
// looked at only (the line is edited on the panel).
class DoorView : public QGraphicsView
{
public:
    explicit DoorView(QWidget* parent) : QGraphicsView(parent)
    {
        setInteractive(false);
        setFocusPolicy(Qt::NoFocus);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setBackgroundBrush(QColor(40, 40, 40));
        setFrameShape(QFrame::NoFrame);
        setMinimumSize(160, 120);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    }

    void Show(QGraphicsScene* scene)
    {
        setScene(scene);
        connect(scene, &QGraphicsScene::sceneRectChanged, this, [this] { Fit(); });
        Fit();
    }

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        QGraphicsView::resizeEvent(event);
        Fit();
    }

private:
    void Fit()
    {
        if (scene())
            fitInView(scene()->sceneRect(), Qt::KeepAspectRatio);
    }
};

const char* const InKeys = "1234";
const char* const OutKeys = "QWER";
// The same keys on a Russian layout: Й, Ц, У, К.
const int RussianOutKeys[] = {0x0419, 0x0426, 0x0423, 0x041A};
const int RefreshMs = 100;

QTableWidgetItem* Cell(const QString& text, bool left = false)
{
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment((left ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignVCenter);
    return item;
}

} // namespace

KoValidationWindow::KoValidationWindow(KoTcpClient* link_, QWidget* parent)
    : QDialog(parent), link(link_)
{
    setWindowTitle(tr("Door validation"));
    // A window of its own beside the main one, not a box over it.
    setWindowFlags(Qt::Window);
    setFocusPolicy(Qt::StrongFocus);

    operatorEdit = new QLineEdit(this);
    vehicleEdit = new QLineEdit(this);
    toleranceSpin = new QDoubleSpinBox(this);
    toleranceSpin->setRange(0.5, 50);
    toleranceSpin->setSingleStep(0.5);
    toleranceSpin->setDecimals(1);
    toleranceSpin->setValue(5);
    toleranceSpin->setPrefix(QStringLiteral("± "));
    toleranceSpin->setSuffix(QStringLiteral(" %"));
    toleranceSpin->setToolTip(tr("The mean deviation's 95 % interval must lie within this"));
    addressLabel = new QLabel(this);
    auto* form = new QHBoxLayout;
    form->addWidget(new QLabel(tr("Operator:"), this));
    form->addWidget(operatorEdit, 2);
    form->addWidget(new QLabel(tr("Vehicle:"), this));
    form->addWidget(vehicleEdit, 2);
    form->addWidget(new QLabel(tr("Tolerance:"), this));
    form->addWidget(toleranceSpin);
    form->addWidget(new QLabel(tr("Device:"), this));
    form->addWidget(addressLabel, 1);

    auto* door_row = new QHBoxLayout;
    QFont big = font();
    big.setPixelSize(16);
    big.setBold(true);
    for (int d = 0; d < KoValidationSession::MaxDoors; ++d) {
        DoorWidgets& w = doors[size_t(d)];
        w.box = new QGroupBox(tr("Door %1").arg(d + 1), this);
        w.label = new QLineEdit(w.box);
        w.label->setPlaceholderText(tr("label, e.g. front"));
        w.view = new DoorView(w.box);
        w.snapshot = new QToolButton(w.box);
        w.snapshot->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
        w.snapshot->setToolTip(tr("Save a snapshot of the picture with its marks, line and "
                                  "zone as PNG"));
        w.snapshot->setFocusPolicy(Qt::NoFocus);
        w.snapshot->setEnabled(false);
        connect(w.snapshot, &QToolButton::clicked, this, [this, d] { sSnapshot(d); });
        // In and out side by side, the device's counts above the hand's.
        auto* grid = new QGridLayout;
        grid->addWidget(new QLabel(tr("In"), w.box), 0, 1, Qt::AlignCenter);
        grid->addWidget(new QLabel(tr("Out"), w.box), 0, 2, Qt::AlignCenter);
        grid->addWidget(new QLabel(tr("Device"), w.box), 1, 0);
        grid->addWidget(new QLabel(tr("Hand"), w.box), 2, 0);
        for (int row = 0; row < 2; ++row) {
            for (int dir = 0; dir < 2; ++dir) {
                QLabel*& label = w.counts[size_t(row)][size_t(dir)];
                label = new QLabel(QStringLiteral("0"), w.box);
                label->setFont(big);
                grid->addWidget(label, row + 1, dir + 1, Qt::AlignCenter);
            }
        }
        grid->setColumnStretch(1, 1);
        grid->setColumnStretch(2, 1);
        const QString in_key = QString(QLatin1Char(InKeys[d]));
        const QString out_key = QString(QLatin1Char(OutKeys[d]));
        w.count[0] = new QPushButton(tr("In (%1)").arg(in_key), w.box);
        w.count[1] = new QPushButton(tr("Out (%1)").arg(out_key), w.box);
        for (int dir = 0; dir < 2; ++dir) {
            QPushButton* button = w.count[size_t(dir)];
            button->setFont(big);
            button->setMinimumHeight(44);
            button->setFocusPolicy(Qt::NoFocus);
            button->setAutoDefault(false);
            connect(button, &QPushButton::clicked, this, [this, d, dir] { sHand(d, dir); });
        }
        auto* top = new QHBoxLayout;
        top->addWidget(w.label, 1);
        top->addWidget(w.snapshot);
        auto* buttons = new QHBoxLayout;
        buttons->addWidget(w.count[0]);
        buttons->addWidget(w.count[1]);
        auto* box_layout = new QVBoxLayout(w.box);
        box_layout->addLayout(top);
        box_layout->addWidget(w.view, 1);
        box_layout->addLayout(grid);
        box_layout->addLayout(buttons);
        door_row->addWidget(w.box, 1);
    }

    startButton = new QPushButton(this);
    pauseButton = new QPushButton(tr("Pause"), this);
    stopButton = new QPushButton(tr("Stop"), this);
    markButton = new QPushButton(tr("Mark sample"), this);
    markButton->setToolTip(tr("Closes the sample: a door opening, a stop"));
    undoButton = new QPushButton(tr("Undo (Backspace)"), this);
    undoButton->setToolTip(tr("Takes back the last hand count of the open sample"));
    saveButton = new QPushButton(tr("Save report"), this);
    saveButton->setToolTip(tr("The report as PDF and the samples as CSV beside it"));
    stateLabel = new QLabel(this);
    // Named for the tests that drive the window.
    operatorEdit->setObjectName(QStringLiteral("operatorEdit"));
    vehicleEdit->setObjectName(QStringLiteral("vehicleEdit"));
    startButton->setObjectName(QStringLiteral("startButton"));
    pauseButton->setObjectName(QStringLiteral("pauseButton"));
    stopButton->setObjectName(QStringLiteral("stopButton"));
    markButton->setObjectName(QStringLiteral("markButton"));
    saveButton->setObjectName(QStringLiteral("saveButton"));
    auto* controls = new QHBoxLayout;
    for (QPushButton* b :
         {startButton, pauseButton, stopButton, markButton, undoButton, saveButton}) {
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoDefault(false);
        controls->addWidget(b);
    }
    controls->addWidget(stateLabel, 1);
    connect(startButton, &QPushButton::clicked, this, &KoValidationWindow::sStart);
    connect(pauseButton, &QPushButton::clicked, this, &KoValidationWindow::sPause);
    connect(stopButton, &QPushButton::clicked, this, &KoValidationWindow::sStop);
    connect(markButton, &QPushButton::clicked, this, &KoValidationWindow::sMarkSample);
    connect(undoButton, &QPushButton::clicked, this, &KoValidationWindow::sUndo);
    connect(saveButton, &QPushButton::clicked, this, &KoValidationWindow::sSaveReport);

    verdictLabel = new QLabel(this);
    QFont verdict_font = font();
    verdict_font.setBold(true);
    verdictLabel->setFont(verdict_font);
    verdictLabel->setWordWrap(true);
    messageLabel = new QLabel(this);
    messageLabel->setWordWrap(true);

    figuresTable = new QTableWidget(0, 9, this);
    figuresTable->setHorizontalHeaderLabels({tr("Door and direction"), tr("Hand"), tr("Device"),
                                             tr("Difference"), tr("Relative"), tr("Samples"),
                                             tr("Mean deviation"), tr("95 % interval"),
                                             tr("Verdict")});
    samplesTable = new QTableWidget(0, 0, this);
    for (QTableWidget* table : {figuresTable, samplesTable}) {
        table->setEditTriggers(QAbstractItemView::NoEditTriggers);
        table->setFocusPolicy(Qt::NoFocus);
        table->setSelectionMode(QAbstractItemView::NoSelection);
        table->verticalHeader()->hide();
        table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
        table->horizontalHeader()->setStretchLastSection(true);
    }
    auto* tables = new QTabWidget(this);
    tables->setFocusPolicy(Qt::NoFocus);
    tables->addTab(figuresTable, tr("Figures"));
    tables->addTab(samplesTable, tr("Samples"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(door_row, 3);
    layout->addLayout(controls);
    layout->addWidget(verdictLabel);
    layout->addWidget(messageLabel);
    layout->addWidget(tables, 2);

    refreshTimer.setSingleShot(true);
    refreshTimer.setInterval(RefreshMs);
    connect(&refreshTimer, &QTimer::timeout, this, &KoValidationWindow::Refresh);
    connect(toleranceSpin, qOverload<double>(&QDoubleSpinBox::valueChanged), this,
            &KoValidationWindow::Changed);

    if (link) {
        using ImageSignal = void (KoTcpClient::*)(int, int, int, float, int, QImage&);
        const ImageSignal images[4] = {&KoTcpClient::eImageRecieved0,
                                       &KoTcpClient::eImageRecieved1,
                                       &KoTcpClient::eImageRecieved2,
                                       &KoTcpClient::eImageRecieved3};
        // The device's counts come with its pictures.
        for (int d = 0; d < KoValidationSession::MaxDoors; ++d) {
            connect(link, images[d], this,
                    [this, d](int pass_id, int in_cnt, int out_cnt, float, int, QImage& im) {
                        if (pass_id == d && !im.isNull())
                            DeviceCounts(d, in_cnt, out_cnt);
                    });
        }
        connect(link, &KoTcpClient::eConnectedAns, this, &KoValidationWindow::sPassCnt);
        connect(link, &KoTcpClient::eTargetChanged, this, [this] { Refresh(); });
    }
    Refresh();
}

QPair<int, int> KoValidationWindow::KeyDoor(int key)
{
    for (int d = 0; d < KoValidationSession::MaxDoors; ++d) {
        if (key == InKeys[d])
            return {d, KoValidationSession::In};
        if (key == OutKeys[d] || key == RussianOutKeys[d])
            return {d, KoValidationSession::Out};
    }
    return {-1, -1};
}

void KoValidationWindow::SetDoorScene(int door, QGraphicsScene* scene)
{
    if (door < 0 || door >= KoValidationSession::MaxDoors || !scene)
        return;
    DoorWidgets& w = doors[size_t(door)];
    w.scene = scene;
    static_cast<DoorView*>(w.view)->Show(scene);
    w.snapshot->setEnabled(true);
}

double KoValidationWindow::Tolerance() const
{
    return toleranceSpin->value() / 100;
}

QImage KoValidationWindow::Snapshot(int door) const
{
    QGraphicsScene* scene = doors[size_t(door)].scene;
    return scene ? KoSceneSnapshot::Render(*scene) : QImage();
}

void KoValidationWindow::sPassCnt(int pass_cnt)
{
    passCount = pass_cnt;
    Refresh();
}

void KoValidationWindow::DeviceCounts(int door, int in_cnt, int out_cnt)
{
    session.DeviceCounters(door, in_cnt, out_cnt);
    if (session.CurrentState() == KoValidationSession::State::Running)
        Changed();
}

void KoValidationWindow::Changed()
{
    if (!refreshTimer.isActive())
        refreshTimer.start();
}

void KoValidationWindow::Say(const QString& text)
{
    messageLabel->setText(text);
}

void KoValidationWindow::sStart()
{
    using State = KoValidationSession::State;
    if (session.CurrentState() == State::Paused) {
        session.Resume();
        Say(tr("Counting again"));
    } else if (session.CurrentState() == State::Idle || session.CurrentState() == State::Stopped) {
        if (passCount <= 0)
            return;
        if (!saved &&
            QMessageBox::question(this, tr("New session"),
                                  tr("The report of the stopped session has not been saved. "
                                     "Start a new session all the same?")) != QMessageBox::Yes)
            return;
        session.Start(QDateTime::currentDateTime(), passCount);
        saved = false;
        Say(tr("Counting: press the door's In and Out buttons or keys as people cross"));
    }
    // The keys count from here, wherever the operator typed before.
    setFocus();
    Refresh();
}

void KoValidationWindow::sPause()
{
    session.Pause();
    Say(tr("Paused: neither hand nor device counts are taken"));
    Refresh();
}

void KoValidationWindow::sStop()
{
    const int before = session.Samples().size();
    session.Stop(QDateTime::currentDateTime());
    if (session.Samples().size() > before)
        Say(tr("Stopped; what was counted since the last mark is sample %1").arg(session.Samples().size()));
    else
        Say(tr("Stopped"));
    Refresh();
}

void KoValidationWindow::sMarkSample()
{
    if (session.MarkSample(QDateTime::currentDateTime()))
        Say(tr("Sample %1 marked").arg(session.Samples().size()));
    else
        Say(tr("Nothing was counted since the last mark: no sample"));
    Refresh();
}

void KoValidationWindow::sUndo()
{
    if (session.Undo())
        Changed();
}

void KoValidationWindow::sHand(int door, int direction)
{
    if (session.Hand(door, direction))
        Changed();
    setFocus();
}

void KoValidationWindow::keyPressEvent(QKeyEvent* event)
{
    const QPair<int, int> door = KeyDoor(event->key());
    if (door.first >= 0 || event->key() == Qt::Key_Backspace) {
        // A key held down is one person, not many.
        if (!event->isAutoRepeat()) {
            if (door.first >= 0)
                sHand(door.first, door.second);
            else
                sUndo();
        }
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

QString KoValidationWindow::ChooseFile(const QString& title, const QString& start,
                                       const QString& filter)
{
    if (chooseFile)
        return chooseFile(title, start, filter);
    return QFileDialog::getSaveFileName(this, title, start, filter);
}

QString KoValidationWindow::Address() const
{
    return link ? QStringLiteral("%1:%2").arg(link->HostName()).arg(link->Port()) : QString();
}

void KoValidationWindow::sSnapshot(int door)
{
    const QImage image = Snapshot(door);
    const QString key = QStringLiteral("snapshots");
    const QString start = QDir(KoAppData::LastFolder(key, QDir::currentPath()))
                              .filePath(KoSceneSnapshot::FileName(door, QDateTime::currentDateTime()));
    const QString path = ChooseFile(tr("Save the snapshot as"), start, tr("PNG pictures (*.png)"));
    if (path.isEmpty())
        return;
    KoAppData::SetLastFolder(key, QFileInfo(path).absolutePath());
    QString error;
    if (KoSceneSnapshot::SavePng(image, path, &error))
        Say(tr("Snapshot saved in %1").arg(QDir::toNativeSeparators(path)));
    else
        QMessageBox::critical(this, tr("Error"),
                              tr("The snapshot could not be saved in %1: %2")
                                  .arg(QDir::toNativeSeparators(path), error));
}

void KoValidationWindow::sSaveReport()
{
    if (session.CurrentState() != KoValidationSession::State::Stopped)
        return;
    const QString key = QStringLiteral("validation");
    const QString proposed =
        tr("validation %1.pdf").arg(session.Started().toString(QStringLiteral("yyyy-MM-dd HH-mm")));
    QString pdf = ChooseFile(tr("Save the report as"),
                             QDir(KoAppData::LastFolder(key, QDir::currentPath())).filePath(proposed),
                             tr("PDF files (*.pdf)"));
    if (pdf.isEmpty())
        return;
    if (!pdf.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        pdf += QStringLiteral(".pdf");
    const QFileInfo info(pdf);
    KoAppData::SetLastFolder(key, info.absolutePath());
    const QString csv = info.dir().filePath(info.completeBaseName() + QStringLiteral(".csv"));

    KoValidationReport report;
    report.session = &session;
    report.tolerance = Tolerance();
    report.address = Address();
    report.written = QDateTime::currentDateTime();
    report.operatorName = operatorEdit->text();
    report.vehicle = vehicleEdit->text();
    for (int d = 0; d < session.Doors(); ++d) {
        report.doorLabels << doors[size_t(d)].label->text();
        report.snapshots << Snapshot(d);
    }
    QString error;
    QString failed;
    if (!report.WritePdf(pdf, &error))
        failed = pdf;
    else if (!report.WriteCsv(csv, &error))
        failed = csv;
    if (!failed.isEmpty()) {
        QMessageBox::critical(this, tr("Error"),
                              tr("%1 could not be written: %2. A file of that name keeps its old "
                                 "content.")
                                  .arg(QDir::toNativeSeparators(failed), error));
        return;
    }
    saved = true;
    Say(tr("Report saved in %1 and %2")
            .arg(QDir::toNativeSeparators(pdf), QDir::toNativeSeparators(csv)));
}

void KoValidationWindow::Refresh()
{
    refreshTimer.stop();
    using State = KoValidationSession::State;
    const State state = session.CurrentState();
    const bool counting = state == State::Running || state == State::Paused;
    const int shown = state == State::Idle ? (passCount > 0 ? std::min(passCount, 4) : 4)
                                           : session.Doors();
    const KoValidationSession::Sample total = session.Total();
    const KoValidationSession::Sample& open = session.Open();
    for (int d = 0; d < KoValidationSession::MaxDoors; ++d) {
        DoorWidgets& w = doors[size_t(d)];
        w.box->setVisible(d < shown);
        for (int dir = 0; dir < 2; ++dir) {
            w.counts[0][size_t(dir)]->setText(QString::number(total.Device(d, dir)));
            w.counts[1][size_t(dir)]->setText(QString::number(total.Hand(d, dir)));
        }
        w.box->setToolTip(tr("In the open sample: hand in %1, out %2; device in %3, out %4")
                               .arg(open.Hand(d, 0))
                               .arg(open.Hand(d, 1))
                               .arg(open.Device(d, 0))
                               .arg(open.Device(d, 1)));
        for (QPushButton* b : w.count)
            b->setEnabled(state == State::Running);
    }
    addressLabel->setText(Address());

    startButton->setText(state == State::Paused ? tr("Resume") : tr("Start"));
    startButton->setEnabled(state == State::Paused || (!counting && passCount > 0));
    startButton->setToolTip(passCount > 0 || counting
                                ? QString()
                                : tr("Waits for the device to tell how many doors it has"));
    pauseButton->setEnabled(state == State::Running);
    stopButton->setEnabled(counting);
    markButton->setEnabled(counting);
    undoButton->setEnabled(state == State::Running);
    saveButton->setEnabled(state == State::Stopped);
    switch (state) {
    case State::Idle:
        stateLabel->setText(tr("Not started"));
        break;
    case State::Running:
        stateLabel->setText(tr("Counting since %1").arg(session.Started().toString(QStringLiteral("HH:mm:ss"))));
        break;
    case State::Paused:
        stateLabel->setText(tr("Paused"));
        break;
    case State::Stopped:
        stateLabel->setText(tr("Stopped at %1").arg(session.Ended().toString(QStringLiteral("HH:mm:ss"))));
        break;
    }

    const double tolerance = Tolerance();
    const QVector<KoValidationSession::Row> rows =
        state == State::Idle ? QVector<KoValidationSession::Row>() : session.Rows(tolerance);
    figuresTable->setRowCount(rows.size());
    for (int r = 0; r < rows.size(); ++r) {
        const KoValidationSession::Row& row = rows[r];
        const KoValidationStats::Figures& f = row.stats;
        const QStringList cells{KoValidationReport::RowName(row.door, row.direction),
                                QString::number(row.hand), QString::number(row.device),
                                QString::number(row.Difference()),
                                KoValidationReport::Percent(row.Relative()),
                                QString::number(f.samples),
                                f.samples > 0 ? KoValidationReport::Percent(f.mean)
                                              : QStringLiteral("—"),
                                KoValidationReport::Interval(f),
                                KoValidationReport::VerdictText(f)};
        for (int c = 0; c < cells.size(); ++c) {
            QTableWidgetItem* item = Cell(cells[c], c == 0);
            if (c == cells.size() - 1 && f.verdict != KoValidationStats::Verdict::NotEnough)
                item->setBackground(f.verdict == KoValidationStats::Verdict::Within
                                        ? QColor(200, 240, 200)
                                        : QColor(250, 200, 200));
            if (row.door < 0 && row.direction < 0) {
                QFont bold = item->font();
                bold.setBold(true);
                item->setFont(bold);
            }
            figuresTable->setItem(r, c, item);
        }
    }
    if (rows.isEmpty()) {
        verdictLabel->setText(tr("Verdict: start a session and count"));
    } else {
        const KoValidationStats::Figures& all = rows.last().stats;
        verdictLabel->setText(tr("Verdict, all doors in both directions, tolerance ±%1: %2")
                                  .arg(KoValidationReport::Percent(tolerance, false),
                                       KoValidationReport::VerdictText(all)));
    }

    const int doors_counted = session.Doors();
    QStringList header{tr("No."), tr("Start"), tr("End")};
    for (int d = 0; d < doors_counted; ++d) {
        header << KoValidationReport::RowName(d, KoValidationSession::In)
               << KoValidationReport::RowName(d, KoValidationSession::Out);
    }
    header << tr("All doors");
    samplesTable->setColumnCount(header.size());
    samplesTable->setHorizontalHeaderLabels(header);
    const QVector<KoValidationSession::Sample>& samples = session.Samples();
    samplesTable->setRowCount(samples.size());
    for (int s = 0; s < samples.size(); ++s) {
        const KoValidationSession::Sample& sample = samples[s];
        QStringList cells{QString::number(s + 1),
                          sample.start.toString(QStringLiteral("HH:mm:ss")),
                          sample.end.toString(QStringLiteral("HH:mm:ss"))};
        for (int d = 0; d < doors_counted; ++d) {
            for (int dir = 0; dir < 2; ++dir)
                cells << QStringLiteral("%1 / %2").arg(sample.Hand(d, dir)).arg(sample.Device(d, dir));
        }
        cells << QStringLiteral("%1 / %2").arg(sample.Hand(-1, -1)).arg(sample.Device(-1, -1));
        for (int c = 0; c < cells.size(); ++c)
            samplesTable->setItem(s, c, Cell(cells[c]));
    }
}
