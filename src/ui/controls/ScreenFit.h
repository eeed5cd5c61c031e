#pragma once

class QApplication;
class QWidget;

// Keeps every window of the application on the screen it opens on: when a window or dialog
// is shown (Qt's own file, colour and message dialogs too), one larger than the screen's
// free area with its frame is made smaller, down to its minimum size, and one that reaches
// past an edge is moved in, so that its buttons can always be reached. The frame drawn by
// the window manager counts: it is known once a window has been shown, and is looked at
// again shortly after each window appears.
void KeepWindowsOnScreen(QApplication& application);

// The same for one window, now.
void FitOnScreen(QWidget& window);
