// Bytes from the device, fed in uneven chunks through the frame parser; every
// complete frame goes through the message decoder and, for pictures, the
// image decoder with both back ends (TurboJPEG also at reduced scales).
#include "ko_frame_parser.h"
#include "ko_image_decoder.h"
#include "ko_message_decoder.h"

#include <QImage>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static KoImageDecoder fast(KoImageDecoder::Backend::Fast);
    static KoImageDecoder cv(KoImageDecoder::Backend::OpenCv);
    // The first byte picks the chunk size, so splits inside escapes and
    // frame boundaries are explored too, and the scale a JPEG is shown at.
    if (size == 0)
        return 0;
    const qsizetype chunk = 1 + data[0] % 64;
    static const double shown_scales[] = {1.0, 0.5, 0.25, 0.1};
    const double shown_scale = shown_scales[data[0] >> 6];
    const char* p = reinterpret_cast<const char*>(data) + 1;
    qsizetype left = qsizetype(size) - 1;
    KoFrameParser parser(1 << 20);
    while (left > 0) {
        const qsizetype n = parser.Feed(p, qMin(chunk, left));
        p += n;
        left -= n;
        if (!parser.HasFrame())
            continue;
        KoDecodedMessage message;
        if (KoMessageDecoder::Decode(parser.BodyData(), parser.BodySize(), message) ==
                KoDecodedMessage::Result::Decoded &&
            message.code == 1) {
            QImage image;
            fast.Decode(message.image, image, shown_scale);
            cv.Decode(message.image, image);
        }
        parser.ReleaseFrame();
    }
    return 0;
}
