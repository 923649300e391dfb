#include "ko_algo_service_controll_ui.h"

#include "ko_cross_line_figure.h"
#include "ko_selector_figure.h"
#include "ko_settings_writer.h"
#include "ko_tcp_client.h"
#include "ko_viewer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGraphicsEllipseItem>
#include <QGraphicsPixmapItem>
#include <QGraphicsRectItem>
#include <QGraphicsTextItem>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QPen>
#include <QPushButton>
#include <QRandomGenerator>
#include <QStyle>
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

QPen MarkPen(const QColor& color)
{
    return QPen(QBrush(color, Qt::SolidPattern), 2.0, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
}

} // namespace

quint64 KoAlgoServiceControllUI::picturesShown = 0;

KoAlgoServiceControllUI::KoAlgoServiceControllUI(int pass_id, QWidget* parent)
    : QWidget(parent), passId(pass_id)
{
    installButton = new QPushButton(tr("Install changes"), this);
    defaultButton = new QPushButton(tr("Default params"), this);
    cancelButton = new QPushButton(tr("Cancel"), this);
    cancelButton->setFixedWidth(50);
    cancelButton->setEnabled(false);
    installButton->setEnabled(false);
    connect(cancelButton, &QPushButton::clicked, this, &KoAlgoServiceControllUI::sClearChanges);
    connect(defaultButton, &QPushButton::clicked, this, &KoAlgoServiceControllUI::sDefaultsLine);
    connect(installButton, &QPushButton::clicked, this, &KoAlgoServiceControllUI::sInstallChanges);

    auto* bottom_row = new QHBoxLayout;
    optionsButton = new QPushButton(tr("Options"), this);
    optionsButton->setMaximumWidth(50);
    connect(optionsButton, &QPushButton::clicked, this, &KoAlgoServiceControllUI::sOptionsClicked);

    auto* view_mode_label = new QLabel(tr("View mode: "), this);
    viewModeCombo = new QComboBox(this);
    viewModeCombo->setMinimumWidth(100);
    connect(viewModeCombo, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &KoAlgoServiceControllUI::sViewModeChanged);
    viewModeCombo->addItems({tr("Left camera"), tr("Right camera"), tr("No send")});

    viewMode = 0;
    viewer = new KoViewer(this);
    viewer->setMinimumWidth(400);
    viewer->setMinimumHeight(300);
    viewer->setScene(&scene);
    setContentsMargins(0, 0, 0, 0);
    viewer->setControlsHidden(true);

    clearButton = new QPushButton(tr("Clear"), this);
    clearButton->setMaximumWidth(60);
    connect(clearButton, &QPushButton::clicked, this, &KoAlgoServiceControllUI::sClearInOut);

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
    framesEdit->setFixedWidth(45);
    stereoCheck = new QCheckBox(tr("Stereo"), this);
    stereoCheck->setFixedWidth(55);

    for (QWidget* w :
         std::initializer_list<QWidget*>{cancelButton, defaultButton, installButton, optionsButton,
                                         frames_label, framesEdit, stereoCheck, recordButton})
        bottom_row->addWidget(w);

    auto* top_row = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{inLabel, outLabel, clearButton,
                                                      view_mode_label, viewModeCombo, fpsLabel})
        top_row->addWidget(w);

    mainLayout = new QVBoxLayout;
    mainLayout->addLayout(top_row);
    mainLayout->addWidget(viewer);
    mainLayout->addLayout(bottom_row);
    setLayout(mainLayout);

    connect(viewer, &KoViewer::eMouseMoveEv, this, &KoAlgoServiceControllUI::sMouseMoveEvL);
    connect(viewer, &KoViewer::eMousePressEv, this, &KoAlgoServiceControllUI::sMousePressEvL);
    connect(viewer, &KoViewer::eMouseRightPressEv, this,
            &KoAlgoServiceControllUI::sMouseRightPressEvL);
    connect(viewer, &KoViewer::eMouseReleaseEv, this, &KoAlgoServiceControllUI::sMouseReleaseEvL);
    connect(recordButton, &QPushButton::clicked, this, &KoAlgoServiceControllUI::sRecordButClicked);

    // The scene is new and empty: the figures below add their items to it
    // and it must never be cleared afterwards.
    // The viewer's minimum size: the panel is not shown yet.
    QImage placeholder(QSize(400, 300), QImage::Format_RGB888);
    placeholder.fill(Qt::black);
    pixmapItem = scene.addPixmap(QPixmap::fromImage(placeholder));
    imageWidth = placeholder.width();
    imageHeight = placeholder.height();
    scene.setSceneRect(0, 0, imageWidth, imageHeight);

    lineFigure = new KoCrossLineFigure(this, &scene);
    zoneFigure = new KoSelectorFigure(this, &scene);
    figures = {zoneFigure, lineFigure};

    framesEdit->setText(QStringLiteral("8000"));

    connect(&viewModeTimer, &QTimer::timeout, this, &KoAlgoServiceControllUI::sSendViewMode);
    viewModeTimer.setInterval(1000);
    viewModeTimer.start();
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
    // A counter that goes backwards (device restart) starts the display again.
    if (lastIn > in_cnt)
        lastIn = baseIn = in_cnt;
    if (lastOut > out_cnt)
        lastOut = baseOut = out_cnt;
    fpsLabel->setText(tr("fps: %0").arg(double(fps)));
    lastIn = in_cnt;
    lastOut = out_cnt;

    if (im.width() <= 0 || im.height() <= 0) {
        if (id == 3)
            qCDebug(lcClientUi) << "depth";
        return;
    }
    const bool stored_size = id >= 1 && id <= 5;
    const bool new_size = stored_size && im.size() != imageSizes[size_t(id - 1)];
    if (new_size)
        imageSizes[size_t(id - 1)] = im.size();
    if (id == 1 || id == 2) {
        if (new_size) {
            viewer->setImageSize(im.size());
            imageWidth = im.width();
            imageHeight = im.height();
            lineFigure->sceneWidth = imageWidth;
            lineFigure->sceneHeight = imageHeight;
            lineFigure->setLineWidth(float(im.width() / 40));
            zoneFigure->resize(imageWidth, imageHeight);
        }
        if (((viewMode == 0 && id == 1) || (viewMode == 1 && id == 2)) && pixmapItem) {
            pixmapItem->setPixmap(QPixmap::fromImage(im));
            ++picturesShown;
        }
    }
    inLabel->setText(tr("In:%0").arg(lastIn - baseIn));
    outLabel->setText(tr("Out:%0").arg(lastOut - baseOut));
}

