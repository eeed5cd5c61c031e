#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "database/FileAccess.h"

struct EventRef;
struct Member;
class MemberColumn;
class MemberIndex;

// One pass over index entries: reads them in large pieces into ALL_MEMBERS's list and,
// side by side with it, each entry's member key, and adds the members first named. Nothing
// is counted or listed per member here: that is the database's, for the members asked for.
class IndexPass {
public:
    IndexPass(RandomAccessFile& file, std::map<std::int32_t, Member>& members, MemberIndex& index,
              MemberColumn& keys)
        : file_(file), members_(members), index_(index), keys_(keys) {
        // Key 0's slot holds a key that belongs elsewhere: key 0 (the end) is never seen.
        seen_[SeenSlot(0)].key = 1;
    }

    // Takes the complete, non-zero entries from `position` up to `end`, numbering them
    // from `entryCount` on (which it advances). Returns where the next pass resumes: the
    // first entry not taken.
    std::int64_t Run(std::int64_t position, std::int64_t end, std::int32_t& entryCount);
    // The key of the last entry Run took (0 when it took none).
    std::int32_t lastKey() const { return lastKey_; }

private:
    Member& MemberOf(std::int32_t key);
    // Keys met in this pass, each in the slot its hash gives: a key found in its slot has
    // its member already, and costs no look-up in the table.
    static constexpr std::size_t kSeenBits = 14;
    struct SeenKey {
        std::int32_t key = 0;
        std::uint16_t number = 0;
    };
    static std::size_t SeenSlot(std::int32_t key) {
        return static_cast<std::size_t>((static_cast<std::uint32_t>(key) * 0x9E3779B1U) >>
                                        (32 - kSeenBits));
    }
    // Takes the entries of one chunk up to the first zero key or ALL_MEMBERS's own key,
    // numbering them from `number` on, into `refs` and `keys` (whose first is entry
    // `position` of the column); returns how many.
    std::size_t TakeRun(const std::uint8_t* chunk, std::size_t whole, std::int32_t number,
                        EventRef* refs, std::uint16_t* keys, std::size_t position);

    RandomAccessFile& file_;
    std::map<std::int32_t, Member>& members_;
    MemberIndex& index_;
    MemberColumn& keys_;
    std::vector<SeenKey> seen_ = std::vector<SeenKey>(std::size_t{1} << kSeenBits);
    std::int32_t lastKey_ = 0;
};
