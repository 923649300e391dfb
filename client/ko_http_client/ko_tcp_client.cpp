#include "ko_tcp_client.h"

#include "ko_frame_escaper.h"
#include "ko_link_log.h"
#include "ko_message_encoder.h"
#include "ko_tcp_data_reader.h"

#include <QCoreApplication>
#include <QMutexLocker>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>

namespace {

// While reading is paused the socket keeps at most this much of its own.
constexpr qint64 PausedReadBuffer = 64 * 1024;

} // namespace

KoTcpClient::KoTcpClient(QObject* parent, QString host_name, ushort port, int watchdog_ms)
    : QObject(parent), watchdogMs(watchdog_ms)
{
    connect(this, qOverload<QByteArray, bool*>(&KoTcpClient::eSendMessage), this,
            qOverload<QByteArray, bool*>(&KoTcpClient::sSendMessage), Qt::BlockingQueuedConnection);
    connect(this, qOverload<bool*>(&KoTcpClient::eTestConnected), this,
            qOverload<bool*>(&KoTcpClient::sTestConnected), Qt::BlockingQueuedConnection);
    Init(host_name, port);
}

KoTcpClient::~KoTcpClient()
{
    // A clean end: the reader is stopped and joined, the socket closed.
    StopReaderAndWait();
    if (socket) {
        socket->disconnect(this);
        socket->abort();
    }
}

void KoTcpClient::StopReaderAndWait()
{
    if (!reader)
        return;
    KoTcpDataReader* r = reader.data();
    reader.clear();
    r->disconnect(this);
    disconnect(r);
    r->Stop();
    // The reader may be waiting for this thread to run one of its blocking
    // emissions; discarding those calls releases it, and it then sees the
    // stop flag. Nothing of it is delivered any more.
    while (!r->wait(5))
        QCoreApplication::removePostedEvents(this, QEvent::MetaCall);
    QCoreApplication::removePostedEvents(this, QEvent::MetaCall);
    delete r;
}

QAbstractSocket::SocketState KoTcpClient::State() const
{
    return socket ? socket->state() : QAbstractSocket::UnconnectedState;
}

void KoTcpClient::SetShownScale(int pass_id, double scale)
{
    if (pass_id < 0 || pass_id >= int(shownScales.size()))
        return;
    shownScales[size_t(pass_id)] = scale;
    if (reader)
        reader->SetShownScale(pass_id, scale);
}

qint64 KoTcpClient::BytesToWrite() const
{
    return socket ? socket->bytesToWrite() : 0;
}

void KoTcpClient::Init(QString host_name, ushort port_)
{
    port = port_;
    hostName = host_name;
    reconnectPending = false;

    socket = new QTcpSocket(this);
    StartReader();

    connect(socket, &QTcpSocket::connected, this, &KoTcpClient::sConnected);
    connect(socket, &QTcpSocket::disconnected, this, &KoTcpClient::sDisconnected);
    connect(socket, &QTcpSocket::readyRead, this, &KoTcpClient::sReadPendingDatagrams);
    connect(socket, &QTcpSocket::bytesWritten, this, &KoTcpClient::sBytesWriten);
    connect(socket, &QTcpSocket::stateChanged, this, &KoTcpClient::sStateChanged);
    connect(socket, &QTcpSocket::errorOccurred, this, &KoTcpClient::sError);

    localAddress = QHostAddress(QHostAddress::LocalHost);
    watchdog = new QTimer(this);
    watchdog->setInterval(watchdogMs);
    connect(watchdog, &QTimer::timeout, this, &KoTcpClient::sTimeout);

    emit eTargetChanged(hostName, port);
    // The first attempt is made at once, not after a period.
    CheckConnection();
    watchdog->start();
}