void KoAlgoServiceControllUI::sObjectsTracked(int id, const std::vector<KoObjectData>& vobjects,
                                              int, int)
{
    if (id != passId)
        return;
    for (auto it = trackLengths.begin(); it != trackLengths.end();) {
        const int object_id = it.key();
        const bool present =
            std::any_of(vobjects.begin(), vobjects.end(),
                        [object_id](const KoObjectData& o) { return o.id == object_id; });
        it = present ? std::next(it) : trackLengths.erase(it);
    }

    const int n = int(vobjects.size());
    const int p = objectRects.size();
    if (n <= p) {
        for (int k = 0; k < p; ++k) {
            objectRects[k]->setRect(0, 0, 0, 0);
            objectRects[k]->setPen(MarkPen(Qt::black));
            objectDots[k]->setRect(0, 0, 0, 0);
            objectDots[k]->setPen(QPen(Qt::black));
            for (QGraphicsTextItem* text : {stateTexts[k], lengthTexts[k]}) {
                text->setPos(0, 0);
                SetPlainText(text, QString());
                text->setDefaultTextColor(Qt::black);
            }
        }
    } else {
        for (int k = p; k < n; ++k) {
            objectRects.append(scene.addRect(0, 0, 0, 0));
            objectDots.append(scene.addEllipse(0, 0, 0, 0));
            stateTexts.append(scene.addText(QString()));
            lengthTexts.append(scene.addText(QString()));
        }
    }

    for (int k = 0; k < n; ++k) {
        const KoObjectData& object = vobjects[size_t(k)];
        if (object.state == 0)
            continue;
        const QColor color = ObjectColor(object.id);
        const int x0 = object.x - 15;
        const int y0 = object.y - 15;
        objectRects[k]->setRect(x0, y0, 30, 30);
        objectRects[k]->setPen(MarkPen(color));
        objectDots[k]->setRect(object.x - 1, object.y - 1, 2, 2);
        objectDots[k]->setPen(QPen(color));
        objectDots[k]->setBrush(QBrush(color, Qt::SolidPattern));
        stateTexts[k]->setPos(x0 - 5, y0 + 25);
        SetPlainText(stateTexts[k], object.state == 2   ? QStringLiteral("IN")
                                    : object.state == 4 ? QStringLiteral("OUT")
                                                        : QString());
        stateTexts[k]->setDefaultTextColor(color);
        lengthTexts[k]->setPos(x0 - 5, y0 + 13);
        if (object.trackLength > 20)
            trackLengths[object.id] = object.trackLength;
        else if (trackLengths.contains(object.id))
            SetPlainText(lengthTexts[k], QStringLiteral("%0").arg(trackLengths[object.id]));
        lengthTexts[k]->setDefaultTextColor(color);
    }
}

