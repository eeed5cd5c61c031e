#include "database/PairSnapshot.h"

#include <algorithm>

#include "database/LittleEndian.h"

namespace {

constexpr std::int64_t kEntrySize = 8;

}  // namespace

PairSnapshot::Bytes PairSnapshot::Read(RandomAccessFile& file, std::int64_t offset,
                                       std::size_t length) {
    Bytes out;
    if (offset < 0) {
        return out;
    }
    out.length = ReadFully(file, offset, out.bytes.data(), std::min(length, out.bytes.size()));
    return out;
}

// A record that the end of the data file cut short when it was noted may have been
// completed since: what was noted must still be there, more may follow.
bool PairSnapshot::StillHolds(const Bytes& noted, const Bytes& now) {
    return noted.length <= 0 ||
           (now.length >= noted.length &&
            std::equal(noted.bytes.begin(), noted.bytes.begin() + noted.length, now.bytes.begin()));
}

std::int64_t PairSnapshot::RecordOffset() const {
    if (lastEntry_.length != kEntrySize) {
        return -1;
    }
    const std::uint8_t* p = lastEntry_.bytes.data() + 4;
    return I32(p);
}

void PairSnapshot::Take(RandomAccessFile& index, RandomAccessFile& data, std::int64_t indexPosition,
                        std::int32_t entryCount) {
    indexPosition_ = indexPosition;
    entryCount_ = entryCount;
    const FileIdentity dataNow = data.Identity();
    dataSize_ = dataNow.valid ? dataNow.size : 0;
    start_ = Read(index, 0,
                  static_cast<std::size_t>(std::min<std::int64_t>(
                      std::max<std::int64_t>(indexPosition, 0), kStartBytes)));
    lastEntry_ = entryCount > 0 ? Read(index, indexPosition - kEntrySize, kEntryBytes) : Bytes();
    lastRecord_ = entryCount > 0 ? Read(data, RecordOffset(), kRecordBytes) : Bytes();
}

bool PairSnapshot::Stands(RandomAccessFile& index, RandomAccessFile& data) {
    const FileIdentity indexNow = index.Identity();
    const FileIdentity dataNow = data.Identity();
    if (!indexNow.valid || !dataNow.valid || indexNow.size < indexPosition_ ||
        dataNow.size < dataSize_) {
        return false;
    }
    const auto startLength = static_cast<std::size_t>(
        std::min<std::int64_t>(std::max<std::int64_t>(indexPosition_, 0), kStartBytes));
    if (!StillHolds(start_, Read(index, 0, startLength))) {
        return false;
    }
    if (entryCount_ > 0) {
        if (!StillHolds(lastEntry_, Read(index, indexPosition_ - kEntrySize, kEntryBytes)) ||
            !StillHolds(lastRecord_, Read(data, RecordOffset(), kRecordBytes))) {
            return false;
        }
    }
    // The messenger only ever adds to the data file; the size seen now is the floor.
    dataSize_ = dataNow.size;
    return true;
}
