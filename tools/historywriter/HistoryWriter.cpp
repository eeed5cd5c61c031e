#include "historywriter/HistoryWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <utility>
#include <vector>

namespace {

// Fixed tag; readers skip the header, so its content only has to be recognisable.
constexpr std::string_view kDefaultHeader{"TVHIST\x01\0\0\0", 10};

std::string ErrnoText(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

std::int64_t FileSize(int fd) {
    struct stat info {};
    return ::fstat(fd, &info) == 0 ? static_cast<std::int64_t>(info.st_size) : -1;
}

std::uint32_t ReadU32(const char* bytes) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[i]);
    }
    return value;
}

// Where the next entry of an existing index goes, and whether that entry already has its
// key word (written by a writer that stopped between its two writes).
struct IndexResume {
    std::int64_t nextEntry = 0;
    bool keyPending = false;
};

std::optional<IndexResume> FindIndexResume(int fd, std::int64_t size) {
    IndexResume resume;
    std::vector<char> chunk(64 * 1024 * static_cast<std::size_t>(kWriterIndexEntrySize));
    for (;;) {
        const std::int64_t position = IndexEntryPosition(resume.nextEntry);
        if (position >= size) {
            return resume;
        }
        const ssize_t got = ::pread(fd, chunk.data(), chunk.size(), position);
        if (got < 0) {
            return std::nullopt;
        }
        const std::int64_t available = got;
        for (std::int64_t at = 0; at < available; at += kWriterIndexEntrySize) {
            const std::int64_t left = available - at;
            if (left < 4 || ReadU32(chunk.data() + at) == 0) {
                return resume;
            }
            ++resume.nextEntry;
            if (left < kWriterIndexEntrySize) {
                resume.keyPending = true;
                return resume;
            }
        }
        if (got == 0) {
            return resume;
        }
    }
}

}  // namespace

HistoryWriter::HistoryWriter(int dataFd, int indexFd, std::int64_t dataSize, std::int64_t indexSize)
    : dataFd_(dataFd), indexFd_(indexFd), dataSize_(dataSize), indexSize_(indexSize) {}

HistoryWriter::HistoryWriter(HistoryWriter&& other) noexcept
    : dataFd_(std::exchange(other.dataFd_, -1)),
      indexFd_(std::exchange(other.indexFd_, -1)),
      dataSize_(other.dataSize_),
      indexSize_(other.indexSize_),
      nextEntry_(other.nextEntry_),
      pendingEntry_(other.pendingEntry_),
      error_(std::move(other.error_)) {}

HistoryWriter& HistoryWriter::operator=(HistoryWriter&& other) noexcept {
    if (this != &other) {
        Close();
        dataFd_ = std::exchange(other.dataFd_, -1);
        indexFd_ = std::exchange(other.indexFd_, -1);
        dataSize_ = other.dataSize_;
        indexSize_ = other.indexSize_;
        nextEntry_ = other.nextEntry_;
        pendingEntry_ = other.pendingEntry_;
        error_ = std::move(other.error_);
    }
    return *this;
}

HistoryWriter::~HistoryWriter() {
    Close();
}

void HistoryWriter::Close() {
    if (dataFd_ >= 0) {
        ::close(dataFd_);
        dataFd_ = -1;
    }
    if (indexFd_ >= 0) {
        ::close(indexFd_);
        indexFd_ = -1;
    }
}

std::optional<HistoryWriter> HistoryWriter::Create(const std::string& dataPath,
                                                   const std::string& indexPath,
                                                   std::string* error) {
    return Create(dataPath, indexPath, kDefaultHeader, error);
}

std::optional<HistoryWriter> HistoryWriter::Create(const std::string& dataPath,
                                                   const std::string& indexPath,
                                                   std::string_view header, std::string* error) {
    const int flags = O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC;
    const int dataFd = ::open(dataPath.c_str(), flags, 0644);
    if (dataFd < 0) {
        if (error != nullptr) {
            *error = ErrnoText(dataPath);
        }
        return std::nullopt;
    }
    const int indexFd = ::open(indexPath.c_str(), flags, 0644);
    if (indexFd < 0) {
        if (error != nullptr) {
            *error = ErrnoText(indexPath);
        }
        ::close(dataFd);
        return std::nullopt;
    }
    HistoryWriter writer(dataFd, indexFd, 0, 0);
    if (!writer.AppendIndexRaw(header)) {
        if (error != nullptr) {
            *error = writer.Error();
        }
        return std::nullopt;
    }
    return writer;
}

