#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A small generator of our own (SplitMix64), so that a seed gives the same history with
// every standard library.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}

    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Uniform in [0, bound); bound > 0.
    std::uint64_t Below(std::uint64_t bound) { return Next() % bound; }
    // Uniform in [low, high].
    std::int64_t Between(std::int64_t low, std::int64_t high) {
        return low + static_cast<std::int64_t>(Below(static_cast<std::uint64_t>(high - low) + 1));
    }
    // Uniform in [0, 1).
    double Unit() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }
    bool Chance(double probability) { return Unit() < probability; }

    template <typename T>
    const T& Pick(const std::vector<T>& items) {
        return items[Below(items.size())];
    }

private:
    std::uint64_t state_;
};

// Picks indices in proportion to fixed weights.
class WeightedPicker {
public:
    explicit WeightedPicker(const std::vector<double>& weights);
    std::size_t Pick(Random& random) const;

private:
    std::vector<double> cumulative_;
};
