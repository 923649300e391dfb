#include "ko_image_decoder.h"

#include "ko_link_log.h"
#include "ko_wire.h"

#include <opencv2/imgcodecs.hpp>

#include <turbojpeg.h>

#include <QtGlobal>

#include <cstring>
#include <exception>
#include <limits>

KoImageDecoder::KoImageDecoder(Backend backend)
{
    // OpenCV allocates what a picture's header claims, up to 2^30 pixels by
    // default; a device's picture never needs that much. Set once, before
    // the first decode reads it.
    static const bool limited = [] {
        if (!qEnvironmentVariableIsSet("OPENCV_IO_MAX_IMAGE_PIXELS"))
            qputenv("OPENCV_IO_MAX_IMAGE_PIXELS", QByteArray::number(MaxPixels));
        return true;
    }();
    Q_UNUSED(limited)
    if (backend == Backend::Fast)
        turbo = tjInitDecompress();
}

KoImageDecoder::~KoImageDecoder()
{
    if (turbo)
        tjDestroy(static_cast<tjhandle>(turbo));
}

bool KoImageDecoder::Decode(const KoImageMessage& m, QImage& image, double shown_scale)
{
    image = QImage();
    const bool grey = m.lineStep == m.width;
    if (m.encoding == ko_wire::ImageEncodingCompressed) {
        const auto* data = reinterpret_cast<const uchar*>(m.data);
        const bool jpeg =
            m.dataLength >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
        if (!(turbo && jpeg && DecodeJpeg(data, m.dataLength, grey, shown_scale, image)))
            DecodeOpenCv(data, m.dataLength, grey, image);
        return true;
    }

    // Raw pixels: height lines of line-step bytes, which must all be there.
    if (m.width < 0 || m.height < 0 || m.lineStep < 0)
        return false;
    const qint64 need = qint64(m.height) * m.lineStep;
    const qint64 line = grey ? qint64(m.width) : qint64(m.width) * 3;
    if (need > m.dataLength || (m.height > 0 && line > m.lineStep)) {
        qCDebug(lcLink) << "raw picture" << m.width << "x" << m.height << "step" << m.lineStep
                        << "with" << m.dataLength << "bytes dropped";
        return false;
    }
    const auto* data = reinterpret_cast<const uchar*>(m.data);
    if (grey)
        image = QImage(data, m.width, m.height, m.lineStep, QImage::Format_Grayscale8);
    else
        image = FromBgr(data, m.width, m.height, m.lineStep);
    return true;
}

namespace {

// One line of blue-first bytes to 32-bit pixels. On a little-endian machine
// blue, green, red is already the byte order of a 32-bit pixel, so four
// pixels come from three words with the alpha byte set.
void BgrLineToRgb32(const uchar* src, QRgb* dst, int width)
{
    int x = 0;
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    for (; x + 4 <= width; x += 4, src += 12) {
        quint32 w[3];
        std::memcpy(w, src, sizeof w);
        dst[x] = 0xff000000u | w[0];
        dst[x + 1] = 0xff000000u | (w[0] >> 24) | (w[1] << 8);
        dst[x + 2] = 0xff000000u | (w[1] >> 16) | (w[2] << 16);
        dst[x + 3] = 0xff000000u | (w[2] >> 8);
    }
#endif
    for (; x < width; ++x, src += 3)
        dst[x] = qRgb(src[2], src[1], src[0]);
}

} // namespace

QImage KoImageDecoder::FromBgr(const uchar* data, int width, int height, qint64 step)
{
    // One pass from blue-first bytes to the 32-bit layout pixmaps use as is,
    // into the last picture's buffer when nobody kept it.
    if (!TargetBuffer(width, height, QImage::Format_RGB32))
        return QImage();
    turboImage.setDevicePixelRatio(1.0);
    for (int y = 0; y < height; ++y)
        BgrLineToRgb32(data + y * step, reinterpret_cast<QRgb*>(turboImage.scanLine(y)), width);
    return turboImage;
}

uchar* KoImageDecoder::TargetBuffer(int width, int height, QImage::Format format)
{
    // Decode into last picture's buffer unless a receiver kept it.
    if (turboImage.width() != width || turboImage.height() != height ||
        turboImage.format() != format || !turboImage.isDetached())
        turboImage = QImage(width, height, format);
    return turboImage.isNull() ? nullptr : turboImage.bits();
}

