#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Text made from a number such as a member's UIN or a type code (a name, converted and
// escaped), kept for the rows that follow: an export asks for the same few members and
// types again and again. Direct-mapped, so a history of countless UINs (a damaged one)
// costs a fixed amount of memory; a slot taken by another key is made again.
class KeyedTextCache {
public:
    // The text for `key`, made by make(key, std::string& out) into an empty string when it
    // is not held.
    template <typename Make>
    const std::string& Get(std::int32_t key, Make&& make) {
        if (!slots_.empty()) {
            const Slot& slot = slots_[SlotOf(key)];
            if (slot.filled && slot.key == key) {
                return slot.text;
            }
        }
        return Fill(key, make);
    }

    // Forgets every text (what they were made from changed).
    void Clear() {
        for (Slot& slot : slots_) {
            slot.filled = false;
        }
    }

private:
    static constexpr std::size_t kFirstSlots = 16;
    static constexpr std::size_t kMostSlots = 4096;
    struct Slot {
        std::int32_t key = 0;
        bool filled = false;
        std::string text;
    };

    template <typename Make>
    const std::string& Fill(std::int32_t key, Make& make) {
        if (slots_.empty()) {
            slots_.resize(kFirstSlots);
        } else if (++misses_ > slots_.size() && slots_.size() < kMostSlots) {
            // Many keys: a larger table (made only by exports that need one).
            slots_.assign(slots_.size() * 4, Slot{});
            misses_ = 0;
        }
        Slot& slot = slots_[SlotOf(key)];
        slot.text.clear();
        make(key, slot.text);
        slot.key = key;
        slot.filled = true;
        return slot.text;
    }

    std::size_t SlotOf(std::int32_t key) const {
        const auto bits = static_cast<std::uint32_t>(key);
        return static_cast<std::size_t>((std::uint64_t{bits} * 0x9E3779B97F4A7C15ULL) >> 40) &
               (slots_.size() - 1);
    }

    std::vector<Slot> slots_;
    std::size_t misses_ = 0;
};
