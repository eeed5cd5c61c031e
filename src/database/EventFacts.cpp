#include "database/EventFacts.h"

#include <algorithm>

#include "database/MessageDatabase.h"
#include "database/RecordWalker.h"

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
    RecordWalker walker(db);
    walker.Walk(all, static_cast<std::size_t>(first - all.begin()), all.size(),
                [&](std::size_t k, const RecordBytes& r) {
                    const auto i = static_cast<std::size_t>(all[k].entryNumber);
                    if (i < from || i >= count) {
                        return;
                    }
                    const RecordFields& f = r.fields;
                    if (r.redo || f.type > 254) {
                        flags_[i] = EventFact::kRedo;
                        return;
                    }
                    types_[i] = static_cast<std::uint8_t>(f.type);
                    if (f.state == RecordState::Complete) {
                        flags_[i] = static_cast<std::uint8_t>(
                            EventFact::kDecoded | (f.direction != 0 ? EventFact::kNotReceived : 0) |
                            (f.direction == 1 ? EventFact::kSent : 0));
                        stamps_[i] = f.stamp;
                    }
                });
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
