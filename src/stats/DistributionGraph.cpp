#include "stats/DistributionGraph.h"

#include "database/EventTypes.h"

GraphGeometry DistributionGeometry() {
    GraphGeometry geometry;
    geometry.marginX = 10;
    geometry.marginY = 10;
    geometry.barGap = 2;
    geometry.cellGap = 1;
    geometry.cellCount = 50;
    return geometry;
}

std::map<std::int32_t, std::int32_t> BarValues(const CountTable& table, std::int32_t bars) {
    std::map<std::int32_t, std::int32_t> values;
    for (std::int32_t bar = 0; bar < bars; ++bar) {
        values.emplace_hint(values.end(), bar, CountOf(table, bar));
    }
    return values;
}

std::map<std::int32_t, std::string> HourLabels() {
    std::map<std::int32_t, std::string> labels;
    for (std::int32_t hour = 0; hour < kHourBars; ++hour) {
        labels.emplace_hint(labels.end(), hour, std::to_string(hour));
    }
    return labels;
}

std::map<std::int32_t, std::string> WeekdayLabels() {
    std::map<std::int32_t, std::string> labels;
    for (std::int32_t day = 0; day < kWeekdayBars; ++day) {
        labels.emplace_hint(labels.end(), day, std::string(WeekdayName(day)));
    }
    return labels;
}
