#include "database/MemberIndex.h"

MemberIndex::MemberIndex() : slots_(64) {}

MemberIndex::Slot* MemberIndex::Insert(std::int32_t key, Member* member) {
    // At most a quarter full: a lookup per index entry, of keys in no order, mostly finds
    // its key in the first slot it tries.
    if ((used_ + 1) * 4 > slots_.size()) {
        Grow();
    }
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = SlotOf(key);
    while (slots_[i].member != nullptr && slots_[i].key != key) {
        i = (i + 1) & mask;
    }
    if (slots_[i].member == nullptr) {
        ++used_;
    }
    slots_[i].key = key;
    slots_[i].member = member;
    return &slots_[i];
}

void MemberIndex::Grow() {
    std::vector<Slot> old(slots_.size() * 2);
    old.swap(slots_);
    used_ = 0;
    for (const Slot& slot : old) {
        if (slot.member != nullptr) {
            Insert(slot.key, slot.member);
        }
    }
}

void MemberIndex::Erase(std::int32_t key) {
    const std::size_t mask = slots_.size() - 1;
    std::size_t hole = SlotOf(key);
    while (slots_[hole].member != nullptr && slots_[hole].key != key) {
        hole = (hole + 1) & mask;
    }
    if (slots_[hole].member == nullptr) {
        return;
    }
    --used_;
    // Linear probing: every later slot of the run that could live in the hole moves there,
    // so that no lookup stops early at it.
    for (std::size_t next = (hole + 1) & mask; slots_[next].member != nullptr;
         next = (next + 1) & mask) {
        const std::size_t home = SlotOf(slots_[next].key);
        const bool homeAfterHole =
            hole <= next ? (home > hole && home <= next) : (home > hole || home <= next);
        if (!homeAfterHole) {
            slots_[hole] = slots_[next];
            hole = next;
        }
    }
    slots_[hole] = Slot{};
}

void MemberIndex::Clear() {
    slots_.assign(64, Slot{});
    used_ = 0;
}
