#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "database/FileAccess.h"

struct EventRef;
struct Member;
class MemberIndex;

// One pass over index entries: reads them in large pieces into ALL_MEMBERS's list, then
// hands each entry's reference to its member in index order. A large pass counts each
// member's new entries first, so every list is sized once and carries no spare capacity.
class IndexPass {
public:
    IndexPass(RandomAccessFile& file, std::map<std::int32_t, Member>& members, MemberIndex& index)
        : file_(file), members_(members), index_(index) {}

    // Takes the complete, non-zero entries from `position` up to `end`, numbering them
    // from `entryCount` on (which it advances). Returns where the next pass resumes: the
    // first entry not taken.
    std::int64_t Run(std::int64_t position, std::int64_t end, std::int32_t& entryCount);
    // The key of the last entry Run took (0 when it took none).
    std::int32_t lastKey() const { return lastKey_; }

private:
    Member& MemberOf(std::int32_t key);
    // The number of the key's member in targets_, added at its first entry of the pass.
    std::uint32_t TargetOf(std::int32_t key);
    // Takes the entries of one chunk read from the file up to the first zero key,
    // numbering them from `number` on, into `refs` and `targetOf`; returns how many.
    std::size_t TakeChunk(const std::uint8_t* chunk, std::size_t whole, std::int32_t number,
                          EventRef* refs, std::uint32_t* targetOf);
    // Sizes the members' smaller lists for this pass and readies their memory in one step.
    void PrepareSmallLists();
    // Hands the references taken into ALL_MEMBERS's list from `allBase` on to their members.
    void Distribute(Member& all, std::size_t allBase, const std::vector<std::uint32_t>& targetOf,
                    bool exact);

    RandomAccessFile& file_;
    std::map<std::int32_t, Member>& members_;
    MemberIndex& index_;
    // The members that receive entries in this pass, and how many each.
    std::vector<Member*> targets_;
    std::vector<std::int32_t> targetKeys_;
    std::vector<std::uint32_t> counts_;
    std::int32_t lastKey_ = 0;
};
