#include "ko_capture_reader.h"

#include "ko_capture_log.h"

#include <QFile>
#include <QIODevice>

#include <zlib.h>

#include <algorithm>
#include <cstring>

using namespace ko_capture;

namespace {

constexpr int FixedHeaderSize = 24; // magic to the host length, without the host
constexpr int HeaderCrcSize = 4;

// What zlib may need beyond the raw size for bytes that do not compress.
qint64 StoredBound(qint64 raw_size)
{
    return qint64(compressBound(uLong(raw_size))) + 64;
}

} // namespace

KoCaptureReader::KoCaptureReader() = default;
KoCaptureReader::~KoCaptureReader() = default;

bool KoCaptureReader::Open(const QString& path)
{
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadOnly)) {
        errorText = file->errorString();
        return false;
    }
    owned = std::move(file);
    return Open(owned.get());
}

bool KoCaptureReader::Open(QIODevice* device_)
{
    device = device_;
    blocks.clear();
    hasEnd = false;
    status = Status::Ok;
    stopOffset = -1;
    errorText.clear();
    fileSize = device->size();
    if (!ReadHeader())
        return false;
    Index();
    Seek(0);
    return true;
}

bool KoCaptureReader::ReadAt(qint64 offset, char* to, qint64 size)
{
    if (offset < 0 || size < 0 || offset + size > fileSize)
        return false;
    if (!device->seek(offset))
        return false;
    qint64 done = 0;
    while (done < size) {
        const qint64 got = device->read(to + done, size - done);
        if (got <= 0)
            return false;
        done += got;
    }
    return true;
}

bool KoCaptureReader::ReadHeader()
{
    char fixed[FixedHeaderSize];
    if (!ReadAt(0, fixed, FixedHeaderSize) || std::memcmp(fixed, Magic, sizeof Magic) != 0) {
        errorText = tr("not a capture");
        return false;
    }
    header.version = GetU16(fixed + 8);
    if (header.version != Version) {
        errorText = tr("capture format %1 is not known").arg(header.version);
        return false;
    }
    const int host_size = GetU16(fixed + 22);
    if (host_size > MaxHostBytes) {
        errorText = tr("damaged header");
        return false;
    }
    QByteArray whole(FixedHeaderSize + host_size + HeaderCrcSize, '\0');
    if (!ReadAt(0, whole.data(), whole.size())) {
        errorText = tr("the file ends inside its header");
        return false;
    }
    const char* crc_at = whole.constData() + FixedHeaderSize + host_size;
    if (GetU32(crc_at) != Crc32(whole.constData(), FixedHeaderSize + host_size)) {
        errorText = tr("damaged header");
        return false;
    }
    header.startMs = qint64(GetU64(fixed + 12));
    header.port = GetU16(fixed + 20);
    header.host = QString::fromUtf8(whole.constData() + FixedHeaderSize, host_size);
    dataStart = whole.size();
    return true;
}

void KoCaptureReader::ScanStop(Status why, qint64 offset, const QString& text)
{
    scanStatus = why;
    scanOffset = offset;
    scanText = text;
    if (why != Status::End)
        qCDebug(lcCapture) << "capture index stops at" << offset << ":" << text;
}

void KoCaptureReader::Index()
{
    qint64 pos = dataStart;
    qint64 previous_last = 0;
    quint64 chunk_total = 0;
    for (;;) {
        char head[BlockHeadSize];
        if (pos == fileSize)
            return ScanStop(Status::Truncated, pos, tr("no end record"));
        if (!ReadAt(pos, head, 4))
            return ScanStop(Status::Truncated, pos, tr("the file ends inside a block"));
        if (std::memcmp(head, EndTag, 4) == 0) {
            if (!ReadAt(pos, head, EndRecordSize))
                return ScanStop(Status::Truncated, pos,
                                tr("the file ends inside its end record"));
            if (GetU32(head + 32) != Crc32(head, 32))
                return ScanStop(Status::Damaged, pos, tr("damaged end record"));
            if (GetU64(head + 8) != chunk_total)
                return ScanStop(Status::Damaged, pos,
                                tr("the end record counts other chunks"));
            hasEnd = true;
            reason = EndReason(GetU32(head + 4));
            return ScanStop(Status::End, pos + EndRecordSize, QString());
        }
        if (std::memcmp(head, BlockTag, 4) != 0)
            return ScanStop(Status::Damaged, pos, tr("no block where one should start"));
        if (!ReadAt(pos, head, BlockHeadSize))
            return ScanStop(Status::Truncated, pos, tr("the file ends inside a block"));
        if (GetU32(head + 32) != Crc32(head, 32))
            return ScanStop(Status::Damaged, pos, tr("damaged block head"));
        Block b;
        b.offset = pos;
        b.chunks = GetU32(head + 4);
        b.rawSize = GetU32(head + 8);
        b.storedSize = GetU32(head + 12);
        b.firstUs = qint64(GetU64(head + 16));
        b.lastUs = qint64(GetU64(head + 24));
        const bool sane = b.chunks > 0 && b.rawSize <= MaxBlockRaw &&
                          qint64(b.rawSize) >= qint64(b.chunks) * ChunkHeadSize &&
                          b.storedSize > 0 && b.storedSize <= StoredBound(b.rawSize) &&
                          b.firstUs >= previous_last && b.lastUs >= b.firstUs;
        if (!sane)
            return ScanStop(Status::Damaged, pos, tr("a block head out of bounds"));
        if (fileSize - pos - BlockHeadSize < qint64(b.storedSize))
            return ScanStop(Status::Truncated, pos, tr("the file ends inside a block"));
        blocks.push_back(b);
        chunk_total += b.chunks;
        previous_last = b.lastUs;
        pos += BlockHeadSize + b.storedSize;
    }
}

