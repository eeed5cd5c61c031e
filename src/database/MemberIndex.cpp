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
        slots_[i].pending = 0;
    }
    slots_[i].key = key;
    slots_[i].member = member;
    return &slots_[i];
}

void MemberIndex::Grow() {
    ++generation_;
    std::vector<Slot> old(slots_.size() * 2);
    old.swap(slots_);
    used_ = 0;
    for (const Slot& slot : old) {
        if (slot.member != nullptr) {
            Insert(slot.key, slot.member)->pending = slot.pending;
        }
    }
}

void MemberIndex::Clear() {
    ++generation_;
    slots_.assign(64, Slot{});
    used_ = 0;
}
