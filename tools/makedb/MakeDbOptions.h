#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct MakeDbOptions {
    // The pair: a folder and the owner's UIN, or two paths.
    std::string folder;
    std::optional<std::int32_t> uin;
    std::string dataPath;
    std::string indexPath;

    std::optional<std::int64_t> events;
    std::int32_t members = 20;
    std::uint64_t seed = 1;
    std::int32_t textBytes = 60;
    std::int32_t years = 2;  // the span the events are spread over
    bool demo = false;
    std::string settingsPath;
    std::optional<std::int64_t> append;
    std::int64_t intervalMs = 1000;
    bool quiet = false;
    std::optional<std::int64_t> now;
    bool help = false;
};

struct ParsedOptions {
    std::optional<MakeDbOptions> options;  // empty on a usage error
    std::string error;
};

// Reads the arguments after the program name. With --folder the data and index paths are
// filled in from the folder and the UIN.
ParsedOptions ParseMakeDbOptions(const std::vector<std::string_view>& args);

std::string_view MakeDbUsage();
