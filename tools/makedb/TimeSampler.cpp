#include "makedb/TimeSampler.h"

#include <time.h>

#include <array>
#include <vector>

namespace {

constexpr std::int64_t kDay = 86400;
constexpr std::int64_t kHour = 3600;

using HourWeights = std::array<double, 24>;
using DayWeights = std::array<double, 7>;  // Sunday first

constexpr HourWeights kPrivateWeekday = {3, 1.5, 0.6, 0.3, 0.2, 0.3, 1, 2.5, 2.5, 1, 1, 1.2,
                                         3, 1.5, 1,   1,   1.2, 2,   3, 4,   6,   8, 8, 6};
constexpr HourWeights kPrivateWeekend = {5, 3, 1.5, 0.6, 0.3, 0.2, 0.3, 0.6, 1, 2, 3, 4,
                                         4, 4, 4.5, 4.5, 4,   4,   4,   5,   6, 7, 7, 6};
constexpr HourWeights kWork = {0.02, 0.02, 0.02, 0.02, 0.02, 0.05, 0.2, 1,   3,   6,   8,   7,
                               2,    6,    8,    8,    7,    6,    3,   1.5, 0.8, 0.5, 0.3, 0.1};
constexpr DayWeights kPrivateDays = {1.3, 0.8, 0.85, 0.9, 0.9, 1.2, 1.5};
constexpr DayWeights kWorkDays = {0.05, 1, 1, 1, 1, 0.9, 0.08};

std::int64_t FloorDiv(std::int64_t value, std::int64_t divisor) {
    const std::int64_t quotient = value / divisor;
    return (value % divisor != 0 && value < 0) ? quotient - 1 : quotient;
}

// 1970-01-01 was a Thursday.
int Weekday(std::int64_t day) {
    return static_cast<int>((day % 7 + 7 + 4) % 7);
}

std::vector<double> ToVector(const HourWeights& weights) {
    return {weights.begin(), weights.end()};
}

const WeightedPicker& HourPicker(Rhythm rhythm, bool weekend) {
    static const WeightedPicker privateWeekday(ToVector(kPrivateWeekday));
    static const WeightedPicker privateWeekend(ToVector(kPrivateWeekend));
    static const WeightedPicker work(ToVector(kWork));
    if (rhythm == Rhythm::Work) {
        return work;
    }
    return weekend ? privateWeekend : privateWeekday;
}

}  // namespace

std::int64_t TimeSampler::Sample(Random& random, Rhythm rhythm, std::int64_t from,
                                 std::int64_t to) const {
    const std::int64_t shownFrom = from + shift_;
    const std::int64_t shownTo = to + shift_;
    const DayWeights& days = rhythm == Rhythm::Work ? kWorkDays : kPrivateDays;
    const std::int64_t firstDay = FloorDiv(shownFrom, kDay);
    const std::int64_t lastDay = FloorDiv(shownTo, kDay);
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const std::int64_t day = random.Between(firstDay, lastDay);
        const int weekday = Weekday(day);
        if (!random.Chance(days[static_cast<std::size_t>(weekday)] / 1.5)) {
            continue;
        }
        const bool weekend = weekday == 0 || weekday == 6;
        const auto hour = static_cast<std::int64_t>(HourPicker(rhythm, weekend).Pick(random));
        const std::int64_t shown = day * kDay + hour * kHour + random.Between(0, kHour - 1);
        if (shown >= shownFrom && shown <= shownTo) {
            return shown - shift_;
        }
    }
    // A range too narrow for the rhythm: anywhere in it.
    return random.Between(from, to);
}

int TimeSampler::DisplayHour(std::int64_t stamp) const {
    return static_cast<int>(FloorDiv(stamp + shift_, kHour) % 24 + 24) % 24;
}

std::int64_t ViewerDisplayShift(std::int64_t at) {
    ::tzset();
    const auto when = static_cast<time_t>(at);
    struct tm local {};
    if (::localtime_r(&when, &local) == nullptr) {
        return 0;
    }
    // The viewer adds the standard offset in whole hours (timezone is seconds west).
    return static_cast<std::int64_t>(local.tm_gmtoff) + (-timezone / 3600) * kHour;
}
