#include "ko_request_decoder.h"

#include "ko_body_reader.h"
#include "ko_message_encoder.h"
#include "ko_wire.h"

#include <cstring>

namespace {

using Result = KoDecodedRequest::Result;

KoStatisticsData ReadStamp(KoBodyReader& r)
{
    KoStatisticsData s;
    s.year = static_cast<uint8_t>(r.I8());
    s.month = static_cast<uint8_t>(r.I8());
    s.day = static_cast<uint8_t>(r.I8());
    s.hour = static_cast<uint8_t>(r.I8());
    s.count = r.I32();
    return s;
}

} // namespace

KoDecodedRequest::Result KoRequestDecoder::Decode(const char* body, qsizetype size,
                                                  KoDecodedRequest& out)
{
    out.payload = nullptr;
    out.payloadSize = 0;
    out.code = 0;
    if (size < 4)
        return out.result = Result::Empty;
    KoBodyReader r(body, size);
    out.code = r.I32();
    out.payload = body + 4;
    out.payloadSize = size - 4;

    Result result = Result::Decoded;
    switch (out.code) {
    case ko_wire::MountData: {
        out.passId = r.I32();
        ClientOptions& o = out.options;
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
    case ko_wire::UserParams: {
        out.passId = r.I32();
        const int32_t n = r.I32();
        if (r.Short() || n < 0 || qint64(size) != 28 + 8 * qint64(n)) {
            result = Result::Dropped;
            break;
        }
        KoUserParams& p = out.userParams;
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
        break;
    }
    case ko_wire::StatRequest:
        out.passId = r.I32();
        out.statType = static_cast<STATISTICS_TYPE>(r.I8());
        out.statId = static_cast<STATISTICS_ID>(r.I8());
        out.statStart = ReadStamp(r);
        out.statEnd = ReadStamp(r);
        break;
    case ko_wire::RecordCommand:
        out.passId = r.I32();
        out.recordCommand = r.I32();
        out.recordFrames = out.recordCommand == ko_wire::RecordStart ? r.I32() : 0;
        break;
    case ko_wire::CameraNums:
        out.passId = r.I32();
        out.cameraNums.left = r.I32();
        out.cameraNums.right = r.I32();
        break;
    case ko_wire::ConnectedRequest:
        break;
    case ko_wire::SwUpdate: {
        const int32_t n = r.I32();
        const char* image = r.Bytes(n);
        if (r.Short() || n < 0) {
            result = Result::Dropped;
            break;
        }
        out.sw = QByteArray(image, n);
        out.swChecksum = r.I32();
        out.swChecksumOk = !r.Short() && out.swChecksum == KoMessageEncoder::SwChecksum(out.sw);
        break;
    }
    case ko_wire::ModemSettings:
    case ko_wire::ServerIpSettings:
        if (!r.StringList(out.settings))
            result = Result::Dropped;
        break;
    case ko_wire::Reboot: {
        const char* magic = r.Bytes(4);
        out.rebootMagicOk = magic && std::memcmp(magic, ko_wire::RebootMagic, 4) == 0;
        break;
    }
    case ko_wire::ViewMode:
        out.passId = r.I32();
        out.viewMode = r.I32();
        break;
    default:
        result = Result::Unknown;
        break;
    }
    return out.result = result;
}
