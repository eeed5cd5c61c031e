#include "search/NeedleFinder.h"

#include <algorithm>
#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

NeedleFinder::NeedleFinder(std::vector<std::string> needles)
    : needles_(std::move(needles)), single_(needles_.size() == 1 ? needles_[0] : std::string()) {
    std::sort(needles_.begin(), needles_.end(),
              [](const std::string& a, const std::string& b) { return a.size() < b.size(); });
    shortest_ = needles_.empty() ? 0 : needles_.front().size();
    for (const std::string& needle : needles_) {
        for (std::size_t j = 0; j < kPositions; ++j) {
            if (j < needle.size()) {
                sets_[j][static_cast<unsigned char>(needle[j])] = true;
            } else {
                sets_[j].fill(true);
            }
        }
    }
    for (std::size_t j = 0; j < kPositions; ++j) {
        for (int byte = 0; byte < 256; ++byte) {
            if (sets_[j][static_cast<std::size_t>(byte)]) {
                const int hi = byte >> 4;
                auto& table = hi < 8 ? low_[j] : high_[j];
                table[static_cast<std::size_t>(byte & 15)] |= static_cast<std::uint8_t>(1 << (hi & 7));
            }
        }
    }
#if defined(__x86_64__)
    wide_ = __builtin_cpu_supports("avx2");
#endif
}

const std::uint8_t* NeedleFinder::MatchAt(const std::uint8_t* p, const std::uint8_t* end,
                                          std::size_t& length) const {
    const auto left = static_cast<std::size_t>(end - p);
    for (const std::string& needle : needles_) {
        if (needle.size() > left) {
            break;
        }
        if (std::memcmp(p, needle.data(), needle.size()) == 0) {
            length = needle.size();
            return p;
        }
    }
    return nullptr;
}

const std::uint8_t* NeedleFinder::FindScalar(const std::uint8_t* from, const std::uint8_t* end,
                                             std::size_t& length) const {
    for (const std::uint8_t* p = from; end - p >= static_cast<std::ptrdiff_t>(shortest_); ++p) {
        if (!sets_[0][*p]) {
            continue;
        }
        if (const std::uint8_t* hit = MatchAt(p, end, length)) {
            return hit;
        }
    }
    return nullptr;
}

#if defined(__x86_64__)

namespace {

// 0xFF in each byte of `v` that is in the set the two nibble tables describe.
__attribute__((target("avx2"))) inline __m256i InSet(__m256i v, __m256i low, __m256i high) {
    const __m256i nibble = _mm256_set1_epi8(0x0F);
    const __m256i bits = _mm256_setr_epi8(1, 2, 4, 8, 16, 32, 64, -128, 1, 2, 4, 8, 16, 32, 64,
                                          -128, 1, 2, 4, 8, 16, 32, 64, -128, 1, 2, 4, 8, 16, 32,
                                          64, -128);
    const __m256i lo = _mm256_and_si256(v, nibble);
    const __m256i hi = _mm256_and_si256(_mm256_srli_epi16(v, 4), nibble);
    // The row of the byte's low nibble, from the table of its high nibble's half (the
    // byte's top bit chooses).
    const __m256i row =
        _mm256_blendv_epi8(_mm256_shuffle_epi8(low, lo), _mm256_shuffle_epi8(high, lo), v);
    const __m256i bit = _mm256_shuffle_epi8(bits, hi);
    return _mm256_cmpeq_epi8(_mm256_and_si256(row, bit), bit);
}

__attribute__((target("avx2"))) inline __m256i Table(const std::array<std::uint8_t, 16>& t) {
    const __m128i half = _mm_loadu_si128(reinterpret_cast<const __m128i*>(t.data()));
    return _mm256_broadcastsi128_si256(half);
}

}  // namespace

__attribute__((target("avx2"))) const std::uint8_t* NeedleFinder::FindAvx2(
    const std::uint8_t* from, const std::uint8_t* end, std::size_t& length) const {
    const __m256i low0 = Table(low_[0]), high0 = Table(high_[0]);
    const __m256i low1 = Table(low_[1]), high1 = Table(high_[1]);
    const __m256i low2 = Table(low_[2]), high2 = Table(high_[2]);
    const std::uint8_t* p = from;
    for (; end - p >= static_cast<std::ptrdiff_t>(32 + kPositions - 1); p += 32) {
        const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
        const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 1));
        const __m256i c = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 2));
        const __m256i in = _mm256_and_si256(
            InSet(a, low0, high0), _mm256_and_si256(InSet(b, low1, high1), InSet(c, low2, high2)));
        auto mask = static_cast<std::uint32_t>(_mm256_movemask_epi8(in));
        while (mask != 0) {
            const auto bit = static_cast<unsigned>(__builtin_ctz(mask));
            if (const std::uint8_t* hit = MatchAt(p + bit, end, length)) {
                return hit;
            }
            mask &= mask - 1;
        }
    }
    return FindScalar(p, end, length);
}

#endif

const std::uint8_t* NeedleFinder::Find(const std::uint8_t* from, const std::uint8_t* end,
                                       std::size_t& length) const {
    if (needles_.empty() || from >= end) {
        return nullptr;
    }
    if (needles_.size() == 1) {
        length = needles_[0].size();
        return single_.Find(from, end);
    }
#if defined(__x86_64__)
    if (wide_) {
        return FindAvx2(from, end, length);
    }
#endif
    return FindScalar(from, end, length);
}