void KoAlgoServiceControllUI::sUserParamsRecieved(int id, const KoUserParams& params)
{
    if (id != passId)
        return;
    lineFigure->setPoints(params.line);
    zoneFigure->setZone(params.zone);
    lineFigure->acceptChanges();
    cancelButton->setEnabled(false);
    installButton->setEnabled(false);
    zoneFigure->acceptChanges();
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
    writer.Save(KoSettingsWriter::PassFileName(QStringLiteral("params%0.txt"), passId));
}

void KoAlgoServiceControllUI::sCameraOptionsRecieved(int id, int, const KoCameraNums& options)
{
    if (id != passId)
        return;
    KoSettingsWriter writer(KoSettingsWriter::Terminator::SemicolonCrLf);
    writer.AddNumber("KO_LEFT_CAM_ID", options.left);
    writer.AddNumber("KO_RIGHT_CAM_ID", options.right);
    writer.Save(KoSettingsWriter::PassFileName(QStringLiteral("cameras%0.txt"), passId));
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
}

void KoAlgoServiceControllUI::sStopRecord(int id)
{
    if (id != passId)
        return;
    recording = false;
    recordButton->setIcon(QIcon(recordPixmap));
}

void KoAlgoServiceControllUI::sFilesCountInfo(int pass_id, int frames_counted, int total_frames,
                                              QString fname)
{
    if (pass_id != passId)
        return;
    if (!countedFilesLabel) {
        setMinimumHeight(395);
        countedFilesLabel = new QLabel(tr("Counted files: "), this);
        auto* files_layout = new QVBoxLayout;
        files_layout->addWidget(countedFilesLabel);
        mainLayout->addLayout(files_layout);
    }
    countedFilesLabel->setText(
        tr("Counted files: %0/%1 of file: %3").arg(frames_counted).arg(total_frames).arg(fname));
}

void KoAlgoServiceControllUI::RouteMouse(void (KoBaseFigure::*operation)(int, int), int x, int y)
{
    if (KoBaseFigure::routeMouse(figures, operation, x, y)) {
        cancelButton->setEnabled(true);
        installButton->setEnabled(true);
    }
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
    cancelButton->setEnabled(false);
    installButton->setEnabled(false);
    zoneFigure->cancelChanges();
}

void KoAlgoServiceControllUI::sDefaultsLine()
{
    cancelButton->setEnabled(true);
    installButton->setEnabled(true);
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
    if (link)
        link->SendUserParams(passId, params);
}

void KoAlgoServiceControllUI::sOptionsClicked()
{
    emit eOptionsReq(passId);
}

void KoAlgoServiceControllUI::sViewModeChanged(int indx)
{
    viewMode = indx;
    sSendViewMode();
}

void KoAlgoServiceControllUI::sClearInOut()
{
    baseIn = lastIn;
    baseOut = lastOut;
    inLabel->setText(tr("In: %0").arg(lastIn - baseIn));
    outLabel->setText(tr("Out: %0").arg(lastOut - baseOut));
}

void KoAlgoServiceControllUI::sRecordButClicked()
{
    bool ok = false;
    int frames = framesEdit->text().toInt(&ok, 10);
    if (!stereoCheck->isChecked())
        frames = -frames; // a one-camera recording
    if (!link)
        return;
    if (recording)
        link->StopRecord(passId);
    else if (ok)
        link->WriteVideo(passId, frames);
}

void KoAlgoServiceControllUI::sSendViewMode()
{
    if (!link || !isEnabled())
        return;
    const int mode = viewMode == 0 ? 1 : viewMode == 1 ? 2 : 0;
    link->SendViewMode(passId, mode);
}
