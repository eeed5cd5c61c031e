#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "database/FileAccess.h"

struct EventRef;
struct Member;
class MemberIndex;

// One pass over index entries: reads them in large pieces into ALL_MEMBERS's list and,
// side by side with it, each entry's member key. Members are counted, not listed: a
// member's own list is built when it is first asked for, and only such a list is extended
// by later passes.
class IndexPass {
public:
    IndexPass(RandomAccessFile& file, std::map<std::int32_t, Member>& members, MemberIndex& index,
              std::vector<std::int32_t>& keys)
        : file_(file), members_(members), index_(index), keys_(keys) {}

    // Takes the complete, non-zero entries from `position` up to `end`, numbering them
    // from `entryCount` on (which it advances). Returns where the next pass resumes: the
    // first entry not taken.
    std::int64_t Run(std::int64_t position, std::int64_t end, std::int32_t& entryCount);
    // The key of the last entry Run took (0 when it took none).
    std::int32_t lastKey() const { return lastKey_; }

private:
    Member& MemberOf(std::int32_t key);
    // Takes the entries of one chunk up to the first zero key or ALL_MEMBERS's own key,
    // numbering them from `number` on, into `refs` and `keys`; returns how many.
    std::size_t TakeRun(const std::uint8_t* chunk, std::size_t whole, std::int32_t number,
                        EventRef* refs, std::int32_t* keys);

    RandomAccessFile& file_;
    std::map<std::int32_t, Member>& members_;
    MemberIndex& index_;
    std::vector<std::int32_t>& keys_;
    std::int32_t lastKey_ = 0;
};
