#include "makedb/Random.h"

#include <algorithm>

WeightedPicker::WeightedPicker(const std::vector<double>& weights) {
    double total = 0;
    cumulative_.reserve(weights.size());
    for (double weight : weights) {
        total += weight;
        cumulative_.push_back(total);
    }
}

std::size_t WeightedPicker::Pick(Random& random) const {
    const double target = random.Unit() * cumulative_.back();
    const auto found = std::upper_bound(cumulative_.begin(), cumulative_.end(), target);
    return std::min(static_cast<std::size_t>(found - cumulative_.begin()), cumulative_.size() - 1);
}
