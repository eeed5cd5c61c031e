#include "database/EventFacts.h"

#include "database/MessageDatabase.h"
#include "database/RecordWalker.h"

void EventFacts::Extend(MessageDatabase& db) {
    const auto count = static_cast<std::size_t>(db.entryCount());
    if (count <= size()) {
        return;
    }
    const std::vector<EventRef>& all = db.Refs(ALL_MEMBERS);
    Reserve(count);
    RecordWalker walker(db);
    walker.Walk(all, size(), count, [&](std::size_t, const RecordBytes& r) {
        EventFact fact;
        const RecordFields& f = r.fields;
        if (r.redo || f.type > 254) {
            fact.flags = EventFact::kRedo;
        } else {
            fact.type = f.type;
            if (f.state == RecordState::Complete) {
                int flags = EventFact::kDecoded;
                if (f.direction != 0) {
                    flags |= EventFact::kNotReceived;
                }
                if (f.direction == 1) {
                    flags |= EventFact::kSent;
                }
                fact.flags = static_cast<std::uint8_t>(flags);
                fact.stamp = f.stamp;
            }
        }
        stamps_.push_back(fact.stamp);
        types_.push_back(static_cast<std::uint8_t>(fact.type));
        flags_.push_back(fact.flags);
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
