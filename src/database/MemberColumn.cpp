#include "database/MemberColumn.h"

#include <algorithm>

#include "database/LargeMemory.h"

std::size_t MemberColumn::CapacityBytes() const {
    return numbers_.capacity() * sizeof(std::uint16_t) + keys_.capacity() * sizeof(std::int32_t) +
           beside_.capacity() * sizeof(beside_[0]) +
           numberOf_.size() * (sizeof(std::pair<std::int32_t, std::uint16_t>) + 16);
}

void MemberColumn::Clear() {
    numbers_ = {};
    keys_ = {};
    numberOf_ = {};
    beside_ = {};
}

std::uint16_t MemberColumn::NumberOf(std::int32_t key) {
    const auto found = numberOf_.find(key);
    if (found != numberOf_.end()) {
        return found->second;
    }
    if (keys_.size() >= kBeside) {
        return kBeside;
    }
    const auto number = static_cast<std::uint16_t>(keys_.size());
    keys_.push_back(key);
    numberOf_.emplace(key, number);
    return number;
}

void MemberColumn::Reserve(std::size_t extra) {
    ReserveAhead(numbers_, extra);
}

std::uint16_t* MemberColumn::Grow(std::size_t count) {
    const std::size_t old = numbers_.size();
    numbers_.resize(old + count);
    return numbers_.data() + old;
}

void MemberColumn::Truncate(std::size_t count) {
    numbers_.resize(std::min(count, numbers_.size()));
    while (!beside_.empty() && beside_.back().first >= numbers_.size()) {
        beside_.pop_back();
    }
}

void MemberColumn::Push(std::int32_t key) {
    const std::uint16_t number = NumberOf(key);
    if (number == kBeside) {
        NoteBeside(numbers_.size(), key);
    }
    numbers_.push_back(number);
}

void MemberColumn::ShrinkToFit() {
    numbers_.shrink_to_fit();
}

void MemberColumn::Forget(std::int32_t key) {
    const auto found = numberOf_.find(key);
    // (With keys beside, a number given back could split a later key between the two.)
    if (found != numberOf_.end() && found->second + std::size_t{1} == keys_.size() &&
        beside_.empty()) {
        keys_.pop_back();
        numberOf_.erase(found);
    }
}

std::size_t MemberColumn::Count(std::int32_t key) const {
    const auto found = numberOf_.find(key);
    if (found != numberOf_.end()) {
        return static_cast<std::size_t>(
            std::count(numbers_.begin(), numbers_.end(), found->second));
    }
    return static_cast<std::size_t>(std::count_if(
        beside_.begin(), beside_.end(), [&](const auto& entry) { return entry.second == key; }));
}

std::int32_t MemberColumn::BesideAt(std::size_t position) const {
    const auto it = std::lower_bound(beside_.begin(), beside_.end(), position,
                                     [](const std::pair<std::size_t, std::int32_t>& entry,
                                        std::size_t p) { return entry.first < p; });
    return it != beside_.end() && it->first == position ? it->second : 0;
}
