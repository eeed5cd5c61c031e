#pragma once

#include <cstdint>

// Where the main window was and how large (its normal size, also when it was closed
// maximised), kept in the settings section "Window".
struct WindowPlacement {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool maximized = false;

    bool operator==(const WindowPlacement&) const = default;
};
