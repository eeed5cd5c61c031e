#pragma once

#include <functional>

// Turns SIGTERM, SIGINT and SIGHUP (logout, a terminal closed) into a call of `quit` on the
// event loop's thread, so that they end the program like closing its window.
void InstallQuitSignals(std::function<void()> quit);
