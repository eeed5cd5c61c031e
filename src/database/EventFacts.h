#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class MessageDatabase;

// What the statistics and the search filters need of one event, as ReadEvent would give
// it: 8 bytes an event.
struct EventFact {
    enum : std::uint8_t {
        kDecoded = 1,      // ReadEvent returns true
        kNotReceived = 2,  // direction is not 0
        kSent = 4,         // direction is 1
        kRedo = 8,         // the record was cut short when read: ask ReadEvent each time
    };
    std::uint16_t type = 0;
    std::uint8_t flags = 0;
    std::int32_t stamp = 0;

    bool Has(std::uint8_t flag) const { return (flags & flag) != 0; }
};

// One fact per index entry (by entryNumber), read once in a pass over the data file and
// extended as entries are appended. Emptied whenever the database closes.
class EventFacts {
public:
    // Reads the facts of the entries taken since the last call.
    void Extend(MessageDatabase& db);
    void Clear();

    std::size_t size() const { return facts_.size(); }
    const EventFact& operator[](std::size_t entry) const { return facts_[entry]; }
    std::size_t CapacityBytes() const { return facts_.capacity() * sizeof(EventFact); }

private:
    std::vector<EventFact> facts_;
};
