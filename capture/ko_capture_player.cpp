#include "ko_capture_player.h"

#include <algorithm>

namespace {

// While the receiver is busy, it is asked again after this.
constexpr int HoldMs = 2;
// One tick hands over at most this much before it lets the event loop run,
// so a fast replay keeps the window responsive.
constexpr qint64 TickBytes = 2 * 1024 * 1024;
constexpr qint64 TickMs = 30;
// While no chunk is due, the position is told this often.
constexpr int QuietTickMs = 200;

} // namespace

KoCapturePlayer::KoCapturePlayer(QObject* parent) : QObject(parent)
{
    qRegisterMetaType<KoCaptureReader::Status>();
    qRegisterMetaType<KoCapturePlayer::State>();
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    connect(&timer, &QTimer::timeout, this, &KoCapturePlayer::Tick);
    clock.start();
}

void KoCapturePlayer::SetReceiver(Feed feed_, Busy busy_)
{
    feed = std::move(feed_);
    busy = std::move(busy_);
}

bool KoCapturePlayer::Open(const QString& path, QString* error)
{
    Close();
    if (!reader.Open(path)) {
        if (error)
            *error = reader.ErrorText();
        return false;
    }
    positionUs = 0;
    hasPending = reader.Next(pending);
    SetState(State::Paused);
    return true;
}

void KoCapturePlayer::Close()
{
    timer.stop();
    hasPending = false;
    pending = KoCaptureReader::Chunk();
    SetState(State::Closed);
}

void KoCapturePlayer::SetState(State s)
{
    if (s == state)
        return;
    state = s;
    emit eStateChanged(state);
}

void KoCapturePlayer::Anchor()
{
    anchorWallUs = NowUs();
    anchorUs = positionUs;
    holding = false;
}

qint64 KoCapturePlayer::DueUs(qint64 time_us) const
{
    return anchorWallUs + qint64(double(time_us - anchorUs) / speed);
}

void KoCapturePlayer::Play()
{
    if (state == State::Closed || state == State::Playing)
        return;
    if (state == State::Ended)
        Seek(0);
    Anchor();
    SetState(State::Playing);
    timer.start(0);
}

void KoCapturePlayer::Pause()
{
    if (state != State::Playing)
        return;
    timer.stop();
    if (!holding)
        positionUs = std::max(positionUs, CaptureTimeAt(NowUs()));
    SetState(State::Paused);
}

void KoCapturePlayer::Seek(qint64 time_us)
{
    if (state == State::Closed)
        return;
    time_us = std::clamp<qint64>(time_us, 0, reader.DurationUs());
    reader.Seek(time_us);
    hasPending = reader.Next(pending);
    positionUs = time_us;
    emit eJumped(time_us);
    if (state == State::Ended)
        SetState(State::Paused);
    if (state == State::Paused)
        HandOverUntil(time_us + PreviewUs);
    emit ePositionChanged(positionUs);
    Anchor();
    if (state == State::Playing)
        timer.start(0);
}

void KoCapturePlayer::HandOverUntil(qint64 until_us)
{
    qint64 handed = 0;
    while (hasPending && pending.timeUs <= until_us && handed < TickBytes && !(busy && busy())) {
        if (feed)
            feed(pending.data);
        handed += pending.data.size();
        positionUs = pending.timeUs;
        hasPending = reader.Next(pending);
    }
}

void KoCapturePlayer::SetSpeed(double factor)
{
    factor = std::clamp(factor, 1.0 / MaxSpeed, MaxSpeed);
    if (factor == speed)
        return;
    // The chunk due next keeps its place in the capture; only the pace changes.
    if (state == State::Playing && hasPending && !holding)
        positionUs = std::max(positionUs, CaptureTimeAt(NowUs()));
    speed = factor;
    Anchor();
    if (state == State::Playing)
        timer.start(0);
}

void KoCapturePlayer::Tick()
{
    if (state != State::Playing)
        return;
    const qint64 now = NowUs();
    if (hasPending && busy && busy()) {
        if (!holding) {
            holding = true;
            holdStartUs = now;
        }
        timer.start(HoldMs);
        return;
    }
    if (holding) {
        // The wait moves the rest of the capture later, keeping its spacing.
        anchorWallUs += now - holdStartUs;
        holding = false;
    }
    qint64 handed = 0;
    QElapsedTimer spent;
    spent.start();
    while (hasPending && DueUs(pending.timeUs) <= now) {
        if (feed)
            feed(pending.data);
        handed += pending.data.size();
        positionUs = pending.timeUs;
        hasPending = reader.Next(pending);
        if (!hasPending)
            break;
        if (busy && busy()) {
            holding = true;
            holdStartUs = now;
            emit ePositionChanged(positionUs);
            timer.start(HoldMs);
            return;
        }
        if (handed >= TickBytes || spent.elapsed() >= TickMs) {
            emit ePositionChanged(positionUs);
            timer.start(0);
            return;
        }
    }
    if (!hasPending) {
        emit ePositionChanged(positionUs);
        Finish();
        return;
    }
    // A quiet stretch of the capture (the device was away) still moves on.
    positionUs = std::max(positionUs, CaptureTimeAt(now));
    emit ePositionChanged(positionUs);
    const qint64 wait_us = DueUs(pending.timeUs) - now;
    timer.start(int(std::min<qint64>((wait_us + 999) / 1000, QuietTickMs)));
}

qint64 KoCapturePlayer::CaptureTimeAt(qint64 now_us) const
{
    const qint64 at = anchorUs + qint64(double(now_us - anchorWallUs) * speed);
    return hasPending ? std::min(at, pending.timeUs) : at;
}

void KoCapturePlayer::Finish()
{
    timer.stop();
    SetState(State::Ended);
    emit eEnded(reader.CurrentStatus());
}
