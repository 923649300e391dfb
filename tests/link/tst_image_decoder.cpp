// Pictures of the image message: TurboJPEG, OpenCV and raw paths.

#include "ko_device_encoder.h"
#include "ko_image_decoder.h"
#include "ko_message_decoder.h"

#include <QtTest>

#include <opencv2/imgcodecs.hpp>

namespace {

// A picture with smooth gradients and some detail, so JPEG has work to do.
cv::Mat TestPicture(int width, int height, int channels)
{
    cv::Mat m(height, width, channels == 1 ? CV_8UC1 : CV_8UC3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uchar* px = m.ptr<uchar>(y) + x * channels;
            for (int c = 0; c < channels; ++c)
                px[c] = uchar((x * (c + 1) + y * (3 - c) + ((x ^ y) & 15) * 4) & 0xff);
        }
    }
    return m;
}

QByteArray Encode(const cv::Mat& m, const char* ext)
{
    std::vector<uchar> out;
    cv::imencode(ext, m, out);
    return QByteArray(reinterpret_cast<const char*>(out.data()), int(out.size()));
}

// Frames the data as an image message, decodes the message and then the
// picture into image, which may share the decoder's buffer or, for a raw grey
// picture, the frame's bytes: the frame is kept until the next call, as the
// reader keeps a message until the next one.
bool Decode(KoImageDecoder& decoder, int width, int height, int line_step, int encoding,
            const QByteArray& data, QImage& image, double shown_scale = 1.0)
{
    KoDeviceEncoder::ImageHeader h;
    h.width = width, h.height = height, h.lineStep = line_step, h.encoding = encoding;
    static QByteArray frame;
    frame = KoDeviceEncoder::Image(h, data);
    KoDecodedMessage msg;
    return KoMessageDecoder::Decode(frame, msg) == KoDecodedMessage::Result::Decoded &&
           decoder.Decode(msg.image, image, shown_scale);
}

} // namespace

class TstImageDecoder : public QObject
{
    Q_OBJECT

private slots:
    void jpegSameAsOpenCv_data();
    void jpegSameAsOpenCv();
    void jpegScaled_data();
    void jpegScaled();
    void headerSizesDisagree_data();
    void headerSizesDisagree();
    void undecodableGivesNull_data();
    void undecodableGivesNull();
    void rawColourWidths_data();
    void rawColourWidths();
    void rawTooShortDropped_data();
    void rawTooShortDropped();
    void keptPictureNotOverwritten_data();
    void keptPictureNotOverwritten();
};

void TstImageDecoder::jpegSameAsOpenCv_data()
{
    QTest::addColumn<int>("channels");
    QTest::addColumn<bool>("greyOut");
    QTest::addColumn<QSize>("size");
    // Sizes off the 8- and 16-pixel blocks for two of them.
    QTest::newRow("colour file, colour picture") << 3 << false << QSize(96, 64);
    QTest::newRow("colour file, grey picture") << 3 << true << QSize(97, 61);
    QTest::newRow("grey file, grey picture") << 1 << true << QSize(96, 64);
    QTest::newRow("grey file, colour picture") << 1 << false << QSize(97, 61);
}

void TstImageDecoder::jpegSameAsOpenCv()
{
    QFETCH(int, channels);
    QFETCH(bool, greyOut);
    QFETCH(QSize, size);
    const int w = size.width(), h = size.height();
    const QByteArray jpeg = Encode(TestPicture(w, h, channels), ".jpg");
    const int step = greyOut ? w : w * 3;
    KoImageDecoder fast(KoImageDecoder::Backend::Fast);
    KoImageDecoder reference(KoImageDecoder::Backend::OpenCv);
    QImage a, b;
    QVERIFY(Decode(fast, w, h, step, 1, jpeg, a) && Decode(reference, w, h, step, 1, jpeg, b));
    QCOMPARE(a.size(), QSize(w, h));
    QCOMPARE(a.format(), greyOut ? QImage::Format_Grayscale8 : QImage::Format_RGB32);
    QCOMPARE(a.format(), b.format());
    QCOMPARE(a, b);
}

