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

struct Decoded
{
    bool ok = false;
    QImage image; // a deep copy
};

Decoded Decode(KoImageDecoder& decoder, int width, int height, int line_step, int encoding,
               const QByteArray& data)
{
    KoDeviceEncoder::ImageHeader h;
    h.width = width;
    h.height = height;
    h.lineStep = line_step;
    h.encoding = encoding;
    const QByteArray body = KoDeviceEncoder::Image(h, data);
    KoDecodedMessage msg;
    Decoded d;
    if (KoMessageDecoder::Decode(body, msg) != KoDecodedMessage::Result::Decoded)
        return d;
    QImage image;
    d.ok = decoder.Decode(msg.image, image);
    d.image = image.copy();
    return d;
}

} // namespace

class TstImageDecoder : public QObject
{
    Q_OBJECT

private slots:
    void jpegSameAsOpenCv_data();
    void jpegSameAsOpenCv();
    void pngGrey();
    void headerSizesDisagree();
    void undecodableGivesNull_data();
    void undecodableGivesNull();
    void rawPixels();
    void rawTooShortDropped_data();
    void rawTooShortDropped();
    void keptPictureNotOverwritten();
};

void TstImageDecoder::jpegSameAsOpenCv_data()
{
    QTest::addColumn<int>("channels");
    QTest::addColumn<bool>("greyOut");
    QTest::addColumn<QSize>("size");
    for (const QSize size : {QSize(96, 64), QSize(97, 61)}) {
        const QByteArray tag =
            QByteArray::number(size.width()) + "x" + QByteArray::number(size.height());
        QTest::newRow(("colour file, colour picture " + tag).constData()) << 3 << false << size;
        QTest::newRow(("colour file, grey picture " + tag).constData()) << 3 << true << size;
        QTest::newRow(("grey file, grey picture " + tag).constData()) << 1 << true << size;
        QTest::newRow(("grey file, colour picture " + tag).constData()) << 1 << false << size;
    }
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
    const Decoded a = Decode(fast, w, h, step, 1, jpeg);
    const Decoded b = Decode(reference, w, h, step, 1, jpeg);
    QVERIFY(a.ok && b.ok);
    QCOMPARE(a.image.size(), QSize(w, h));
    QCOMPARE(a.image.format(), greyOut ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
    QCOMPARE(a.image.format(), b.image.format());
    QCOMPARE(a.image, b.image);
}

void TstImageDecoder::pngGrey()
{
    const QByteArray png = Encode(TestPicture(33, 17, 1), ".png");
    KoImageDecoder decoder;
    // The header's sizes are not those of the file.
    const Decoded d = Decode(decoder, 8, 8, 8, 1, png);
    QVERIFY(d.ok);
    QCOMPARE(d.image.size(), QSize(33, 17));
    QCOMPARE(d.image.depth(), 8);
    QCOMPARE(qGray(d.image.pixel(5, 3)), int(TestPicture(33, 17, 1).at<uchar>(3, 5)));
}

void TstImageDecoder::headerSizesDisagree()
{
    // A colour PNG announced as a much larger picture: the picture has the
    // file's own sizes and never reads past the decoded data.
    const cv::Mat src = TestPicture(21, 13, 3);
    KoImageDecoder decoder;
    const Decoded d = Decode(decoder, 4000, 3000, 13000, 1, Encode(src, ".png"));
    QVERIFY(d.ok);
    QCOMPARE(d.image.size(), QSize(21, 13));
    const cv::Vec3b bgr = src.at<cv::Vec3b>(12, 20);
    QCOMPARE(d.image.pixel(20, 12), qRgb(bgr[2], bgr[1], bgr[0]));
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
        const Decoded d = Decode(decoder, 10, 10, lineStep, 1, data);
        QVERIFY(d.ok); // still emitted
        QVERIFY(d.image.isNull());
    }
}

void TstImageDecoder::rawPixels()
{
    KoImageDecoder decoder;
    // Three channels, blue first; padded lines.
    const Decoded colour =
        Decode(decoder, 2, 2, 8, 0, QByteArray::fromHex("0A141E 010203 FFFF 112233 445566 FFFF"));
    QVERIFY(colour.ok);
    QCOMPARE(colour.image.size(), QSize(2, 2));
    QCOMPARE(colour.image.pixel(0, 0), qRgb(30, 20, 10));
    QCOMPARE(colour.image.pixel(1, 1), qRgb(0x66, 0x55, 0x44));
    const Decoded grey = Decode(decoder, 3, 2, 3, 7, QByteArray::fromHex("000102 F0F1F2"));
    QVERIFY(grey.ok);
    QCOMPARE(grey.image.format(), QImage::Format_Grayscale8);
    QCOMPARE(qGray(grey.image.pixel(2, 1)), 0xF2);
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
    QVERIFY(!Decode(decoder, width, height, lineStep, 0, QByteArray(bytes, 1)).ok);
}

void TstImageDecoder::keptPictureNotOverwritten()
{
    // A receiver that keeps a shallow copy must not see it change under it.
    const QByteArray a = Encode(cv::Mat(16, 16, CV_8UC3, cv::Scalar(0, 0, 0)), ".jpg");
    const QByteArray b = Encode(cv::Mat(16, 16, CV_8UC3, cv::Scalar(255, 255, 255)), ".jpg");
    KoImageDecoder decoder;
    KoDeviceEncoder::ImageHeader h;
    h.width = 16;
    h.height = 16;
    h.lineStep = 48;
    h.encoding = 1;
    KoDecodedMessage msg;
    const QByteArray body_a = KoDeviceEncoder::Image(h, a);
    QCOMPARE(KoMessageDecoder::Decode(body_a, msg), KoDecodedMessage::Result::Decoded);
    QImage kept;
    QVERIFY(decoder.Decode(msg.image, kept));
    const QRgb before = kept.pixel(8, 8);
    const QByteArray body_b = KoDeviceEncoder::Image(h, b);
    QCOMPARE(KoMessageDecoder::Decode(body_b, msg), KoDecodedMessage::Result::Decoded);
    QImage next;
    QVERIFY(decoder.Decode(msg.image, next));
    QCOMPARE(kept.pixel(8, 8), before);
    QVERIFY(next.pixel(8, 8) != before);
}

QTEST_MAIN(TstImageDecoder)
#include "tst_image_decoder.moc"
