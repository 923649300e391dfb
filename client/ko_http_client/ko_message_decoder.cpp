#include "ko_message_decoder.h"

#include "ko_body_reader.h"
#include "ko_link_log.h"
#include "ko_wire.h"

#include <cstring>

namespace {

using Result = KoDecodedMessage::Result;

constexpr qint64 SampleSize = 8; // raw8
constexpr qint64 AlarmSize = 28; // i64, i32, f64, f64
constexpr qint64 GroupHeadSize = 6;
constexpr qint64 ObjectSize = 52;

void CopySamples(const char* raw, qint64 count, QVector<KoStatisticsData>& out)
{
    // The samples are the device's memory images of KoStatisticsData (count
    // little-endian), copied byte for byte; this is a little-endian tool.
    static_assert(sizeof(KoStatisticsData) == SampleSize, "raw8 samples");
    out.resize(int(count));
    if (count > 0)
        std::memcpy(static_cast<void*>(out.data()), raw, size_t(count * SampleSize));
}

Result DecodeImage(KoBodyReader& r, qsizetype size, KoImageMessage& m)
{
    m.passId = r.I32();
    m.inCount = r.I32();
    m.outCount = r.I32();
    m.rate = r.I32();
    m.frameField = r.I32();
    m.imageId = r.I32();
    m.width = r.I32();
    m.height = r.I32();
    m.lineStep = r.I32();
    m.longField1 = r.I64();
    m.longField2 = r.I64();
    m.dataLength = r.I64();
    m.encoding = r.I32();
    // A body shorter than the header would let a negative length pass L - 68.
    if (qint64(size) < 4 + ko_wire::ImageHeaderSize ||
        m.dataLength != qint64(size) - 4 - ko_wire::ImageHeaderSize) {
        qCDebug(lcLink).noquote() << QStringLiteral("bolt on %0").arg(m.longField2);
        return Result::Dropped;
    }
    m.data = r.Bytes(m.dataLength);
    return Result::Decoded;
}

Result DecodeTracking(KoBodyReader& r, qsizetype size, KoTrackingObjectsMessage& m)
{
    m.passId = r.I32();
    const int32_t n = r.I32();
    m.inCount = r.I32();
    m.outCount = r.I32();
    if (r.Short() || n < 0 || qint64(size) != 20 + ObjectSize * n)
        return Result::Dropped;
    m.objects.clear();
    m.objects.resize(size_t(n));
    for (KoObjectData& o : m.objects) {
        o.id = r.I32();
        o.stamp = r.I64();
        o.aux1 = r.I32();
        o.aux2 = r.I32();
        o.aux3 = r.I32();
        o.aux4 = r.I32();
        o.x = r.I32();
        o.y = r.I32();
        o.state = r.I32();
        o.aux5 = r.I32();
        o.aux6 = r.I32();
        o.trackLength = r.I32();
    }
    return Result::Decoded;
}

Result DecodeUserParams(KoBodyReader& r, qsizetype size, KoUserParamsMessage& m)
{
    m.passId = r.I32();
    const int32_t n = r.I32();
    if (r.Short() || n < 0 || qint64(size) != 28 + 8 * qint64(n))
        return Result::Dropped;
    KoUserParams& p = m.params;
    p.count = n;
    p.line.resize(n);
    for (QPointF& pt : p.line) {
        const double x = r.I32() / 1000.0;
        const double y = r.I32() / 1000.0;
        pt = QPointF(x, y);
    }
    const double x = r.I32() / 1000.0;
    const double y = r.I32() / 1000.0;
    const double w = r.I32() / 1000.0;
    const double h = r.I32() / 1000.0;
    p.zone = QRectF(x, y, w, h);
    return Result::Decoded;
}

Result DecodeStatistic(KoBodyReader& r, qsizetype size, KoStatisticMessage& m)
{
    m.passId = r.I32();
    m.statType = static_cast<STATISTICS_TYPE>(r.I8());
    m.statId = static_cast<STATISTICS_ID>(r.I8());
    const int32_t n = r.I32();
    m.unused = r.I32();
    const int32_t k = r.I32();
    if (r.Short() || n < 0 || k < 0)
        return Result::Dropped;
    const qint64 head = 22;
    if (head + SampleSize * n + AlarmSize * k > qint64(size))
        return Result::Dropped;
    CopySamples(r.Bytes(SampleSize * n), n, m.samples);
    m.alarms.resize(k);
    for (KoStatisticsAlarmData& a : m.alarms) {
        a.time = r.I64();
        a.code = r.I32();
        a.value1 = r.F64();
        a.value2 = r.F64();
    }
    return Result::Decoded;
}

Result DecodeStatisticAll(KoBodyReader& r, qsizetype size, KoStatisticAllMessage& m)
{
    m.passId = r.I32();
    const int32_t g = r.I32();
    if (r.Short() || g < 0 || 20 + GroupHeadSize * qint64(g) > qint64(size))
        return Result::Dropped;
    // Heads first, so the total the samples need is known (and checked)
    // before any group is allocated.
    const char* heads = r.Bytes(GroupHeadSize * g);
    m.unused1 = r.I32();
    m.unused2 = r.I32();
    qint64 total = 0;
    for (int32_t i = 0; i < g; ++i) {
        KoBodyReader head(heads + GroupHeadSize * i, GroupHeadSize);
        head.I8();
        head.I8();
        const int32_t count = head.I32();
        if (count < 0)
            return Result::Dropped;
        total += count;
    }
    const qint64 samplesAt = 20 + GroupHeadSize * g;
    if (samplesAt + SampleSize * total > qint64(size))
        return Result::Dropped;
    m.groups.resize(g);
    m.types.resize(g);
    m.statId = STAT_YEAR;
    for (int32_t i = 0; i < g; ++i) {
        KoBodyReader head(heads + GroupHeadSize * i, GroupHeadSize);
        m.types[i] = static_cast<STATISTICS_TYPE>(head.I8());
        m.statId = static_cast<STATISTICS_ID>(head.I8());
        const int32_t count = head.I32();
        CopySamples(r.Bytes(SampleSize * count), count, m.groups[i]);
    }
    return Result::Decoded;
}

Result DecodeFilesCount(KoBodyReader& r, KoFilesCountInfoMessage& m)
{
    m.passId = r.I32();
    m.framesCounted = r.I32();
    m.totalFrames = r.I32();
    const int16_t n = r.I16();
    if (n <= 0)
        return Result::Dropped;
    const char* text = r.Bytes(n);
    if (!text)
        return Result::Dropped;
    m.fileName = QString::fromLatin1(text, n);
    return Result::Decoded;
}

} // namespace

