#include "ko_tcp_data_reader.h"

#include "ko_link_log.h"
#include "ko_message_decoder.h"
#include "ko_wire.h"

KoTcpDataReader::KoTcpDataReader(QObject* parent) : QThread(parent)
{
    connect(this, &QThread::finished, this, &QObject::deleteLater);
    // The reader object lives in the GUI thread: this runs there, queued
    // right before the receivers of the same emission.
    connect(this, &KoTcpDataReader::eMessageReceived, this, [this](uint, const QByteArray& data) {
        undeliveredBytes.fetch_sub(data.size());
        undelivered.fetch_sub(1);
    });
    start();
}

KoTcpDataReader::~KoTcpDataReader()
{
    // Normally the thread has ended (deleteLater follows finished); an owner
    // deleting a running reader must not leave the thread behind.
    stopRequested.store(true);
    Wake();
    wait();
    // wait() synchronises through Qt's futex-based primitives; the flag makes
    // the end of run() visible to the memory model (and to ThreadSanitizer).
    runEnded.load(std::memory_order_acquire);
}

void KoTcpDataReader::Push(QByteArray data)
{
    dataSeen.store(true);
    if (data.isEmpty())
        return;
    // A courtesy towards the thread taking a chunk out; the mutex is what
    // keeps the queue sound.
    for (int round = 0; !consumerIdle.load() && round < 1000; ++round)
        QThread::msleep(1);
    producerBusy.store(true);
    const qint64 size = data.size();
    {
        std::lock_guard<std::mutex> lock(queueMutex);
        queue.push_back(std::move(data));
        queuedBytes.fetch_add(size);
        producerBusy.store(false);
    }
    queueChanged.notify_one();
}

void KoTcpDataReader::SetShownScale(int pass_id, double scale)
{
    if (pass_id >= 0 && pass_id < int(shownScales.size()))
        shownScales[size_t(pass_id)].store(scale);
}

void KoTcpDataReader::RequestDrainedSignal(qint64 low_water)
{
    drainedLevel.store(low_water);
}

bool KoTcpDataReader::CancelDrainedSignal()
{
    qint64 level = drainedLevel.load();
    while (level >= 0) {
        if (drainedLevel.compare_exchange_weak(level, -1))
            return true;
    }
    return false;
}

void KoTcpDataReader::Stop()
{
    stopRequested.store(true);
    Wake();
}

void KoTcpDataReader::Wake()
{
    // Taking the mutex orders the flag before the thread's last look at it
    // under the mutex: it either sees the flag or is already waiting.
    { std::lock_guard<std::mutex> lock(queueMutex); }
    queueChanged.notify_one();
}

void KoTcpDataReader::run()
{
    for (;;) {
        if (stopRequested.load()) {
            stopRequested.store(false);
            runEnded.store(true, std::memory_order_release);
            return;
        }
        if (!producerBusy.load()) {
            for (;;) {
                if (stopRequested.load())
                    break;
                QByteArray chunk;
                consumerIdle.store(false);
                {
                    std::lock_guard<std::mutex> lock(queueMutex);
                    if (queue.empty()) {
                        consumerIdle.store(true);
                        break;
                    }
                    chunk = std::move(queue.front());
                    queue.pop_front();
                }
                consumerIdle.store(true);
                dataSeen.store(true);
                const qint64 left = queuedBytes.fetch_sub(chunk.size()) - chunk.size();
                qint64 level = drainedLevel.load();
                if (level >= 0 && left <= level && drainedLevel.compare_exchange_strong(level, -1))
                    emit eQueueDrained();
                Consume(chunk);
            }
        }
        // Idle until a chunk or the stop flag arrives. A chunk that came
        // while the client was still putting it in (producer busy) is there
        // now; the loop above takes it.
        std::unique_lock<std::mutex> lock(queueMutex);
        queueChanged.wait(lock, [this] { return stopRequested.load() || !queue.empty(); });
    }
}

void KoTcpDataReader::Consume(const QByteArray& chunk)
{
    const char* p = chunk.constData();
    qsizetype left = chunk.size();
    while (left > 0 && !stopRequested.load()) {
        const qsizetype used = parser.Feed(p, left);
        p += used;
        left -= used;
        if (parser.HasFrame()) {
            if (!stopRequested.load())
                Dispatch();
            parser.ReleaseFrame();
        }
    }
}

