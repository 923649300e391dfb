#pragma once

#include "ko_capture_format.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

#include <memory>
#include <vector>

class QIODevice;

// Reads a capture file back, chunk by chunk. A capture is untrusted input: a
// damaged, truncated or hostile file yields the chunks before the damage and
// then says where it stopped; no length in it is believed before it has been
// checked against the file, and nothing is allocated beyond the format's
// limits.
//
// Open reads the header and the heads of all blocks (an index for Seek and
// the duration); the blocks themselves are checked when they are read.
//
//     KoCaptureReader reader;
//     if (!reader.Open(path)) { say(reader.ErrorText()); return; }
//     KoCaptureReader::Chunk chunk;
//     while (reader.Next(chunk)) feed(chunk.data);
//     if (reader.CurrentStatus() != KoCaptureReader::Status::End) say(reader.ErrorText());
class KoCaptureReader
{
    // Its error texts reach the operator when a capture is opened or ends.
    Q_DECLARE_TR_FUNCTIONS(KoCaptureReader)

public:
    enum class Status
    {
        Ok,        // more may follow
        End,       // every chunk has been read and the file ended properly
        Truncated, // the file ends before its end record
        Damaged,   // a block or the end record fails its checks
    };

    struct Chunk
    {
        qint64 timeUs = 0; // since the start of the recording
        QByteArray data;
    };

    KoCaptureReader();
    ~KoCaptureReader();
    KoCaptureReader(const KoCaptureReader&) = delete;
    KoCaptureReader& operator=(const KoCaptureReader&) = delete;

    // False when the file cannot be read or is no capture (its header is
    // damaged); ErrorText says why.
    bool Open(const QString& path);
    // The same over a device that is open for reading and stays so (not owned).
    bool Open(QIODevice* device);

    const KoCaptureHeader& Header() const { return header; }
    // The time of the last chunk of the last block whose head is sound.
    qint64 DurationUs() const { return blocks.empty() ? 0 : blocks.back().lastUs; }
    qint64 FileSize() const { return fileSize; }
    // The end record, when the file has a sound one.
    bool HasEndRecord() const { return hasEnd; }
    ko_capture::EndReason Reason() const { return reason; }

    // The next chunk; false at the end of what can be read, CurrentStatus()
    // then says why.
    bool Next(Chunk& chunk);
    // Next() then gives the first chunk at or after time_us.
    void Seek(qint64 time_us);

    Status CurrentStatus() const { return status; }
    // Where reading stopped early (file offset), and why, in English for
    // logs and the simulator.
    qint64 StopOffset() const { return stopOffset; }
    QString ErrorText() const { return errorText; }
    // The time of the last chunk handed out, -1 before the first.
    qint64 LastTimeUs() const { return lastUs; }

private:
    struct Block
    {
        qint64 offset = 0; // of its head
        quint32 chunks = 0;
        quint32 rawSize = 0;
        quint32 storedSize = 0;
        qint64 firstUs = 0;
        qint64 lastUs = 0;
    };

    bool ReadHeader();
    void Index();
    bool ReadAt(qint64 offset, char* to, qint64 size);
    bool LoadBlock(size_t index);
    void StopAt(Status why, qint64 offset, const QString& text);
    void ScanStop(Status why, qint64 offset, const QString& text);

    std::unique_ptr<QIODevice> owned;
    QIODevice* device = nullptr;
    KoCaptureHeader header;
    qint64 fileSize = 0;
    qint64 dataStart = 0;
    std::vector<Block> blocks;
    bool hasEnd = false;
    ko_capture::EndReason reason = ko_capture::EndReason::Stopped;
    // How the index ended: End, or where and why the heads stopped making sense.
    Status scanStatus = Status::End;
    qint64 scanOffset = 0;
    QString scanText;

    Status status = Status::Ok;
    qint64 stopOffset = -1;
    QString errorText;
    size_t nextBlock = 0;
    bool loaded = false;
    quint32 chunksLeft = 0;
    QByteArray raw;     // the block being read, inflated
    QByteArray stored;  // its stored bytes
    qsizetype cursor = 0;
    qint64 skipBeforeUs = -1;
    qint64 lastUs = -1;
    qint64 previousUs = 0; // of the chunk before in the block being read
};
