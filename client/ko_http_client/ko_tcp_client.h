#pragma once

#include "ko_device_records.h"

#include <QAbstractSocket>
#include <QByteArray>
#include <QHostAddress>
#include <QImage>
#include <QMutex>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <vector>

class QTcpSocket;
class QTimer;
class KoTcpDataReader;

// The device link as the rest of the tool sees it: owns the socket, keeps
// (re)connecting through its watchdog, sends every request and re-emits on
// the GUI thread what its reader thread decodes.
class KoTcpClient : public QObject
{
    Q_OBJECT

public:
    static constexpr ushort DefaultPort = 4567;
    static constexpr int DefaultWatchdogMs = 5000;
    // While the reader's queue holds more than this, the socket is not read
    // and TCP slows the device down.
    static constexpr qint64 DefaultQueueLimit = 32LL * 1024 * 1024;

    KoTcpClient(QObject* parent, QString host_name, ushort port,
                int watchdog_ms = DefaultWatchdogMs);
    ~KoTcpClient() override;

    // For other threads (the system-unit controller): sends through the GUI
    // thread and waits for the result. On the GUI thread they run directly.
    bool SendMessage(const QByteArray& bytes);
    bool SendMessage(const std::vector<uint8_t>& bytes);
    bool TestConnected();

    void SetQueueLimit(qint64 bytes) { queueLimit = bytes; }
    // How large the pictures of a pass are shown, in device pixels per
    // picture pixel: the reader decodes the next ones no larger than needed.
    // Kept for the readers of later connections.
    void SetShownScale(int pass_id, double scale);
    // How often reading was paused for a full queue (for tests and the debug log).
    int ReadPauses() const { return readPauses; }
    QAbstractSocket::SocketState State() const;
    // Bytes written but not yet taken by the network (0 without a socket).
    qint64 BytesToWrite() const;
    // The target of this connection generation.
    QString HostName() const { return hostName; }
    ushort Port() const { return port; }

    // Replay: the reader is fed from a capture instead of the socket. The
    // connection ends and stays ended (no socket, no watchdog), so nothing
    // can be sent; every received message still comes through the same
    // reader and the same signals. A Reconnect meanwhile only changes the
    // target that EndReplay connects to.
    static constexpr qint64 ReplayQueueLimit = 512 * 1024;
    void BeginReplay();
    // A fresh reader: what it held of the capture (queued chunks, a frame
    // begun) is dropped, as after a jump in the capture.
    void RestartReplay();
    // False when not replaying.
    bool FeedReplay(QByteArray data);
    // The reader holds enough; the next chunk should wait. Kept small, so a
    // paused replay stops at once.
    bool ReplayBusy() const;
    // Back to the device: connects to the current target.
    void EndReplay();
    bool Replaying() const { return replaying; }

public slots:
    void sReadPendingDatagrams();
    void sBytesWriten(qint64 bytes);
    void sConnected();
    void sDisconnected();
    void sTimeout();
    void sError(QAbstractSocket::SocketError err);
    void sStateChanged(QAbstractSocket::SocketState state);
    void sMessageReceived(uint code, QByteArray data);
    void sSendMessage(QByteArray data, bool* ok);
    void sSendMessage(QByteArray data);
    void sTestConnected(bool* result);
    void sTestConnected();
    void sReaderFinished();

    void Init(QString host_name = QString(), ushort port = DefaultPort);
    void Deinit();
    bool SendUserParams(int id, KoUserParams line);
    bool SendClientOptions(int id, ClientOptions options);
    bool SendStatReq(int id, KoStatisticsData data_start, KoStatisticsData data_end,
                     STATISTICS_TYPE stype, STATISTICS_ID sid);
    bool WriteVideo(int pass_id, int frames);
    bool StopRecord(int pass_id);
    bool SendCameraNums(int id, KoCameraNums options);
    bool SendConnectedReq();
    bool SendSwUpdate(QByteArray sw);
    bool SendModemSettings(QStringList settings);
    bool SendServerIpSettings(QStringList settings);
    bool SendReboot();
    bool SendViewMode(int pass_id, int mode);
    void Reconnect(QString host_name, ushort port = DefaultPort);

signals:
    void eImageRecieved0(int pass_id, int in_cnt, int out_cnt, float fps, int id, QImage& im);
    void eImageRecieved1(int pass_id, int in_cnt, int out_cnt, float fps, int id, QImage& im);
    void eImageRecieved2(int pass_id, int in_cnt, int out_cnt, float fps, int id, QImage& im);
    void eImageRecieved3(int pass_id, int in_cnt, int out_cnt, float fps, int id, QImage& im);
    void eTrackingObjectsRecieved(int pass_id, const std::vector<KoObjectData>& objects, int in_cnt,
                                  int out_cnt);
    void eUserParamsRecieved(int pass_id, const KoUserParams& params);
    void eMountDataRecieved(int pass_id, const ClientOptions& options);
    void eDispOptionsRecieved(int pass_id, const KoDispConvertOptions& options);
    void eStatisticRecieved(int pass_id, const QVector<KoStatisticsData>& samples,
                            const QVector<KoStatisticsAlarmData>& alarms, STATISTICS_ID stat_id,
                            STATISTICS_TYPE stat_type);
    void eStatisticAllRecieved(int pass_id, const QVector<QVector<KoStatisticsData>>& groups,
                               STATISTICS_ID stat_id, const QVector<STATISTICS_TYPE>& types);
    void eStopRecord(int pass_id);
    void eRecorded(int pass_id, int result);
    void eCameraOptionsRecieved(int pass_id, int result, const KoCameraNums& nums);
    void eConnectedAns(int pass_cnt);
    void eUpdateFinished(int ans);
    void eModemSettingsAck(QStringList settings, int ack);
    void eIpServerAck(QStringList settings, int ack);
    void eRebootAck();
    void eFilesCountInfo(int pass_id, int frames_counted, int total_frames, QString fname);
    void eMessageReceived(uint code, QByteArray data);
    // Every chunk as it is read from the socket, before the reader gets it
    // (a capture records these).
    void eBytesReceived(const QByteArray& data);

    void eConnected();
    void eDisconnected();
    // The socket's state as it changes; an ended generation reports
    // UnconnectedState.
    void eStateChanged(QAbstractSocket::SocketState state);
    // A new connection generation aims at this address (Init, Reconnect).
    void eTargetChanged(QString host_name, ushort port);
    void eSendMessage(QByteArray data, bool* ok);
    void eSendMessage(QByteArray data);
    void eTestConnected(bool* result);
    void eTestConnected();
    void eStopReader();

private slots:
    void sQueueDrained();

private:
    void StartReader();
    void CheckConnection();
    bool Write(const QByteArray& frame);
    bool SendBody(const QByteArray& body);
    void PushToReader(QByteArray data);
    void StopReaderAndWait();

    QTcpSocket* socket = nullptr;
    QPointer<KoTcpDataReader> reader;
    QTimer* watchdog = nullptr;
    QString hostName;
    ushort port = DefaultPort;
    QHostAddress localAddress;
    bool reconnectPending = false;
    QString pendingHostName;
    ushort pendingPort = DefaultPort;
    QMutex writeMutex;

    const int watchdogMs;
    std::array<double, 4> shownScales{{1.0, 1.0, 1.0, 1.0}};
    qint64 queueLimit = DefaultQueueLimit;
    bool readPaused = false;
    int readPauses = 0;
    bool replaying = false;
};
