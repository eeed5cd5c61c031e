#pragma once

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "stats/GraphLayout.h"
#include "stats/MemberStats.h"

struct CalendarMonth {
    std::int32_t year = 0;
    std::int32_t month = 0;  // 1-12

    bool operator==(const CalendarMonth&) const = default;
};

// The month graph: one bar per month from the first month with events to the last, empty
// months included. A bar's lower cells are lit for its sent events and the cells above them
// for its received ones, on a scale from 0 to the highest month. Bars keep about one width,
// so the graph is as wide as its months need and its window scrolls.
class MonthTimeline {
public:
    static constexpr std::int32_t kBarWidth = 12;     // pixels, when the window is narrower
    static constexpr std::int32_t kMaxBarWidth = 40;  // pixels, however wide the window
    // Months from a year's label to the next label: less, and the first bar has none.
    static constexpr std::int32_t kLabelSpacing = 4;

    enum class Cell { Unlit, Sent, Received };

    MonthTimeline() = default;
    explicit MonthTimeline(const MonthTable& table);

    std::int32_t barCount() const { return static_cast<std::int32_t>(counts_.size()); }
    CalendarMonth MonthOf(std::int32_t bar) const;
    std::optional<std::int32_t> BarOf(const CalendarMonth& month) const;
    MonthCount CountAt(std::int32_t bar) const;  // zero outside the bars
    std::int32_t maxTotal() const { return maxTotal_; }
    // Every year from the first month's to the last month's, with its sums.
    std::vector<std::pair<std::int32_t, MonthCount>> Years() const;
    // The year stands under every January, and under the first bar when no January follows
    // it closely.
    bool HasYearLabel(std::int32_t bar) const;

    // Width the bars need at kBarWidth, margins included.
    std::int32_t ContentWidth(const GraphGeometry& geometry) const;
    // The layout of a paint `width` x `height`: as GraphLayout lays out the hour graph, the
    // bars no wider than kMaxBarWidth (the rest of the width stays empty), the scale from 0.
    GraphLayout Layout(std::int32_t width, std::int32_t height, std::int32_t textHeight,
                       const GraphGeometry& geometry) const;
    // The bar whose column (cells and label band) holds x; nothing in a gap or a margin.
    std::optional<std::int32_t> BarAt(const GraphLayout& layout, std::int32_t x) const;
    Cell CellState(const GraphLayout& layout, std::int32_t bar, std::int32_t cell) const;

private:
    std::int32_t firstMonth_ = 0;  // year * 12 + (month - 1)
    std::int32_t maxTotal_ = 0;
    std::vector<MonthCount> counts_;
};
