#pragma once

// The byte layout of a history pair as the writer produces it. All numbers little-endian.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

inline constexpr std::uint16_t kWriterRecordMarker = 0x00A0;
inline constexpr std::int64_t kWriterIndexHeaderSize = 10;
inline constexpr std::int64_t kWriterIndexEntrySize = 8;
// Bytes of a record besides its text field.
inline constexpr std::size_t kWriterRecordOverhead = 24;

// One event record. `text` holds the bytes as they go into the file (Shift-JIS, chosen by
// the caller); it may itself contain NULs.
struct WriterRecord {
    std::uint16_t type = 1;
    std::int32_t uin = 0;
    std::string text;
    std::uint32_t extra = 0;
    std::uint32_t direction = 0;
    std::int32_t stamp = 0;
    // Anything else than 0x00A0 makes the record unreadable.
    std::uint16_t marker = kWriterRecordMarker;
    // Adds the terminating NUL after `text`.
    bool terminate = true;
    // The length field as written; by default the size of the text field (text + NUL).
    // When set, the text bytes are still written as they are, so a value that differs
    // from them describes a damaged record.
    std::optional<std::uint16_t> length;
    std::uint16_t unused = 0;
};

// One record together with the key of its index entry.
struct WriterEvent {
    std::int32_t key = 0;
    WriterRecord record;
};

// The bytes of a record, exactly as HistoryWriter::AppendRecord writes them.
std::string EncodeRecord(const WriterRecord& record);
// The same bytes appended to `out`.
void AppendEncodedRecord(std::string& out, const WriterRecord& record);
// The 8 bytes of one index entry, returned or appended to `out`.
std::string EncodeIndexEntry(std::int32_t key, std::int32_t dataOffset);
void AppendEncodedEntry(std::string& out, std::int32_t key, std::int32_t dataOffset);
// File position of index entry `entryNumber`.
constexpr std::int64_t IndexEntryPosition(std::int64_t entryNumber) {
    return kWriterIndexHeaderSize + kWriterIndexEntrySize * entryNumber;
}

// "<folder>/<uin>msg.dat" and "<folder>/<uin>msg.idx".
struct HistoryPaths {
    std::string data;
    std::string index;
};
HistoryPaths HistoryPathsFor(const std::string& folder, std::int32_t uin);
