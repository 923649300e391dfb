#include "ko_capture_recorder.h"

#include "ko_capture_log.h"
#include "ko_tcp_client.h"

#include <QDateTime>
#include <QHostAddress>

using ko_capture::EndReason;

KoCaptureRecorder::KoCaptureRecorder(QObject* parent, int tick_ms) : QObject(parent)
{
    tick.setInterval(tick_ms);
    connect(&tick, &QTimer::timeout, this, &KoCaptureRecorder::sTick);
}

KoCaptureRecorder::~KoCaptureRecorder()
{
    Stop(EndReason::Closed);
}

bool KoCaptureRecorder::Start(KoTcpClient* link_, const QString& path_, qint64 limit,
                              QString* error)
{
    Stop();
    KoCaptureHeader header;
    header.startMs = QDateTime::currentMSecsSinceEpoch();
    // The link connects to the local host when it has no name.
    header.host = link_->HostName().isEmpty() ? QHostAddress(QHostAddress::LocalHost).toString()
                                              : link_->HostName();
    header.port = link_->Port();
    writer.SetLimit(limit);
    if (!writer.Open(path_, header)) {
        if (error)
            *error = writer.ErrorString();
        return false;
    }
    link = link_;
    path = path_;
    recording = true;
    clock.start();
    connect(link, &KoTcpClient::eBytesReceived, this, &KoCaptureRecorder::sBytesReceived);
    // A capture holds one device.
    connect(link, &KoTcpClient::eTargetChanged, this,
            [this] { StopBySelf(EndReason::TargetChanged); });
    tick.start();
    qCDebug(lcCapture) << "recording to" << path;
    emit eSizeChanged(Size());
    return true;
}

bool KoCaptureRecorder::Stop(EndReason reason, QString* error)
{
    if (!recording)
        return true;
    recording = false;
    if (link)
        link->disconnect(this);
    link = nullptr;
    tick.stop();
    const bool kept = writer.Finish(reason);
    if (!kept && error)
        *error = writer.ErrorString();
    qCDebug(lcCapture) << "recording ended" << int(reason) << "kept" << kept;
    return kept;
}

void KoCaptureRecorder::sBytesReceived(const QByteArray& data)
{
    if (!writer.Append(clock.nsecsElapsed() / 1000, data))
        StopBySelf(EndReason::Stopped);
}

void KoCaptureRecorder::sTick()
{
    // A quiet stream still reaches the file, a block a second.
    if (!writer.FlushBlock())
        StopBySelf(EndReason::Stopped);
    else
        emit eSizeChanged(Size());
}

void KoCaptureRecorder::StopBySelf(EndReason reason)
{
    if (!recording)
        return;
    // The limit ends the file properly; a failed write loses it.
    if (writer.CurrentStatus() == KoCaptureWriter::Status::LimitReached)
        reason = EndReason::SizeLimit;
    QString error;
    const bool kept = Stop(reason, &error);
    emit eStopped(reason, kept, error);
}
