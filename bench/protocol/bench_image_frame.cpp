// One 640x480 colour JPEG picture from the received bytes (framed and
// escaped) to the QImage the reader emits, against bare cv::imdecode of the
// same data.

#include "ko_device_encoder.h"
#include "ko_frame_escaper.h"
#include "ko_frame_parser.h"
#include "ko_image_decoder.h"
#include "ko_message_decoder.h"
#include "ratio_reporter.h"

#include <QImage>
#include <QRandomGenerator>

#include <opencv2/imgcodecs.hpp>

namespace {

constexpr int Width = 640;
constexpr int Height = 480;

// A camera-like picture: smooth shading, edges and sensor noise.
const QByteArray& Jpeg()
{
    static const QByteArray jpeg = [] {
        cv::Mat m(Height, Width, CV_8UC3);
        QRandomGenerator gen(7);
        for (int y = 0; y < Height; ++y) {
            for (int x = 0; x < Width; ++x) {
                auto* px = m.ptr<uchar>(y) + 3 * x;
                const int base = (x / 3 + y / 2) + (((x / 40) + (y / 40)) % 2) * 60;
                for (int c = 0; c < 3; ++c)
                    px[c] = uchar(qBound(0, base + c * 20 + int(gen.bounded(16)), 255));
            }
        }
        std::vector<uchar> out;
        cv::imencode(".jpg", m, out, {cv::IMWRITE_JPEG_QUALITY, 90});
        return QByteArray(reinterpret_cast<const char*>(out.data()), int(out.size()));
    }();
    return jpeg;
}

const QByteArray& Frame()
{
    static const QByteArray frame = [] {
        KoDeviceEncoder::ImageHeader h;
        h.passId = 0;
        h.width = Width;
        h.height = Height;
        h.lineStep = Width * 3;
        h.encoding = 1;
        return KoFrameEscaper::Frame(KoDeviceEncoder::Image(h, Jpeg()));
    }();
    return frame;
}

void RunFrame(benchmark::State& state, KoImageDecoder::Backend backend)
{
    const QByteArray& frame = Frame();
    KoFrameParser parser;
    KoDecodedMessage message;
    KoImageDecoder decoder(backend);
    QImage image;
    for (auto _ : state) {
        const char* p = frame.constData();
        qsizetype left = frame.size();
        while (left > 0) {
            const qsizetype used = parser.Feed(p, left);
            p += used;
            left -= used;
            if (parser.HasFrame()) {
                KoMessageDecoder::Decode(parser.BodyData(), parser.BodySize(), message);
                decoder.Decode(message.image, image);
                benchmark::DoNotOptimize(image.constBits());
                image = QImage();
                parser.ReleaseFrame();
            }
        }
    }
}

void BM_FrameToImage(benchmark::State& state)
{
    RunFrame(state, KoImageDecoder::Backend::Fast);
}
BENCHMARK(BM_FrameToImage)->Unit(benchmark::kMicrosecond);

// The same pipeline with every picture decoded by cv::imdecode and swapped.
void BM_FrameToImageOpenCv(benchmark::State& state)
{
    RunFrame(state, KoImageDecoder::Backend::OpenCv);
}
BENCHMARK(BM_FrameToImageOpenCv)->Unit(benchmark::kMicrosecond);

void BM_Imdecode(benchmark::State& state)
{
    const QByteArray& jpeg = Jpeg();
    const cv::Mat raw(1, jpeg.size(), CV_8UC1, const_cast<char*>(jpeg.constData()));
    for (auto _ : state) {
        cv::Mat m = cv::imdecode(raw, cv::IMREAD_COLOR);
        benchmark::DoNotOptimize(m.data);
    }
}
BENCHMARK(BM_Imdecode)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    std::printf("JPEG %d x %d, %d bytes, frame %d bytes\n", Width, Height, int(Jpeg().size()),
                int(Frame().size()));
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintCostRatio("BM_FrameToImage", "BM_Imdecode",
                            "frame to picture / bare cv::imdecode (target <= 0.6)");
    reporter.PrintCostRatio("BM_FrameToImageOpenCv", "BM_Imdecode",
                            "frame to picture through cv::imdecode / bare cv::imdecode");
    benchmark::Shutdown();
    return 0;
}
