#pragma once

#include "ko_decoded_messages.h"

#include <QImage>

#include <opencv2/core.hpp>

// Turns the data of an image message into the picture the panels show.
//
// One channel (line step equal to width) gives an 8-bit grey picture, three
// channels an RGB32 picture (the layout QPixmap takes without a
// conversion). JPEG data is decoded with TurboJPEG straight into
// the final pixel order; any other compressed format goes through
// cv::imdecode. Raw pixels are wrapped without a copy where the format allows.
//
// A JPEG picture may be decoded smaller than it is, at the smallest of
// TurboJPEG's scales 1/8, 1/4 and 1/2 that still gives the shown scale: a
// view that shows a 640x480 picture at 300x225 device pixels needs no more
// than a 1/2 decode, at two thirds of the cost. The picture's device pixel
// ratio is then that scale, so its size divided by the ratio is the
// picture's own size (the only scales taken are those that give it
// exactly); every other picture has the ratio 1.
//
// The picture may refer to the message's data or to this decoder's buffers:
// it is valid until the next Decode or until the message's body goes away. A
// receiver that keeps it must copy it.
class KoImageDecoder
{
public:
    enum class Backend
    {
        Fast,   // TurboJPEG for JPEG data, cv::imdecode for the rest
        OpenCv, // cv::imdecode for every compressed picture
    };

    explicit KoImageDecoder(Backend backend = Backend::Fast);
    ~KoImageDecoder();
    KoImageDecoder(const KoImageDecoder&) = delete;
    KoImageDecoder& operator=(const KoImageDecoder&) = delete;

    // False when the message must be dropped: raw data that does not hold
    // its lines, or sizes that cannot be a picture. A compressed picture that
    // does not decode is not dropped: it gives a null picture.
    // shown_scale: how large the picture is shown, in device pixels per
    // picture pixel; 1 or more (or no number) decodes at full size, which
    // gives exactly cv::imdecode's pixels.
    bool Decode(const KoImageMessage& message, QImage& image, double shown_scale = 1.0);

    // The scale a width x height JPEG picture is decoded at for shown_scale,
    // as eighths (1, 2, 4 or 8).
    static int ScaleEighths(int width, int height, double shown_scale);

    // The largest picture decoded, in pixels; a header claiming more is
    // refused rather than allocated.
    static constexpr qint64 MaxPixels = qint64(1) << 26;

private:
    bool DecodeJpeg(const uchar* data, qint64 size, bool grey, double shown_scale, QImage& image);
    void DecodeOpenCv(const uchar* data, qint64 size, bool grey, QImage& image);
    uchar* TargetBuffer(int width, int height, QImage::Format format);
    QImage FromBgr(const uchar* data, int width, int height, qint64 step);

    void* turbo = nullptr; // tjhandle
    QImage turboImage;     // reused while nobody keeps a copy of it
    cv::Mat decoded;       // what cv::imdecode gave last
};
