#pragma once

#include <QRect>
#include <QSize>

#include "settings/WindowPlacement.h"

class QTableView;
class QWidget;

// The size the main window opens with when none is stored: the tree (`treeWidth`, with the
// splitter's handle) beside the whole width of every column of `list`, never larger than
// the primary screen's available area.
QSize OpeningSize(const QTableView& list, int treeWidth);

// The normal place and size of a window, also while it is maximised.
WindowPlacement PlacementOf(const QWidget& window);

// Where a window that works beside `main` (both as frames, window decorations included)
// opens within `area`: to the right or the left of it, else below or above, wherever there
// is room for `minimum`, at most `wanted`; else along the bottom of the area, over the lower
// part of the main window, so that the upper part stays in sight.
QRect BesideOrBelow(const QRect& main, QSize wanted, QSize minimum, const QRect& area);

// Opens `window` with its frame at `frame`, taking the frame of `reference` (a window that
// has been shown) for the decorations it does not know yet.
void OpenWithFrameAt(QWidget& window, const QRect& frame, const QWidget& reference);

// Gives a window, before it is shown, a stored place and size. A size larger than the
// screen is cut to it; a place whose top edge no screen shows any more gives way to the
// middle of the primary screen, so the window never opens where it cannot be reached.
void PlaceWindow(QWidget& window, const WindowPlacement& placement);
