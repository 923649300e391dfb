#pragma once

#include "ko_decoded_messages.h"
#include "ko_device_records.h"
#include "ko_frame_parser.h"
#include "ko_image_decoder.h"

#include <QByteArray>
#include <QImage>
#include <QStringList>
#include <QThread>

#include <array>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <vector>

// The decoding half of the device link: takes the chunks the client reads
// from the socket, finds the frames in them and emits one signal per message.
// Starts its thread on construction and deletes itself when the thread ends.
//
// The record signals are meant for blocking queued connections: the records
// are the reader's own and stay valid only until the emission returns.
class KoTcpDataReader : public QThread
{
    Q_OBJECT

public:
    explicit KoTcpDataReader(QObject* parent = nullptr);
    ~KoTcpDataReader() override;

    // GUI thread: hands over everything read from the socket.
    void Push(QByteArray data);

    // Bytes handed over and not yet taken by the thread.
    qint64 QueuedBytes() const { return queuedBytes.load(); }
    // Asks for one eQueueDrained once the queue holds no more than low_water bytes.
    void RequestDrainedSignal(qint64 low_water);
    // Withdraws that request; false when the signal has been emitted already.
    bool CancelDrainedSignal();

    // Any thread: how large the pictures of a pass are shown, in device
    // pixels per picture pixel. Its next JPEG pictures are decoded at the
    // smallest scale that still fills that (KoImageDecoder); 1 at the start.
    void SetShownScale(int pass_id, double scale);

    // The data-seen flag of the connection watchdog.
    bool DataSeen() const { return dataSeen.load(); }
    void ClearDataSeen() { dataSeen.store(false); }

    // eMessageReceived goes out queued, so nothing waits for the GUI thread to
    // take it. The thread stops decoding while this many of them, or this
    // many of their bytes, have not been taken yet; a device flooding small
    // messages then fills the chunk queue instead of the GUI's event queue,
    // and the client stops reading the socket.
    static constexpr int MaxUndeliveredMessages = 256;
    static constexpr qint64 MaxUndeliveredBytes = 8LL * 1024 * 1024;
    // eMessageReceived emitted and not yet taken by the GUI thread.
    int UndeliveredMessages() const { return undelivered.load(); }

public slots:
    void Stop();

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
    // Every message, queued. A picture's carries the code 1 and no bytes:
    // the picture itself comes with eImageRecieved<n>.
    void eMessageReceived(uint code, QByteArray data);
    // Declared with the others; connection state is reported by the client.
    void eConnected();
    void eDisconnected();
    // The queue fell to the level asked for with RequestDrainedSignal.
    void eQueueDrained();

protected:
    void run() override;

private:
    void Consume(const QByteArray& chunk);
    bool WaitForDeliveryRoom(qint64 size);
    void Dispatch();
    void EmitImage();

    void Wake();

    std::deque<QByteArray> queue;
    std::mutex queueMutex; // a pthread mutex, so ThreadSanitizer sees it
    // The idle thread waits on it for a chunk or the stop flag.
    std::condition_variable queueChanged;
    std::array<std::atomic<double>, 4> shownScales{{{1.0}, {1.0}, {1.0}, {1.0}}};
    std::atomic<qint64> queuedBytes{0};
    std::atomic<qint64> drainedLevel{-1}; // -1: nobody waits for eQueueDrained

    std::atomic<bool> stopRequested{false};
    std::atomic<bool> consumerIdle{true};
    std::atomic<bool> producerBusy{false};
    std::atomic<bool> dataSeen{false};
    std::atomic<bool> runEnded{false};
    std::atomic<int> undelivered{0};
    std::atomic<qint64> undeliveredBytes{0};

    // Thread state, reused from message to message.
    KoFrameParser parser;
    KoDecodedMessage message;
    KoImageDecoder imageDecoder;
    QImage image;
    std::array<qreal, 4> decodedRatios{{1.0, 1.0, 1.0, 1.0}}; // per pass, for the debug log
};
