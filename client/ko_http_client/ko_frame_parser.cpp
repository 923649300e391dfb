#include "ko_frame_parser.h"

#include "ko_byte_scan.h"
#include "ko_link_log.h"

#include <algorithm>
#include <atomic>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define KO_HAVE_X86 1
#endif

namespace {

// For the byte after an escape byte: the byte the pair stands for (an
// unknown follower keeps the escape byte as it is), and how many input bytes
// are consumed (an unknown follower is left for the next step).
struct EscapeTables
{
    char unescape[256];
    uint8_t pairLength[256];
    constexpr EscapeTables() : unescape(), pairLength()
    {
        for (int i = 0; i < 256; ++i) {
            unescape[i] = static_cast<char>(ko_wire::EscapeByte);
            pairLength[i] = 1;
        }
        unescape[ko_wire::EscapedEscape] = static_cast<char>(ko_wire::EscapeByte);
        unescape[ko_wire::EscapedStart] = static_cast<char>(ko_wire::StartByte);
        unescape[ko_wire::EscapedEnd] = static_cast<char>(ko_wire::EndByte);
        pairLength[ko_wire::EscapedEscape] = 2;
        pairLength[ko_wire::EscapedStart] = 2;
        pairLength[ko_wire::EscapedEnd] = 2;
    }
};
constexpr EscapeTables kTables;
constexpr const char* kUnescape = kTables.unescape;
constexpr const uint8_t* kPairLength = kTables.pairLength;

inline bool IsFollower(uint8_t b)
{
    return b == ko_wire::EscapedEscape || b == ko_wire::EscapedStart || b == ko_wire::EscapedEnd;
}

std::atomic<bool> fastPathAllowed{true};

// The buffer keeps its size from frame to frame, so a stream of pictures
// allocates once. After this many frames that all needed less than a
// quarter of it, a buffer above the floor is cut down to what they needed:
// one huge frame does not hold its memory for good.
constexpr int TrimWindow = 64;
constexpr qsizetype TrimFloor = 1024 * 1024;
constexpr qsizetype MinBuffer = 4096;

#if defined(KO_HAVE_X86)

// The unescaping rule is local: a follower (0x00, 0x0A, 0x0B) right after an
// escape byte is dropped and the escape byte takes the value 0xA0 | follower;
// an escape byte is never itself a follower. So a 64-byte block can be done
// without a branch per escape: mark the followers to drop, patch the escape
// bytes, compress. Stops before a block holding a start or end byte, and when
// fewer than 65 bytes remain. carry: the last byte done was an escape byte.
__attribute__((target("avx512f,avx512bw,avx512vbmi2,popcnt"))) const char*
UnescapeBlocks(const char* p, const char* limit, char*& dst_io, bool& carry)
{
    const __m512i escape = _mm512_set1_epi8(static_cast<char>(ko_wire::EscapeByte));
    const __m512i end_byte = _mm512_set1_epi8(static_cast<char>(ko_wire::EndByte));
    const __m512i follower_hi = _mm512_set1_epi8(static_cast<char>(ko_wire::EscapedEnd));
    const __m512i zero = _mm512_setzero_si512();
    const __m512i one = _mm512_set1_epi8(1);
    char* dst = dst_io;
    uint64_t carry_bit = carry ? 1 : 0;
    while (limit - p >= 65) {
        const __m512i v = _mm512_loadu_si512(p);
        const __m512i v_or_one = _mm512_or_si512(v, one);
        // 0xAA | 1 == 0xAB: one compare finds both frame bytes.
        if (_mm512_cmpeq_epi8_mask(v_or_one, end_byte) != 0)
            break;
        const uint64_t is_escape = _mm512_cmpeq_epi8_mask(v, escape);
        // 0x0A | 1 == 0x0B likewise.
        const uint64_t is_follower =
            _mm512_cmpeq_epi8_mask(v, zero) | _mm512_cmpeq_epi8_mask(v_or_one, follower_hi);
        const uint64_t next_is_follower =
            (is_follower >> 1) | (uint64_t(IsFollower(static_cast<uint8_t>(p[64]))) << 63);
        const uint64_t drop = is_follower & ((is_escape << 1) | carry_bit);
        const __m512i next = _mm512_loadu_si512(p + 1);
        const __m512i patched =
            _mm512_mask_blend_epi8(is_escape & next_is_follower, v, _mm512_or_si512(v, next));
        const uint64_t keep = ~drop;
        _mm512_storeu_si512(dst, _mm512_maskz_compress_epi8(keep, patched));
        dst += _mm_popcnt_u64(keep);
        carry_bit = is_escape >> 63;
        p += 64;
    }
    carry = carry_bit != 0;
    dst_io = dst;
    return p;
}

bool CpuHasFastPath()
{
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
           __builtin_cpu_supports("avx512vbmi2") && __builtin_cpu_supports("popcnt");
}

#endif

} // namespace

void KoFrameParser::SetFastPathAllowed(bool allowed)
{
    fastPathAllowed.store(allowed);
}

KoFrameParser::KoFrameParser(qint64 max_body) : maxBody(max_body)
{
#if defined(KO_HAVE_X86)
    static const bool cpu_ok = CpuHasFastPath();
    fastPath = cpu_ok && fastPathAllowed.load();
#endif
}

void KoFrameParser::ReleaseFrame()
{
    frameReady = false;
    TrimBuffer(used);
    used = 0;
}

