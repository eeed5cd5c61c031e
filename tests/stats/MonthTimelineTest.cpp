#include <gtest/gtest.h>

#include "stats/DistributionGraph.h"
#include "stats/MonthTimeline.h"

namespace {

constexpr std::int32_t Month(std::int32_t year, std::int32_t month) {
    return year * 12 + month - 1;
}

using Cell = MonthTimeline::Cell;

TEST(MonthTimeline, MonthsRunFromFirstToLastAcrossYearEnds) {
    // December 2018 to January 2020: the whole of 2019 lies empty between.
    const MonthTimeline timeline(MonthTable{{Month(2018, 12), {1, 0}}, {Month(2020, 1), {2, 3}}});
    ASSERT_EQ(timeline.barCount(), 14);
    EXPECT_EQ(timeline.MonthOf(0), (CalendarMonth{2018, 12}));
    EXPECT_EQ(timeline.MonthOf(1), (CalendarMonth{2019, 1}));
    EXPECT_EQ(timeline.MonthOf(12), (CalendarMonth{2019, 12}));
    EXPECT_EQ(timeline.MonthOf(13), (CalendarMonth{2020, 1}));
    EXPECT_EQ(timeline.BarOf({2020, 1}), 13);
    EXPECT_EQ(timeline.BarOf({2018, 12}), 0);
    EXPECT_FALSE(timeline.BarOf({2018, 11}));
    EXPECT_FALSE(timeline.BarOf({2020, 2}));
    EXPECT_FALSE(timeline.BarOf({2019, 13}));
    EXPECT_EQ(timeline.CountAt(6), (MonthCount{0, 0}));
    EXPECT_EQ(timeline.CountAt(13), (MonthCount{2, 3}));
    EXPECT_EQ(timeline.CountAt(14), (MonthCount{0, 0}));
    EXPECT_EQ(timeline.maxTotal(), 5);

    const auto years = timeline.Years();
    ASSERT_EQ(years.size(), 3u);
    EXPECT_EQ(years[0], std::make_pair(2018, MonthCount{1, 0}));
    EXPECT_EQ(years[1], std::make_pair(2019, MonthCount{0, 0}));
    EXPECT_EQ(years[2], std::make_pair(2020, MonthCount{2, 3}));

    // Each January carries its year; December's label would run into the next one.
    EXPECT_FALSE(timeline.HasYearLabel(0));
    EXPECT_TRUE(timeline.HasYearLabel(1));
    EXPECT_FALSE(timeline.HasYearLabel(2));
    EXPECT_TRUE(timeline.HasYearLabel(13));
}

TEST(MonthTimeline, OneMonthAndNoMonth) {
    const MonthTimeline one(MonthTable{{Month(2021, 5), {0, 1}}});
    ASSERT_EQ(one.barCount(), 1);
    EXPECT_EQ(one.MonthOf(0), (CalendarMonth{2021, 5}));
    EXPECT_TRUE(one.HasYearLabel(0));  // the only bar shows its year
    EXPECT_EQ(one.Years().size(), 1u);

    const MonthTimeline none{MonthTable{}};
    EXPECT_EQ(none.barCount(), 0);
    EXPECT_TRUE(none.Years().empty());
    const GraphLayout layout = none.Layout(400, 240, 12, DistributionGeometry());
    EXPECT_EQ(layout.barCount, 0);
    EXPECT_FALSE(none.BarAt(layout, 15));
}

TEST(MonthTimeline, BarsScrollAtTheirWidthAndHitsFindTheirMonth) {
    const MonthTimeline timeline(MonthTable{{Month(2018, 12), {1, 0}}, {Month(2020, 1), {2, 3}}});
    const GraphGeometry geometry = DistributionGeometry();
    // Margins 10, 14 bars of 12 and 13 gaps of 2.
    EXPECT_EQ(timeline.ContentWidth(geometry), 214);
    const GraphLayout fitting = timeline.Layout(214, 240, 12, geometry);
    EXPECT_EQ(fitting.barWidth, 12);
    EXPECT_EQ(timeline.BarAt(fitting, 10), 0);
    EXPECT_EQ(timeline.BarAt(fitting, 21), 0);
    EXPECT_FALSE(timeline.BarAt(fitting, 22));  // the gap
    EXPECT_EQ(timeline.BarAt(fitting, 24), 1);
    EXPECT_FALSE(timeline.BarAt(fitting, 9));  // the margin
    EXPECT_EQ(timeline.BarAt(fitting, 203), 13);
    EXPECT_FALSE(timeline.BarAt(fitting, 205));

    // A wide window widens the bars only so far, and leaves the rest empty.
    const GraphLayout wide = timeline.Layout(5000, 240, 12, geometry);
    EXPECT_EQ(wide.barWidth, MonthTimeline::kMaxBarWidth);
    EXPECT_EQ(timeline.BarAt(wide, 10 + 13 * 42), 13);
    EXPECT_FALSE(timeline.BarAt(wide, 10 + 14 * 42));
}

TEST(MonthTimeline, SentCellsLieUnderReceivedOnesOnAScaleFromZero) {
    const GraphGeometry geometry = DistributionGeometry();  // 50 cells
    const MonthTimeline mixed(MonthTable{{Month(2020, 1), {2, 3}}, {Month(2020, 3), {1, 0}}});
    const GraphLayout layout = mixed.Layout(400, 240, 12, geometry);
    // 5 at the top: a cell is 0.1 events; 2 sent light 19 cells, the 3 received 30 more.
    EXPECT_EQ(mixed.CellState(layout, 0, 0), Cell::Sent);
    EXPECT_EQ(mixed.CellState(layout, 0, 18), Cell::Sent);
    EXPECT_EQ(mixed.CellState(layout, 0, 19), Cell::Received);
    EXPECT_EQ(mixed.CellState(layout, 0, 48), Cell::Received);
    EXPECT_EQ(mixed.CellState(layout, 0, 49), Cell::Unlit);
    EXPECT_EQ(mixed.CellState(layout, 1, 0), Cell::Unlit);  // the empty February
    EXPECT_EQ(mixed.CellState(layout, 2, 8), Cell::Sent);
    EXPECT_EQ(mixed.CellState(layout, 2, 9), Cell::Unlit);

    // No empty month: the lowest month still starts from 0, not from itself.
    const MonthTimeline busy(MonthTable{{Month(2020, 1), {0, 4}}, {Month(2020, 2), {0, 5}}});
    const GraphLayout busyLayout = busy.Layout(400, 240, 12, geometry);
    EXPECT_EQ(busy.CellState(busyLayout, 0, 38), Cell::Received);
    EXPECT_EQ(busy.CellState(busyLayout, 0, 39), Cell::Unlit);
}

}  // namespace
