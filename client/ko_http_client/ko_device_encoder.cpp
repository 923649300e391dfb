#include "ko_device_encoder.h"

#include "ko_body_writer.h"
#include "ko_message_encoder.h"
#include "ko_wire.h"

#include <cmath>

namespace {

void WriteRaw8(KoBodyWriter& w, const QVector<KoStatisticsData>& samples)
{
    // The device copies its records byte for byte: the count little-endian.
    for (const KoStatisticsData& s : samples) {
        const auto count = static_cast<uint32_t>(s.count);
        const char raw[8] = {static_cast<char>(s.year),
                             static_cast<char>(s.month),
                             static_cast<char>(s.day),
                             static_cast<char>(s.hour),
                             static_cast<char>(count & 0xff),
                             static_cast<char>((count >> 8) & 0xff),
                             static_cast<char>((count >> 16) & 0xff),
                             static_cast<char>((count >> 24) & 0xff)};
        w.Bytes(raw, 8);
    }
}

QByteArray SettingsAck(int32_t code, int ack, const QStringList& settings)
{
    QByteArray body;
    KoBodyWriter w(body);
    w.I32(code).I32(ack).I32(settings.size());
    for (const QString& s : settings)
        w.Str32(s);
    return body;
}

} // namespace

QByteArray KoDeviceEncoder::Image(const ImageHeader& h, const QByteArray& data)
{
    QByteArray body;
    body.reserve(int(4 + ko_wire::ImageHeaderSize + data.size()));
    KoBodyWriter(body)
        .I32(ko_wire::Image)
        .I32(h.passId)
        .I32(h.inCount)
        .I32(h.outCount)
        .I32(h.rate)
        .I32(h.frameField)
        .I32(h.imageId)
        .I32(h.width)
        .I32(h.height)
        .I32(h.lineStep)
        .I64(h.longField1)
        .I64(h.longField2)
        .I64(data.size())
        .I32(h.encoding)
        .Bytes(data);
    return body;
}

QByteArray KoDeviceEncoder::TrackedObjects(int pass_id, const std::vector<KoObjectData>& objects,
                                           int in_count, int out_count)
{
    QByteArray body;
    KoBodyWriter w(body);
    w.I32(ko_wire::TrackedObjects)
        .I32(pass_id)
        .I32(int32_t(objects.size()))
        .I32(in_count)
        .I32(out_count);
    for (const KoObjectData& o : objects) {
        w.I32(o.id)
            .I64(o.stamp)
            .I32(o.aux1)
            .I32(o.aux2)
            .I32(o.aux3)
            .I32(o.aux4)
            .I32(o.x)
            .I32(o.y)
            .I32(o.state)
            .I32(o.aux5)
            .I32(o.aux6)
            .I32(o.trackLength);
    }
    return body;
}

QByteArray KoDeviceEncoder::MountData(int pass_id, const ClientOptions& options)
{
    // The same layout in both directions.
    return KoMessageEncoder::MountData(pass_id, options);
}

QByteArray KoDeviceEncoder::UserParams(int pass_id, const KoUserParams& params)
{
    return KoMessageEncoder::UserParams(pass_id, params);
}

QByteArray KoDeviceEncoder::DispOptions(int pass_id, const KoDispConvertOptions& o)
{
    QByteArray body;
    KoBodyWriter(body)
        .I32(ko_wire::DispOptions)
        .I32(pass_id)
        .I32(static_cast<int32_t>(o.value1))
        .I32(static_cast<int32_t>(o.value2))
        .I64(static_cast<int64_t>(std::trunc(double(o.value3) * 1000.0)))
        .I32(KoMessageEncoder::ToMilli(double(o.value4)))
        .I32(o.value5);
    return body;
}

