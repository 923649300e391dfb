#pragma once

#include "ko_wire.h"

#include <QByteArray>

// Streaming parser for the device link's frames. Its state (the frame being
// assembled and the escape flag) survives from one chunk to the next, so
// bytes may be fed in pieces of any size.
//
// Use:
//     while (size > 0) {
//         qsizetype used = parser.Feed(data, size);
//         data += used; size -= used;
//         if (parser.HasFrame()) { handle(parser.BodyData(), parser.BodySize());
//                                  parser.ReleaseFrame(); }
//     }
// Feed stops right after the end byte of a complete frame so the caller can
// handle it before the next byte is read.
class KoFrameParser
{
public:
    explicit KoFrameParser(qint64 max_body = ko_wire::MaxFrameBody);

    // Parsers made afterwards use (or not) the AVX-512 block path where the
    // processor has it; the portable path gives identical results. For tests
    // and benchmarks.
    static void SetFastPathAllowed(bool allowed);

    // Consumes bytes up to and including the end byte of the next complete
    // frame, or all of them. Returns how many were consumed. Must not be
    // called while HasFrame() is true (returns 0 then).
    qsizetype Feed(const char* data, qsizetype size);

    // A complete frame is waiting; its body is valid until ReleaseFrame().
    bool HasFrame() const { return frameReady; }
    const char* BodyData() const { return buffer.constData(); }
    qsizetype BodySize() const { return used; }
    // The body as a QByteArray sharing the parser's storage (no copy); valid
    // until ReleaseFrame().
    QByteArray Body() const { return QByteArray::fromRawData(buffer.constData(), int(used)); }
    void ReleaseFrame();

    // Drops any partial frame, as a fresh parser would.
    void Reset();

    // Bytes held for assembling frames (for tests).
    qsizetype BufferCapacity() const { return buffer.capacity(); }

    // Counters of damaged input, for tests and the debug log.
    quint64 BadFrames() const { return badFrames; }
    quint64 OversizedFrames() const { return oversizedFrames; }

private:
    enum class State
    {
        Outside,  // before the first start byte, or after a frame: bytes are garbage
        InFrame,  // after a start byte
        Skipping, // an oversized frame is being skipped up to the next start byte
    };

    // Copies ordinary bytes and complete escape pairs from p on into the body;
    // returns where it stopped (a start, end or trailing escape byte, or end).
    const char* CopyRun(const char* p, const char* end);
    void Append(const char* data, qsizetype size);
    void Reserve(qsizetype need);
    void DropOversized();
    void StartFrame();
    void TrimBuffer(qsizetype body);

    qint64 maxBody;
    bool fastPath = false;
    QByteArray buffer; // the unescaped body; capacity kept between frames
    qsizetype used = 0;
    State state = State::Outside;
    bool escaped = false; // the last stored byte is an escape byte
    qint64 garbage = 0;   // bytes seen outside a frame since the last end byte
    bool frameReady = false;
    quint64 badFrames = 0;
    quint64 oversizedFrames = 0;
    int framesInWindow = 0;     // frames since the buffer's size was last looked at
    qsizetype windowPeak = 0;   // the largest body among them
};
