#include "database/EventFacts.h"

#include "database/MessageDatabase.h"
#include "database/RecordWalker.h"

void EventFacts::Extend(MessageDatabase& db) {
    const auto count = static_cast<std::size_t>(db.entryCount());
    if (count <= facts_.size()) {
        return;
    }
    const std::vector<EventRef>& all = db.Refs(ALL_MEMBERS);
    if (facts_.empty()) {
        facts_.reserve(count);  // exactly: the first pass covers a whole history
    } else if (facts_.capacity() < count) {
        facts_.reserve(count + count / 8);
    }
    RecordWalker walker(db);
    walker.Walk(all, facts_.size(), count, [&](std::size_t, const RecordBytes& r) {
        EventFact fact;
        const RecordFields& f = r.fields;
        if (r.redo) {
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
        facts_.push_back(fact);
    });
}

void EventFacts::Clear() {
    facts_.clear();
    facts_.shrink_to_fit();
}
