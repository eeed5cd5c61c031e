#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "search/ByteFinder.h"

// Finds the first of several byte strings in memory: one string as ByteFinder does, more
// from the sets of bytes their first three positions may hold, tested 32 positions at a
// time, and each position that passes compared in full.
class NeedleFinder {
public:
    explicit NeedleFinder(std::vector<std::string> needles);

    // The first position at or after `from` where a needle starts and ends by `end`, and
    // the length of the needle found there (the shortest when several start there);
    // nullptr when there is none.
    const std::uint8_t* Find(const std::uint8_t* from, const std::uint8_t* end,
                             std::size_t& length) const;
    bool empty() const { return needles_.empty(); }

private:
    const std::uint8_t* MatchAt(const std::uint8_t* p, const std::uint8_t* end,
                                std::size_t& length) const;
    const std::uint8_t* FindScalar(const std::uint8_t* from, const std::uint8_t* end,
                                   std::size_t& length) const;
#if defined(__x86_64__)
    const std::uint8_t* FindAvx2(const std::uint8_t* from, const std::uint8_t* end,
                                 std::size_t& length) const;
#endif

    static constexpr std::size_t kPositions = 3;
    std::vector<std::string> needles_;  // shortest first
    std::size_t shortest_ = 0;
    ByteFinder single_;
    bool wide_ = false;
    // Bytes a needle may hold at each of the first positions (every byte past a short
    // needle's end).
    std::array<std::array<bool, 256>, kPositions> sets_{};
    // The same sets as nibble tables: for low nibble l, bit h of low_[j][l] (h < 8) or of
    // high_[j][l] (h >= 8, bit h - 8) says whether byte h << 4 | l is in set j.
    std::array<std::array<std::uint8_t, 16>, kPositions> low_{};
    std::array<std::array<std::uint8_t, 16>, kPositions> high_{};
};
