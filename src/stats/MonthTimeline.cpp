#include "stats/MonthTimeline.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace {

std::int32_t Clamp32(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

std::int32_t FloorDiv(std::int32_t value, std::int32_t divisor) {
    return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor);
}

}  // namespace

MonthTimeline::MonthTimeline(const MonthTable& table) {
    if (table.empty()) {
        return;
    }
    firstMonth_ = table.begin()->first;
    // The table's keys come from 32-bit stamps, a few thousand months apart at most.
    const std::int64_t span = std::int64_t{table.rbegin()->first} - firstMonth_ + 1;
    counts_.resize(static_cast<std::size_t>(span));
    for (const auto& [month, count] : table) {
        counts_[static_cast<std::size_t>(month - firstMonth_)] = count;
        maxTotal_ = std::max(maxTotal_, Clamp32(count.Total()));
    }
}

CalendarMonth MonthTimeline::MonthOf(std::int32_t bar) const {
    const std::int32_t number = firstMonth_ + bar;
    const std::int32_t year = FloorDiv(number, 12);
    return {year, number - year * 12 + 1};
}

std::optional<std::int32_t> MonthTimeline::BarOf(const CalendarMonth& month) const {
    if (month.month < 1 || month.month > 12) {
        return std::nullopt;
    }
    const std::int64_t bar = std::int64_t{month.year} * 12 + month.month - 1 - firstMonth_;
    if (bar < 0 || bar >= barCount()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(bar);
}

MonthCount MonthTimeline::CountAt(std::int32_t bar) const {
    if (bar < 0 || bar >= barCount()) {
        return {};
    }
    return counts_[static_cast<std::size_t>(bar)];
}

std::vector<std::pair<std::int32_t, MonthCount>> MonthTimeline::Years() const {
    std::vector<std::pair<std::int32_t, MonthCount>> years;
    for (std::int32_t bar = 0; bar < barCount(); ++bar) {
        const std::int32_t year = MonthOf(bar).year;
        if (years.empty() || years.back().first != year) {
            years.emplace_back(year, MonthCount{});
        }
        const MonthCount& count = counts_[static_cast<std::size_t>(bar)];
        MonthCount& sum = years.back().second;
        sum.sent = Clamp32(std::int64_t{sum.sent} + count.sent);
        sum.received = Clamp32(std::int64_t{sum.received} + count.received);
    }
    return years;
}

bool MonthTimeline::HasYearLabel(std::int32_t bar) const {
    if (bar < 0 || bar >= barCount()) {
        return false;
    }
    const std::int32_t month = MonthOf(bar).month;
    if (month == 1) {
        return true;
    }
    // The next January is 13 - month bars on; its label would cover this one.
    return bar == 0 && (13 - month >= kLabelSpacing || 13 - month >= barCount());
}

std::int32_t MonthTimeline::ContentWidth(const GraphGeometry& geometry) const {
    const std::int64_t bars = barCount();
    return Clamp32(2 * std::int64_t{geometry.marginX} + bars * kBarWidth +
                   std::max<std::int64_t>(bars - 1, 0) * geometry.barGap);
}

GraphLayout MonthTimeline::Layout(std::int32_t width, std::int32_t height, std::int32_t textHeight,
                                  const GraphGeometry& geometry) const {
    const std::int64_t bars = barCount();
    const std::int64_t widest = 2 * std::int64_t{geometry.marginX} + bars * kMaxBarWidth +
                                std::max<std::int64_t>(bars - 1, 0) * geometry.barGap;
    std::map<std::int32_t, std::int32_t> totals;
    for (std::int32_t bar = 0; bar < barCount(); ++bar) {
        totals.emplace_hint(totals.end(), bar,
                            Clamp32(counts_[static_cast<std::size_t>(bar)].Total()));
    }
    GraphLayout layout = GraphLayout::Compute(Clamp32(std::min<std::int64_t>(width, widest)),
                                              height, textHeight, totals, geometry);
    layout.width = width;
    // The scale runs from 0, not from the lowest month: an empty month shows empty.
    layout.minValue = 0;
    layout.cellValue = geometry.cellCount > 0 ? static_cast<double>(layout.maxValue) /
                                                    static_cast<double>(geometry.cellCount)
                                              : 0;
    return layout;
}

std::optional<std::int32_t> MonthTimeline::BarAt(const GraphLayout& layout, std::int32_t x) const {
    const double pitch = layout.barWidth + layout.geometry.barGap;
    if (barCount() == 0 || !(pitch > 0)) {
        return std::nullopt;
    }
    const double slot = std::floor((x - layout.geometry.marginX) / pitch);
    if (slot < 0 || slot >= barCount()) {
        return std::nullopt;
    }
    const auto bar = static_cast<std::int32_t>(slot);
    const GraphRect cell = layout.CellRect(bar, 0);
    if (x < cell.left || x >= cell.right) {
        return std::nullopt;
    }
    return bar;
}

MonthTimeline::Cell MonthTimeline::CellState(const GraphLayout& layout, std::int32_t bar,
                                             std::int32_t cell) const {
    const MonthCount count = CountAt(bar);
    if (layout.IsLit(count.sent, cell)) {
        return Cell::Sent;
    }
    return layout.IsLit(Clamp32(count.Total()), cell) ? Cell::Received : Cell::Unlit;
}
