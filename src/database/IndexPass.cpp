#include "database/IndexPass.h"

#include <algorithm>
#include <climits>
#include <vector>

#include "database/FileAccess.h"
#include "database/LargeMemory.h"
#include "database/LittleEndian.h"
#include "database/MemberColumn.h"
#include "database/MemberIndex.h"
#include "database/MessageDatabase.h"

namespace {

constexpr std::int64_t kEntrySize = 8;
// Index bytes read per step of a pass.
constexpr std::size_t kChunkEntries = 1 << 17;
// Below this many new entries the lists grow as usual instead of being sized first.
constexpr std::size_t kSizeFirstEntries = 4096;
// Room taken ahead for the entries an index file's size promises; a file that is mostly
// zeros (or absurdly large) gets the rest as it turns out to hold entries.
constexpr std::size_t kMostAhead = std::size_t{1} << 26;

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
    const std::int64_t room = std::max<std::int64_t>(0, (end - position) / kEntrySize);
    const auto limit =
        static_cast<std::size_t>(std::min<std::int64_t>(room, INT32_MAX - entryCount));
    if (limit == 0) {
        return position;
    }
    const bool exact = limit >= kSizeFirstEntries;
    std::vector<std::uint8_t> chunk(std::min(limit, kChunkEntries) * kEntrySize);

    Member* all = nullptr;
    std::size_t taken = 0;
    bool stopped = false;
    while (!stopped && taken < limit) {
        const std::int64_t at = position + static_cast<std::int64_t>(taken) * kEntrySize;
        const std::size_t want = std::min(limit - taken, kChunkEntries) * kEntrySize;
        const std::int64_t got = ReadFully(file_, at, chunk.data(), want);
        const std::size_t whole = got > 0 ? static_cast<std::size_t>(got) / kEntrySize : 0;
        stopped = whole * kEntrySize < want;  // the file ends here (or inside the next entry)
        if (whole == 0) {
            break;
        }
        if (all == nullptr) {
            all = &MemberOf(ALL_MEMBERS);
            // A large pass takes its room at once; a small one lets the lists grow as usual.
            if (exact) {
                ReserveAhead(all->refs, std::min(limit, kMostAhead));
                keys_.Reserve(std::min(limit, kMostAhead));
            }
        }
        std::size_t i = 0;
        while (i < whole) {
            const std::size_t old = all->refs.size();
            all->refs.resize(old + whole - i);
            std::uint16_t* keys = keys_.Grow(whole - i);
            const std::size_t took = TakeRun(chunk.data() + i * kEntrySize, whole - i,
                                             entryCount + static_cast<std::int32_t>(taken + i),
                                             all->refs.data() + old, keys, old);
            all->refs.resize(old + took);
            keys_.Truncate(old + took);
            i += took;
            if (i == whole) {
                break;
            }
            const std::uint8_t* p = chunk.data() + i * kEntrySize;
            if (I32(p) == 0) {
                stopped = true;  // a zero key: the messenger writes there next
                break;
            }
            // An entry under ALL_MEMBERS's own key stands in its list twice, in turn.
            const EventRef ref{I32(p + 4), entryCount + static_cast<std::int32_t>(taken + i)};
            all->refs.insert(all->refs.end(), {ref, ref});
            keys_.Push(ALL_MEMBERS);
            keys_.Push(ALL_MEMBERS);
            lastKey_ = ALL_MEMBERS;
            ++i;
        }
        taken += i;
    }
    if (all != nullptr && all->refs.capacity() > 2 * all->refs.size() + kSizeFirstEntries) {
        all->refs.shrink_to_fit();  // the pass stopped well short of the file's end
        keys_.ShrinkToFit();
    }
    entryCount += static_cast<std::int32_t>(taken);
    return position + static_cast<std::int64_t>(taken) * kEntrySize;
}

std::size_t IndexPass::TakeRun(const std::uint8_t* chunk, std::size_t whole, std::int32_t number,
                               EventRef* refs, std::uint16_t* keys, std::size_t position) {
    std::size_t i = 0;
    for (; i < whole; ++i) {
        const std::uint8_t* p = chunk + i * kEntrySize;
        const std::int32_t key = I32(p);
        SeenKey& seen = seen_[SeenSlot(key)];
        if (seen.key == key) [[likely]] {
            keys[i] = seen.number;
        } else {
            if (key == 0 || key == ALL_MEMBERS) {
                break;
            }
            MemberOf(key);
            const std::uint16_t keyNumber = keys_.NumberOf(key);
            if (keyNumber != MemberColumn::kBeside) {
                seen = {key, keyNumber};
            } else {
                keys_.NoteBeside(position + i, key);
            }
            keys[i] = keyNumber;
        }
        refs[i] = {I32(p + 4), number + static_cast<std::int32_t>(i)};
    }
    if (i > 0) {
        lastKey_ = I32(chunk + (i - 1) * kEntrySize);
    }
    return i;
}