void KoTcpDataReader::Dispatch()
{
    using Result = KoDecodedMessage::Result;
    const Result result = KoMessageDecoder::Decode(parser.BodyData(), parser.BodySize(), message);
    if (result == Result::Empty)
        return;
    // Who waits for a picture only needs to know one came; its bytes would
    // be one more copy of every frame.
    const qint64 size = message.code == ko_wire::Image ? 0 : qint64(message.payloadSize);
    if (!WaitForDeliveryRoom(size))
        return;
    undelivered.fetch_add(1);
    undeliveredBytes.fetch_add(size);
    emit eMessageReceived(uint(message.code), QByteArray(message.payload, int(size)));
    if (result != Result::Decoded)
        return;

    switch (message.code) {
    case ko_wire::Image:
        EmitImage();
        break;
    case ko_wire::TrackedObjects: {
        const KoTrackingObjectsMessage& m = message.tracking;
        emit eTrackingObjectsRecieved(m.passId, m.objects, m.inCount, m.outCount);
        break;
    }
    case ko_wire::MountData:
        emit eMountDataRecieved(message.mountData.passId, message.mountData.options);
        break;
    case ko_wire::UserParams:
        emit eUserParamsRecieved(message.userParams.passId, message.userParams.params);
        break;
    case ko_wire::DispOptions:
        emit eDispOptionsRecieved(message.dispOptions.passId, message.dispOptions.options);
        break;
    case ko_wire::Statistic: {
        const KoStatisticMessage& m = message.statistic;
        emit eStatisticRecieved(m.passId, m.samples, m.alarms, m.statId, m.statType);
        break;
    }
    case ko_wire::StatisticAll: {
        const KoStatisticAllMessage& m = message.statisticAll;
        emit eStatisticAllRecieved(m.passId, m.groups, m.statId, m.types);
        break;
    }
    case ko_wire::RecordAnswer:
        if (message.recordAnswer.kind == ko_wire::RecordAnswerRecorded)
            emit eRecorded(message.recordAnswer.passId, message.recordAnswer.result);
        else
            emit eStopRecord(message.recordAnswer.passId);
        break;
    case ko_wire::CameraNumsAnswer:
        emit eCameraOptionsRecieved(message.cameraNums.passId, message.cameraNums.result,
                                    message.cameraNums.nums);
        break;
    case ko_wire::ConnectedAnswer:
        emit eConnectedAns(message.passCount);
        break;
    case ko_wire::UpdateFinished:
        emit eUpdateFinished(message.updateAnswer);
        break;
    case ko_wire::ModemSettingsAck:
        emit eModemSettingsAck(message.settingsAck.settings, message.settingsAck.ack);
        break;
    case ko_wire::IpServerAck:
        emit eIpServerAck(message.settingsAck.settings, message.settingsAck.ack);
        break;
    case ko_wire::RebootAck:
        emit eRebootAck();
        break;
    case ko_wire::FilesCountInfo: {
        const KoFilesCountInfoMessage& m = message.filesCount;
        emit eFilesCountInfo(m.passId, m.framesCounted, m.totalFrames, m.fileName);
        break;
    }
    default:
        break;
    }
}

bool KoTcpDataReader::WaitForDeliveryRoom(qint64 size)
{
    // One message larger than the byte limit still goes, alone.
    while (undelivered.load() >= MaxUndeliveredMessages ||
           (undeliveredBytes.load() > 0 && undeliveredBytes.load() + size > MaxUndeliveredBytes)) {
        if (stopRequested.load())
            return false;
        QThread::msleep(1);
    }
    return !stopRequested.load();
}

void KoTcpDataReader::EmitImage()
{
    const KoImageMessage& m = message.image;
    // A pass beyond the fourth is parsed and consumed, but no panel shows it.
    if (m.passId < 0 || m.passId > 3)
        return;
    if (!imageDecoder.Decode(m, image, shownScales[size_t(m.passId)].load()))
        return;
    const float fps = m.Fps();
    qreal& ratio = decodedRatios[size_t(m.passId)];
    if (image.devicePixelRatio() != ratio) {
        ratio = image.devicePixelRatio();
        qCDebug(lcLink) << "pass" << m.passId << "pictures of" << image.size() / ratio
                        << "decoded at scale" << ratio;
    }
    switch (m.passId) {
    case 0:
        emit eImageRecieved0(0, m.inCount, m.outCount, fps, m.imageId, image);
        break;
    case 1:
        emit eImageRecieved1(1, m.inCount, m.outCount, fps, m.imageId, image);
        break;
    case 2:
        emit eImageRecieved2(2, m.inCount, m.outCount, fps, m.imageId, image);
        break;
    case 3:
        emit eImageRecieved3(3, m.inCount, m.outCount, fps, m.imageId, image);
        break;
    default:
        break;
    }
    // The picture refers to the frame's bytes; let go of it before they are reused.
    image = QImage();
}
