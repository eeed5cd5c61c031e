#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct Member;

// Key -> member lookup. The member table is an ordered map (the walk needs key order); a
// map lookup per event is too slow for large histories, so look-ups go through this
// open-addressing table of pointers into the map's nodes.
class MemberIndex {
public:
    struct Slot {
        std::int32_t key = 0;
        Member* member = nullptr;
    };

    MemberIndex();
    // Inline: reading events looks up a key per event.
    Slot* Find(std::int32_t key) {
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t i = SlotOf(key);; i = (i + 1) & mask) {
            Slot& slot = slots_[i];
            if (slot.member == nullptr) {
                return nullptr;
            }
            if (slot.key == key) {
                return &slot;
            }
        }
    }
    Slot* Insert(std::int32_t key, Member* member);
    // Takes `key` out (an entry taken back before it was whole made its member).
    void Erase(std::int32_t key);
    void Clear();

private:
    std::size_t SlotOf(std::int32_t key) const {
        const auto bits = static_cast<std::uint32_t>(key);
        const std::uint64_t hash = static_cast<std::uint64_t>(bits) * 0x9E3779B97F4A7C15ULL;
        return static_cast<std::size_t>(hash >> 32) & (slots_.size() - 1);
    }
    void Grow();

    std::vector<Slot> slots_;
    std::size_t used_ = 0;
};
