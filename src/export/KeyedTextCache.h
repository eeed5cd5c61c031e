#pragma once

#include <array>
#include <cstdint>
#include <string>

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
        Slot& slot = slots_[SlotOf(key)];
        if (!slot.filled || slot.key != key) {
            slot.text.clear();
            make(key, slot.text);
            slot.key = key;
            slot.filled = true;
        }
        return slot.text;
    }

private:
    static constexpr std::size_t kSlots = 1024;
    struct Slot {
        std::int32_t key = 0;
        bool filled = false;
        std::string text;
    };

    static std::size_t SlotOf(std::int32_t key) {
        const auto bits = static_cast<std::uint32_t>(key);
        return static_cast<std::size_t>((std::uint64_t{bits} * 0x9E3779B97F4A7C15ULL) >> 54) &
               (kSlots - 1);
    }

    std::array<Slot, kSlots> slots_;
};
