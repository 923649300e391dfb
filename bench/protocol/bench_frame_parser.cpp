// The frame parser on picture-like frames (random payload, so about one byte
// in 85 needs escaping) against memcpy of the same bytes.

#include "ko_frame_escaper.h"
#include "ko_frame_parser.h"
#include "ratio_reporter.h"

#include <QRandomGenerator>

#include <cstring>

namespace {

const QByteArray& Stream()
{
    // Four frames of 256 KiB, a typical run of pictures between two reads.
    static const QByteArray stream = [] {
        QRandomGenerator gen(42);
        QByteArray out;
        for (int f = 0; f < 4; ++f) {
            QByteArray body(256 * 1024, Qt::Uninitialized);
            for (char& c : body)
                c = static_cast<char>(gen.bounded(256));
            KoFrameEscaper::Escape(body, KoFrameEscaper::Whole, out);
        }
        return out;
    }();
    return stream;
}

void RunParser(benchmark::State& state)
{
    const QByteArray& stream = Stream();
    KoFrameParser parser;
    qint64 body_bytes = 0;
    for (auto _ : state) {
        const char* p = stream.constData();
        qsizetype left = stream.size();
        while (left > 0) {
            const qsizetype used = parser.Feed(p, left);
            p += used;
            left -= used;
            if (parser.HasFrame()) {
                body_bytes += parser.BodySize();
                benchmark::DoNotOptimize(parser.BodyData());
                parser.ReleaseFrame();
            }
        }
    }
    benchmark::DoNotOptimize(body_bytes);
    state.SetBytesProcessed(int64_t(state.iterations()) * stream.size());
}

void BM_FrameParser(benchmark::State& state)
{
    KoFrameParser::SetFastPathAllowed(true);
    RunParser(state);
}
BENCHMARK(BM_FrameParser);

// The path taken on processors without AVX-512 VBMI2.
void BM_FrameParserPortable(benchmark::State& state)
{
    KoFrameParser::SetFastPathAllowed(false);
    RunParser(state);
    KoFrameParser::SetFastPathAllowed(true);
}
BENCHMARK(BM_FrameParserPortable);

void BM_Memcpy(benchmark::State& state)
{
    const QByteArray& stream = Stream();
    QByteArray target(stream.size(), Qt::Uninitialized);
    for (auto _ : state) {
        std::memcpy(target.data(), stream.constData(), size_t(stream.size()));
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * stream.size());
}
BENCHMARK(BM_Memcpy);

// memcpy of one raw 1280x720 RGB picture: the reference of the soak script's
// CPU time per raw picture byte.
void BM_MemcpyRawPicture(benchmark::State& state)
{
    const QByteArray source(1280 * 720 * 3, '\x5A');
    QByteArray target(source.size(), Qt::Uninitialized);
    for (auto _ : state) {
        std::memcpy(target.data(), source.constData(), size_t(source.size()));
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * source.size());
}
BENCHMARK(BM_MemcpyRawPicture)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintSpeedRatio("BM_FrameParser", "BM_Memcpy",
                             "frame parser throughput / memcpy (target >= 0.25)");
    reporter.PrintSpeedRatio("BM_FrameParserPortable", "BM_Memcpy",
                             "portable frame parser throughput / memcpy");
    benchmark::Shutdown();
    return 0;
}
