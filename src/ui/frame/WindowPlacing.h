#pragma once

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

// Gives a window, before it is shown, a stored place and size. A size larger than the
// screen is cut to it; a place whose top edge no screen shows any more gives way to the
// middle of the primary screen, so the window never opens where it cannot be reached.
void PlaceWindow(QWidget& window, const WindowPlacement& placement);
