#pragma once

// Writes history pairs (<uin>msg.dat + <uin>msg.idx) for tests, benchmarks and the demo,
// including the damaged and half-written states the viewer has to cope with. Every call
// goes straight to the file with pwrite, so a reader in another process sees each write
// as soon as the call returns.

#include "historywriter/HistoryFormat.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// A failed call leaves the writer failed: later writes do nothing and return -1 or false,
// and Error() says what went wrong first.
class HistoryWriter {
public:
    // Starts an empty pair (existing files are truncated). The index begins with a fixed
    // 10-byte header, or with `header` as given.
    static std::optional<HistoryWriter> Create(const std::string& dataPath,
                                               const std::string& indexPath,
                                               std::string* error = nullptr);
    static std::optional<HistoryWriter> Create(const std::string& dataPath,
                                               const std::string& indexPath,
                                               std::string_view header,
                                               std::string* error = nullptr);
    // Opens an existing pair without truncating it. Records go to the end of the data
    // file; the next entry goes where a reader would look for it: the first zero or
    // missing key word after the header. An entry whose key is written but whose offset
    // is cut short is left pending, so CompleteEntryOffset finishes it.
    static std::optional<HistoryWriter> OpenAppend(const std::string& dataPath,
                                                   const std::string& indexPath,
                                                   std::string* error = nullptr);

    HistoryWriter(HistoryWriter&& other) noexcept;
    HistoryWriter& operator=(HistoryWriter&& other) noexcept;
    HistoryWriter(const HistoryWriter&) = delete;
    HistoryWriter& operator=(const HistoryWriter&) = delete;
    ~HistoryWriter();

    bool Ok() const { return error_.empty(); }
    const std::string& Error() const { return error_; }

    // Size of the data file as written so far: the offset of the next record.
    std::int64_t DataSize() const { return dataSize_; }
    // Number of the entry the next AppendEntry or AppendEntryKey writes.
    std::int64_t NextEntry() const { return nextEntry_; }
    // An entry has its key word but still waits for its offset word.
    bool EntryPending() const { return pendingEntry_.has_value(); }

    // --- data file. Each returns the offset the bytes went to, -1 on failure.
    std::int32_t AppendRecord(const WriterRecord& record);
    // Only the first `byteCount` bytes of the record (all of it when it is shorter).
    std::int32_t AppendRecordPrefix(const WriterRecord& record, std::size_t byteCount);
    std::int32_t AppendRaw(std::string_view bytes);
    // Overwrites bytes inside (or past the end of) the data file.
    bool WriteDataAt(std::int64_t offset, std::string_view bytes);
    bool TruncateData(std::int64_t size);

    // --- index file.
    // Writes entry NextEntry() and moves on.
    bool AppendEntry(std::int32_t key, std::int32_t dataOffset);
    // An entry in two steps, as the messenger leaves it between its two writes: the key
    // word first, the offset word when CompleteEntryOffset is called.
    bool AppendEntryKey(std::int32_t key);
    bool CompleteEntryOffset(std::int32_t dataOffset);
    // Writes entry `entryNumber` wherever it is; NextEntry() does not change.
    bool WriteEntryAt(std::int64_t entryNumber, std::int32_t key, std::int32_t dataOffset);
    // Zeroed entries at the end of the index file, as space reserved for later entries.
    // NextEntry() does not move, so the next AppendEntry fills the first of them.
    bool AppendZeroEntries(std::int64_t count);
    // Bytes at the end of the index file (a lone zero word, half an entry, ...).
    bool AppendIndexRaw(std::string_view bytes);
    // Cuts the index; NextEntry() moves back to the first entry that no longer fits.
    bool TruncateIndex(std::int64_t size);

    // --- both.
    // Record, then its complete index entry. Returns the record's offset.
    std::int32_t AppendEvent(std::int32_t key, const WriterRecord& record);
    // Many events at once: the records in one write, then their entries in one write.
    // Returns the offset of the first record.
    std::int32_t AppendEvents(std::span<const WriterEvent> events);

private:
    HistoryWriter(int dataFd, int indexFd, std::int64_t dataSize, std::int64_t indexSize);

    bool Fail(const std::string& what);
    bool WriteAll(int fd, std::int64_t offset, std::string_view bytes, const char* what);
    bool WriteIndexAt(std::int64_t offset, std::string_view bytes);
    std::int32_t AppendData(std::string_view bytes);
    void Close();

    int dataFd_ = -1;
    int indexFd_ = -1;
    std::int64_t dataSize_ = 0;
    std::int64_t indexSize_ = 0;
    std::int64_t nextEntry_ = 0;
    std::optional<std::int64_t> pendingEntry_;
    std::string error_;
};
