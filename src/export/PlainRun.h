#pragma once

#include <cstdint>
#include <cstring>

// Skipping the bytes that an escaping writer copies as they are, eight at a time: most of
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

// The first byte of [p, end) for which plain(byte) is false, or end. mayHold(word) says
// whether eight bytes may hold such a byte; it may say so wrongly, never miss one.
template <typename MayHold, typename Plain>
const char* Skip(const char* p, const char* end, MayHold mayHold, Plain plain) {
    while (true) {
        while (end - p >= 8) {
            std::uint64_t word = 0;
            std::memcpy(&word, p, sizeof word);
            if (mayHold(word)) {
                break;
            }
            p += 8;
        }
        const char* const stop = end - p >= 8 ? p + 8 : end;
        while (p != stop && plain(*p)) {
            ++p;
        }
        if (p != stop || p == end) {
            return p;
        }
    }
}

}  // namespace plainrun
