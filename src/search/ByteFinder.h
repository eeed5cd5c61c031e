#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Finds a byte pattern in memory, 16 or 32 positions at a time: positions whose first and
// last bytes both match are compared in full.
class ByteFinder {
public:
    explicit ByteFinder(std::string_view pattern);

    // The first occurrence that starts at or after `from` and ends by `end`; nullptr when
    // there is none. An empty pattern is found at `from`.
    const std::uint8_t* Find(const std::uint8_t* from, const std::uint8_t* end) const;

    std::size_t size() const { return pattern_.size(); }

private:
    std::string pattern_;
    bool wide_ = false;  // the processor has 32-byte vectors
};
