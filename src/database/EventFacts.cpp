#include "database/EventFacts.h"

#include <algorithm>
#include <array>

#include "database/EventTypes.h"
#include "database/LittleEndian.h"
#include "database/MessageDatabase.h"
#include "database/RecordLayout.h"
#include "database/RecordWalker.h"

namespace {

// The types that ParseRecord reads beyond the type code, up to 254 (higher ones are
// always asked again).
const std::array<bool, 255>& SupportedTypes() {
    static const std::array<bool, 255> table = [] {
        std::array<bool, 255> supported{};
        for (std::size_t type = 0; type < supported.size(); ++type) {
            supported[type] = IsSupportedType(static_cast<std::uint16_t>(type));
        }
        return supported;
    }();
    return table;
}

// The fact of the `available` bytes at `p`, taken as ParseRecord takes them: a record cut
// short, or of a type above 254, is left for ReadEvent.
EventFact FactOf(const std::uint8_t* p, std::size_t available,
                 const std::array<bool, 255>& supported) {
    EventFact fact;
    if (available < 2 || U16(p + record::kMarker) != RECORD_MARKER) {
        return fact;  // unreadable: type 0, not decoded
    }
    if (available < 4) {
        fact.flags = EventFact::kRedo;
        return fact;
    }
    const std::uint16_t type = U16(p + record::kType);
    if (type > 254) {
        fact.flags = EventFact::kRedo;
        return fact;
    }
    fact.type = type;
    if (!supported[type]) {
        return fact;
    }
    if (available < kRecordHead) {
        fact.flags = EventFact::kRedo;
        return fact;
    }
    const std::size_t length = RecordLength(p);
    if (available < length) {
        fact.flags = EventFact::kRedo;
        return fact;
    }
    const std::uint8_t* tail = RecordTail(p, RecordTextLength(p));
    const std::uint32_t direction = U32(tail + record::kDirection);
    fact.flags = static_cast<std::uint8_t>(EventFact::kDecoded |
                                           (direction != 0 ? EventFact::kNotReceived : 0) |
                                           (direction == 1 ? EventFact::kSent : 0));
    fact.stamp = static_cast<std::int32_t>(U32(tail + record::kStamp));
    return fact;
}

}  // namespace

void EventFacts::Extend(MessageDatabase& db) {
    const auto count = static_cast<std::size_t>(db.entryCount());
    const std::size_t from = size();
    if (count <= from) {
        return;
    }
    const std::vector<EventRef>& all = db.Refs(ALL_MEMBERS);
    Reserve(count);
    stamps_.resize(count);
    types_.resize(count);
    flags_.resize(count);
    // Facts go by entry number. Each entry is normally at the same place in the list;
    // entries under ALL_MEMBERS's own key stand in it twice.
    const auto first =
        std::lower_bound(all.begin(), all.end(), from, [](const EventRef& ref, std::size_t entry) {
            return static_cast<std::size_t>(ref.entryNumber) < entry;
        });
    const std::array<bool, 255>& supported = SupportedTypes();
    RecordWalker walker(db);
    auto block = [&](std::size_t begin, std::size_t end) {
        const std::uint8_t* data = walker.blockData();
        const auto length = static_cast<std::int64_t>(walker.blockLength());
        const std::int64_t start = walker.blockStart();
        for (std::size_t k = begin; k < end; ++k) {
            const auto i = static_cast<std::size_t>(all[k].entryNumber);
            if (i < from || i >= count) {
                continue;
            }
            const std::int64_t at = all[k].dataOffset - start;
            EventFact fact;
            if (at < 0 || at >= length) {
                fact.flags = EventFact::kRedo;  // outside what was read
            } else {
                fact = FactOf(data + at, static_cast<std::size_t>(length - at), supported);
            }
            stamps_[i] = fact.stamp;
            types_[i] = static_cast<std::uint8_t>(fact.type);
            flags_[i] = fact.flags;
        }
    };
    walker.WalkBlocks(all, static_cast<std::size_t>(first - all.begin()), all.size(), block);
}

void EventFacts::Reserve(std::size_t count) {
    // Exactly for the first pass, which covers a whole history; with room to spare after.
    const std::size_t want = stamps_.empty() ? count : count + count / 8;
    if (stamps_.capacity() < count) {
        stamps_.reserve(want);
        types_.reserve(want);
        flags_.reserve(want);
    }
}

void EventFacts::Clear() {
    stamps_ = {};
    types_ = {};
    flags_ = {};
}
