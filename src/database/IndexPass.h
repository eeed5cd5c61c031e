#pragma once

#include <cstdint>
#include <map>

#include "database/FileAccess.h"

struct Member;
class MemberIndex;

// One pass over index entries: reads them in large pieces, then hands each entry's
// reference to its member and to ALL_MEMBERS in index order. A large pass counts each
// member's new entries first, so every list is sized once and carries no spare capacity.
class IndexPass {
public:
    IndexPass(RandomAccessFile& file, std::map<std::int32_t, Member>& members, MemberIndex& index)
        : file_(file), members_(members), index_(index) {}

    // Takes the complete, non-zero entries from `position` up to `end`, numbering them
    // from `entryCount` on (which it advances). Returns where the next pass resumes: the
    // first entry not taken.
    std::int64_t Run(std::int64_t position, std::int64_t end, std::int32_t& entryCount);

private:
    Member& MemberOf(std::int32_t key);

    RandomAccessFile& file_;
    std::map<std::int32_t, Member>& members_;
    MemberIndex& index_;
};