void KoTcpClient::StartReader()
{
    reader = new KoTcpDataReader(nullptr);
    KoTcpDataReader* r = reader.data();
    for (int pass = 0; pass < int(shownScales.size()); ++pass)
        r->SetShownScale(pass, shownScales[size_t(pass)]);

    const auto blocking = Qt::BlockingQueuedConnection;
    connect(r, &KoTcpDataReader::eImageRecieved0, this, &KoTcpClient::eImageRecieved0, blocking);
    connect(r, &KoTcpDataReader::eImageRecieved1, this, &KoTcpClient::eImageRecieved1, blocking);
    connect(r, &KoTcpDataReader::eImageRecieved2, this, &KoTcpClient::eImageRecieved2, blocking);
    connect(r, &KoTcpDataReader::eImageRecieved3, this, &KoTcpClient::eImageRecieved3, blocking);
    connect(r, &KoTcpDataReader::eUserParamsRecieved, this, &KoTcpClient::eUserParamsRecieved,
            blocking);
    connect(r, &KoTcpDataReader::eMountDataRecieved, this, &KoTcpClient::eMountDataRecieved,
            blocking);
    connect(r, &KoTcpDataReader::eTrackingObjectsRecieved, this,
            &KoTcpClient::eTrackingObjectsRecieved, blocking);
    connect(r, &KoTcpDataReader::eDispOptionsRecieved, this, &KoTcpClient::eDispOptionsRecieved,
            blocking);
    connect(r, &KoTcpDataReader::eStatisticRecieved, this, &KoTcpClient::eStatisticRecieved,
            blocking);
    connect(r, &KoTcpDataReader::eStatisticAllRecieved, this, &KoTcpClient::eStatisticAllRecieved,
            blocking);
    connect(r, &KoTcpDataReader::eRecorded, this, &KoTcpClient::eRecorded, blocking);
    connect(r, &KoTcpDataReader::eStopRecord, this, &KoTcpClient::eStopRecord, blocking);
    connect(r, &KoTcpDataReader::eCameraOptionsRecieved, this, &KoTcpClient::eCameraOptionsRecieved,
            blocking);
    connect(r, &KoTcpDataReader::eConnectedAns, this, &KoTcpClient::eConnectedAns);
    connect(r, &KoTcpDataReader::eUpdateFinished, this, &KoTcpClient::eUpdateFinished);
    connect(r, &KoTcpDataReader::eModemSettingsAck, this, &KoTcpClient::eModemSettingsAck);
    connect(r, &KoTcpDataReader::eIpServerAck, this, &KoTcpClient::eIpServerAck);
    connect(r, &KoTcpDataReader::eRebootAck, this, &KoTcpClient::eRebootAck);
    connect(r, &KoTcpDataReader::eFilesCountInfo, this, &KoTcpClient::eFilesCountInfo);

    connect(r, &QThread::finished, this, &KoTcpClient::sReaderFinished);
    connect(this, &KoTcpClient::eStopReader, r, &KoTcpDataReader::Stop);
    connect(r, &KoTcpDataReader::eMessageReceived, this, &KoTcpClient::sMessageReceived);
    connect(r, &KoTcpDataReader::eQueueDrained, this, &KoTcpClient::sQueueDrained);
}

void KoTcpClient::Deinit()
{
    if (watchdog) {
        watchdog->stop();
        delete watchdog;
        watchdog = nullptr;
    }
    if (socket) {
        const QAbstractSocket::SocketState was = socket->state();
        socket->disconnect(this);
        socket->abort();
        delete socket;
        socket = nullptr;
        // The end of this generation's connection is told like any other.
        if (was != QAbstractSocket::UnconnectedState)
            emit eStateChanged(QAbstractSocket::UnconnectedState);
        if (was == QAbstractSocket::ConnectedState)
            emit eDisconnected();
    }
    readPaused = false;
}

