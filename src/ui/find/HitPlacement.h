#pragma once

#include <QPoint>
#include <QRect>

#include <optional>

// How the find dialog gets out of the way of the row it found: moved above or below the
// row, or, when the screen has no room for that, the list scrolled so that the row shows
// in the part of the list the dialog leaves free. Neither when the row is not covered.
struct HitPlacement {
    std::optional<QPoint> dialogAt;  // new top-left corner of the dialog's frame
    std::optional<int> line;         // 1-based visible line of the list for the row
};

// All rectangles in screen coordinates: the dialog's frame, the found row across the list,
// the list's visible area and the screen's available area.
HitPlacement PlaceAwayFromHit(const QRect& dialog, const QRect& row, const QRect& viewport,
                              const QRect& screen);
