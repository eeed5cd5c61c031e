#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "database/MappedBytes.h"
#include "database/MessageDatabase.h"
#include "database/RecordLayout.h"

// One record as a walk over many of them sees it.
struct RecordBytes {
    RecordFields fields;
    const std::uint8_t* p = nullptr;         // the record's first byte in the block
    const std::uint8_t* blockEnd = nullptr;  // end of the bytes read with it
    std::uint64_t block = 0;                 // which read of the walk the bytes came from
    // The bytes ended inside the record or before it (the end of the block, or of a file
    // that may still grow): only ReadEvent tells what it holds now.
    bool redo = false;
};

// Reads the records of a run of references with few large reads: references whose
// records lie close together in file order share one block. Each record is parsed as
// ReadEvent parses it.
class RecordWalker {
public:
    explicit RecordWalker(MessageDatabase& db) : db_(db) {}

    // Visits refs[first, last) in ascending order: visit(index, const RecordBytes&). The
    // bytes of the last block read stay valid until the next Walk.
    template <typename Visit>
    void Walk(const std::vector<EventRef>& refs, std::size_t first, std::size_t last,
              Visit&& visit) {
        WalkBlocks(refs, first, last, [&](std::size_t begin, std::size_t end) {
            for (std::size_t k = begin; k < end; ++k) {
                visit(k, Record(refs[k].dataOffset));
            }
        });
    }

    // Reads the blocks of refs[first, last) in ascending order and calls visit(begin, end)
    // for each, refs[begin, end) being the references whose records it was read for.
    // Meanwhile block() and Record() show that block.
    template <typename VisitBlock>
    void WalkBlocks(const std::vector<EventRef>& refs, std::size_t first, std::size_t last,
                    VisitBlock&& visit) {
        std::size_t i = first;
        while (i < last) {
            const std::size_t end = BlockEnd(refs, i, last);
            ReadBlock(refs[i].dataOffset, refs[end - 1].dataOffset);
            visit(i, end);
            i = end;
        }
    }

    // The record at `offset` in the block read last.
    RecordBytes Record(std::int64_t offset) const;
    // The bytes of the block read last, and the file offset of its first byte.
    const std::uint8_t* blockData() const { return data_; }
    std::size_t blockLength() const { return length_; }
    std::int64_t blockStart() const { return start_; }

private:
    std::size_t BlockEnd(const std::vector<EventRef>& refs, std::size_t i, std::size_t last) const;
    void ReadBlock(std::int64_t first, std::int64_t last);

    MessageDatabase& db_;
    // A large block is mapped (no copy); a small one, or one the system will not map, is
    // read into block_.
    MappedBytes mapped_;
    std::vector<std::uint8_t> block_;
    const std::uint8_t* data_ = nullptr;
    std::int64_t start_ = 0;
    std::size_t length_ = 0;
    std::uint64_t reads_ = 0;
};