std::optional<HistoryWriter> HistoryWriter::OpenAppend(const std::string& dataPath,
                                                       const std::string& indexPath,
                                                       std::string* error) {
    auto fail = [error](const std::string& path) {
        if (error != nullptr) {
            *error = ErrnoText(path);
        }
        return std::nullopt;
    };
    const int dataFd = ::open(dataPath.c_str(), O_WRONLY | O_CLOEXEC);
    if (dataFd < 0) {
        return fail(dataPath);
    }
    // Read access too: the index is scanned for the place of the next entry.
    const int indexFd = ::open(indexPath.c_str(), O_RDWR | O_CLOEXEC);
    if (indexFd < 0) {
        ::close(dataFd);
        return fail(indexPath);
    }
    const std::int64_t dataSize = FileSize(dataFd);
    const std::int64_t indexSize = FileSize(indexFd);
    const auto resume = indexSize < 0 ? std::nullopt : FindIndexResume(indexFd, indexSize);
    if (dataSize < 0 || !resume) {
        ::close(dataFd);
        ::close(indexFd);
        return fail(dataSize < 0 ? dataPath : indexPath);
    }
    HistoryWriter writer(dataFd, indexFd, dataSize, indexSize);
    writer.nextEntry_ = resume->nextEntry;
    if (resume->keyPending) {
        writer.pendingEntry_ = resume->nextEntry - 1;
    }
    return writer;
}

bool HistoryWriter::Fail(const std::string& what) {
    if (error_.empty()) {
        error_ = what;
    }
    return false;
}

bool HistoryWriter::WriteAll(int fd, std::int64_t offset, std::string_view bytes,
                             const char* what) {
    if (!Ok()) {
        return false;
    }
    if (offset < 0) {
        return Fail(std::string(what) + ": negative file position");
    }
    while (!bytes.empty()) {
        const ssize_t done = ::pwrite(fd, bytes.data(), bytes.size(), offset);
        if (done < 0) {
            if (errno == EINTR) {
                continue;
            }
            return Fail(ErrnoText(what));
        }
        bytes.remove_prefix(static_cast<std::size_t>(done));
        offset += done;
    }
    return true;
}

bool HistoryWriter::WriteIndexAt(std::int64_t offset, std::string_view bytes) {
    if (!WriteAll(indexFd_, offset, bytes, "index file")) {
        return false;
    }
    indexSize_ = std::max(indexSize_, offset + static_cast<std::int64_t>(bytes.size()));
    return true;
}

std::int32_t HistoryWriter::AppendData(std::string_view bytes) {
    const std::int64_t offset = dataSize_;
    if (offset > std::numeric_limits<std::int32_t>::max()) {
        Fail("data file: offset does not fit 32 bits");
        return -1;
    }
    if (!WriteAll(dataFd_, offset, bytes, "data file")) {
        return -1;
    }
    dataSize_ += static_cast<std::int64_t>(bytes.size());
    return static_cast<std::int32_t>(offset);
}

std::int32_t HistoryWriter::AppendRecord(const WriterRecord& record) {
    return AppendData(EncodeRecord(record));
}

std::int32_t HistoryWriter::AppendRecordPrefix(const WriterRecord& record, std::size_t byteCount) {
    const std::string bytes = EncodeRecord(record);
    return AppendData(std::string_view(bytes).substr(0, byteCount));
}

std::int32_t HistoryWriter::AppendRaw(std::string_view bytes) {
    return AppendData(bytes);
}

bool HistoryWriter::WriteDataAt(std::int64_t offset, std::string_view bytes) {
    if (!WriteAll(dataFd_, offset, bytes, "data file")) {
        return false;
    }
    dataSize_ = std::max(dataSize_, offset + static_cast<std::int64_t>(bytes.size()));
    return true;
}

