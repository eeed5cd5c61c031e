#pragma once

#include "historywriter/HistoryWriter.h"

#include <cstdint>
#include <string>

struct BulkOptions {
    std::int64_t events = 1000;
    std::int32_t members = 20;
    std::uint64_t seed = 1;
    std::int32_t textBytes = 60;  // average text length in bytes, NUL not counted
    std::int64_t now = 0;         // the history covers the years before this time stamp
    std::int32_t years = 2;
};

// Writes a history of exactly `events` events of decoded types (mostly messages) spread
// over `members` members with distinct 6 to 9 digit UINs, fast enough for benchmark
// sizes. False with `error` set when a write fails.
bool WriteBulkHistory(HistoryWriter& writer, const BulkOptions& options, std::string& error);
