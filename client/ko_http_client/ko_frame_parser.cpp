#include "ko_frame_parser.h"

#include "ko_byte_scan.h"
#include "ko_link_log.h"

#include <algorithm>
#include <cstring>

KoFrameParser::KoFrameParser(qint64 max_body) : maxBody(max_body) {}

void KoFrameParser::ReleaseFrame()
{
    frameReady = false;
    used = 0;
}

void KoFrameParser::Reset()
{
    frameReady = false;
    used = 0;
    state = State::Outside;
    escaped = false;
    garbage = 0;
}

void KoFrameParser::StartFrame()
{
    // A start byte discards whatever partial frame was being assembled.
    used = 0;
    escaped = false;
    garbage = 0;
    state = State::InFrame;
}

void KoFrameParser::Append(const char* data, qsizetype size)
{
    if (qint64(used) + size > maxBody) {
        qCDebug(lcLink) << "frame longer than" << maxBody << "bytes dropped";
        ++oversizedFrames;
        used = 0;
        escaped = false;
        state = State::Skipping;
        return;
    }
    const qsizetype need = used + size;
    if (need > buffer.size()) {
        // Grow geometrically, but never beyond the cap: the buffer is kept for
        // the next frame, so a stream of pictures allocates once.
        qint64 grown = std::max<qint64>(std::max<qint64>(need, qint64(buffer.size()) * 2), 4096);
        grown = std::min<qint64>(grown, std::max<qint64>(maxBody, need));
        buffer.resize(int(grown));
    }
    std::memcpy(buffer.data() + used, data, size_t(size));
    used = need;
}

qsizetype KoFrameParser::Feed(const char* data, qsizetype size)
{
    if (frameReady)
        return 0;
    const char* p = data;
    const char* const end = data + size;
    while (p < end) {
        switch (state) {
        case State::InFrame: {
            if (escaped) {
                escaped = false;
                const auto b = static_cast<uint8_t>(*p);
                char replaced = 0;
                bool known = true;
                if (b == ko_wire::EscapedEscape)
                    replaced = static_cast<char>(ko_wire::EscapeByte);
                else if (b == ko_wire::EscapedStart)
                    replaced = static_cast<char>(ko_wire::StartByte);
                else if (b == ko_wire::EscapedEnd)
                    replaced = static_cast<char>(ko_wire::EndByte);
                else
                    known = false;
                if (known) {
                    buffer.data()[used - 1] = replaced;
                    ++p;
                    continue;
                }
                // Any other follower keeps both bytes: handled as an ordinary byte below.
            }
            const char* q = ko_wire::FindSpecial(p, end);
            if (q > p) {
                Append(p, q - p);
                p = q;
                if (state != State::InFrame)
                    continue;
            }
            if (p == end)
                break;
            const auto b = static_cast<uint8_t>(*p++);
            if (b == ko_wire::StartByte) {
                StartFrame();
            } else if (b == ko_wire::EndByte) {
                frameReady = true;
                state = State::Outside;
                return p - data;
            } else {
                const char escape = static_cast<char>(ko_wire::EscapeByte);
                Append(&escape, 1);
                if (state == State::InFrame)
                    escaped = true;
            }
            break;
        }
        case State::Outside: {
            // Bytes outside a frame are never delivered: only counted, so that
            // the end byte that follows them can be reported.
            const char* q = p;
            while (q < end) {
                q = ko_wire::FindSpecial(q, end);
                if (q == end || static_cast<uint8_t>(*q) != ko_wire::EscapeByte)
                    break;
                ++q;
            }
            garbage += q - p;
            p = q;
            if (p == end)
                break;
            const auto b = static_cast<uint8_t>(*p++);
            if (b == ko_wire::StartByte) {
                StartFrame();
            } else if (garbage > 0) {
                qCDebug(lcLink) << "bad data";
                ++badFrames;
                garbage = 0;
            }
            break;
        }
        case State::Skipping: {
            const void* q = std::memchr(p, ko_wire::StartByte, size_t(end - p));
            if (!q) {
                p = end;
                break;
            }
            p = static_cast<const char*>(q) + 1;
            StartFrame();
            break;
        }
        }
    }
    return size;
}
