#include "ko_message_encoder.h"

#include "ko_body_writer.h"
#include "ko_frame_escaper.h"
#include "ko_wire.h"

#include <cmath>
#include <limits>

namespace {

void WriteStamp(KoBodyWriter& w, const KoStatisticsData& stamp)
{
    w.I8(static_cast<int8_t>(stamp.year))
        .I8(static_cast<int8_t>(stamp.month))
        .I8(static_cast<int8_t>(stamp.day))
        .I8(static_cast<int8_t>(stamp.hour))
        .I32(stamp.count);
}

QByteArray StringList(int32_t code, const QStringList& settings)
{
    QByteArray body;
    KoBodyWriter w(body);
    w.I32(code).I32(settings.size());
    for (const QString& s : settings)
        w.Str32(s);
    return body;
}

} // namespace

int32_t KoMessageEncoder::ToMilli(double value)
{
    const double milli = std::trunc(value * 1000.0);
    // Out-of-range or NaN coordinates would be undefined to convert; clamp them.
    if (!(milli == milli))
        return 0;
    if (milli >= double(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    if (milli <= double(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(milli);
}

QByteArray KoMessageEncoder::MountData(int pass_id, const ClientOptions& o)
{
    QByteArray body;
    KoBodyWriter(body)
        .I32(ko_wire::MountData)
        .I32(pass_id)
        .I32(o.camMountHeight)
        .I32(o.camViewAngle)
        .I32(o.camAngleSlope)
        .I32(o.minObjectHeight)
        .I32(o.minHeadSquare)
        .I32(o.maxHumanVelocity)
        .I32(o.headSize)
        .I32(o.minTrackLenght)
        .I32(o.minLostObjectFrames)
        .I32(o.etalonHeight);
    return body;
}

QByteArray KoMessageEncoder::UserParams(int pass_id, const KoUserParams& params)
{
    QByteArray body;
    KoBodyWriter w(body);
    // The count always matches the points that follow, whatever the record says.
    w.I32(ko_wire::UserParams).I32(pass_id).I32(params.line.size());
    for (const QPointF& pt : params.line)
        w.I32(ToMilli(pt.x())).I32(ToMilli(pt.y()));
    w.I32(ToMilli(params.zone.x()))
        .I32(ToMilli(params.zone.y()))
        .I32(ToMilli(params.zone.width()))
        .I32(ToMilli(params.zone.height()));
    return body;
}

QByteArray KoMessageEncoder::StatRequest(int pass_id, const KoStatisticsData& data_start,
                                         const KoStatisticsData& data_end, STATISTICS_TYPE stype,
                                         STATISTICS_ID sid)
{
    QByteArray body;
    KoBodyWriter w(body);
    w.I32(ko_wire::StatRequest)
        .I32(pass_id)
        .I8(static_cast<int8_t>(stype))
        .I8(static_cast<int8_t>(sid));
    WriteStamp(w, data_start);
    WriteStamp(w, data_end);
    return body;
}

QByteArray KoMessageEncoder::StartRecord(int pass_id, int frames)
{
    QByteArray body;
    KoBodyWriter(body)
        .I32(ko_wire::RecordCommand)
        .I32(pass_id)
        .I32(ko_wire::RecordStart)
        .I32(frames);
    return body;
}

QByteArray KoMessageEncoder::StopRecord(int pass_id)
{
    QByteArray body;
    KoBodyWriter(body).I32(ko_wire::RecordCommand).I32(pass_id).I32(ko_wire::RecordStop);
    return body;
}

QByteArray KoMessageEncoder::CameraNums(int pass_id, const KoCameraNums& nums)
{
    QByteArray body;
    KoBodyWriter(body).I32(ko_wire::CameraNums).I32(pass_id).I32(nums.left).I32(nums.right);
    return body;
}

QByteArray KoMessageEncoder::ConnectedRequest()
{
    QByteArray body;
    KoBodyWriter(body).I32(ko_wire::ConnectedRequest);
    return body;
}

int32_t KoMessageEncoder::SwChecksum(const QByteArray& sw)
{
    uint32_t sum = 0; // unsigned so the wrap-around is defined
    for (const char c : sw)
        sum += static_cast<uint32_t>(static_cast<int32_t>(static_cast<int8_t>(c)));
    return static_cast<int32_t>(sum);
}

QByteArray KoMessageEncoder::SwUpdate(const QByteArray& sw)
{
    QByteArray body;
    KoBodyWriter(body).I32(ko_wire::SwUpdate).I32(sw.size()).Bytes(sw).I32(SwChecksum(sw));
    return body;
}

QByteArray KoMessageEncoder::SwUpdateFrame(const QByteArray& sw)
{
    QByteArray head;
    KoBodyWriter(head).I32(ko_wire::SwUpdate).I32(sw.size());
    QByteArray tail;
    KoBodyWriter(tail).I32(SwChecksum(sw));
    QByteArray frame;
    frame.reserve(int(head.size() + sw.size() + sw.size() / 32 + tail.size() + 8));
    KoFrameEscaper::Escape(head, KoFrameEscaper::StartOnly, frame);
    KoFrameEscaper::Escape(sw, KoFrameEscaper::BodyOnly, frame);
    KoFrameEscaper::Escape(tail, KoFrameEscaper::EndOnly, frame);
    return frame;
}

QByteArray KoMessageEncoder::ModemSettings(const QStringList& settings)
{
    return StringList(ko_wire::ModemSettings, settings);
}

QByteArray KoMessageEncoder::ServerIpSettings(const QStringList& settings)
{
    return StringList(ko_wire::ServerIpSettings, settings);
}

QByteArray KoMessageEncoder::Reboot()
{
    QByteArray body;
    KoBodyWriter(body)
        .I32(ko_wire::Reboot)
        .Bytes(reinterpret_cast<const char*>(ko_wire::RebootMagic), 4);
    return body;
}

QByteArray KoMessageEncoder::ViewMode(int pass_id, int mode)
{
    QByteArray body;
    KoBodyWriter(body).I32(ko_wire::ViewMode).I32(pass_id).I32(mode);
    return body;
}
