#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// What the viewer needs to open a history at start: where it is and a few display names.
struct ViewerSettings {
    // Either a folder and the owner's UIN, or an explicit pair of files.
    std::string folder;
    std::int32_t uin = 0;
    std::string dataPath;
    std::string indexPath;
    std::vector<std::pair<std::int32_t, std::string_view>> names;  // UTF-8
};

// Writes the viewer's settings file (INI, UTF-8). Paths are made absolute.
bool WriteViewerSettings(const std::string& path, const ViewerSettings& settings,
                         std::string& error);
