#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class MessageDatabase;

// What the statistics need of one event, as ReadEvent would give it.
struct EventFact {
    static constexpr std::uint8_t kDecoded = 1;      // ReadEvent returns true
    static constexpr std::uint8_t kNotReceived = 2;  // direction is not 0
    static constexpr std::uint8_t kSent = 4;         // direction is 1
    // cut short when read, or of a type above 254: ask ReadEvent each time
    static constexpr std::uint8_t kRedo = 8;
    std::uint16_t type = 0;
    std::uint8_t flags = 0;
    std::int32_t stamp = 0;

    bool Has(std::uint8_t flag) const { return (flags & flag) != 0; }
};

// One fact per index entry (by entryNumber), read once in a pass over the data file and
// extended as entries are appended; 6 bytes an event. Emptied whenever the database closes.
class EventFacts {
public:
    // Reads the facts of the entries taken since the last call.
    void Extend(MessageDatabase& db);
    void Clear();

    std::size_t size() const { return stamps_.size(); }
    EventFact operator[](std::size_t entry) const {
        return {types_[entry], flags_[entry], stamps_[entry]};
    }
    std::size_t CapacityBytes() const {
        return stamps_.capacity() * sizeof(std::int32_t) + types_.capacity() + flags_.capacity();
    }

private:
    void Reserve(std::size_t count);

    std::vector<std::int32_t> stamps_;
    std::vector<std::uint8_t> types_;
    std::vector<std::uint8_t> flags_;
};