void KoFrameParser::TrimBuffer(qsizetype body)
{
    windowPeak = std::max(windowPeak, body);
    if (++framesInWindow < TrimWindow)
        return;
    if (buffer.size() > TrimFloor && windowPeak * 4 < buffer.size()) {
        // The block loops store past the run: keep their slack.
        buffer.resize(int(std::max<qsizetype>(windowPeak + 64, MinBuffer)));
        buffer.squeeze();
    }
    framesInWindow = 0;
    windowPeak = 0;
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

const char* KoFrameParser::CopyRun(const char* p, const char* end)
{
    // Unescaping never makes data longer, so room for the input is room
    // enough; and never more input than can still fit under the cap, so an
    // oversized frame is noticed before it has grown the buffer past it.
    while (p < end) {
        const qint64 room = maxBody - qint64(used);
        const char* limit = end - p > room + 1 ? p + room + 1 : end;
        // Slack: the block loops store whole blocks past the run.
        Reserve(used + (limit - p) + 64);
        char* const base = buffer.data();
        char* dst = base + used;
#if defined(KO_HAVE_X86)
        if (fastPath) {
            bool carry = false;
            p = UnescapeBlocks(p, limit, dst, carry);
            // The block loop patched an escape byte that ended its last block;
            // its follower, first of what is left, is already accounted for.
            if (carry && p < limit && IsFollower(static_cast<uint8_t>(*p)))
                ++p;
        }
#endif
        bool stopped = false;
#if defined(__SSE2__)
        // Whole 32-byte blocks are stored as they are and the output moves on
        // only up to the first special byte, so runs are copied without a
        // variable-length copy and escape pairs are resolved by table.
        const __m128i escape = _mm_set1_epi8(static_cast<char>(ko_wire::EscapeByte));
        const __m128i end_byte = _mm_set1_epi8(static_cast<char>(ko_wire::EndByte));
        const __m128i one = _mm_set1_epi8(1);
        while (limit - p >= 33) {
            const __m128i v0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            const __m128i v1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), v0);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 16), v1);
            // 0xAA | 1 == 0xAB: one compare finds both frame bytes.
            const __m128i hit0 = _mm_or_si128(_mm_cmpeq_epi8(v0, escape),
                                              _mm_cmpeq_epi8(_mm_or_si128(v0, one), end_byte));
            const __m128i hit1 = _mm_or_si128(_mm_cmpeq_epi8(v1, escape),
                                              _mm_cmpeq_epi8(_mm_or_si128(v1, one), end_byte));
            const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(hit0)) |
                                  (static_cast<unsigned>(_mm_movemask_epi8(hit1)) << 16);
            if (mask == 0) {
                p += 32;
                dst += 32;
                continue;
            }
            const unsigned k = static_cast<unsigned>(__builtin_ctz(mask));
            p += k;
            dst += k;
            if (static_cast<uint8_t>(*p) != ko_wire::EscapeByte) {
                stopped = true;
                break;
            }
            const auto follower = static_cast<uint8_t>(p[1]);
            *dst++ = kUnescape[follower];
            p += kPairLength[follower];
        }
#endif
        while (!stopped && p < limit) {
            const char* q = ko_wire::FindSpecial(p, limit);
            std::memcpy(dst, p, size_t(q - p));
            dst += q - p;
            p = q;
            if (p == limit)
                break;
            // Only a complete escape pair is handled here; a start or end byte,
            // or an escape byte whose follower is in the next chunk, goes back
            // to the caller.
            if (static_cast<uint8_t>(*p) != ko_wire::EscapeByte || p + 1 >= end)
                break;
            const auto follower = static_cast<uint8_t>(p[1]);
            *dst++ = kUnescape[follower];
            p += kPairLength[follower];
        }
        used = dst - base;
        if (qint64(used) > maxBody) {
            DropOversized();
            return p;
        }
        if (p < limit || p == end)
            return p;
    }
    return p;
}

void KoFrameParser::Reserve(qsizetype need)
{
    if (need <= buffer.size())
        return;
    // Grow geometrically, but never far beyond the cap: the buffer is kept
    // for the next frame, so a stream of pictures allocates once.
    qint64 grown = std::max<qint64>(std::max<qint64>(need, qint64(buffer.size()) * 2), MinBuffer);
    grown = std::min<qint64>(grown, std::max<qint64>(maxBody + 1, need));
    buffer.resize(int(grown));
}

void KoFrameParser::DropOversized()
{
    qCDebug(lcLink) << "frame longer than" << maxBody << "bytes dropped";
    ++oversizedFrames;
    used = 0;
    // Nothing of it is kept: its memory goes at once.
    buffer = QByteArray();
    escaped = false;
    state = State::Skipping;
}

void KoFrameParser::Append(const char* data, qsizetype size)
{
    if (qint64(used) + size > maxBody) {
        DropOversized();
        return;
    }
    Reserve(used + size);
    std::memcpy(buffer.data() + used, data, size_t(size));
    used += size;
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
                // The escape byte ended the previous chunk; its follower is here.
                escaped = false;
                const auto follower = static_cast<uint8_t>(*p);
                if (IsFollower(follower)) {
                    buffer.data()[used - 1] = kUnescape[follower];
                    ++p;
                    continue;
                }
                // Any other follower keeps both bytes: an ordinary byte below.
            }
            p = CopyRun(p, end);
            if (state != State::InFrame || p == end)
                break;
            const auto b = static_cast<uint8_t>(*p++);
            if (b == ko_wire::StartByte) {
                StartFrame();
            } else if (b == ko_wire::EndByte) {
                frameReady = true;
                state = State::Outside;
                return p - data;
            } else {
                // An escape byte as the last byte of the chunk.
                const char escape_byte = static_cast<char>(ko_wire::EscapeByte);
                Append(&escape_byte, 1);
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