void KoTcpClient::CheckConnection()
{
    if (!socket)
        return;
    if (socket->state() == QAbstractSocket::UnconnectedState) {
        // A fresh connection reads from the start, whatever the last one left.
        readPaused = false;
        socket->setReadBufferSize(0);
        qCDebug(lcLink) << "connecting to"
                        << (hostName.isEmpty() ? localAddress.toString() : hostName) << port;
        if (hostName.isEmpty())
            socket->connectToHost(localAddress, port, QIODevice::ReadWrite);
        else
            socket->connectToHost(hostName, port, QIODevice::ReadWrite,
                                  QAbstractSocket::AnyIPProtocol);
        if (reader)
            reader->ClearDataSeen();
        return;
    }
    // Reading paused by back-pressure is a device that sends and a tool that
    // chose not to read (a box left open blocks the reader): alive.
    if (socket->state() == QAbstractSocket::ConnectedState && reader && !reader->DataSeen() &&
        !readPaused) {
        // Nothing arrived for a whole period: drop it, the next tick reconnects.
        qCDebug(lcLink) << "device silent for" << watchdogMs << "ms, closing";
        socket->close();
    }
    if (reader)
        reader->ClearDataSeen();
}

void KoTcpClient::PushToReader(QByteArray data)
{
    if (!reader)
        return;
    reader->Push(std::move(data));
    if (socket && !readPaused && reader->QueuedBytes() > queueLimit) {
        // The reader is behind: leave the rest in the kernel until it catches
        // up, so TCP slows the device instead of our memory filling up.
        readPaused = true;
        ++readPauses;
        qCDebug(lcLink) << "reader queue full, pausing reads";
        socket->setReadBufferSize(PausedReadBuffer);
        reader->RequestDrainedSignal(queueLimit / 2);
        // The thread may have drained the queue before the request was
        // there; it would then never answer it.
        if (reader->QueuedBytes() <= queueLimit / 2 && reader->CancelDrainedSignal())
            sQueueDrained();
    }
}

void KoTcpClient::sReadPendingDatagrams()
{
    if (!socket || readPaused)
        return;
    QByteArray data = socket->readAll();
    emit eBytesReceived(data);
    PushToReader(std::move(data));
}

void KoTcpClient::sQueueDrained()
{
    if (!socket || !readPaused)
        return;
    readPaused = false;
    qCDebug(lcLink) << "reader queue drained, reading again";
    socket->setReadBufferSize(0);
    // What the socket holds already will not be announced again.
    if (socket->bytesAvailable() > 0)
        sReadPendingDatagrams();
}

void KoTcpClient::sBytesWriten(qint64) {}

void KoTcpClient::sConnected()
{
    emit eConnected();
}

void KoTcpClient::sDisconnected()
{
    emit eDisconnected();
}

void KoTcpClient::sTimeout()
{
    watchdog->stop();
    CheckConnection();
    watchdog->start();
}

void KoTcpClient::sError(QAbstractSocket::SocketError err)
{
    qCDebug(lcLink) << "socket error" << err;
    if (socket)
        socket->close();
}

void KoTcpClient::sStateChanged(QAbstractSocket::SocketState state)
{
    emit eStateChanged(state);
}

void KoTcpClient::sMessageReceived(uint code, QByteArray data)
{
    emit eMessageReceived(code, data);
}

void KoTcpClient::sSendMessage(QByteArray data, bool* ok)
{
    if (data.isEmpty())
        return;
    if (!socket || socket->state() != QAbstractSocket::ConnectedState) {
        if (ok)
            *ok = false;
        return;
    }
    const QByteArray frame = KoFrameEscaper::Frame(data);
    QMutexLocker lock(&writeMutex);
    socket->write(frame);
    if (ok)
        *ok = true;
}

void KoTcpClient::sSendMessage(QByteArray data)
{
    sSendMessage(data, nullptr);
}

void KoTcpClient::sTestConnected(bool* result)
{
    if (result)
        *result = socket && socket->state() == QAbstractSocket::ConnectedState;
}

void KoTcpClient::sTestConnected() {}

bool KoTcpClient::SendMessage(const QByteArray& bytes)
{
    bool ok = false;
    // A blocking call into our own thread would wait for ever.
    if (QThread::currentThread() == thread())
        sSendMessage(bytes, &ok);
    else
        emit eSendMessage(bytes, &ok);
    return ok;
}

bool KoTcpClient::SendMessage(const std::vector<uint8_t>& bytes)
{
    return SendMessage(QByteArray(reinterpret_cast<const char*>(bytes.data()), int(bytes.size())));
}

