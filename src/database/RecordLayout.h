#pragma once

#include <cstddef>
#include <cstdint>

#include "database/LittleEndian.h"

// How far a record's bytes took its decoding (ParseRecord: the decoder, the record walker
// and the search scan). The per-event summary and the direction reader take only a few
// fields, through the named layout below, and agree with it on each case.
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

// The layout of a record: a head of fixed size, the text of the length the head gives, and
// a tail of fixed size. Every reader of records goes by these names.
//   head: marker u16 (0x00A0), type u16, uin u32, text length u16 (NUL included)
//   tail: extra u32, direction u32, 2 bytes, time stamp u32
namespace record {
inline constexpr std::size_t kMarker = 0;
inline constexpr std::size_t kType = 2;
inline constexpr std::size_t kUin = 4;
inline constexpr std::size_t kTextLength = 8;
// From the tail's first byte.
inline constexpr std::size_t kExtra = 0;
inline constexpr std::size_t kDirection = 4;
inline constexpr std::size_t kStamp = 10;
}  // namespace record

inline constexpr std::size_t kRecordHead = 10;
inline constexpr std::size_t kRecordTail = 14;

// Parses the `available` bytes at `p` (those the file holds from the record's offset on,
// at most the record's length when the caller knows it).
RecordFields ParseRecord(const std::uint8_t* p, std::size_t available);

// Length of the raw text: the text field present, up to its first NUL.
std::size_t RawTextLength(const std::uint8_t* p, const RecordFields& fields);

// The text field's length that a head (at least kRecordHead bytes) gives, NUL included.
inline std::size_t RecordTextLength(const std::uint8_t* head) {
    return U16(head + record::kTextLength);
}

// Bytes a record needs from `head` (at least kRecordHead bytes of it) on.
inline std::size_t RecordLength(const std::uint8_t* head) {
    return kRecordHead + RecordTextLength(head) + kRecordTail;
}

// The first byte of the tail of the record at `p`.
inline const std::uint8_t* RecordTail(const std::uint8_t* p, std::size_t textLength) {
    return p + kRecordHead + textLength;
}