QByteArray KoDeviceEncoder::Statistic(int pass_id, STATISTICS_TYPE stype, STATISTICS_ID sid,
                                      const QVector<KoStatisticsData>& samples,
                                      const QVector<KoStatisticsAlarmData>& alarms, int32_t unused)
{
    QByteArray body;
    KoBodyWriter w(body);
    w.I32(ko_wire::Statistic)
        .I32(pass_id)
        .I8(static_cast<int8_t>(stype))
        .I8(static_cast<int8_t>(sid))
        .I32(samples.size())
        .I32(unused)
        .I32(alarms.size());
    WriteRaw8(w, samples);
    for (const KoStatisticsAlarmData& a : alarms)
        w.I64(a.time).I32(a.code).F64(a.value1).F64(a.value2);
    return body;
}

QByteArray KoDeviceEncoder::StatisticAll(int pass_id,
                                         const QVector<QVector<KoStatisticsData>>& groups,
                                         const QVector<STATISTICS_TYPE>& types,
                                         const QVector<STATISTICS_ID>& ids, int32_t unused1,
                                         int32_t unused2)
{
    QByteArray body;
    KoBodyWriter w(body);
    w.I32(ko_wire::StatisticAll).I32(pass_id).I32(groups.size());
    for (int i = 0; i < groups.size(); ++i) {
        w.I8(static_cast<int8_t>(i < types.size() ? types[i] : STAT_INCOMING))
            .I8(static_cast<int8_t>(i < ids.size() ? ids[i] : STAT_YEAR))
            .I32(groups[i].size());
    }
    w.I32(unused1).I32(unused2);
    for (const auto& g : groups)
        WriteRaw8(w, g);
    return body;
}

QByteArray KoDeviceEncoder::Recorded(int pass_id, int result)
{
    QByteArray body;
    KoBodyWriter(body)
        .I32(ko_wire::RecordAnswer)
        .I32(pass_id)
        .I32(ko_wire::RecordAnswerRecorded)
        .I32(result);
    return body;
}

QByteArray KoDeviceEncoder::RecordStopped(int pass_id)
{
    QByteArray body;
    KoBodyWriter(body).I32(ko_wire::RecordAnswer).I32(pass_id).I32(ko_wire::RecordAnswerStopped);
    return body;
}

QByteArray KoDeviceEncoder::CameraNumsAnswer(int pass_id, int result, const KoCameraNums& nums)
{
    QByteArray body;
    KoBodyWriter(body)
        .I32(ko_wire::CameraNumsAnswer)
        .I32(pass_id)
        .I32(result)
        .I32(nums.left)
        .I32(nums.right);
    return body;
}

QByteArray KoDeviceEncoder::ConnectedAnswer(int pass_count)
{
    QByteArray body;
    KoBodyWriter(body).I32(ko_wire::ConnectedAnswer).I32(pass_count);
    return body;
}

QByteArray KoDeviceEncoder::UpdateFinished(int answer)
{
    QByteArray body;
    KoBodyWriter(body).I32(ko_wire::UpdateFinished).I32(answer);
    return body;
}

QByteArray KoDeviceEncoder::ModemSettingsAck(int ack, const QStringList& settings)
{
    return SettingsAck(ko_wire::ModemSettingsAck, ack, settings);
}

QByteArray KoDeviceEncoder::IpServerAck(int ack, const QStringList& settings)
{
    return SettingsAck(ko_wire::IpServerAck, ack, settings);
}

QByteArray KoDeviceEncoder::RebootAck()
{
    QByteArray body;
    KoBodyWriter(body)
        .I32(ko_wire::RebootAck)
        .Bytes(reinterpret_cast<const char*>(ko_wire::RebootMagic), 4);
    return body;
}

QByteArray KoDeviceEncoder::FilesCountInfo(int pass_id, int frames_counted, int total_frames,
                                           const QString& file_name)
{
    QByteArray body;
    KoBodyWriter(body)
        .I32(ko_wire::FilesCountInfo)
        .I32(pass_id)
        .I32(frames_counted)
        .I32(total_frames)
        .Str16(file_name);
    return body;
}
