#pragma once

#include "ko_capture_format.h"

#include <QObject>
#include <QString>

class KoCapturePlayer;
class KoCaptureRecorder;
class KoClientMultUi;
class KoLinkStatusWidget;
class KoReplayBar;
class QAction;
class QMainWindow;
class QMenu;
class QToolBar;

// Captures in the main window: the File-menu entries that open a capture and
// record one, the replay bar, and the recording's size in the link's status.
// A replay goes through the container (KoClientMultUi::SetReplay), whose
// eReplayChanged every other window follows.
class KoCaptureUi : public QObject
{
    Q_OBJECT

public:
    // The size limit of a recording when configurator.ini names none.
    static constexpr qint64 DefaultLimitMiB = 2048;

    // Puts its entries at the top of file_menu, before what is there.
    KoCaptureUi(QMainWindow* window, KoClientMultUi* container, KoLinkStatusWidget* status,
                QMenu* file_menu);
    ~KoCaptureUi() override;

    // Plays a capture from its start; false with the reason in error when it
    // cannot be read.
    bool OpenCapture(const QString& path, QString* error = nullptr);
    void CloseCapture();
    bool StartRecording(const QString& path, QString* error = nullptr);
    bool StopRecording(QString* error = nullptr);

    // The recording's size limit: "capture/size_limit_mib" in configurator.ini.
    static qint64 SizeLimit();

    KoCapturePlayer* Player() const { return player; }
    KoCaptureRecorder* Recorder() const { return recorder; }
    KoReplayBar* Bar() const { return bar; }
    QAction* OpenAction() const { return openAction; }
    QAction* CloseAction() const { return closeAction; }
    QAction* RecordAction() const { return recordAction; }

private:
    void sOpenCaptureClicked();
    void sRecordClicked();
    void sReplayChanged(bool replaying);
    void sRecordingStopped(ko_capture::EndReason reason, bool kept, const QString& error);
    void ShowRecording();
    void Say(const QString& text);

    QMainWindow* window;
    KoClientMultUi* container;
    KoLinkStatusWidget* status;
    KoCapturePlayer* player = nullptr;
    KoCaptureRecorder* recorder = nullptr;
    KoReplayBar* bar = nullptr;
    QToolBar* barHolder = nullptr;
    QAction* openAction = nullptr;
    QAction* closeAction = nullptr;
    QAction* recordAction = nullptr;
    QString replayPath;
    QString baseTitle; // the window's title without a replay
};
