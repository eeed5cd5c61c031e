#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "database/FileAccess.h"

// What an index pass has read from the open pair, kept so that a later check can tell
// whether it still stands. A history copied over the open one in place (same inode, the
// same size or longer) passes every identity and size test, but not this one: the index's
// first bytes, the last entry taken and the head of the record that entry names are read
// again and compared.
class PairSnapshot {
public:
    // Notes the pair as it is now; `indexPosition` is where the last pass stopped (just
    // after the last entry taken) and `entryCount` how many entries it has taken.
    void Take(RandomAccessFile& index, RandomAccessFile& data, std::int64_t indexPosition,
              std::int32_t entryCount);
    // True when the pair still holds what was noted, and neither file has become shorter
    // than it was seen.
    bool Stands(RandomAccessFile& index, RandomAccessFile& data);
    void Clear() { *this = PairSnapshot(); }

private:
    // Header and first entry, the last entry taken, the fixed head of its record.
    static constexpr std::size_t kStartBytes = 18;
    static constexpr std::size_t kEntryBytes = 8;
    static constexpr std::size_t kRecordBytes = 10;

    struct Bytes {
        std::array<std::uint8_t, kStartBytes> bytes{};
        std::int64_t length = -1;  // what the read returned
    };
    static Bytes Read(RandomAccessFile& file, std::int64_t offset, std::size_t length);
    static bool StillHolds(const Bytes& noted, const Bytes& now);
    std::int64_t RecordOffset() const;

    std::int64_t indexPosition_ = 0;
    std::int32_t entryCount_ = 0;
    std::int64_t dataSize_ = 0;
    Bytes start_;
    Bytes lastEntry_;
    Bytes lastRecord_;
};
