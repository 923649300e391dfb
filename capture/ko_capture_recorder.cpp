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
    busyNs = 0;
    clock.start();
    connect(link, &KoTcpClient::eBytesReceived, this, &KoCaptureRecorder::sBytesReceived);
    // A capture holds one device; the same address again goes on.
    connect(link, &KoTcpClient::eTargetChanged, this,
            [this, host = link_->HostName(), port = link_->Port()](const QString& h, ushort p) {
                if (h != host || p != port)
                    StopBySelf(EndReason::TargetChanged);
            });
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
    QElapsedTimer busy;
    busy.start();
    const bool kept = writer.Finish(reason);
    busyNs += busy.nsecsElapsed();
    if (!kept && error)
        *error = writer.ErrorString();
    const double seconds = double(clock.nsecsElapsed()) / 1e9;
    qCDebug(lcCapture).nospace() << "recording ended (reason " << int(reason) << ", kept " << kept
                                 << ") after " << seconds << " s, " << writer.FileSize()
                                 << " bytes; it took " << double(busyNs) / 1e6 << " ms ("
                                 << double(busyNs) / 1e7 / seconds << " % of the time)";
    return kept;
}

void KoCaptureRecorder::sBytesReceived(const QByteArray& data)
{
    QElapsedTimer busy;
    busy.start();
    const bool taken = writer.Append(clock.nsecsElapsed() / 1000, data);
    busyNs += busy.nsecsElapsed();
    if (!taken)
        StopBySelf(EndReason::Stopped);
}

void KoCaptureRecorder::sTick()
{
    QElapsedTimer busy;
    busy.start();
    // A quiet stream still reaches the file, a block a second.
    const bool written = writer.FlushBlock();
    busyNs += busy.nsecsElapsed();
    if (!written)
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