bool KoTcpClient::TestConnected()
{
    bool result = false;
    if (QThread::currentThread() == thread())
        sTestConnected(&result);
    else
        emit eTestConnected(&result);
    return result;
}

void KoTcpClient::sReaderFinished()
{
    if (!reconnectPending)
        return;
    // The finished reader deletes itself; the new generation gets its own.
    reader.clear();
    Deinit();
    Init(pendingHostName, pendingPort);
}

void KoTcpClient::Reconnect(QString host_name, ushort port_)
{
    if (replaying) {
        hostName = host_name;
        port = port_;
        emit eTargetChanged(hostName, port);
        return;
    }
    pendingHostName = host_name;
    pendingPort = port_;
    reconnectPending = true;
    emit eStopReader();
}

void KoTcpClient::BeginReplay()
{
    if (replaying) {
        RestartReplay();
        return;
    }
    StopReaderAndWait();
    Deinit();
    replaying = true;
    // A reconnection under way is where the replay's end goes back to.
    if (reconnectPending) {
        hostName = pendingHostName;
        port = pendingPort;
        reconnectPending = false;
    }
    StartReader();
}

void KoTcpClient::RestartReplay()
{
    if (!replaying)
        return;
    StopReaderAndWait();
    StartReader();
}

bool KoTcpClient::FeedReplay(QByteArray data)
{
    if (!replaying)
        return false;
    PushToReader(std::move(data));
    return true;
}

bool KoTcpClient::ReplayBusy() const
{
    return reader && reader->QueuedBytes() > ReplayQueueLimit;
}

void KoTcpClient::EndReplay()
{
    if (!replaying)
        return;
    StopReaderAndWait();
    replaying = false;
    Init(hostName, port);
}

bool KoTcpClient::Write(const QByteArray& frame)
{
    if (!socket || socket->state() != QAbstractSocket::ConnectedState)
        return false;
    socket->write(frame);
    return true;
}

bool KoTcpClient::SendBody(const QByteArray& body)
{
    if (!socket || socket->state() != QAbstractSocket::ConnectedState)
        return false;
    return Write(KoFrameEscaper::Frame(body));
}

bool KoTcpClient::SendUserParams(int id, KoUserParams line)
{
    return SendBody(KoMessageEncoder::UserParams(id, line));
}

bool KoTcpClient::SendClientOptions(int id, ClientOptions options)
{
    return SendBody(KoMessageEncoder::MountData(id, options));
}

bool KoTcpClient::SendStatReq(int id, KoStatisticsData data_start, KoStatisticsData data_end,
                              STATISTICS_TYPE stype, STATISTICS_ID sid)
{
    return SendBody(KoMessageEncoder::StatRequest(id, data_start, data_end, stype, sid));
}

bool KoTcpClient::WriteVideo(int pass_id, int frames)
{
    return SendBody(KoMessageEncoder::StartRecord(pass_id, frames));
}

bool KoTcpClient::StopRecord(int pass_id)
{
    return SendBody(KoMessageEncoder::StopRecord(pass_id));
}

bool KoTcpClient::SendCameraNums(int id, KoCameraNums options)
{
    return SendBody(KoMessageEncoder::CameraNums(id, options));
}

bool KoTcpClient::SendConnectedReq()
{
    return SendBody(KoMessageEncoder::ConnectedRequest());
}

bool KoTcpClient::SendSwUpdate(QByteArray sw)
{
    if (!socket || socket->state() != QAbstractSocket::ConnectedState)
        return false;
    return Write(KoMessageEncoder::SwUpdateFrame(sw));
}

bool KoTcpClient::SendModemSettings(QStringList settings)
{
    return SendBody(KoMessageEncoder::ModemSettings(settings));
}

bool KoTcpClient::SendServerIpSettings(QStringList settings)
{
    return SendBody(KoMessageEncoder::ServerIpSettings(settings));
}

bool KoTcpClient::SendReboot()
{
    return SendBody(KoMessageEncoder::Reboot());
}

bool KoTcpClient::SendViewMode(int pass_id, int mode)
{
    return SendBody(KoMessageEncoder::ViewMode(pass_id, mode));
}
