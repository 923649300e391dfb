#pragma once

#include "ko_device_records.h"

#include <QElapsedTimer>
#include <QGraphicsScene>
#include <QIcon>
#include <QList>
#include <QMap>
#include <QPixmap>
#include <QSize>
#include <QTimer>
#include <QVector>
#include <QWidget>

#include <array>
#include <vector>

class KoSettingsWriter;

class KoBaseFigure;
class KoCrossLineFigure;
class KoSelectorFigure;
class KoTcpClient;
class KoViewer;
class QCheckBox;
class QComboBox;
class QGraphicsEllipseItem;
class QGraphicsPixmapItem;
class QGraphicsRectItem;
class QGraphicsSimpleTextItem;
class QGraphicsTextItem;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class QVBoxLayout;

// The live panel of one pass: the camera picture, the counts, the tracked
// objects, the counting line and zone editors and the recording controls.
// Every device slot takes a pass id and ignores data of other passes.
class KoAlgoServiceControllUI : public QWidget
{
    Q_OBJECT

public:
    // What the picture shows: the live stream, or why it stopped.
    enum class PictureState
    {
        Live,
        NoPicture, // linked, but no picture for more than StaleMs
        Paused,    // "No send": the device was asked for no picture
        NoLink,
    };
    static constexpr int StaleMs = 1000;
    // A message may be valid on the wire and still ask for a million marks.
    static constexpr int MaxMarks = 256;
    // The smallest picture view: four of them and their controls fit a
    // window of 1024 x 640.
    static constexpr int MinViewWidth = 160;
    static constexpr int MinViewHeight = 100;

    KoAlgoServiceControllUI(int pass_id, QWidget* parent = nullptr);

    // Colour of the marks of a tracked object id: the same for an id within
    // a run, never darker than a component sum of 255.
    static QColor ObjectColor(int id);

    // Pictures handed to the panels' views since the start, all panels
    // together (GUI thread); the soak script has it printed at exit.
    static quint64 PicturesShown() { return picturesShown; }

    int passId = 0;
    KoDispConvertOptions dispOptions;
    int viewMode = 0;
    bool recording = false;
    bool installPending = false; // an installed line waits for the device's echo
    KoTcpClient* link = nullptr; // set by the container, not owned

    KoViewer* viewer = nullptr;
    QComboBox* viewModeCombo = nullptr;
    QMap<int, int> trackLengths;
    QLabel* inLabel = nullptr;
    QLabel* outLabel = nullptr;
    QLabel* fpsLabel = nullptr;
    QLabel* countedFilesLabel = nullptr;
    QGraphicsScene scene;
    QLineEdit* framesEdit = nullptr;
    QPixmap recordPixmap;
    QIcon stopIcon;
    QPushButton* recordButton = nullptr;
    QPushButton* clearButton = nullptr;
    QPushButton* installButton = nullptr;
    QPushButton* defaultButton = nullptr;
    QPushButton* cancelButton = nullptr;
    QPushButton* optionsButton = nullptr;
    QCheckBox* stereoCheck = nullptr;
    QGraphicsPixmapItem* pixmapItem = nullptr;
    float imageWidth = 0;
    float imageHeight = 0;
    KoCrossLineFigure* lineFigure = nullptr;
    KoSelectorFigure* zoneFigure = nullptr;
    QList<KoBaseFigure*> figures;
    QVector<QGraphicsRectItem*> objectRects;
    QVector<QGraphicsEllipseItem*> objectDots;
    QVector<QGraphicsTextItem*> stateTexts;
    QVector<QGraphicsTextItem*> lengthTexts;
    QVector<bool> markDrawn; // slot k shows an object of the last message
    int lastIn = 0;
    int lastOut = 0;
    int baseIn = 0;
    int baseOut = 0;
    std::array<QSize, 5> imageSizes{}; // picture ids 1 to 5
    QVBoxLayout* mainLayout = nullptr;
    QTimer viewModeTimer;

    bool linkUp = false;        // the link is connected
    bool replay = false;        // a capture plays: pictures are live, nothing is sent
    bool replayFrozen = false;  // the replay is paused or ended: the picture stays as it is
    bool editsPending = false;  // the line or zone differs from what the device confirmed
    bool countsShown = false;   // a picture's counts have been shown
    bool restartCounts = false; // the next picture's counts become the base
    QLabel* restartLabel = nullptr;  // the time the counts started again after a reconnect
    QToolButton* fitButton = nullptr;
    QToolButton* snapshotButton = nullptr; // the view as PNG
    PictureState pictureState = PictureState::NoLink;
    QGraphicsRectItem* staleCover = nullptr;       // greys a picture that is not live
    QGraphicsSimpleTextItem* staleText = nullptr;  // and says why
    QElapsedTimer sincePicture;                    // since the last picture shown
    QTimer staleTimer;
    double publishedScale = 0; // what the link was last told (0: nothing yet)

signals:
    void eOptionsReq(int pass_id);

public slots:
    void sImageRecieved(int pass_id, int in_cnt, int out_cnt, float fps, int id, QImage& im);
    void sObjectsTracked(int id, const std::vector<KoObjectData>& vobjects, int in_cnt,
                         int out_cnt);
    void sUserParamsRecieved(int id, const KoUserParams& params);
    void sMountDataRecieved(int id, const ClientOptions& options);
    void sCameraOptionsRecieved(int id, int res, const KoCameraNums& options);
    void sDispOptionsRecieved(int id, const KoDispConvertOptions& options);
    void sRecorded(int id, int res);
    void sStopRecord(int id);
    void sFilesCountInfo(int pass_id, int frames_counted, int total_frames, QString fname);
    void sMouseMoveEvL(int x, int y);
    void sMousePressEvL(int x, int y);
    void sMouseRightPressEvL(int x, int y);
    void sMouseReleaseEvL(int x, int y);
    void sClearChanges();
    void sDefaultsLine();
    void sInstallChanges();
    void sOptionsClicked();
    void sViewModeChanged(int indx);
    void sClearInOut();
    void sRecordButClicked();
    void sSendViewMode();
    // The container tells every panel when the link comes and goes.
    void sLinkChanged(bool connected);
    // ... and when a capture plays instead of the device.
    void SetReplay(bool on);
    void SetReplayFrozen(bool frozen);
    // The counts shown from the next picture on are the device's own, as on
    // a first connection (a replay's start, a jump in it).
    void RestartCounts();
    void sCheckPicture();
    // Asks where and saves the picture with its marks, line and zone as PNG.
    void sSnapshot();

private:
    void RouteMouse(void (KoBaseFigure::*operation)(int, int), int x, int y);
    void SetEditsPending(bool pending);
    void UpdateControls();
    void ResetMark(int k);
    void PlaceStaleCover();
    // The picture's own size, also when it was decoded smaller.
    static QSize PictureSize(const QImage& im);
    void ShowPicture(const QImage& im);
    // Tells the link how large this door's pictures are shown.
    void PublishShownScale();
    // Saves a file the device's answer fills; a failure is said in the
    // status bar.
    void SaveReported(const KoSettingsWriter& writer, const QString& name);

    static quint64 picturesShown;
};
