#include "database/IndexPass.h"

#include <algorithm>
#include <climits>
#include <vector>

#include "database/FileAccess.h"
#include "database/LargeMemory.h"
#include "database/LittleEndian.h"
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
// Lists from this size on are prepared one by one as they are sized.
constexpr std::size_t kLargeList = 256 * 1024;

// Sizes `refs` for `extra` more references and returns where they go: exactly, with the
// memory mapped at once, in a large pass; a small one lets the list grow as usual.
EventRef* Extend(std::vector<EventRef>& refs, std::size_t extra, bool exact) {
    const std::size_t old = refs.size();
    if (exact && refs.capacity() < old + extra) {
        refs.reserve(old + extra);
        PrepareForWriting(refs.data() + old, extra * sizeof(EventRef));
    }
    refs.resize(old + extra);
    return refs.data() + old;
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

std::uint32_t IndexPass::TargetOf(std::int32_t key) {
    MemberIndex::Slot* slot = index_.Find(key);
    if (slot == nullptr) {
        Member& member = members_[key];
        slot = index_.Insert(key, &member);
    }
    if (slot->pending == 0) {
        targets_.push_back(slot->member);
        targetKeys_.push_back(key);
        counts_.push_back(0);
        slot->pending = static_cast<std::uint32_t>(targets_.size());
    }
    return slot->pending - 1;
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

    // First the entries themselves, straight into ALL_MEMBERS's list, and each one's
    // member as a number into targets_.
    Member* all = nullptr;
    std::size_t allBase = 0;
    std::vector<std::uint32_t> targetOf;
    targetOf.reserve(std::min(limit, kMostAhead));
    PrepareForWriting(targetOf.data(), targetOf.capacity() * sizeof(std::uint32_t));
    bool stopped = false;
    while (!stopped && targetOf.size() < limit) {
        const std::size_t taken = targetOf.size();
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
            allBase = all->refs.size();
            if (exact) {
                all->refs.reserve(allBase + std::min(limit, kMostAhead));
                PrepareForWriting(all->refs.data() + allBase,
                                  (all->refs.capacity() - allBase) * sizeof(EventRef));
            }
        }
        EventRef* refs = Extend(all->refs, whole, exact);
        targetOf.resize(taken + whole);
        const std::size_t took =
            TakeChunk(chunk.data(), whole, entryCount + static_cast<std::int32_t>(taken), refs,
                      targetOf.data() + taken);
        stopped = stopped || took < whole;  // a zero key: the messenger writes there next
        if (took > 0) {
            lastKey_ = I32(chunk.data() + (took - 1) * kEntrySize);
        }
        all->refs.resize(allBase + taken + took);
        targetOf.resize(taken + took);
    }
    for (const std::int32_t key : targetKeys_) {
        index_.Find(key)->pending = 0;
    }
    if (targetOf.empty()) {
        return position;
    }
    Distribute(*all, allBase, targetOf, exact);
    if (all->refs.capacity() > 2 * all->refs.size() + kSizeFirstEntries) {
        all->refs.shrink_to_fit();  // the pass stopped well short of the file's end
    }
    entryCount += static_cast<std::int32_t>(targetOf.size());
    return position + static_cast<std::int64_t>(targetOf.size()) * kEntrySize;
}

std::size_t IndexPass::TakeChunk(const std::uint8_t* chunk, std::size_t whole, std::int32_t number,
                                 EventRef* refs, std::uint32_t* targetOf) {
    // Members are found through the key table; a run of one key needs one lookup.
    std::int32_t lastKey = 0;
    std::uint32_t lastTarget = 0;
    for (std::size_t i = 0; i < whole; ++i) {
        const std::uint8_t* p = chunk + i * kEntrySize;
        const std::int32_t key = I32(p);
        if (key == 0) {
            return i;
        }
        if (key != lastKey || i == 0) {
            const MemberIndex::Slot* slot = index_.Find(key);
            lastTarget = slot != nullptr && slot->pending != 0 ? slot->pending - 1 : TargetOf(key);
            lastKey = key;
        }
        ++counts_[lastTarget];
        targetOf[i] = lastTarget;
        refs[i] = {I32(p + 4), number + static_cast<std::int32_t>(i)};
    }
    return whole;
}

void IndexPass::PrepareSmallLists() {
    // Lists too small for a mapping of their own are allocated one after another and
    // mostly lie side by side; where they do, their memory is readied in one step rather
    // than page by page as each is filled. Anything else in between is left as it is.
    const EventRef* low = nullptr;
    const EventRef* high = nullptr;
    std::size_t bytes = 0;
    for (std::size_t t = 0; t < targets_.size(); ++t) {
        std::vector<EventRef>& refs = targets_[t]->refs;
        const std::size_t size = counts_[t] * sizeof(EventRef);
        if (size == 0 || size >= kLargeList) {
            continue;
        }
        refs.reserve(refs.size() + counts_[t]);
        const EventRef* begin = refs.data() + refs.size();
        low = low == nullptr ? begin : std::min(low, begin);
        high = std::max(high, begin + counts_[t]);
        bytes += size;
    }
    if (low == nullptr) {
        return;
    }
    const auto span = static_cast<std::size_t>(high - low) * sizeof(EventRef);
    if (span <= 2 * bytes) {
        PrepareForWriting(const_cast<EventRef*>(low), span);
    }
}

void IndexPass::Distribute(Member& all, std::size_t allBase,
                           const std::vector<std::uint32_t>& targetOf, bool exact) {
    const std::size_t taken = targetOf.size();
    const auto self = std::find(targets_.begin(), targets_.end(), &all);
    if (self != targets_.end()) {
        // Entries under ALL_MEMBERS's own key: each stands in its list twice, in turn.
        const std::vector<EventRef> fresh(all.refs.begin() + static_cast<std::ptrdiff_t>(allBase),
                                          all.refs.end());
        all.refs.resize(allBase);
        const auto allTarget = static_cast<std::uint32_t>(self - targets_.begin());
        for (std::size_t k = 0; k < taken; ++k) {
            if (targetOf[k] != allTarget) {
                targets_[targetOf[k]]->refs.push_back(fresh[k]);
            } else {
                all.refs.push_back(fresh[k]);
            }
            all.refs.push_back(fresh[k]);
        }
        return;
    }
    // Then each member's list, sized once, filled through plain pointers.
    if (exact) {
        PrepareSmallLists();
    }
    std::vector<EventRef*> cursors(targets_.size());
    for (std::size_t t = 0; t < targets_.size(); ++t) {
        cursors[t] = Extend(targets_[t]->refs, counts_[t], exact);
    }
    const EventRef* fresh = all.refs.data() + allBase;
    for (std::size_t k = 0; k < taken; ++k) {
        *cursors[targetOf[k]]++ = fresh[k];
    }
}
