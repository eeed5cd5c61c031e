#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <utility>
#include <vector>

// The member key of each reference of ALL_MEMBERS's list, side by side with it, in two
// bytes an entry: each key gets a number at its first entry, and the column holds the
// numbers. Keys past the numbers there are (a damaged history of countless keys) are held
// beside, by position.
class MemberColumn {
public:
    static constexpr std::uint16_t kBeside = 0xFFFF;

    std::size_t size() const { return numbers_.size(); }
    std::size_t CapacityBytes() const;
    void Clear();

    // The number of `key`, given at its first use; kBeside once the numbers have run out.
    std::uint16_t NumberOf(std::int32_t key);
    // Takes room for `extra` more entries at once (see ReserveAhead).
    void Reserve(std::size_t extra);
    // Room for `count` more entries, written by the caller through the pointer; a kBeside
    // written there is followed by NoteBeside for its position.
    std::uint16_t* Grow(std::size_t count);
    void NoteBeside(std::size_t position, std::int32_t key) { beside_.emplace_back(position, key); }
    // Keeps the first `count` entries.
    void Truncate(std::size_t count);
    void Push(std::int32_t key);
    void PopBack() { Truncate(size() - 1); }
    void ShrinkToFit();
    // Gives back `key`'s number when it was the last one given (its only entry was taken
    // back).
    void Forget(std::int32_t key);

    std::int32_t KeyAt(std::size_t position) const {
        const std::uint16_t number = numbers_[position];
        return number != kBeside ? keys_[number] : BesideAt(position);
    }
    // Calls visit(position) for each entry of `key`, in order.
    template <typename Visit>
    void ForEachOf(std::int32_t key, Visit&& visit) const {
        const auto found = numberOf_.find(key);
        if (found == numberOf_.end()) {
            for (const auto& [position, besideKey] : beside_) {
                if (besideKey == key) {
                    visit(position);
                }
            }
            return;
        }
        const std::uint16_t number = found->second;
        for (std::size_t i = 0; i < numbers_.size(); ++i) {
            if (numbers_[i] == number) {
                visit(i);
            }
        }
    }
    std::size_t Count(std::int32_t key) const;
    // The numbers given so far, and the key of each.
    std::size_t Numbers() const { return keys_.size(); }
    std::int32_t KeyOfNumber(std::uint16_t number) const { return keys_[number]; }
    // Every entry in order: visit(position, number, key), number kBeside for a key held
    // beside.
    template <typename Visit>
    void ForEachEntry(Visit&& visit) const {
        auto beside = beside_.begin();
        for (std::size_t i = 0; i < numbers_.size(); ++i) {
            const std::uint16_t number = numbers_[i];
            if (number != kBeside) {
                visit(i, number, keys_[number]);
                continue;
            }
            while (beside != beside_.end() && beside->first < i) {
                ++beside;
            }
            visit(i, number, beside != beside_.end() && beside->first == i ? beside->second : 0);
        }
    }
    // Every key's number of entries in one sweep: visit(key, count) for each key met.
    template <typename Visit>
    void CountAll(Visit&& visit) const {
        std::vector<std::int32_t> counts(keys_.size());
        for (const std::uint16_t number : numbers_) {
            if (number != kBeside) {
                ++counts[number];
            }
        }
        for (std::size_t n = 0; n < counts.size(); ++n) {
            visit(keys_[n], counts[n]);
        }
        std::unordered_map<std::int32_t, std::int32_t> beside;
        for (const auto& [position, key] : beside_) {
            ++beside[key];
        }
        for (const auto& [key, count] : beside) {
            visit(key, count);
        }
    }

private:
    std::int32_t BesideAt(std::size_t position) const;

    std::vector<std::uint16_t> numbers_;
    std::vector<std::int32_t> keys_;  // by number
    std::unordered_map<std::int32_t, std::uint16_t> numberOf_;
    std::vector<std::pair<std::size_t, std::int32_t>> beside_;  // by position, ascending
};
