#include "ko_capture_writer.h"

#include "ko_capture_log.h"

#include <QCoreApplication>

#include <zlib.h>

#include <algorithm>

using namespace ko_capture;

KoCaptureWriter::KoCaptureWriter(qint64 limit_) : limit(limit_) {}

KoCaptureWriter::~KoCaptureWriter()
{
    Discard();
}

bool KoCaptureWriter::Fail(const QString& why)
{
    error = why;
    qCWarning(lcCapture) << "capture not written:" << why;
    Discard();
    status = Status::Failed;
    return false;
}

bool KoCaptureWriter::Open(const QString& path, const KoCaptureHeader& header)
{
    Discard();
    error.clear();
    raw.clear();
    fileSize = 0;
    lastTimeUs = 0;
    blockChunks = 0;
    writtenChunks = 0;
    writtenBytes = 0;
    writtenLastUs = 0;
    deflateNs = 0;
    storedRun = 0;
    sinceOpen.start();

    const QByteArray host = header.host.toUtf8();
    if (host.size() > MaxHostBytes)
        return Fail(QCoreApplication::translate("KoCaptureWriter", "the device's name is too long"));

    zs = std::make_unique<z_stream_s>();
    *zs = z_stream_s();
    // The fastest level: pictures that come compressed gain little from any.
    if (deflateInit(zs.get(), Z_BEST_SPEED) != Z_OK) {
        zs.reset();
        return Fail(QCoreApplication::translate("KoCaptureWriter", "the compressor cannot start"));
    }

    file = std::make_unique<QSaveFile>(path);
    // Unbuffered: a failed write (a full disk) is seen at once, with its reason.
    if (!file->open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return Fail(file->errorString());
    status = Status::Open;

    QByteArray head(Magic, sizeof Magic);
    PutU16(head, Version);
    PutU16(head, 0); // flags
    PutU64(head, quint64(header.startMs));
    PutU16(head, header.port);
    PutU16(head, quint16(host.size()));
    head.append(host);
    PutU32(head, Crc32(head.constData(), head.size()));
    if (fileSize + head.size() + EndRecordSize > limit)
        return Fail(QCoreApplication::translate("KoCaptureWriter", "the size limit is too small"));
    return WriteAll(head);
}

bool KoCaptureWriter::Append(qint64 time_us, const char* data, qsizetype size)
{
    if (status != Status::Open)
        return false;
    time_us = std::max(time_us, lastTimeUs);
    lastTimeUs = time_us;
    while (size > 0) {
        const qsizetype piece = std::min<qsizetype>(size, MaxPiece);
        if (!raw.isEmpty() && raw.size() + ChunkHeadSize + piece > BlockTarget && !FlushBlock())
            return false;
        if (raw.isEmpty()) {
            raw.reserve(BlockTarget + ChunkHeadSize);
            blockFirstUs = time_us;
        }
        PutU64(raw, quint64(time_us));
        PutU32(raw, quint32(piece));
        raw.append(data, int(piece));
        blockLastUs = time_us;
        ++blockChunks;
        data += piece;
        size -= piece;
    }
    if (raw.size() >= BlockTarget)
        return FlushBlock();
    return true;
}

bool KoCaptureWriter::FlushBlock()
{
    if (status != Status::Open)
        return false;
    if (raw.isEmpty())
        return true;

    const bool deflating = DeflateNext();
    QElapsedTimer took;
    took.start();
    compressed.resize(int(deflateBound(zs.get(), uLong(raw.size()))));
    deflateReset(zs.get());
    deflateParams(zs.get(), deflating ? Z_BEST_SPEED : Z_NO_COMPRESSION, Z_DEFAULT_STRATEGY);
    zs->next_in = reinterpret_cast<Bytef*>(raw.data());
    zs->avail_in = uInt(raw.size());
    zs->next_out = reinterpret_cast<Bytef*>(compressed.data());
    zs->avail_out = uInt(compressed.size());
    if (deflate(zs.get(), Z_FINISH) != Z_STREAM_END)
        return Fail(QCoreApplication::translate("KoCaptureWriter", "the compressor failed"));
    const int stored = int(zs->total_out);
    if (deflating) {
        deflateNs += took.nsecsElapsed();
        // Bytes that do not shrink (pictures compressed by the device) are
        // not worth the time: stored for a while, then tried again.
        if (stored > raw.size() - raw.size() / 20)
            storedRun = 15;
    }

    QByteArray head(BlockTag, sizeof BlockTag);
    PutU32(head, blockChunks);
    PutU32(head, quint32(raw.size()));
    PutU32(head, quint32(stored));
    PutU64(head, quint64(blockFirstUs));
    PutU64(head, quint64(blockLastUs));
    // The zlib stream carries a check of its own (Adler-32), so the data
    // needs no second one.
    PutU32(head, Crc32(head.constData(), head.size()));

    const quint32 count = blockChunks;
    const qint64 payload = raw.size() - qint64(count) * ChunkHeadSize;
    raw.resize(0); // keeps its room for the next block
    blockChunks = 0;
    // Room for the end record stays, so the file can always be ended.
    if (fileSize + head.size() + stored + EndRecordSize > limit) {
        status = Status::LimitReached;
        qCDebug(lcCapture) << "size limit reached at" << fileSize << "bytes";
        return false;
    }
    head.append(compressed.constData(), stored);
    if (!WriteAll(head))
        return false;
    writtenChunks += count;
    writtenBytes += quint64(payload);
    writtenLastUs = blockLastUs;
    return true;
}

bool KoCaptureWriter::Finish(EndReason reason)
{
    if (status == Status::Open)
        FlushBlock();
    if (status == Status::LimitReached)
        reason = EndReason::SizeLimit;
    else if (status != Status::Open)
        return false;

    QByteArray end(EndTag, sizeof EndTag);
    PutU32(end, quint32(reason));
    PutU64(end, writtenChunks);
    PutU64(end, writtenBytes);
    PutU64(end, quint64(writtenLastUs));
    PutU32(end, Crc32(end.constData(), end.size()));
    // The blocks left room for the end record.
    if (!WriteAll(end))
        return false;
    if (!file->flush() || !file->commit())
        return Fail(file->errorString());
    file.reset();
    if (zs) {
        deflateEnd(zs.get());
        zs.reset();
    }
    status = Status::Closed;
    return true;
}

void KoCaptureWriter::Discard()
{
    if (file) {
        file->cancelWriting();
        file.reset();
    }
    if (zs) {
        deflateEnd(zs.get());
        zs.reset();
    }
    raw.clear();
    blockChunks = 0;
    status = Status::Closed;
}

bool KoCaptureWriter::DeflateNext()
{
    if (storedRun > 0) {
        --storedRun;
        return false;
    }
    if (deflateShare <= 0)
        return false;
    if (deflateShare >= 1)
        return true;
    return deflateNs < DeflateAllowanceNs + qint64(double(sinceOpen.nsecsElapsed()) * deflateShare);
}

bool KoCaptureWriter::WriteAll(const QByteArray& bytes)
{
    // A short write is followed by one for the rest, whose failure says why.
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 written = file->write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0)
            return Fail(file->errorString());
        done += written;
    }
    fileSize += bytes.size();
    return true;
}
