#pragma once

#include <cstddef>
#include <cstdint>

#include "database/LittleEndian.h"

// How far a record's bytes took its decoding. Every reader of records (the decoder, the
// per-event summary, the search scan) goes by this one parse, so they agree on each case.
enum class RecordState : std::uint8_t {
    Corrupt,      // no marker (or no bytes at all): the corrupt-data text
    Unsupported,  // a type without a known layout: the not-supported text
    Short,        // the bytes ended inside the record: what was read stands
    Complete,     // every field was read
};

// The fields of one record as far as they could be read. Offsets are from the record's
// first byte.
struct RecordFields {
    RecordState state = RecordState::Corrupt;
    bool typeRead = false;
    bool uinRead = false;
    bool lengthRead = false;  // the text field (as far as present) was looked at
    std::uint16_t type = 0;
    std::int32_t uin = 0;
    std::uint32_t extra = 0;
    std::uint32_t direction = 0;
    std::int32_t stamp = 0;
    std::size_t textLength = 0;  // the length field, NUL included
    std::size_t textRead = 0;    // bytes of the text field present in `available`
};

// Fixed part of a decoded record: marker, type, uin, L, then extra, direction, 2 bytes, time.
inline constexpr std::size_t kRecordHead = 10;
inline constexpr std::size_t kRecordTail = 14;

// Parses the `available` bytes at `p` (those the file holds from the record's offset on,
// at most the record's length when the caller knows it).
RecordFields ParseRecord(const std::uint8_t* p, std::size_t available);

// Length of the raw text: the text field present, up to its first NUL.
std::size_t RawTextLength(const std::uint8_t* p, const RecordFields& fields);

// Bytes a record needs from `head` (at least kRecordHead bytes of it) on.
inline std::size_t RecordLength(const std::uint8_t* head) {
    return kRecordHead + static_cast<std::size_t>(U16(head + 8)) + kRecordTail;
}
