#include "search/ByteFinder.h"

#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace {

const std::uint8_t* FindScalar(const std::uint8_t* from, const std::uint8_t* end,
                               const std::string& pattern) {
    const std::size_t m = pattern.size();
    const auto first = static_cast<std::uint8_t>(pattern[0]);
    for (const std::uint8_t* p = from; end - p >= static_cast<std::ptrdiff_t>(m); ++p) {
        p = static_cast<const std::uint8_t*>(
            std::memchr(p, first, static_cast<std::size_t>(end - p) - m + 1));
        if (p == nullptr) {
            return nullptr;
        }
        if (std::memcmp(p + 1, pattern.data() + 1, m - 1) == 0) {
            return p;
        }
    }
    return nullptr;
}

#if defined(__x86_64__)

// Candidates from `mask` (bit k: position p + k); nullptr when none is a match.
inline const std::uint8_t* CheckMask(std::uint32_t mask, const std::uint8_t* p,
                                     const std::string& pattern) {
    while (mask != 0) {
        const auto bit = static_cast<unsigned>(__builtin_ctz(mask));
        if (std::memcmp(p + bit + 1, pattern.data() + 1, pattern.size() - 2) == 0) {
            return p + bit;
        }
        mask &= mask - 1;
    }
    return nullptr;
}

const std::uint8_t* FindSse2(const std::uint8_t* from, const std::uint8_t* end,
                             const std::string& pattern) {
    const std::size_t m = pattern.size();
    const __m128i first = _mm_set1_epi8(pattern[0]);
    const __m128i last = _mm_set1_epi8(pattern[m - 1]);
    const std::uint8_t* p = from;
    for (; end - p >= static_cast<std::ptrdiff_t>(m - 1 + 16); p += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + m - 1));
        const auto mask = static_cast<std::uint32_t>(
            _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(b, last))));
        if (const std::uint8_t* hit = CheckMask(mask, p, pattern)) {
            return hit;
        }
    }
    return FindScalar(p, end, pattern);
}

__attribute__((target("avx2"))) const std::uint8_t* FindAvx2(const std::uint8_t* from,
                                                             const std::uint8_t* end,
                                                             const std::string& pattern) {
    const std::size_t m = pattern.size();
    const __m256i first = _mm256_set1_epi8(pattern[0]);
    const __m256i last = _mm256_set1_epi8(pattern[m - 1]);
    const std::uint8_t* p = from;
    for (; end - p >= static_cast<std::ptrdiff_t>(m - 1 + 32); p += 32) {
        const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
        const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + m - 1));
        const auto mask = static_cast<std::uint32_t>(_mm256_movemask_epi8(
            _mm256_and_si256(_mm256_cmpeq_epi8(a, first), _mm256_cmpeq_epi8(b, last))));
        if (const std::uint8_t* hit = CheckMask(mask, p, pattern)) {
            return hit;
        }
    }
    return FindSse2(p, end, pattern);
}

#endif

}  // namespace

ByteFinder::ByteFinder(std::string_view pattern) : pattern_(pattern) {
#if defined(__x86_64__)
    wide_ = __builtin_cpu_supports("avx2");
#endif
}

const std::uint8_t* ByteFinder::Find(const std::uint8_t* from, const std::uint8_t* end) const {
    const std::size_t m = pattern_.size();
    if (m == 0) {
        return from;
    }
    if (from >= end || static_cast<std::size_t>(end - from) < m) {
        return nullptr;
    }
    if (m == 1) {
        return static_cast<const std::uint8_t*>(
            std::memchr(from, pattern_[0], static_cast<std::size_t>(end - from)));
    }
#if defined(__x86_64__)
    return wide_ ? FindAvx2(from, end, pattern_) : FindSse2(from, end, pattern_);
#else
    return FindScalar(from, end, pattern_);
#endif
}
