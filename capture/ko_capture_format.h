#pragma once

// The layout of a capture file (docs/capture-format.md): a header, blocks of
// received chunks, each block compressed with zlib on its own, and an end
// record. Every number is big-endian, as on the device link.

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace ko_capture {

// The file starts with these eight bytes.
constexpr char Magic[8] = {'\x89', 'V', 'C', 'A', 'P', '\r', '\n', '\x1a'};
constexpr quint16 Version = 1;
// The device's address as the link named it, UTF-8.
constexpr int MaxHostBytes = 255;

constexpr char BlockTag[4] = {'V', 'C', 'B', 'K'};
constexpr char EndTag[4] = {'V', 'C', 'N', 'D'};
constexpr int BlockHeadSize = 36;
constexpr int EndRecordSize = 36;
// Each chunk inside a block: its time (u64 microseconds since the start) and
// its length (u32), then its bytes.
constexpr int ChunkHeadSize = 12;
// A reader refuses larger blocks; the writer stays far below.
constexpr qint64 MaxBlockRaw = 16LL * 1024 * 1024;

// Why a recording ended, kept in the end record.
enum class EndReason : quint32
{
    Stopped = 0,       // the operator stopped it
    SizeLimit = 1,     // the next block would have passed the size limit
    TargetChanged = 2, // the link was pointed at another device
    Closed = 3,        // the program was closed
    Replay = 4,        // a capture was opened for replay
};

} // namespace ko_capture

struct KoCaptureHeader
{
    quint16 version = ko_capture::Version;
    qint64 startMs = 0; // the start, milliseconds since 1970-01-01 UTC
    QString host;       // the device's address as the link named it
    quint16 port = 0;
};

// Big-endian field access and the CRC-32 of the format, shared by the writer
// and the reader.
namespace ko_capture {

void PutU16(QByteArray& out, quint16 v);
void PutU32(QByteArray& out, quint32 v);
void PutU64(QByteArray& out, quint64 v);
quint16 GetU16(const char* p);
quint32 GetU32(const char* p);
quint64 GetU64(const char* p);
quint32 Crc32(const char* data, qint64 size);

} // namespace ko_capture
