#include "ko_capture_summary.h"

#include "ko_frame_parser.h"
#include "ko_message_decoder.h"
#include "ko_wire.h"

KoCaptureSummary KoCaptureSummary::Of(KoCaptureReader& reader)
{
    KoCaptureSummary summary;
    KoFrameParser parser;
    KoDecodedMessage message;
    KoCaptureReader::Chunk chunk;
    const auto door = [](int32_t pass) { return pass >= 0 && pass < 4 ? size_t(pass) : size_t(4); };
    while (reader.Next(chunk)) {
        ++summary.chunks;
        summary.bytes += chunk.data.size();
        const char* p = chunk.data.constData();
        qsizetype left = chunk.data.size();
        while (left > 0) {
            const qsizetype used = parser.Feed(p, left);
            p += used;
            left -= used;
            if (!parser.HasFrame())
                continue;
            using Result = KoDecodedMessage::Result;
            const Result result =
                KoMessageDecoder::Decode(parser.BodyData(), parser.BodySize(), message);
            parser.ReleaseFrame();
            if (result == Result::Empty)
                continue;
            ++summary.messagesByCode[message.code];
            if (result == Result::Dropped)
                ++summary.dropped;
            if (result != Result::Decoded)
                continue;
            if (message.code == ko_wire::Image && door(message.image.passId) < 4)
                ++summary.pictures[door(message.image.passId)];
            if (message.code == ko_wire::TrackedObjects && door(message.tracking.passId) < 4)
                ++summary.tracked[door(message.tracking.passId)];
        }
    }
    summary.badFrames = parser.BadFrames() + parser.OversizedFrames();
    return summary;
}
