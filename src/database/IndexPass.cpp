#include "database/IndexPass.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

#include "database/LargeMemory.h"
#include "database/MemberIndex.h"
#include "database/MessageDatabase.h"

namespace {

constexpr std::int64_t kEntrySize = 8;
// Index bytes read per step of a pass.
constexpr std::size_t kChunkEntries = 1 << 17;
// Below this many new entries the lists grow as usual instead of being sized first.
constexpr std::size_t kSizeFirstEntries = 4096;

std::int32_t I32(const std::uint8_t* p) {
    std::int32_t value;
    std::memcpy(&value, p, sizeof value);  // the file is little-endian, like the machine
    return value;
}

}  // namespace

Member& IndexPass::MemberOf(std::int32_t key) {
    if (MemberIndex::Slot* slot = index_.Find(key)) {
        return *slot->member;
    }
    Member& member = members_[key];
    index_.Insert(key, &member);
    return member;
}

std::int64_t IndexPass::Run(std::int64_t position, std::int64_t end, std::int32_t& entryCount) {
    // First the entries themselves: each one's member (as a number into `targets`) and
    // offset. Members are found through the key table; a run of one key needs one lookup.
    struct Entry {
        std::uint32_t target;
        std::int32_t offset;
    };
    std::vector<Entry> entries;
    std::vector<Member*> targets;
    std::vector<std::uint32_t> counts;
    std::vector<std::int32_t> targetKeys;
    const std::int64_t room = std::max<std::int64_t>(0, (end - position) / kEntrySize);
    const std::int64_t limit = std::min<std::int64_t>(room, INT32_MAX - entryCount);
    entries.reserve(static_cast<std::size_t>(limit));
    PrepareForWriting(entries.data(), entries.capacity() * sizeof(Entry));
    std::vector<std::uint8_t> chunk(
        static_cast<std::size_t>(std::min<std::int64_t>(limit, kChunkEntries)) * kEntrySize);

    std::int32_t lastKey = 0;
    std::uint32_t lastTarget = 0;
    bool stopped = false;
    while (!stopped && static_cast<std::int64_t>(entries.size()) < limit) {
        const std::int64_t at = position + static_cast<std::int64_t>(entries.size()) * kEntrySize;
        const std::size_t want = static_cast<std::size_t>(std::min<std::int64_t>(
                                     limit - static_cast<std::int64_t>(entries.size()),
                                     static_cast<std::int64_t>(kChunkEntries))) *
                                 kEntrySize;
        const std::int64_t got = file_.ReadAt(at, chunk.data(), want);
        const std::size_t whole = got > 0 ? static_cast<std::size_t>(got) / kEntrySize : 0;
        for (std::size_t i = 0; i < whole; ++i) {
            const std::uint8_t* p = chunk.data() + i * kEntrySize;
            const std::int32_t key = I32(p);
            if (key == 0) {
                stopped = true;  // the messenger's next entry goes here; read it again later
                break;
            }
            if (key != lastKey || targets.empty()) {
                MemberIndex::Slot* slot = index_.Find(key);
                if (slot == nullptr) {
                    Member& member = members_[key];
                    slot = index_.Insert(key, &member);
                }
                if (slot->pending == 0) {
                    targets.push_back(slot->member);
                    targetKeys.push_back(key);
                    counts.push_back(0);
                    slot->pending = static_cast<std::uint32_t>(targets.size());
                }
                lastTarget = slot->pending - 1;
                lastKey = key;
            }
            ++counts[lastTarget];
            entries.push_back({lastTarget, I32(p + 4)});
        }
        if (whole * kEntrySize < want) {
            stopped = true;  // the file ends here (or inside the next entry)
        }
    }
    for (const std::int32_t key : targetKeys) {
        index_.Find(key)->pending = 0;
    }
    if (entries.empty()) {
        return position;
    }

    // Then the lists, each sized once when the pass is large.
    Member& all = MemberOf(ALL_MEMBERS);
    if (entries.size() >= kSizeFirstEntries) {
        for (std::size_t t = 0; t < targets.size(); ++t) {
            const std::size_t extra = counts[t] + (targets[t] == &all ? entries.size() : 0);
            std::vector<EventRef>& refs = targets[t]->refs;
            refs.reserve(refs.size() + extra);
            PrepareForWriting(refs.data() + refs.size(), extra * sizeof(EventRef));
        }
        all.refs.reserve(all.refs.size() + entries.size());
        PrepareForWriting(all.refs.data() + all.refs.size(), entries.size() * sizeof(EventRef));
    }
    for (const Entry& entry : entries) {
        const EventRef ref{entry.offset, entryCount++};
        targets[entry.target]->refs.push_back(ref);
        all.refs.push_back(ref);
    }
    return position + static_cast<std::int64_t>(entries.size()) * kEntrySize;
}
