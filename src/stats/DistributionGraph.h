#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "stats/GraphLayout.h"
#include "stats/MemberStats.h"

inline constexpr std::int32_t kHourBars = 24;
inline constexpr std::int32_t kWeekdayBars = 7;

// The geometry both graph pages give their graph: margins 10, bar gap 2, cell gap 1, 50
// cells.
GraphGeometry DistributionGeometry();

// Values of bars 0 to bars - 1 from a count table (0 where the table has none).
std::map<std::int32_t, std::int32_t> BarValues(const CountTable& table, std::int32_t bars);

// Labels of the hour graph ("0" to "23") and of the weekday graph (日 to 土, Sunday first),
// as Shift-JIS.
std::map<std::int32_t, std::string> HourLabels();
std::map<std::int32_t, std::string> WeekdayLabels();
