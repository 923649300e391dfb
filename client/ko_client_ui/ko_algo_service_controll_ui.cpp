#include "ko_algo_service_controll_ui.h"

#include "ko_command_outcome.h"
#include "ko_cross_line_figure.h"
#include "ko_app_data.h"
#include "ko_graphics_view.h"
#include "ko_scene_snapshot.h"
#include "ko_selector_figure.h"
#include "ko_settings_writer.h"
#include "ko_tcp_client.h"
#include "ko_viewer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QGraphicsEllipseItem>
#include <QGraphicsPixmapItem>
#include <QGraphicsRectItem>
#include <QGraphicsSimpleTextItem>
#include <QGraphicsTextItem>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QPen>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSlider>
#include <QStyle>
#include <QTime>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

Q_DECLARE_LOGGING_CATEGORY(lcClientUi)

namespace {

// Setting a text item's text rebuilds its document and its layout, the
// dearest step of moving the marks; most messages leave a text as it was.
void SetPlainText(QGraphicsTextItem* item, const QString& text)
{
    if (item->toPlainText() != text)
        item->setPlainText(text);
}

// An empty text is hidden: the item would still lay out and paint its
// empty document.
void SetText(QGraphicsTextItem* item, const QString& text, const QColor& color)
{
    SetPlainText(item, text);
    if (item->defaultTextColor() != color)
        item->setDefaultTextColor(color);
    item->setVisible(!text.isEmpty());
}

QPen MarkPen(const QColor& color)
{
    return QPen(QBrush(color, Qt::SolidPattern), 2.0, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
}

// Stacking on the picture: the marks above it, the cover of a stopped
// picture above the marks, the operator's line and zone (0) above all.
constexpr qreal PictureZ = -3;
constexpr qreal MarkZ = -2;
constexpr qreal CoverZ = -1;

// The frame count of a recording; the device takes its negative for one camera.
constexpr int MaxRecordFrames = 999999;
constexpr int PictureCheckMs = 250;

} // namespace

quint64 KoAlgoServiceControllUI::picturesShown = 0;

KoAlgoServiceControllUI::KoAlgoServiceControllUI(int pass_id, QWidget* parent)
    : QWidget(parent), passId(pass_id)
{
    installButton = new QPushButton(tr("Install changes"), this);
    defaultButton = new QPushButton(tr("Default params"), this);
    cancelButton = new QPushButton(tr("Cancel"), this);
    cancelButton->setEnabled(false);
    installButton->setEnabled(false);
    connect(cancelButton, &QPushButton::clicked, this, &KoAlgoServiceControllUI::sClearChanges);
    connect(defaultButton, &QPushButton::clicked, this, &KoAlgoServiceControllUI::sDefaultsLine);
    connect(installButton, &QPushButton::clicked, this, &KoAlgoServiceControllUI::sInstallChanges);

    auto* bottom_row = new QHBoxLayout;
    optionsButton = new QPushButton(tr("Options"), this);
    connect(optionsButton, &QPushButton::clicked, this, &KoAlgoServiceControllUI::sOptionsClicked);

    auto* view_mode_label = new QLabel(tr("View mode: "), this);
    viewModeCombo = new QComboBox(this);
    viewModeCombo->setMinimumWidth(100);
    connect(viewModeCombo, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &KoAlgoServiceControllUI::sViewModeChanged);
    viewModeCombo->addItems({tr("Left camera"), tr("Right camera"), tr("No send")});
    // The doors share the window's width; the choice stays readable.
    viewModeCombo->setMinimumWidth(std::max(100, viewModeCombo->sizeHint().width()));

    viewMode = 0;
    viewer = new KoViewer(this);
    // Four doors share the window: at its smallest the pictures are scaled
    // down rather than pushed out of sight, and they grow with it.
    viewer->setMinimumSize(MinViewWidth, MinViewHeight);
    viewer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    // Where the view is wider or taller than the picture, a dark margin
    // rather than a white strip.
    viewer->view->setBackgroundBrush(QColor(40, 40, 40));
    viewer->setScene(&scene);
    setContentsMargins(0, 0, 0, 0);
    viewer->setControlsHidden(true);

    clearButton = new QPushButton(tr("Clear"), this);
    connect(clearButton, &QPushButton::clicked, this, &KoAlgoServiceControllUI::sClearInOut);

    restartLabel = new QLabel(this);
    restartLabel->hide();
    fitButton = new QToolButton(this);
    fitButton->setText(tr("Fit"));
    fitButton->setToolTip(tr("Fit the picture into the view (%0)")
                              .arg(KoViewer::fitKey().toString(QKeySequence::NativeText)));
    connect(fitButton, &QToolButton::clicked, viewer, &KoViewer::sFit);
    snapshotButton = new QToolButton(this);
    snapshotButton->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    snapshotButton->setToolTip(tr("Save a snapshot of the picture with its marks, line and zone "
                                  "as PNG"));
    connect(snapshotButton, &QToolButton::clicked, this, &KoAlgoServiceControllUI::sSnapshot);

    inLabel = new QLabel(tr("In: %0").arg(0), this);
    outLabel = new QLabel(tr("Out: %0").arg(0), this);
    fpsLabel = new QLabel(tr("fps: %0").arg(0), this);
    QFont count_font = inLabel->font();
    count_font.setPixelSize(18);
    inLabel->setFont(count_font);
    outLabel->setFont(count_font);

    stopIcon = style()->standardIcon(QStyle::SP_MediaStop);
    recordPixmap = QPixmap(QStringLiteral(":/Record-Normal-icon.png"));
    recordButton = new QPushButton(QIcon(recordPixmap), QString(), this);
    recordButton->setMaximumSize(22, 22);

    auto* frames_label = new QLabel(tr("Frames count:"), this);
    framesEdit = new QLineEdit(this);
    // Room for the longest count the edit takes, in the font shown.
    framesEdit->setFixedWidth(framesEdit->fontMetrics().horizontalAdvance(
                                  QString::number(-MaxRecordFrames)) +
                              4 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 8);
    framesEdit->setValidator(new QIntValidator(1, MaxRecordFrames, framesEdit));
    framesEdit->setToolTip(tr("Frames to record: 1 to %0").arg(MaxRecordFrames));
    stereoCheck = new QCheckBox(tr("Stereo"), this);

    // Half the smallest window is too narrow for the controls in two rows
    // in either language, so they take three: the counts and the picture's
    // fit above it; the line's editing and the options below; then what the
    // device sends and records. Every control is as wide as its text.
    const auto add_row = [](QHBoxLayout* row, std::initializer_list<QWidget*> left,
                            std::initializer_list<QWidget*> right) {
        for (QWidget* w : left)
            row->addWidget(w);
        row->addStretch(1);
        for (QWidget* w : right)
            row->addWidget(w);
    };
    auto* top_row = new QHBoxLayout;
    add_row(top_row, {inLabel, outLabel, restartLabel, clearButton}, {fpsLabel, fitButton, snapshotButton});
    add_row(bottom_row, {cancelButton, defaultButton, installButton}, {optionsButton});
    auto* record_row = new QHBoxLayout;
    add_row(record_row, {view_mode_label, viewModeCombo},
            {frames_label, framesEdit, stereoCheck, recordButton});

    mainLayout = new QVBoxLayout;
    mainLayout->setContentsMargins(0, 0, 0, 0);
    mainLayout->setSpacing(4);
    mainLayout->addLayout(top_row);
    mainLayout->addWidget(viewer, 1);
    mainLayout->addLayout(bottom_row);
    mainLayout->addLayout(record_row);
    setLayout(mainLayout);

    connect(viewer, &KoViewer::eMouseMoveEv, this, &KoAlgoServiceControllUI::sMouseMoveEvL);
    connect(viewer, &KoViewer::eMousePressEv, this, &KoAlgoServiceControllUI::sMousePressEvL);
    connect(viewer, &KoViewer::eMouseRightPressEv, this,
            &KoAlgoServiceControllUI::sMouseRightPressEvL);
    connect(viewer, &KoViewer::eMouseReleaseEv, this, &KoAlgoServiceControllUI::sMouseReleaseEvL);
    connect(recordButton, &QPushButton::clicked, this, &KoAlgoServiceControllUI::sRecordButClicked);
    // Zoomed in, the next pictures are decoded larger; zoomed out, smaller.
    connect(viewer->zoomSlider, &QSlider::valueChanged, this,
            &KoAlgoServiceControllUI::PublishShownScale);

    // The scene is new and empty: the figures below add their items to it
    // and it must never be cleared afterwards.
    // The viewer's minimum size: the panel is not shown yet.
    QImage placeholder(QSize(400, 300), QImage::Format_RGB888);
    placeholder.fill(Qt::black);
    pixmapItem = scene.addPixmap(QPixmap::fromImage(placeholder));
    pixmapItem->setZValue(PictureZ);
    viewer->view->setOpaqueArea(pixmapItem->sceneBoundingRect());
    imageWidth = placeholder.width();
    imageHeight = placeholder.height();
    scene.setSceneRect(0, 0, imageWidth, imageHeight);

    staleCover = scene.addRect(QRectF(), Qt::NoPen, QColor(24, 24, 24, 150));
    staleCover->setZValue(CoverZ);
    // The reason sits on a dark plate in the middle, as large on screen at any zoom.
    auto* plate = new QGraphicsRectItem(staleCover);
    plate->setFlag(QGraphicsItem::ItemIgnoresTransformations);
    plate->setPen(Qt::NoPen);
    plate->setBrush(QColor(0, 0, 0, 200));
    staleText = new QGraphicsSimpleTextItem(plate);
    QFont stale_font = staleText->font();
    stale_font.setPixelSize(16);
    stale_font.setBold(true);
    staleText->setFont(stale_font);
    staleText->setBrush(Qt::white);

    lineFigure = new KoCrossLineFigure(this, &scene);
    zoneFigure = new KoSelectorFigure(this, &scene);
    figures = {zoneFigure, lineFigure};

    framesEdit->setText(QStringLiteral("8000"));
    connect(framesEdit, &QLineEdit::textChanged, this, &KoAlgoServiceControllUI::UpdateControls);

    connect(&viewModeTimer, &QTimer::timeout, this, &KoAlgoServiceControllUI::sSendViewMode);
    viewModeTimer.setInterval(1000);
    viewModeTimer.start();

    // No link yet: the picture says so and nothing can be sent.
    pictureState = PictureState::Live;
    sCheckPicture();
    UpdateControls();
    connect(&staleTimer, &QTimer::timeout, this, &KoAlgoServiceControllUI::sCheckPicture);
    staleTimer.setInterval(PictureCheckMs);
    staleTimer.start();
}

QColor KoAlgoServiceControllUI::ObjectColor(int id)
{
    // A generator seeded with the id: the same id always draws the same colour.
    QRandomGenerator random(static_cast<quint32>(id));
    int r = 0, g = 0, b = 0;
    do {
        r = int(random.generate() % 255);
        g = int(random.generate() % 255);
        b = int(random.generate() % 255);
    } while (r + g + b < 255);
    return QColor(r, g, b, 255);
}

void KoAlgoServiceControllUI::sImageRecieved(int pass_id, int in_cnt, int out_cnt, float fps,
                                             int id, QImage& im)
{
    if (pass_id != passId)
        return;
    const bool valid = im.width() > 0 && im.height() > 0;
    if (restartCounts && valid) {
        // The link came back: what the device counted meanwhile, or whether
        // it started again, is unknown. The display counts from here.
        restartCounts = false;
        lastIn = baseIn = in_cnt;
        lastOut = baseOut = out_cnt;
        restartLabel->setText(tr("from %0").arg(QTime::currentTime().toString(QStringLiteral("HH:mm"))));
        restartLabel->setToolTip(tr("The counts started again when the link came back"));
        restartLabel->show();
    }
    // A counter that goes backwards (device restart) starts the display again.
    if (lastIn > in_cnt)
        lastIn = baseIn = in_cnt;
    if (lastOut > out_cnt)
        lastOut = baseOut = out_cnt;
    if (pictureState == PictureState::Live)
        fpsLabel->setText(tr("fps: %0").arg(double(fps)));
    lastIn = in_cnt;
    lastOut = out_cnt;

    if (!valid) {
        if (id == 3)
            qCDebug(lcClientUi) << "depth";
        return;
    }
    // A picture decoded smaller than it is (at the size the view shows it)
    // says by its device pixel ratio how much smaller; the scene and every
    // figure stay in the picture's own pixels.
    const QSize size = PictureSize(im);
    const bool stored_size = id >= 1 && id <= 5;
    const bool new_size = stored_size && size != imageSizes[size_t(id - 1)];
    if (new_size)
        imageSizes[size_t(id - 1)] = size;
    if (id == 1 || id == 2) {
        if (new_size) {
            viewer->setImageSize(size);
            imageWidth = size.width();
            imageHeight = size.height();
            lineFigure->sceneWidth = imageWidth;
            lineFigure->sceneHeight = imageHeight;
            lineFigure->setLineWidth(float(size.width() / 40));
            zoneFigure->resize(imageWidth, imageHeight);
            PlaceStaleCover();
            PublishShownScale();
        }
        if (((viewMode == 0 && id == 1) || (viewMode == 1 && id == 2)) && pixmapItem) {
            ShowPicture(im);
            ++picturesShown;
            sincePicture.start();
            if (pictureState != PictureState::Live) {
                sCheckPicture();
                if (pictureState == PictureState::Live)
                    fpsLabel->setText(tr("fps: %0").arg(double(fps)));
            }
        }
    }
    inLabel->setText(tr("In:%0").arg(lastIn - baseIn));
    outLabel->setText(tr("Out:%0").arg(lastOut - baseOut));
    countsShown = true;
}

QSize KoAlgoServiceControllUI::PictureSize(const QImage& im)
{
    const qreal ratio = im.devicePixelRatio();
    if (ratio == 1.0 || !(ratio > 0))
        return im.size();
    return QSize(qRound(im.width() / ratio), qRound(im.height() / ratio));
}

void KoAlgoServiceControllUI::ShowPicture(const QImage& im)
{
    // The pixmap keeps the decoded pixels; the item scales them back to the
    // picture's size, so the view draws them once, straight to the screen.
    QPixmap pixmap = QPixmap::fromImage(im);
    const qreal ratio = pixmap.devicePixelRatio();
    if (ratio > 0 && ratio != 1.0)
        pixmap.setDevicePixelRatio(1.0);
    const qreal scale = ratio > 0 ? 1.0 / ratio : 1.0;
    if (pixmapItem->scale() != scale)
        pixmapItem->setScale(scale);
    pixmapItem->setPixmap(pixmap);
    // The picture is opaque: the view paints nothing under it.
    viewer->view->setOpaqueArea(pixmapItem->sceneBoundingRect());
}

void KoAlgoServiceControllUI::PublishShownScale()
{
    // Device pixels per picture pixel in the view: the link decodes the next
    // pictures no larger than that.
    const double scale = viewer->currentScale() * viewer->view->devicePixelRatioF();
    if (link && scale != publishedScale) {
        publishedScale = scale;
        link->SetShownScale(passId, scale);
    }
}

void KoAlgoServiceControllUI::sObjectsTracked(int id, const std::vector<KoObjectData>& vobjects,
                                              int, int)
{
    if (id != passId)
        return;
    int n = int(vobjects.size());
    if (n > MaxMarks) {
        qCDebug(lcClientUi) << "tracked objects:" << n << "in one message, the first" << MaxMarks
                            << "drawn";
        n = MaxMarks;
    }
    for (auto it = trackLengths.begin(); it != trackLengths.end();) {
        const int object_id = it.key();
        const bool present =
            std::any_of(vobjects.begin(), vobjects.begin() + n,
                        [object_id](const KoObjectData& o) { return o.id == object_id; });
        it = present ? std::next(it) : trackLengths.erase(it);
    }

    // The pool grows to the largest count seen (up to the cap) and is reused.
    // A mark keeps its shape around the object's point and is moved there:
    // moving keeps its cached picture, which only a new colour or text
    // redraws.
    while (objectRects.size() < n) {
        objectRects.append(scene.addRect(-15, -15, 30, 30));
        objectDots.append(scene.addEllipse(-1, -1, 2, 2));
        stateTexts.append(scene.addText(QString()));
        lengthTexts.append(scene.addText(QString()));
        for (QGraphicsItem* item : std::initializer_list<QGraphicsItem*>{
                 objectRects.last(), objectDots.last(), stateTexts.last(), lengthTexts.last()}) {
            item->setZValue(MarkZ);
            item->setCacheMode(QGraphicsItem::DeviceCoordinateCache);
        }
        markDrawn.append(true); // reset below into its empty form
    }

    // Every slot shows this message's object or nothing: a slot never keeps
    // a mark, or a track length, of an earlier message.
    for (int k = 0; k < objectRects.size(); ++k) {
        if (k >= n || vobjects[size_t(k)].state == 0) {
            ResetMark(k);
            continue;
        }
        const KoObjectData& object = vobjects[size_t(k)];
        const QColor color = ObjectColor(object.id);
        const int x0 = object.x - 15;
        const int y0 = object.y - 15;
        objectRects[k]->setPos(object.x, object.y);
        objectRects[k]->setPen(MarkPen(color));
        objectRects[k]->setVisible(true);
        objectDots[k]->setPos(object.x, object.y);
        objectDots[k]->setPen(QPen(color));
        objectDots[k]->setBrush(QBrush(color, Qt::SolidPattern));
        objectDots[k]->setVisible(true);
        stateTexts[k]->setPos(x0 - 5, y0 + 25);
        SetText(stateTexts[k],
                object.state == 2   ? QStringLiteral("IN")
                : object.state == 4 ? QStringLiteral("OUT")
                                    : QString(),
                color);
        lengthTexts[k]->setPos(x0 - 5, y0 + 13);
        // A long track is remembered and shown once it has become short.
        QString length;
        if (object.trackLength > 20)
            trackLengths[object.id] = object.trackLength;
        else if (trackLengths.contains(object.id))
            length = QStringLiteral("%0").arg(trackLengths[object.id]);
        SetText(lengthTexts[k], length, color);
        markDrawn[k] = true;
    }
}

void KoAlgoServiceControllUI::ResetMark(int k)
{
    // Hidden rather than shrunk: a hidden item costs no painting at all.
    if (!markDrawn[k])
        return;
    markDrawn[k] = false;
    for (QGraphicsItem* item : std::initializer_list<QGraphicsItem*>{
             objectRects[k], objectDots[k], stateTexts[k], lengthTexts[k]})
        item->setVisible(false);
    SetPlainText(stateTexts[k], QString());
    SetPlainText(lengthTexts[k], QString());
}

void KoAlgoServiceControllUI::sUserParamsRecieved(int id, const KoUserParams& params)
{
    if (id != passId)
        return;
    lineFigure->setPoints(params.line);
    zoneFigure->setZone(params.zone);
    lineFigure->acceptChanges();
    SetEditsPending(false);
    zoneFigure->acceptChanges();
    // The device sends the line back once it has taken it.
    if (installPending) {
        installPending = false;
        KoCommandOutcome::Confirm(this, tr("Counting line and zone of pass %1 installed").arg(passId));
    }
}

void KoAlgoServiceControllUI::sMountDataRecieved(int id, const ClientOptions& options)
{
    if (id != passId)
        return;
    KoSettingsWriter writer(KoSettingsWriter::Terminator::SemicolonCrLf);
    writer.AddNumber("KO_CAM_MOUNT_HEIGHT", options.camMountHeight);
    writer.AddNumber("KO_CAM_VIEW_ANGLE", options.camViewAngle);
    writer.AddNumber("KO_CAM_ANGLE_SLOPE", options.camAngleSlope);
    writer.AddNumber("KO_MIN_OBJECT_HEIGHT", options.minObjectHeight);
    writer.AddNumber("KO_MIN_HEAD_SQUARE", options.minHeadSquare);
    writer.AddNumber("KO_MAX_HUMAN_VELOCITY", options.maxHumanVelocity);
    writer.AddNumber("KO_HEAD_SIZE", options.headSize);
    writer.AddNumber("KO_MIN_TRACK_LENGHT", options.minTrackLenght);
    writer.AddNumber("KO_MIN_LOST_OBJECT_FRAMES", options.minLostObjectFrames);
    writer.AddNumber("KO_ETALON_HEIGHT", options.etalonHeight);
    SaveReported(writer, KoSettingsWriter::PassFileName(QStringLiteral("params%0.txt"), passId));
}

void KoAlgoServiceControllUI::sCameraOptionsRecieved(int id, int, const KoCameraNums& options)
{
    if (id != passId)
        return;
    KoSettingsWriter writer(KoSettingsWriter::Terminator::SemicolonCrLf);
    writer.AddNumber("KO_LEFT_CAM_ID", options.left);
    writer.AddNumber("KO_RIGHT_CAM_ID", options.right);
    SaveReported(writer, KoSettingsWriter::PassFileName(QStringLiteral("cameras%0.txt"), passId));
}

void KoAlgoServiceControllUI::SaveReported(const KoSettingsWriter& writer, const QString& name)
{
    // A capture's values are another device's, or another day's.
    if (replay)
        return;
    // Reached from the reader's delivery: a line in the status bar, never a
    // box that would hold the pictures back.
    QString error;
    if (!writer.Save(name, &error))
        KoCommandOutcome::Confirm(this, tr("Cannot save %1: %2").arg(name, error));
}

void KoAlgoServiceControllUI::sDispOptionsRecieved(int id, const KoDispConvertOptions& options)
{
    if (id == passId)
        dispOptions = options;
}

void KoAlgoServiceControllUI::sRecorded(int id, int res)
{
    if (id != passId)
        return;
    if (res > 0)
        stereoCheck->setChecked(true);
    recording = res != 0;
    recordButton->setIcon(recording ? stopIcon : QIcon(recordPixmap));
    UpdateControls();
}

void KoAlgoServiceControllUI::sStopRecord(int id)
{
    if (id != passId)
        return;
    recording = false;
    recordButton->setIcon(QIcon(recordPixmap));
    UpdateControls();
}

void KoAlgoServiceControllUI::sFilesCountInfo(int pass_id, int frames_counted, int total_frames,
                                              QString fname)
{
    if (pass_id != passId)
        return;
    if (!countedFilesLabel) {
        // The line adds its own height; a fixed minimum would push the
        // doors out of a small window.
        countedFilesLabel = new QLabel(tr("Counted files: "), this);
        countedFilesLabel->setWordWrap(true);
        auto* files_layout = new QVBoxLayout;
        files_layout->addWidget(countedFilesLabel);
        mainLayout->addLayout(files_layout);
    }
    countedFilesLabel->setText(
        tr("Counted files: %0/%1 of file: %3").arg(frames_counted).arg(total_frames).arg(fname));
}

void KoAlgoServiceControllUI::RouteMouse(void (KoBaseFigure::*operation)(int, int), int x, int y)
{
    if (KoBaseFigure::routeMouse(figures, operation, x, y))
        SetEditsPending(true);
}

void KoAlgoServiceControllUI::sMouseMoveEvL(int x, int y)
{
    RouteMouse(&KoBaseFigure::sceneMouseMove, x, y);
}

void KoAlgoServiceControllUI::sMousePressEvL(int x, int y)
{
    RouteMouse(&KoBaseFigure::sceneMousePress, x, y);
}

void KoAlgoServiceControllUI::sMouseRightPressEvL(int x, int y)
{
    RouteMouse(&KoBaseFigure::sceneMouseRightPress, x, y);
}

void KoAlgoServiceControllUI::sMouseReleaseEvL(int x, int y)
{
    RouteMouse(&KoBaseFigure::sceneMouseRelease, x, y);
}

void KoAlgoServiceControllUI::sClearChanges()
{
    lineFigure->cancelChanges();
    SetEditsPending(false);
    zoneFigure->cancelChanges();
}

void KoAlgoServiceControllUI::sDefaultsLine()
{
    SetEditsPending(true);
    lineFigure->resetToDefault();
    zoneFigure->resetToDefault();
}

void KoAlgoServiceControllUI::sInstallChanges()
{
    // Committed only when the device sends the parameters back.
    KoUserParams params;
    params.count = lineFigure->editingPoints.size();
    params.line = lineFigure->editingPoints;
    params.zone = zoneFigure->zone();
    installPending = KoCommandOutcome::Report(
        this, link && link->SendUserParams(passId, params),
        tr("Counting line and zone of pass %1 sent").arg(passId));
}

void KoAlgoServiceControllUI::sOptionsClicked()
{
    emit eOptionsReq(passId);
}

void KoAlgoServiceControllUI::sViewModeChanged(int indx)
{
    viewMode = indx;
    sSendViewMode();
    // The other camera's pictures count from now on.
    sincePicture.invalidate();
    sCheckPicture();
}

void KoAlgoServiceControllUI::sClearInOut()
{
    baseIn = lastIn;
    baseOut = lastOut;
    inLabel->setText(tr("In: %0").arg(lastIn - baseIn));
    outLabel->setText(tr("Out: %0").arg(lastOut - baseOut));
    restartLabel->hide();
}

void KoAlgoServiceControllUI::sRecordButClicked()
{
    if (recording) {
        KoCommandOutcome::Report(this, link && link->StopRecord(passId),
                                 tr("Stop of the recording of pass %1 sent").arg(passId));
        return;
    }
    // Only a count in the field's range is sent (the button waits for one).
    if (!framesEdit->hasAcceptableInput())
        return;
    int frames = framesEdit->text().toInt();
    if (!stereoCheck->isChecked())
        frames = -frames; // a one-camera recording
    KoCommandOutcome::Report(this, link && link->WriteVideo(passId, frames),
                             tr("Recording of pass %1 asked for").arg(passId));
}

void KoAlgoServiceControllUI::sSendViewMode()
{
    if (!link || !isEnabled() || replay)
        return;
    const int mode = viewMode == 0 ? 1 : viewMode == 1 ? 2 : 0;
    link->SendViewMode(passId, mode);
}

void KoAlgoServiceControllUI::sLinkChanged(bool connected)
{
    if (connected == linkUp)
        return;
    linkUp = connected;
    if (connected) {
        // Counts shown before the link went start again with it; the first
        // connection shows the device's counts as they are.
        restartCounts = countsShown;
    } else if (recording) {
        // Whether the recording goes on is unknown; the device tells again.
        recording = false;
        recordButton->setIcon(QIcon(recordPixmap));
    }
    sCheckPicture();
    UpdateControls();
}

void KoAlgoServiceControllUI::SetReplay(bool on)
{
    if (on == replay)
        return;
    replay = on;
    replayFrozen = false;
    if (on)
        RestartCounts();
    sincePicture.invalidate();
    sCheckPicture();
    UpdateControls();
}

void KoAlgoServiceControllUI::SetReplayFrozen(bool frozen)
{
    if (frozen == replayFrozen)
        return;
    replayFrozen = frozen;
    // Going on, the picture counts as fresh until the next one is late.
    if (!frozen && sincePicture.isValid())
        sincePicture.start();
    sCheckPicture();
}

void KoAlgoServiceControllUI::RestartCounts()
{
    restartCounts = false;
    countsShown = false;
    lastIn = baseIn = 0;
    lastOut = baseOut = 0;
    restartLabel->hide();
    inLabel->setText(tr("In: %0").arg(0));
    outLabel->setText(tr("Out: %0").arg(0));
    for (int k = 0; k < objectRects.size(); ++k)
        ResetMark(k);
    trackLengths.clear();
}

void KoAlgoServiceControllUI::sCheckPicture()
{
    PictureState state = PictureState::Live;
    if (!linkUp && !replay)
        state = PictureState::NoLink;
    else if (viewMode == 2)
        state = PictureState::Paused;
    else if (replayFrozen)
        state = sincePicture.isValid() ? PictureState::Live : PictureState::NoPicture;
    else if (!sincePicture.isValid() || sincePicture.elapsed() > StaleMs)
        state = PictureState::NoPicture;
    if (state == pictureState)
        return;
    pictureState = state;
    const bool live = state == PictureState::Live;
    switch (state) {
    case PictureState::Live:
        break;
    case PictureState::NoPicture:
        staleText->setText(tr("No picture"));
        break;
    case PictureState::Paused:
        staleText->setText(tr("Paused"));
        break;
    case PictureState::NoLink:
        staleText->setText(tr("No connection"));
        break;
    }
    staleCover->setVisible(!live);
    PlaceStaleCover();
    for (QLabel* label : {inLabel, outLabel, fpsLabel})
        label->setEnabled(live);
    if (!live) {
        fpsLabel->setText(tr("fps: %0").arg(0));
        for (int k = 0; k < objectRects.size(); ++k)
            ResetMark(k);
    }
}

void KoAlgoServiceControllUI::sSnapshot()
{
    // Taken now, before the dialog: the picture the operator saw.
    const QImage image = KoSceneSnapshot::Render(scene);
    const QString folder_key = QStringLiteral("snapshots");
    const QString folder = KoAppData::LastFolder(folder_key, QDir::currentPath());
    const QString path = QFileDialog::getSaveFileName(
        this, tr("Save the snapshot as"),
        QDir(folder).filePath(KoSceneSnapshot::FileName(passId, QDateTime::currentDateTime())),
        tr("PNG pictures (*.png)"));
    if (path.isEmpty())
        return;
    KoAppData::SetLastFolder(folder_key, QFileInfo(path).absolutePath());
    QString error;
    if (KoSceneSnapshot::SavePng(image, path, &error))
        KoCommandOutcome::Confirm(this, tr("Snapshot saved in %1").arg(QDir::toNativeSeparators(path)));
    else
        QMessageBox::critical(this, tr("Error"),
                              tr("The snapshot could not be saved in %1: %2")
                                  .arg(QDir::toNativeSeparators(path), error));
}

void KoAlgoServiceControllUI::PlaceStaleCover()
{
    constexpr qreal Padding = 6;
    const QRectF picture(0, 0, imageWidth, imageHeight);
    staleCover->setRect(picture);
    // The plate keeps its size on screen; its own transform centres it.
    auto* plate = static_cast<QGraphicsRectItem*>(staleText->parentItem());
    const QRectF text = staleText->boundingRect();
    const QRectF box(0, 0, text.width() + 2 * Padding, text.height() + 2 * Padding);
    staleText->setPos(Padding, Padding);
    plate->setRect(box);
    plate->setPos(picture.center());
    plate->setTransform(QTransform::fromTranslate(-box.width() / 2, -box.height() / 2));
}

void KoAlgoServiceControllUI::SetEditsPending(bool pending)
{
    editsPending = pending;
    UpdateControls();
}

void KoAlgoServiceControllUI::UpdateControls()
{
    // What sends to the device waits for a link; editing does not.
    cancelButton->setEnabled(editsPending);
    installButton->setEnabled(editsPending && linkUp);
    optionsButton->setEnabled(linkUp);
    recordButton->setEnabled(linkUp && (recording || framesEdit->hasAcceptableInput()));
}
