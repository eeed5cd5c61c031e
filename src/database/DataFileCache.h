#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "database/FileAccess.h"

// A bounded window over the data file. Records are decoded one at a time, but lists,
// searches and exports walk them in file order (forward or backward), so one read fills a
// window that serves the records around it. Far jumps read a small window instead.
class DataFileCache {
public:
    explicit DataFileCache(RandomAccessFile& file);

    // Makes bytes [offset, offset + length) available. Returns a pointer to them and sets
    // `available` to how many could be read (fewer at the end of the file).
    const std::uint8_t* Fetch(std::int64_t offset, std::size_t length, std::size_t& available);

    // Forgets the window (the file may have changed).
    void Invalidate() { length_ = 0; }

private:
    static constexpr std::size_t kWindow = 64 * 1024;
    static constexpr std::size_t kSmallWindow = 2 * 1024;

    RandomAccessFile& file_;
    std::vector<std::uint8_t> buffer_;
    std::int64_t start_ = 0;
    std::size_t length_ = 0;
    std::vector<std::uint8_t> large_;  // for a record larger than the window
};
