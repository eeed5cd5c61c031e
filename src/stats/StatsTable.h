#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "stats/MemberStats.h"

// Icon of the total row in the event-type icon strip.
inline constexpr std::int32_t kTotalRowImage = 9;

// One row of the general page's count table.
struct StatsRow {
    std::string typeName;  // Shift-JIS
    std::int32_t sent = 0;
    std::int32_t received = 0;
    std::int32_t total = 0;
    std::int32_t image = 0;  // index into the event-type icon strip
};

// The rows of the table: one per type of allByType, ascending, then the total row
// "全イベント合計" (image 9) with the sums of the sent and received columns.
std::vector<StatsRow> StatsTableRows(const MemberStats& stats);
