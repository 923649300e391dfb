#pragma once

// Finding the special bytes of the framing in bulk: the parser and the escaper
// copy the runs of ordinary bytes between them at once.

#include "ko_wire.h"

#include <cstddef>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ko_wire {

inline bool IsSpecial(uint8_t b)
{
    return b == EscapeByte || b == StartByte || b == EndByte;
}

// The first of 0xA0, 0xAA, 0xAB in [p, end), or end.
inline const char* FindSpecial(const char* p, const char* end)
{
#if defined(__SSE2__)
    const __m128i escape = _mm_set1_epi8(static_cast<char>(EscapeByte));
    const __m128i start = _mm_set1_epi8(static_cast<char>(StartByte));
    const __m128i stop = _mm_set1_epi8(static_cast<char>(EndByte));
    while (end - p >= 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i hit =
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, escape), _mm_cmpeq_epi8(v, start)),
                         _mm_cmpeq_epi8(v, stop));
        const int mask = _mm_movemask_epi8(hit);
        if (mask != 0)
            return p + __builtin_ctz(static_cast<unsigned>(mask));
        p += 16;
    }
#endif
    while (p < end && !IsSpecial(static_cast<uint8_t>(*p)))
        ++p;
    return p;
}

} // namespace ko_wire