void TstImageDecoder::jpegScaled_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("greyOut");
    QTest::addColumn<double>("shown");
    QTest::addColumn<int>("eighths"); // the scale it is decoded at
    const QSize even(96, 64);
    QTest::newRow("half") << even << false << 0.5 << 4;
    QTest::newRow("half a pixel short of a half") << even << false << 0.5 + 0.4 / 96 << 4;
    QTest::newRow("more than half a pixel over a half") << even << false << 0.5 + 0.6 / 96 << 8;
    QTest::newRow("0.61: no odd eighths") << even << false << 0.61 << 8;
    QTest::newRow("just over a quarter") << even << false << 0.26 << 4;
    QTest::newRow("quarter, grey") << even << true << 0.25 << 2;
    QTest::newRow("tiny") << even << false << 0.01 << 1;
    QTest::newRow("zoomed in") << even << false << 1.08 << 8;
    QTest::newRow("no number") << even << false << qQNaN() << 8;
    QTest::newRow("not a multiple of eight") << QSize(97, 61) << false << 0.1 << 8;
}

void TstImageDecoder::jpegScaled()
{
    // A picture shown small is decoded small, with its own size in its
    // device pixel ratio; what is shown at full size is cv::imdecode's.
    QFETCH(QSize, size);
    QFETCH(bool, greyOut);
    QFETCH(double, shown);
    QFETCH(int, eighths);
    const int w = size.width(), h = size.height(), step = greyOut ? w : w * 3;
    const QByteArray jpeg = Encode(TestPicture(w, h, 3), ".jpg");
    KoImageDecoder decoder, reference(KoImageDecoder::Backend::OpenCv);
    QImage scaled, full;
    QVERIFY(Decode(decoder, w, h, step, 1, jpeg, scaled, shown));
    QVERIFY(Decode(reference, w, h, step, 1, jpeg, full));
    QCOMPARE(scaled.size(), size * eighths / 8);
    QCOMPARE(scaled.devicePixelRatio(), eighths / 8.0);
    QCOMPARE(scaled.format(), full.format());
    if (eighths == 8)
        QCOMPARE(scaled, full);
    // A raw picture in the same buffer afterwards is its own size again.
    QImage raw;
    QVERIFY(Decode(decoder, scaled.width(), scaled.height(), scaled.width() * 3, 0,
                   QByteArray(scaled.width() * scaled.height() * 3, 7), raw, shown));
    QCOMPARE(raw.devicePixelRatio(), 1.0);
}

void TstImageDecoder::headerSizesDisagree_data()
{
    QTest::addColumn<int>("channels");
    QTest::addColumn<QSize>("announced");
    QTest::newRow("grey, smaller") << 1 << QSize(8, 8);
    QTest::newRow("colour, much larger") << 3 << QSize(4000, 3000);
}

void TstImageDecoder::headerSizesDisagree()
{
    // The picture has the file's own sizes and never reads past the decoded data.
    QFETCH(int, channels);
    QFETCH(QSize, announced);
    const cv::Mat src = TestPicture(21, 13, channels);
    KoImageDecoder decoder;
    QImage image;
    QVERIFY(Decode(decoder, announced.width(), announced.height(), announced.width() * channels, 1,
                   Encode(src, ".png"), image));
    QCOMPARE(image.size(), QSize(21, 13));
    QCOMPARE(image.depth(), channels == 1 ? 8 : 32);
    const uchar* px = src.ptr<uchar>(12) + 20 * channels;
    QCOMPARE(image.pixel(20, 12),
             channels == 1 ? qRgb(px[0], px[0], px[0]) : qRgb(px[2], px[1], px[0]));
}

void TstImageDecoder::undecodableGivesNull_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("lineStep");
    QTest::newRow("empty") << QByteArray() << 30;
    QTest::newRow("garbage") << QByteArray("not a picture at all") << 30;
    QByteArray jpeg = Encode(TestPicture(32, 32, 3), ".jpg");
    QTest::newRow("jpeg head only") << jpeg.left(20) << 30;
    QTest::newRow("jpeg marker only") << QByteArray::fromHex("FFD8FF") << 10;
}

