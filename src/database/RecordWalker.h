#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

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

    // Visits refs[first, last) in ascending order: visit(index, const RecordBytes&).
    template <typename Visit>
    void Walk(const std::vector<EventRef>& refs, std::size_t first, std::size_t last,
              Visit&& visit) {
        std::size_t i = first;
        while (i < last) {
            const std::size_t end = BlockEnd(refs, i, last);
            ReadBlock(refs[i].dataOffset, refs[end - 1].dataOffset);
            for (std::size_t k = i; k < end; ++k) {
                visit(k, Record(refs[k].dataOffset));
            }
            i = end;
        }
    }

private:
    std::size_t BlockEnd(const std::vector<EventRef>& refs, std::size_t i, std::size_t last) const;
    void ReadBlock(std::int64_t first, std::int64_t last);
    RecordBytes Record(std::int64_t offset) const;

    MessageDatabase& db_;
    std::vector<std::uint8_t> block_;
    std::int64_t start_ = 0;
    std::size_t length_ = 0;
    std::uint64_t reads_ = 0;
};
