#include "ui/find/HitPlacement.h"

#include <cstdlib>

namespace {

// A little air between the row and the dialog.
constexpr int kGap = 4;

bool FitsVertically(const QRect& dialog, int top, const QRect& screen) {
    return top >= screen.top() && top + dialog.height() - 1 <= screen.bottom();
}

}  // namespace

HitPlacement PlaceAwayFromHit(const QRect& dialog, const QRect& row, const QRect& viewport,
                              const QRect& screen) {
    if (row.isEmpty() || !dialog.intersects(row)) {
        return {};
    }
    // The smaller of the two moves that fit on the screen.
    const int below = row.bottom() + 1 + kGap;
    const int above = row.top() - kGap - dialog.height();
    std::optional<int> top;
    for (int candidate : {below, above}) {
        if (FitsVertically(dialog, candidate, screen) &&
            (!top || std::abs(candidate - dialog.top()) < std::abs(*top - dialog.top()))) {
            top = candidate;
        }
    }
    if (top) {
        return {QPoint(dialog.left(), *top), std::nullopt};
    }

    // No room on the screen: the row goes to the larger free part of the list, above or
    // below the dialog, if a whole row fits there.
    const int height = row.height();
    const int freeAbove = dialog.top() - viewport.top();
    const int freeBelow = viewport.bottom() - dialog.bottom();
    if (freeAbove >= freeBelow) {
        return freeAbove >= height ? HitPlacement{std::nullopt, 1} : HitPlacement{};
    }
    const int skipped = (dialog.bottom() + 1 - viewport.top() + height - 1) / height;
    if (viewport.top() + (skipped + 1) * height - 1 > viewport.bottom()) {
        return {};
    }
    return {std::nullopt, skipped + 1};
}
