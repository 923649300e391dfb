// One 640x480 colour JPEG picture from the received bytes (framed and
// escaped) to the QImage the reader emits, at full size and at the scales a
// door view shows it at, against bare cv::imdecode of the same data.

#include "ko_device_encoder.h"
#include "ko_frame_escaper.h"
#include "ko_frame_parser.h"
#include "ko_image_decoder.h"
#include "ko_message_decoder.h"
#include "ratio_reporter.h"

#include <QImage>
#include <QRandomGenerator>

#include <opencv2/imgcodecs.hpp>

#include <turbojpeg.h>

#include <cstdlib>
#include <vector>

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

void RunFrame(benchmark::State& state, KoImageDecoder::Backend backend, double shown_scale = 1.0)
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
                decoder.Decode(message.image, image, shown_scale);
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

// The pipeline for a view that shows the picture at N/8 of its size, which
// is decoded at that scale.
void BM_FrameToImageScaled(benchmark::State& state)
{
    RunFrame(state, KoImageDecoder::Backend::Fast, double(state.range(0)) / 8);
}
BENCHMARK(BM_FrameToImageScaled)->Arg(1)->Arg(2)->Arg(4)->Unit(benchmark::kMicrosecond);

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

// TurboJPEG alone with the decoder's flags (accurate DCT, smooth chroma
// upsampling) and with the faster ones that give other pixels than
// cv::imdecode: what each would save.
const int TurboFlags[] = {TJFLAG_ACCURATEDCT, TJFLAG_ACCURATEDCT | TJFLAG_FASTUPSAMPLE,
                          TJFLAG_FASTDCT, TJFLAG_FASTDCT | TJFLAG_FASTUPSAMPLE};
const char* const TurboFlagNames[] = {"accurate DCT, smooth upsampling",
                                      "accurate DCT, fast upsampling",
                                      "fast DCT, smooth upsampling", "fast DCT, fast upsampling"};

void TurboDecode(tjhandle handle, int flags, std::vector<uchar>& out)
{
    const QByteArray& jpeg = Jpeg();
    out.resize(size_t(Width) * Height * 3);
    tjDecompress2(handle, reinterpret_cast<const uchar*>(jpeg.constData()),
                  static_cast<unsigned long>(jpeg.size()), out.data(), Width, Width * 3, Height,
                  TJPF_RGB, flags);
}

void BM_Turbo(benchmark::State& state)
{
    tjhandle handle = tjInitDecompress();
    const int flags = TurboFlags[state.range(0)];
    std::vector<uchar> out; // reused, as the decoder reuses its picture
    for (auto _ : state) {
        TurboDecode(handle, flags, out);
        benchmark::DoNotOptimize(out.data());
    }
    tjDestroy(handle);
    state.SetLabel(TurboFlagNames[state.range(0)]);
}
BENCHMARK(BM_Turbo)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

// TurboJPEG alone at N/8 of the size: why the decoder takes only the
// halvings (the other eighths cost more than the full decode).
void BM_TurboScaled(benchmark::State& state)
{
    tjhandle handle = tjInitDecompress();
    const QByteArray& jpeg = Jpeg();
    const int width = Width * int(state.range(0)) / 8;
    const int height = Height * int(state.range(0)) / 8;
    std::vector<uchar> out(size_t(width) * height * 4);
    for (auto _ : state) {
        tjDecompress2(handle, reinterpret_cast<const uchar*>(jpeg.constData()),
                      static_cast<unsigned long>(jpeg.size()), out.data(), width, width * 4,
                      height, TJPF_BGRX, TJFLAG_ACCURATEDCT);
        benchmark::DoNotOptimize(out.data());
    }
    tjDestroy(handle);
}
BENCHMARK(BM_TurboScaled)->DenseRange(1, 8)->Unit(benchmark::kMicrosecond);

// How far the faster flags move the pixels from the accurate decode.
void PrintPixelChanges()
{
    tjhandle handle = tjInitDecompress();
    std::vector<uchar> accurate, other;
    TurboDecode(handle, TurboFlags[0], accurate);
    for (int i = 1; i < 4; ++i) {
        TurboDecode(handle, TurboFlags[i], other);
        int most = 0;
        size_t changed = 0;
        for (size_t k = 0; k < accurate.size(); ++k) {
            const int d = std::abs(int(accurate[k]) - int(other[k]));
            most = std::max(most, d);
            changed += d != 0;
        }
        std::printf("%s: %.1f%% of the samples differ from the accurate decode, by at most %d\n",
                    TurboFlagNames[i], 100.0 * double(changed) / double(accurate.size()), most);
    }
    tjDestroy(handle);
}

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
    reporter.PrintCostRatio("BM_FrameToImageScaled/4", "BM_Imdecode",
                            "frame to picture at 1/2 / bare cv::imdecode (target <= 0.35)");
    reporter.PrintCostRatio("BM_FrameToImageScaled/2", "BM_Imdecode",
                            "frame to picture at 1/4 / bare cv::imdecode");
    reporter.PrintCostRatio("BM_FrameToImageScaled/1", "BM_Imdecode",
                            "frame to picture at 1/8 / bare cv::imdecode");
    reporter.PrintCostRatio("BM_FrameToImageOpenCv", "BM_Imdecode",
                            "frame to picture through cv::imdecode / bare cv::imdecode");
    PrintPixelChanges();
    benchmark::Shutdown();
    return 0;
}