void KoCaptureReader::StopAt(Status why, qint64 offset, const QString& text)
{
    status = why;
    stopOffset = offset;
    errorText = text;
    loaded = false;
    nextBlock = blocks.size();
    if (why != Status::End)
        qCDebug(lcCapture) << "capture stops at" << offset << ":" << text;
}

bool KoCaptureReader::LoadBlock(size_t index)
{
    const Block& b = blocks[index];
    stored.resize(int(b.storedSize));
    if (!ReadAt(b.offset + BlockHeadSize, stored.data(), b.storedSize)) {
        StopAt(Status::Truncated, b.offset, tr("the file cannot be read further"));
        return false;
    }
    raw.resize(int(b.rawSize));
    uLongf size = uLongf(b.rawSize);
    // Inflates into exactly the size the head gives: a block that would
    // unpack to more is damaged, not a reason to allocate. zlib's own check
    // (Adler-32) finds damaged data.
    const int result = uncompress(reinterpret_cast<Bytef*>(raw.data()), &size,
                                  reinterpret_cast<const Bytef*>(stored.constData()),
                                  uLong(stored.size()));
    if (result != Z_OK || size != b.rawSize) {
        StopAt(Status::Damaged, b.offset, tr("a block that does not unpack"));
        return false;
    }
    cursor = 0;
    chunksLeft = b.chunks;
    previousUs = b.firstUs;
    loaded = true;
    return true;
}

bool KoCaptureReader::Next(Chunk& chunk)
{
    while (status == Status::Ok) {
        if (!loaded) {
            if (nextBlock >= blocks.size()) {
                StopAt(scanStatus, scanOffset, scanText);
                return false;
            }
            if (!LoadBlock(nextBlock++))
                return false;
        }
        const Block& b = blocks[nextBlock - 1];
        if (chunksLeft == 0) {
            if (cursor != raw.size()) {
                StopAt(Status::Damaged, b.offset, tr("a block with stray bytes"));
                return false;
            }
            loaded = false;
            continue;
        }
        if (raw.size() - cursor < ChunkHeadSize) {
            StopAt(Status::Damaged, b.offset, tr("a block with fewer chunks"));
            return false;
        }
        const qint64 time_us = qint64(GetU64(raw.constData() + cursor));
        const quint32 length = GetU32(raw.constData() + cursor + 8);
        if (qint64(length) > raw.size() - cursor - ChunkHeadSize || time_us < previousUs ||
            time_us > b.lastUs) {
            StopAt(Status::Damaged, b.offset, tr("a chunk out of bounds"));
            return false;
        }
        cursor += ChunkHeadSize;
        --chunksLeft;
        previousUs = time_us;
        const char* data = raw.constData() + cursor;
        cursor += qsizetype(length);
        if (time_us < skipBeforeUs)
            continue;
        lastUs = time_us;
        chunk.timeUs = time_us;
        chunk.data = QByteArray(data, int(length));
        return true;
    }
    return false;
}

void KoCaptureReader::Seek(qint64 time_us)
{
    status = Status::Ok;
    stopOffset = -1;
    errorText.clear();
    loaded = false;
    // The last block that starts at or before the time; a time between two
    // blocks is reached by skipping the rest of the earlier one.
    const auto after = std::upper_bound(blocks.begin(), blocks.end(), time_us,
                                        [](qint64 t, const Block& b) { return t < b.firstUs; });
    nextBlock = after == blocks.begin() ? 0 : size_t(after - blocks.begin()) - 1;
    skipBeforeUs = time_us;
    lastUs = -1;
}
