#pragma once

#include "ko_capture_format.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QSaveFile>
#include <QString>

#include <memory>

struct z_stream_s;

// Writes a capture file: the header, then the chunks as they are appended,
// gathered into blocks that are compressed and written one by one, then the
// end record. The file is written beside its final name and takes that name
// only when Finish succeeds, so a crash or a full disk never leaves half a
// capture under it. The file never grows past its size limit: the block that
// would pass it is not written, and the writer then takes nothing more.
//
//     KoCaptureWriter writer;
//     writer.Open(path, header);
//     writer.Append(time_us, bytes, size);   // as chunks arrive
//     writer.Finish(ko_capture::EndReason::Stopped);
class KoCaptureWriter
{
public:
    static constexpr qint64 DefaultLimit = 2LL * 1024 * 1024 * 1024;
    // A block is written once it holds this many bytes of chunks.
    static constexpr int BlockTarget = 256 * 1024;
    // Longer chunks are stored in pieces of at most this, with the same time.
    static constexpr int MaxPiece = 1024 * 1024;
    // Deflating costs about 15 ns a byte on a slow machine: at four doors of
    // video that is a third of the program's own CPU. A block is deflated
    // while deflating has taken less than this share of the time since the
    // start (plus a first allowance), and otherwise stored in the zlib
    // stream as it is. Either way it is a zlib stream to the reader.
    static constexpr double DefaultDeflateShare = 0.003;
    static constexpr qint64 DeflateAllowanceNs = 20 * 1000 * 1000;

    enum class Status
    {
        Closed,
        Open,
        LimitReached, // the last block did not fit; Finish still ends the file
        Failed,       // a write failed; the file is lost
    };

    explicit KoCaptureWriter(qint64 limit = DefaultLimit);
    ~KoCaptureWriter();
    KoCaptureWriter(const KoCaptureWriter&) = delete;
    KoCaptureWriter& operator=(const KoCaptureWriter&) = delete;

    // For the next Open.
    void SetLimit(qint64 bytes) { limit = bytes; }
    // 0: every block is stored; 1: every block is deflated.
    void SetDeflateShare(double share) { deflateShare = share; }
    bool Open(const QString& path, const KoCaptureHeader& header);
    // A chunk received time_us after the start (times never go back: an
    // earlier one is taken as the last). False once nothing more is taken.
    bool Append(qint64 time_us, const char* data, qsizetype size);
    bool Append(qint64 time_us, const QByteArray& data)
    {
        return Append(time_us, data.constData(), data.size());
    }
    // Writes the chunks gathered so far as a block of their own.
    bool FlushBlock();
    // Writes what is left and the end record, and puts the file in place.
    // After LimitReached the end record says so, whatever reason is given.
    bool Finish(ko_capture::EndReason reason);
    // Drops the file; whatever stood under its name stays.
    void Discard();

    Status CurrentStatus() const { return status; }
    QString ErrorString() const { return error; }
    qint64 Limit() const { return limit; }
    // Bytes written to the file so far, and bytes of chunks not yet written.
    qint64 FileSize() const { return fileSize; }
    qint64 PendingBytes() const { return raw.size(); }
    quint64 WrittenChunks() const { return writtenChunks; }

private:
    bool WriteAll(const QByteArray& bytes);
    bool DeflateNext();
    bool Fail(const QString& why);

    qint64 limit;
    double deflateShare = DefaultDeflateShare;
    QElapsedTimer sinceOpen;
    qint64 deflateNs = 0; // spent deflating since Open
    int storedRun = 0;    // blocks to store before deflating is tried again
    Status status = Status::Closed;
    QString error;
    std::unique_ptr<QSaveFile> file;
    std::unique_ptr<z_stream_s> zs;
    QByteArray raw;        // the chunks of the block being gathered
    QByteArray compressed; // reused for every block
    qint64 fileSize = 0;
    qint64 lastTimeUs = 0;  // of the last chunk taken
    qint64 blockFirstUs = 0;
    qint64 blockLastUs = 0;
    quint32 blockChunks = 0;
    // What the written blocks hold, for the end record.
    quint64 writtenChunks = 0;
    quint64 writtenBytes = 0;
    qint64 writtenLastUs = 0;
};