KoDecodedMessage::Result KoMessageDecoder::Decode(const char* body, qsizetype size,
                                                  KoDecodedMessage& out)
{
    out.payload = nullptr;
    out.payloadSize = 0;
    out.code = 0;
    if (size < 4) // no type code
        return out.result = Result::Empty;
    KoBodyReader r(body, size);
    out.code = r.I32();
    out.payload = body + 4;
    out.payloadSize = size - 4;

    Result result = Result::Decoded;
    switch (out.code) {
    case ko_wire::Image:
        result = DecodeImage(r, size, out.image);
        break;
    case ko_wire::TrackedObjects:
        result = DecodeTracking(r, size, out.tracking);
        break;
    case ko_wire::MountData: {
        KoMountDataMessage& m = out.mountData;
        m.passId = r.I32();
        ClientOptions& o = m.options;
        o.camMountHeight = r.I32();
        o.camViewAngle = r.I32();
        o.camAngleSlope = r.I32();
        o.minObjectHeight = r.I32();
        o.minHeadSquare = r.I32();
        o.maxHumanVelocity = r.I32();
        o.headSize = r.I32();
        o.minTrackLenght = r.I32();
        o.minLostObjectFrames = r.I32();
        o.etalonHeight = r.I32();
        break;
    }
    case ko_wire::UserParams:
        result = DecodeUserParams(r, size, out.userParams);
        break;
    case ko_wire::DispOptions: {
        KoDispOptionsMessage& m = out.dispOptions;
        m.passId = r.I32();
        m.options.value1 = float(r.I32());
        m.options.value2 = float(r.I32());
        m.options.value3 = float(r.I64() / 1000.0);
        m.options.value4 = float(r.I32() / 1000.0);
        m.options.value5 = r.I32();
        break;
    }
    case ko_wire::Statistic:
        result = DecodeStatistic(r, size, out.statistic);
        break;
    case ko_wire::StatisticAll:
        result = DecodeStatisticAll(r, size, out.statisticAll);
        break;
    case ko_wire::RecordAnswer: {
        KoRecordAnswerMessage& m = out.recordAnswer;
        m.passId = r.I32();
        m.kind = r.I32();
        m.result = 0;
        if (m.kind == ko_wire::RecordAnswerRecorded)
            m.result = r.I32();
        else if (m.kind != ko_wire::RecordAnswerStopped)
            result = Result::Dropped;
        break;
    }
    case ko_wire::CameraNumsAnswer: {
        KoCameraNumsAnswerMessage& m = out.cameraNums;
        m.passId = r.I32();
        m.result = r.I32();
        m.nums.left = r.I32();
        m.nums.right = r.I32();
        break;
    }
    case ko_wire::ConnectedAnswer:
        out.passCount = r.I32();
        break;
    case ko_wire::UpdateFinished:
        out.updateAnswer = r.I32();
        break;
    case ko_wire::ModemSettingsAck:
    case ko_wire::IpServerAck:
        out.settingsAck.ack = r.I32();
        if (!r.StringList(out.settingsAck.settings))
            result = Result::Dropped;
        break;
    case ko_wire::RebootAck: {
        const char* magic = r.Bytes(4);
        if (!magic || std::memcmp(magic, ko_wire::RebootMagic, 4) != 0)
            result = Result::Dropped;
        break;
    }
    case ko_wire::FilesCountInfo:
        result = DecodeFilesCount(r, out.filesCount);
        break;
    default:
        result = Result::Unknown;
        break;
    }
    return out.result = result;
}
