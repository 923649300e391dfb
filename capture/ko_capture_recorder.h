#pragma once

#include "ko_capture_format.h"
#include "ko_capture_writer.h"
#include "ko_tcp_client.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>

// Records what a link receives from its device, as it is read from the
// socket, into a capture file. Runs on the GUI thread beside the link: a
// chunk costs a copy, and every second the gathered chunks are compressed
// and written as a block.
//
//     KoCaptureRecorder recorder;
//     connect(&recorder, &KoCaptureRecorder::eStopped, ...);  // limit, disk, device
//     recorder.Start(link, path, limit, &error);
//     ...
//     recorder.Stop(ko_capture::EndReason::Stopped, &error);
class KoCaptureRecorder : public QObject
{
    Q_OBJECT

public:
    static constexpr int TickMs = 1000;

    explicit KoCaptureRecorder(QObject* parent = nullptr, int tick_ms = TickMs);
    // A recording still running is ended and kept.
    ~KoCaptureRecorder() override;

    bool Start(KoTcpClient* link, const QString& path,
               qint64 limit = KoCaptureWriter::DefaultLimit, QString* error = nullptr);
    // Ends the recording and puts the file in place; false with the reason
    // in error when it cannot be kept.
    bool Stop(ko_capture::EndReason reason = ko_capture::EndReason::Stopped,
              QString* error = nullptr);

    bool Recording() const { return recording; }
    QString Path() const { return path; }
    qint64 Limit() const { return writer.Limit(); }
    // Bytes of the capture so far, written or waiting to be.
    qint64 Size() const { return writer.FileSize() + writer.PendingBytes(); }
    // Time the GUI thread spent on the recording (copying, compressing,
    // writing), for the debug log and measurements.
    qint64 BusyNs() const { return busyNs; }

signals:
    // About once a second while recording.
    void eSizeChanged(qint64 bytes);
    // The recording ended by itself: the size limit, a failed write, or the
    // link pointed at another device. kept: the file is in place.
    void eStopped(ko_capture::EndReason reason, bool kept, const QString& error);

private:
    void sBytesReceived(const QByteArray& data);
    void sTick();
    void StopBySelf(ko_capture::EndReason reason);

    KoCaptureWriter writer;
    QPointer<KoTcpClient> link; // gone first when the window closes
    bool recording = false;
    QString path;
    QElapsedTimer clock;
    QTimer tick;
    qint64 busyNs = 0;
};
