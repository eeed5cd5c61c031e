#include "stats/GraphLayout.h"

#include <algorithm>
#include <cmath>

namespace {

__extension__ typedef unsigned __int128 Wide;

std::int32_t Clamp32(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

// A double pixel position truncated toward zero.
std::int32_t Pixel(double value) {
    return static_cast<std::int32_t>(std::clamp(std::trunc(value), -2147483648.0, 2147483647.0));
}

// value > factor * quotient with the product formed exactly (factor >= 1, quotient >= 0).
// The quotient is m * 2^e with an integer m below 2^53; for an integer value,
// value > factor * m * 2^e is the same as value > floor(factor * m * 2^e).
bool ExceedsProduct(std::int64_t value, std::int64_t factor, double quotient) {
    if (value <= 0) {
        return false;
    }
    if (!(quotient > 0)) {
        return true;
    }
    int exponent = 0;
    const double fraction = std::frexp(quotient, &exponent);
    const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
    exponent -= 53;
    if (exponent >= 0) {
        return false;  // the product is at least 2^52, beyond any 32-bit value
    }
    const Wide product = static_cast<Wide>(mantissa) * static_cast<Wide>(factor);
    const int shift = -exponent;
    const Wide whole = shift >= 128 ? 0 : product >> shift;
    return static_cast<Wide>(value) > whole;
}

}  // namespace

GraphLayout GraphLayout::Compute(std::int32_t width, std::int32_t height, std::int32_t textHeight,
                                 const std::map<std::int32_t, std::int32_t>& values,
                                 const GraphGeometry& geometry) {
    GraphLayout layout;
    layout.width = width;
    layout.height = height;
    layout.geometry = geometry;

    const auto bars = static_cast<std::int64_t>(values.size());
    layout.barCount = Clamp32(bars);
    if (bars > 0) {
        const std::int64_t room =
            std::int64_t{width} - 2 * std::int64_t{geometry.marginX} - (bars - 1) * geometry.barGap;
        layout.barWidth = static_cast<double>(Clamp32(room / bars));
        const auto [low, high] =
            std::minmax_element(values.begin(), values.end(),
                                [](const auto& a, const auto& b) { return a.second < b.second; });
        layout.minValue = low->second;
        layout.maxValue = high->second;
    }

    layout.labelHeight = Clamp32(std::int64_t{geometry.cellGap} + textHeight);
    const std::int64_t cells = geometry.cellCount;
    if (cells > 0) {
        const std::int64_t range = std::int64_t{layout.maxValue} - layout.minValue;
        layout.cellValue = static_cast<double>(range) / static_cast<double>(cells);
        const std::int64_t room = std::int64_t{height} - 2 * std::int64_t{geometry.marginY} -
                                  (cells - 1) * geometry.cellGap - layout.labelHeight;
        layout.cellHeight = static_cast<double>(Clamp32(room / cells));
    }
    return layout;
}

GraphRect GraphLayout::CellRect(std::int32_t bar, std::int32_t cell) const {
    GraphRect rect;
    rect.left = Pixel(geometry.marginX + bar * (barWidth + geometry.barGap));
    rect.right = Pixel(rect.left + barWidth);
    rect.bottom = Pixel(static_cast<double>(height) - labelHeight - geometry.marginY -
                        cell * (cellHeight + geometry.cellGap));
    rect.top = Pixel(rect.bottom - cellHeight);
    return rect;
}

GraphRect GraphLayout::LabelRect(std::int32_t bar, std::int32_t textWidth) const {
    const std::int64_t centre =
        Pixel((geometry.barGap + barWidth) * bar + geometry.marginX + barWidth * 0.5);
    GraphRect rect;
    rect.left = Clamp32(centre - textWidth);
    rect.right = Clamp32(centre + textWidth);
    rect.top = Clamp32(std::int64_t{height} - geometry.marginY - labelHeight + geometry.cellGap);
    rect.bottom = Clamp32(std::int64_t{height} - geometry.marginY);
    return rect;
}

bool GraphLayout::IsLit(std::int32_t value, std::int32_t cell) const {
    if (cell < 0 || cell >= geometry.cellCount) {
        return false;
    }
    return ExceedsProduct(value, std::int64_t{cell} + 1, cellValue);
}
