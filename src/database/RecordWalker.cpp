#include "database/RecordWalker.h"

namespace {

// Bytes of one block, and the most that a block reads past its last record's offset:
// a longer record is read on its own.
constexpr std::int64_t kBlockSpan = 1 << 20;
constexpr std::int64_t kTailSlack = 1024;
// References further apart than this start a new block (a member's events scattered
// over the file are read one by one).
constexpr std::int64_t kMaxGap = 8 * 1024;
// Blocks from this size on are mapped rather than read: below it a copy costs less than
// setting up the mapping.
constexpr std::size_t kMapFrom = 256 * 1024;

}  // namespace

std::size_t RecordWalker::BlockEnd(const std::vector<EventRef>& refs, std::size_t i,
                                   std::size_t last) const {
    const std::int64_t start = refs[i].dataOffset;
    std::size_t j = i + 1;
    if (start < 0) {
        return j;
    }
    while (j < last) {
        const std::int64_t offset = refs[j].dataOffset;
        const std::int64_t previous = refs[j - 1].dataOffset;
        if (offset <= previous || offset - previous > kMaxGap || offset - start >= kBlockSpan) {
            break;
        }
        ++j;
    }
    return j;
}

void RecordWalker::ReadBlock(std::int64_t first, std::int64_t last) {
    start_ = first;
    length_ = 0;
    ++reads_;
    if (first < 0) {
        return;
    }
    const auto want = static_cast<std::size_t>(last - first + kTailSlack);
    if (want >= kMapFrom && db_.MapData(first, want, mapped_)) {
        data_ = mapped_.data();
        length_ = mapped_.size();
        return;
    }
    mapped_.Release();
    if (block_.size() < want) {
        block_.resize(want);
    }
    const std::int64_t got = db_.ReadData(first, block_.data(), want);
    data_ = block_.data();
    length_ = got > 0 ? static_cast<std::size_t>(got) : 0;
}

RecordBytes RecordWalker::Record(std::int64_t offset) const {
    RecordBytes r;
    if (offset < start_ || length_ == 0) {
        r.redo = true;
        return r;
    }
    const auto at = static_cast<std::size_t>(offset - start_);
    const std::size_t available = at < length_ ? length_ - at : 0;
    if (available == 0) {
        r.redo = true;
        return r;
    }
    r.p = data_ + at;
    r.blockEnd = data_ + length_;
    r.block = reads_;
    r.fields = ParseRecord(r.p, available);
    r.redo = r.fields.state == RecordState::Short;
    return r;
}