int KoImageDecoder::ScaleEighths(int width, int height, double shown_scale)
{
    // Only the halvings: at 1/2, 1/4 and 1/8 libjpeg-turbo's own inverse
    // DCTs do the scaling, while the other eighths take plain C routines
    // that cost more than the full decode (5/8 nearly twice as much). Half a
    // device pixel short still counts as shown in full.
    for (int eighths = 1; eighths < 8; eighths *= 2) {
        const bool exact = width * eighths % 8 == 0 && height * eighths % 8 == 0;
        if (exact && width * eighths / 8 >= width * shown_scale - 0.5 &&
            height * eighths / 8 >= height * shown_scale - 0.5)
            return eighths;
    }
    return 8; // also for a scale that is no number
}

bool KoImageDecoder::DecodeJpeg(const uchar* data, qint64 size, bool grey, double shown_scale,
                                QImage& image)
{
    if (size < 0 || quint64(size) > std::numeric_limits<unsigned long>::max())
        return false;
    auto* handle = static_cast<tjhandle>(turbo);
    int width = 0, height = 0, subsamp = 0, colorspace = 0;
    if (tjDecompressHeader3(handle, data, static_cast<unsigned long>(size), &width, &height,
                            &subsamp, &colorspace) != 0)
        return false;
    // CMYK pictures are left to OpenCV, which knows its own conversion.
    if (colorspace == TJCS_CMYK || colorspace == TJCS_YCCK)
        return false;
    if (width <= 0 || height <= 0 || qint64(width) * height > MaxPixels)
        return false;
    // Colour goes straight into Format_RGB32 (0xffRRGGBB words), which
    // QPixmap takes without a conversion.
    const QImage::Format format = grey ? QImage::Format_Grayscale8 : QImage::Format_RGB32;
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    const int colourFormat = TJPF_BGRX; // bytes B, G, R, 0xFF
#else
    const int colourFormat = TJPF_XRGB;
#endif
    // Scaled in the DCT domain: TurboJPEG takes the largest of its scales
    // that fits the size asked for, which is exactly this one.
    const int eighths = ScaleEighths(width, height, shown_scale);
    const int scaled_width = width * eighths / 8;
    const int scaled_height = height * eighths / 8;
    uchar* target = TargetBuffer(scaled_width, scaled_height, format);
    if (!target)
        return false;
    turboImage.setDevicePixelRatio(eighths / 8.0);
    // Accurate DCT and smooth upsampling, as libjpeg does by default: the
    // same pixels cv::imdecode gives at full size.
    const int result = tjDecompress2(handle, data, static_cast<unsigned long>(size), target,
                                     scaled_width, int(turboImage.bytesPerLine()), scaled_height,
                                     grey ? TJPF_GRAY : colourFormat, TJFLAG_ACCURATEDCT);
    // A warning (a truncated picture, say) still leaves a picture, as with libjpeg.
    if (result != 0 && tjGetErrorCode(handle) != TJERR_WARNING)
        return false;
    image = turboImage;
    return true;
}

void KoImageDecoder::DecodeOpenCv(const uchar* data, qint64 size, bool grey, QImage& image)
{
    decoded.release();
    // cv::imdecode throws on an empty buffer and on headers claiming huge
    // sizes; every failure gives the null picture.
    try {
        if (size > 0 && size <= std::numeric_limits<int>::max()) {
            const cv::Mat raw(1, int(size), CV_8UC1, const_cast<uchar*>(data));
            decoded = cv::imdecode(raw, grey ? cv::IMREAD_GRAYSCALE : cv::IMREAD_COLOR);
        }
    } catch (const std::exception& e) {
        qCDebug(lcLink) << "picture not decoded:" << e.what();
        decoded.release();
    }
    if (decoded.empty() || decoded.depth() != CV_8U ||
        qint64(decoded.cols) * decoded.rows > MaxPixels)
        return;
    // The decoded matrix's own sizes: the header's may disagree with the data.
    const int step = int(decoded.step[0]);
    if (grey && decoded.channels() == 1)
        image = QImage(decoded.data, decoded.cols, decoded.rows, step, QImage::Format_Grayscale8);
    else if (!grey && decoded.channels() == 3)
        image = FromBgr(decoded.data, decoded.cols, decoded.rows, step);
}
