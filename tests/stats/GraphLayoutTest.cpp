#include <gtest/gtest.h>

#include <map>

#include "stats/DistributionGraph.h"
#include "stats/GraphLayout.h"

namespace {

using Values = std::map<std::int32_t, std::int32_t>;

Values Bars(std::int32_t count, std::int32_t value) {
    Values values;
    for (std::int32_t i = 0; i < count; ++i) {
        values[i] = value;
    }
    return values;
}

std::int32_t LitCells(const GraphLayout& layout, std::int32_t value) {
    std::int32_t lit = 0;
    for (std::int32_t cell = 0; cell < layout.geometry.cellCount; ++cell) {
        lit += layout.IsLit(value, cell) ? 1 : 0;
    }
    return lit;
}

void ExpectRect(const GraphRect& rect, std::int32_t left, std::int32_t top, std::int32_t right,
                std::int32_t bottom) {
    EXPECT_EQ(rect.left, left);
    EXPECT_EQ(rect.top, top);
    EXPECT_EQ(rect.right, right);
    EXPECT_EQ(rect.bottom, bottom);
}

TEST(GraphLayout, BarsOfTheHourGraph) {
    const GraphLayout layout =
        GraphLayout::Compute(311, 206, 12, Bars(24, 1), DistributionGeometry());
    EXPECT_EQ(layout.barCount, 24);
    EXPECT_EQ(layout.barWidth, 10);  // (311 - 20 - 46) / 24
    for (std::int32_t bar : {0, 1, 23}) {
        const GraphRect cell = layout.CellRect(bar, 0);
        EXPECT_EQ(cell.left, 10 + 12 * bar);
        EXPECT_EQ(cell.right, 20 + 12 * bar);
        const GraphRect label = layout.LabelRect(bar, 4);
        EXPECT_EQ((label.left + label.right) / 2, 15 + 12 * bar);
        EXPECT_EQ(label.right - label.left, 8);
    }
}

TEST(GraphLayout, CellsAndLabelBandOfA206PixelGraph) {
    const GraphLayout layout =
        GraphLayout::Compute(311, 206, 12, Bars(24, 1), DistributionGeometry());
    EXPECT_EQ(layout.labelHeight, 13);
    EXPECT_EQ(layout.cellHeight, 2);  // 124 / 50, truncated
    for (std::int32_t k : {0, 1, 49}) {
        ExpectRect(layout.CellRect(0, k), 10, 181 - 3 * k, 20, 183 - 3 * k);
    }
    const GraphRect label = layout.LabelRect(0, 3);
    EXPECT_EQ(label.top, 184);
    EXPECT_EQ(label.bottom, 196);
}

TEST(GraphLayout, ScaleFromZeroLeavesTheTallestBarsTopCellUnlit) {
    Values values = Bars(24, 0);
    values[0] = 100;
    values[1] = 3;
    values[2] = 2;
    const GraphLayout layout = GraphLayout::Compute(311, 206, 12, values, DistributionGeometry());
    EXPECT_EQ(layout.minValue, 0);
    EXPECT_EQ(layout.maxValue, 100);
    EXPECT_EQ(layout.cellValue, 2.0);
    EXPECT_EQ(LitCells(layout, 100), 49);
    EXPECT_EQ(LitCells(layout, 3), 1);
    EXPECT_EQ(LitCells(layout, 2), 0);
    EXPECT_EQ(LitCells(layout, 0), 0);
}

TEST(GraphLayout, ValuesAboveTheRangeFillTheirBar) {
    Values values = Bars(24, 15);
    values[3] = 10;
    values[4] = 20;
    values[5] = 11;
    const GraphLayout layout = GraphLayout::Compute(311, 206, 12, values, DistributionGeometry());
    EXPECT_DOUBLE_EQ(layout.cellValue, 0.2);
    EXPECT_EQ(LitCells(layout, 20), 50);
    EXPECT_EQ(LitCells(layout, 11), 50);
    EXPECT_EQ(LitCells(layout, 10), 49);
}

TEST(GraphLayout, EqualValuesAreFullOrEmpty) {
    const GraphLayout ones = GraphLayout::Compute(311, 206, 12, Bars(7, 4), DistributionGeometry());
    EXPECT_EQ(ones.cellValue, 0.0);
    EXPECT_EQ(LitCells(ones, 4), 50);
    const GraphLayout zeros =
        GraphLayout::Compute(311, 206, 12, Bars(7, 0), DistributionGeometry());
    EXPECT_EQ(LitCells(zeros, 0), 0);
}

TEST(GraphLayout, ProductIsFormedExactly) {
    // 49 / 50 is stored a little below 0.98, so 50 x 0.98 is a little below 49 and the bar of
    // 49 lights its top cell; a rounded double product (49.0) would leave it dark.
    Values values = Bars(24, 0);
    values[0] = 49;
    const GraphLayout layout = GraphLayout::Compute(311, 206, 12, values, DistributionGeometry());
    ASSERT_EQ(50 * layout.cellValue, 49.0);
    EXPECT_TRUE(layout.IsLit(49, 49));
    EXPECT_EQ(LitCells(layout, 49), 50);
    EXPECT_FALSE(layout.IsLit(48, 49));
    EXPECT_EQ(LitCells(layout, 1), 1);  // 1 > 0.98, 1 < 1.96

    // Extreme values stay exact and within range.
    Values extremes{{0, INT32_MIN}, {1, INT32_MAX}};
    const GraphLayout wide = GraphLayout::Compute(311, 206, 12, extremes, DistributionGeometry());
    EXPECT_EQ(LitCells(wide, INT32_MAX), 24);  // (2^31 - 1) / ((2^32 - 1) / 50) is just under 25
    EXPECT_FALSE(wide.IsLit(INT32_MIN, 0));
}

TEST(GraphLayout, DegenerateInputsDoNotDivideByZero) {
    GraphGeometry noCells = DistributionGeometry();
    noCells.cellCount = 0;
    const GraphLayout empty = GraphLayout::Compute(311, 206, 12, {}, noCells);
    EXPECT_EQ(empty.barCount, 0);
    EXPECT_EQ(empty.barWidth, 0);
    EXPECT_EQ(empty.cellHeight, 0);
    EXPECT_FALSE(empty.IsLit(5, 0));

    // Too small for the margins: widths and heights at or below zero, no crash.
    const GraphLayout tiny = GraphLayout::Compute(5, 5, 12, Bars(24, 3), DistributionGeometry());
    EXPECT_LE(tiny.barWidth, 0);
    EXPECT_LE(tiny.cellHeight, 0);
    const GraphRect cell = tiny.CellRect(23, 49);
    EXPECT_LE(cell.right - cell.left, 0);
}

}  // namespace
