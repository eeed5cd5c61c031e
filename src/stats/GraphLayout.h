#pragma once

#include <cstdint>
#include <map>

// The geometry fields of the bar graph, as its owner sets them.
struct GraphGeometry {
    std::int32_t marginX = 0;     // empty pixels left and right of the bars
    std::int32_t marginY = 0;     // empty pixels above the bars and below the labels
    std::int32_t barGap = 0;      // pixels between neighbouring bars
    std::int32_t cellGap = 0;     // pixels between cells, and between the lowest cell and labels
    std::int32_t cellCount = 30;  // cells per bar
};

struct GraphRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
};

// What the graph needs to paint, computed from its client size at every paint: a column of
// equal cells per bar, lit up to the bar's value, with a label band under the bars. The
// widget only paints these rectangles.
struct GraphLayout {
    std::int32_t width = 0;  // the client area (its left and top are 0)
    std::int32_t height = 0;
    GraphGeometry geometry;

    std::int32_t barCount = 0;
    double barWidth = 0;    // whole pixels
    double cellHeight = 0;  // whole pixels
    double cellValue = 0;   // (maxValue - minValue) / cellCount
    std::int32_t labelHeight = 0;
    std::int32_t minValue = 0;
    std::int32_t maxValue = 0;

    // `textHeight` is the height of the first byte of label 0 in the control's default
    // font; `values` holds bar i's value at key i. With no values or no cells there is
    // nothing to scale: the bars stay empty.
    static GraphLayout Compute(std::int32_t width, std::int32_t height, std::int32_t textHeight,
                               const std::map<std::int32_t, std::int32_t>& values,
                               const GraphGeometry& geometry);

    // Cell `cell` (0 the lowest) of bar `bar` (0 the leftmost).
    GraphRect CellRect(std::int32_t bar, std::int32_t cell) const;
    // The label of bar `bar`, `textWidth` being the label's width in the label font: centred
    // on the bar, twice as wide as the text, in the band under the bars.
    GraphRect LabelRect(std::int32_t bar, std::int32_t textWidth) const;
    // Cell `cell` of a bar of `value` is lit when value > (cell + 1) * cellValue. The bar's
    // own value is compared, not its distance from minValue, and the product is exact.
    bool IsLit(std::int32_t value, std::int32_t cell) const;
};
