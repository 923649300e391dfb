#pragma once

#include "ko_capture_player.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QPushButton;
class QSlider;
class QToolButton;

// The controls of a replay, shown above the tabs while a capture plays: what
// plays (file, device, when it was recorded), play and pause, the position
// with a slider, the speed, how the replay ended, and a button to close it.
class KoReplayBar : public QWidget
{
    Q_OBJECT

public:
    static const double Speeds[];

    KoReplayBar(KoCapturePlayer* player, QWidget* parent = nullptr);

    // Called when a capture has been opened: its name and header.
    void ShowCapture(const QString& path);
    // How the replay ended; empty while it plays.
    QString EndText() const;

    // "1:02.3": minutes, seconds and tenths.
    static QString TimeText(qint64 time_us);

    QLabel* titleLabel = nullptr;
    QToolButton* playButton = nullptr;
    QSlider* slider = nullptr;
    QLabel* timeLabel = nullptr;
    QComboBox* speedCombo = nullptr;
    QLabel* endLabel = nullptr;
    QPushButton* closeButton = nullptr;

signals:
    void eCloseClicked();

private:
    void sStateChanged(KoCapturePlayer::State state);
    void sPositionChanged(qint64 time_us);
    void sEnded(KoCaptureReader::Status status);
    void sPlayClicked();
    void sSliderMoved();

    KoCapturePlayer* player;
};
