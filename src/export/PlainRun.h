#pragma once

#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Skipping the bytes that an escaping writer copies as they are, many at a time: most of
// an export's text needs no escape at all.
namespace plainrun {

inline constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
inline constexpr std::uint64_t kHighs = 0x8080808080808080ULL;

// Whether some byte of `word` is below `limit` (at most 128).
constexpr bool HasBelow(std::uint64_t word, std::uint64_t limit) {
    return ((word - kOnes * limit) & ~word & kHighs) != 0;
}

// Whether some byte of `word` is `byte`.
constexpr bool HasByte(std::uint64_t word, unsigned char byte) {
    const std::uint64_t x = word ^ (kOnes * byte);
    return ((x - kOnes) & ~x & kHighs) != 0;
}

// The first byte of [p, end) that is one of `Special` or, with `Controls`, below 0x20;
// `end` when there is none. Sixteen bytes at a time where the processor has vectors, eight
// otherwise; nothing is read outside [p, end).
template <bool Controls, char... Special>
const char* Find(const char* p, const char* end) {
#if defined(__SSE2__)
    const __m128i controlsMax = _mm_set1_epi8(0x1F);
    const auto hits = [&](const char* at) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
        __m128i hit =
            Controls ? _mm_cmpeq_epi8(_mm_min_epu8(v, controlsMax), v) : _mm_setzero_si128();
        ((hit = _mm_or_si128(hit, _mm_cmpeq_epi8(v, _mm_set1_epi8(Special)))), ...);
        return static_cast<unsigned>(_mm_movemask_epi8(hit));
    };
    const char* const begin = p;
    for (; end - p >= 16; p += 16) {
        if (const unsigned mask = hits(p); mask != 0) {
            return p + __builtin_ctz(mask);
        }
    }
    if (p != end && end - begin >= 16) {
        // The last sixteen bytes, of which those before p were looked at already.
        const unsigned mask = hits(end - 16) & (0xFFFFu << (16 - (end - p)));
        return mask != 0 ? end - 16 + __builtin_ctz(mask) : end;
    }
#else
    for (; end - p >= 8; p += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, p, sizeof word);
        if ((Controls && HasBelow(word, 0x20)) ||
            (HasByte(word, static_cast<unsigned char>(Special)) || ...)) {
            break;
        }
    }
#endif
    for (; p != end; ++p) {
        if ((Controls && static_cast<unsigned char>(*p) < 0x20) || ((*p == Special) || ...)) {
            return p;
        }
    }
    return end;
}

}  // namespace plainrun