void TstImageDecoder::undecodableGivesNull()
{
    QFETCH(QByteArray, data);
    QFETCH(int, lineStep);
    for (auto backend : {KoImageDecoder::Backend::Fast, KoImageDecoder::Backend::OpenCv}) {
        KoImageDecoder decoder(backend);
        QImage image;
        QVERIFY(Decode(decoder, 10, 10, lineStep, 1, data, image)); // still emitted
        QVERIFY(image.isNull());
    }
}

// Colour lines are converted four pixels at a time with the rest one by one:
// every width around a multiple of four, padded lines, blue first, every
// pixel opaque. A line step of the width is a grey picture.
void TstImageDecoder::rawColourWidths_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("grey");
    for (int width : {1, 3, 4, 5, 7, 8, 9, 13})
        QTest::newRow(QByteArray::number(width).constData()) << width << false;
    QTest::newRow("grey 3") << 3 << true;
}

void TstImageDecoder::rawColourWidths()
{
    QFETCH(int, width);
    QFETCH(bool, grey);
    const int height = 3, step = grey ? width : width * 3 + 2;
    QByteArray data(height * step, 0);
    for (int i = 0; i < data.size(); ++i)
        data[i] = char(i * 37 + 11);
    KoImageDecoder decoder;
    QImage image;
    QVERIFY(Decode(decoder, width, height, step, 0, data, image));
    QCOMPARE(image.size(), QSize(width, height));
    QCOMPARE(image.format(), grey ? QImage::Format_Grayscale8 : QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            const auto* px = reinterpret_cast<const uchar*>(data.constData()) + y * step;
            if (grey)
                QCOMPARE(int(image.constScanLine(y)[x]), int(px[x]));
            else
                QCOMPARE(line[x], qRgb(px[3 * x + 2], px[3 * x + 1], px[3 * x]));
        }
    }
}

void TstImageDecoder::rawTooShortDropped_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("lineStep");
    QTest::addColumn<int>("bytes");
    QTest::newRow("grey one byte short") << 4 << 4 << 4 << 15;
    QTest::newRow("colour one line short") << 4 << 4 << 12 << 36;
    QTest::newRow("colour step below three per pixel") << 4 << 1 << 8 << 64;
    QTest::newRow("negative height") << 4 << -1 << 4 << 16;
    QTest::newRow("huge sizes") << 0x7fffffff << 0x7fffffff << 0x7ffffffe << 16;
}

void TstImageDecoder::rawTooShortDropped()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, lineStep);
    QFETCH(int, bytes);
    KoImageDecoder decoder;
    QImage image;
    QVERIFY(!Decode(decoder, width, height, lineStep, 0, QByteArray(bytes, 1), image));
}

void TstImageDecoder::keptPictureNotOverwritten_data()
{
    QTest::addColumn<int>("encoding");
    QTest::newRow("jpeg") << 1;
    QTest::newRow("raw") << 0;
}

void TstImageDecoder::keptPictureNotOverwritten()
{
    // A receiver that keeps a shallow copy must not see it change under it,
    // although the decoder reuses its buffer otherwise.
    QFETCH(int, encoding);
    KoImageDecoder decoder;
    QImage kept, next;
    const auto picture = [encoding](int v) {
        return encoding ? Encode(cv::Mat(16, 16, CV_8UC3, cv::Scalar::all(v)), ".jpg")
                        : QByteArray(16 * 48, char(v));
    };
    QVERIFY(Decode(decoder, 16, 16, 48, encoding, picture(0), kept));
    const QRgb before = kept.pixel(8, 8);
    QVERIFY(Decode(decoder, 16, 16, 48, encoding, picture(255), next));
    QCOMPARE(kept.pixel(8, 8), before);
    QVERIFY(next.pixel(8, 8) != before);
}

QTEST_MAIN(TstImageDecoder)
#include "tst_image_decoder.moc"