bool HistoryWriter::TruncateData(std::int64_t size) {
    if (!Ok()) {
        return false;
    }
    if (::ftruncate(dataFd_, size) != 0) {
        return Fail(ErrnoText("data file"));
    }
    dataSize_ = size;
    return true;
}

bool HistoryWriter::AppendEntry(std::int32_t key, std::int32_t dataOffset) {
    if (!WriteIndexAt(IndexEntryPosition(nextEntry_), EncodeIndexEntry(key, dataOffset))) {
        return false;
    }
    ++nextEntry_;
    return true;
}

bool HistoryWriter::AppendEntryKey(std::int32_t key) {
    if (pendingEntry_) {
        return Fail("index file: the previous entry still waits for its offset");
    }
    if (!WriteIndexAt(IndexEntryPosition(nextEntry_), EncodeIndexEntry(key, 0).substr(0, 4))) {
        return false;
    }
    pendingEntry_ = nextEntry_++;
    return true;
}

bool HistoryWriter::CompleteEntryOffset(std::int32_t dataOffset) {
    if (!pendingEntry_) {
        return Fail("index file: no entry waits for its offset");
    }
    if (!WriteIndexAt(IndexEntryPosition(*pendingEntry_) + 4,
                      EncodeIndexEntry(0, dataOffset).substr(4))) {
        return false;
    }
    pendingEntry_.reset();
    return true;
}

bool HistoryWriter::WriteEntryAt(std::int64_t entryNumber, std::int32_t key,
                                 std::int32_t dataOffset) {
    return WriteIndexAt(IndexEntryPosition(entryNumber), EncodeIndexEntry(key, dataOffset));
}

bool HistoryWriter::AppendZeroEntries(std::int64_t count) {
    if (count < 0) {
        return Fail("index file: negative entry count");
    }
    const std::string zeros(static_cast<std::size_t>(count * kWriterIndexEntrySize), '\0');
    return WriteIndexAt(std::max(indexSize_, IndexEntryPosition(nextEntry_)), zeros);
}

bool HistoryWriter::AppendIndexRaw(std::string_view bytes) {
    return WriteIndexAt(indexSize_, bytes);
}

bool HistoryWriter::TruncateIndex(std::int64_t size) {
    if (!Ok()) {
        return false;
    }
    if (::ftruncate(indexFd_, size) != 0) {
        return Fail(ErrnoText("index file"));
    }
    indexSize_ = size;
    const std::int64_t fitting =
        std::max<std::int64_t>(0, (size - kWriterIndexHeaderSize) / kWriterIndexEntrySize);
    nextEntry_ = std::min(nextEntry_, fitting);
    if (pendingEntry_ && *pendingEntry_ >= nextEntry_) {
        pendingEntry_.reset();
    }
    return true;
}

std::int32_t HistoryWriter::AppendEvent(std::int32_t key, const WriterRecord& record) {
    const std::int32_t offset = AppendRecord(record);
    if (offset < 0 || !AppendEntry(key, offset)) {
        return -1;
    }
    return offset;
}

std::int32_t HistoryWriter::AppendEvents(std::span<const WriterEvent> events) {
    std::string records;
    std::string entries;
    entries.reserve(events.size() * static_cast<std::size_t>(kWriterIndexEntrySize));
    const std::int64_t first = dataSize_;
    for (const WriterEvent& event : events) {
        const std::int64_t offset = first + static_cast<std::int64_t>(records.size());
        if (offset > std::numeric_limits<std::int32_t>::max()) {
            Fail("data file: offset does not fit 32 bits");
            return -1;
        }
        AppendEncodedRecord(records, event.record);
        AppendEncodedEntry(entries, event.key, static_cast<std::int32_t>(offset));
    }
    const std::int32_t offset = AppendData(records);
    if (offset < 0 || !WriteIndexAt(IndexEntryPosition(nextEntry_), entries)) {
        return -1;
    }
    nextEntry_ += static_cast<std::int64_t>(events.size());
    return offset;
}
