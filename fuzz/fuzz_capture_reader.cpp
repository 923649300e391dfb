// Any bytes as a capture file: the reader hands out chunks in time order up
// to where the file stops making sense, says why it stopped, and plays the
// same again after a jump; the chunks then go through the link's parser.
#include "ko_capture_reader.h"
#include "ko_capture_summary.h"

#include <QBuffer>
#include <QByteArray>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), int(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    KoCaptureReader reader;
    if (!reader.Open(&buffer))
        return 0;
    KoCaptureReader::Chunk chunk;
    qint64 last = -1;
    qint64 count = 0;
    while (reader.Next(chunk)) {
        if (chunk.timeUs < last || chunk.timeUs > reader.DurationUs())
            __builtin_trap();
        last = chunk.timeUs;
        ++count;
    }
    if (reader.CurrentStatus() == KoCaptureReader::Status::Ok || reader.Next(chunk))
        __builtin_trap(); // stopped, and says why
    reader.Seek(0);
    const KoCaptureSummary summary = KoCaptureSummary::Of(reader);
    if (summary.chunks != count)
        __builtin_trap(); // the same chunks again
    reader.Seek(reader.DurationUs() / 2);
    while (reader.Next(chunk)) {
    }
    return 0;
}
