#pragma once

#include <array>
#include <cstdint>
#include <string>

// Text made from a member's UIN (its name, converted or escaped), kept for the rows that
// follow: an export asks for the same few members again and again. Direct-mapped, so a
// history of countless UINs (a damaged one) costs a fixed amount of memory; a slot taken
// by another UIN is made again.
class MemberTextCache {
public:
    // The text for `uin`, made by make(uin, std::string& out) into an empty string when it
    // is not held.
    template <typename Make>
    const std::string& Get(std::int32_t uin, Make&& make) {
        Slot& slot = slots_[SlotOf(uin)];
        if (!slot.filled || slot.uin != uin) {
            slot.text.clear();
            make(uin, slot.text);
            slot.uin = uin;
            slot.filled = true;
        }
        return slot.text;
    }

private:
    static constexpr std::size_t kSlots = 1024;
    struct Slot {
        std::int32_t uin = 0;
        bool filled = false;
        std::string text;
    };

    static std::size_t SlotOf(std::int32_t uin) {
        const auto bits = static_cast<std::uint32_t>(uin);
        return static_cast<std::size_t>((std::uint64_t{bits} * 0x9E3779B97F4A7C15ULL) >> 54) &
               (kSlots - 1);
    }

    std::array<Slot, kSlots> slots_;
};
