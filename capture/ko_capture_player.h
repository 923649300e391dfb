#pragma once

#include "ko_capture_reader.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <functional>

// Plays a capture: hands its chunks to a receiver at the times they arrived,
// at real speed or faster, with pause and jumps. The receiver is the link's
// reader in the tool and a socket in the simulator. While the receiver says
// it is busy the next chunk waits, and the chunks after it keep their
// spacing. Runs on the thread it lives in, driven by a timer.
//
//     KoCapturePlayer player;
//     player.SetReceiver([&](const QByteArray& b) { link->FeedReplay(b); },
//                        [&] { return link->ReplayBusy(); });
//     if (player.Open(path, &error)) player.Play();
class KoCapturePlayer : public QObject
{
    Q_OBJECT

public:
    enum class State
    {
        Closed,
        Playing,
        Paused,
        Ended, // everything that could be read was handed over
    };
    Q_ENUM(State)

    using Feed = std::function<void(const QByteArray&)>;
    using Busy = std::function<bool()>;

    static constexpr double MaxSpeed = 64.0;
    static constexpr qint64 PreviewUs = 250000;

    explicit KoCapturePlayer(QObject* parent = nullptr);

    void SetReceiver(Feed feed, Busy busy);
    // Opens a capture, paused at its start. False with the reason in error.
    bool Open(const QString& path, QString* error = nullptr);
    void Close();

    State CurrentState() const { return state; }
    const KoCaptureReader& Reader() const { return reader; }
    const KoCaptureHeader& Header() const { return reader.Header(); }
    // Where the replay stands in the capture: it moves on with the clock
    // between chunks, and never past the next one.
    qint64 PositionUs() const { return positionUs; }
    qint64 DurationUs() const { return reader.DurationUs(); }
    double Speed() const { return speed; }

public slots:
    void Play();
    void Pause();
    // Jumps to a time of the capture; eJumped comes before the first chunk
    // from there, so the receiver can drop what it holds of earlier ones.
    // A paused replay then hands over what arrived in the PreviewUs after
    // the time, so the pictures show the place it jumped to.
    void Seek(qint64 time_us);
    // 1 is real speed; between 1/64 and 64.
    void SetSpeed(double factor);

signals:
    void eStateChanged(KoCapturePlayer::State state);
    void ePositionChanged(qint64 time_us);
    void eJumped(qint64 time_us);
    // The reader's status at the end: End, Truncated or Damaged.
    void eEnded(KoCaptureReader::Status status);

private:
    void Tick();
    // Hands over, at once, the chunks up to until_us while the receiver takes them.
    void HandOverUntil(qint64 until_us);
    void Finish();
    void SetState(State s);
    void Anchor();
    qint64 NowUs() const { return clock.nsecsElapsed() / 1000; }
    qint64 DueUs(qint64 time_us) const;
    // Where the replay stands in the capture at a moment of the clock.
    qint64 CaptureTimeAt(qint64 now_us) const;

    KoCaptureReader reader;
    Feed feed;
    Busy busy;
    QTimer timer;
    QElapsedTimer clock;
    State state = State::Closed;
    double speed = 1.0;
    KoCaptureReader::Chunk pending;
    bool hasPending = false;
    qint64 positionUs = 0;
    // The moment (on the clock) at which the capture's time anchorUs is due.
    qint64 anchorWallUs = 0;
    qint64 anchorUs = 0;
    bool holding = false;
    qint64 holdStartUs = 0;
};

Q_DECLARE_METATYPE(KoCaptureReader::Status)
