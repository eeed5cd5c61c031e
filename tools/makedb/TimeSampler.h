#pragma once

#include "makedb/Random.h"

#include <cstdint>

// When people write: the weights of each hour and weekday.
enum class Rhythm {
    Private,  // evenings and weekends, little at night
    Work,     // office hours on weekdays
};

// Draws time stamps in a range so that the viewer's hour-of-day and weekday graphs show
// the rhythm. The hours are those the viewer shows on this machine, which moves the time
// by the local offset and once more by the standard offset.
class TimeSampler {
public:
    explicit TimeSampler(std::int64_t displayShift) : shift_(displayShift) {}

    // A stamp in [from, to] (from <= to).
    std::int64_t Sample(Random& random, Rhythm rhythm, std::int64_t from, std::int64_t to) const;
    // Hour 0-23 the viewer shows for `stamp`.
    int DisplayHour(std::int64_t stamp) const;

private:
    std::int64_t shift_;
};

// Seconds the viewer adds to a stamp, on this machine, around the time `at`.
std::int64_t ViewerDisplayShift(std::int64_t at);
