#pragma once

#include "historywriter/HistoryWriter.h"

#include <cstdint>
#include <iosfwd>
#include <string>

struct LiveOptions {
    std::int64_t count = 10;
    std::int64_t intervalMs = 1000;
    std::uint64_t seed = 1;
    bool quiet = false;  // no line per event
};

// Appends events one at a time to an open pair, as the messenger does while it runs: the
// record, then the key word of its index entry and, after a short pause, the offset word.
// Stamps are the current time; keys are taken from the members the index already names.
bool AppendLive(HistoryWriter& writer, const std::string& indexPath, const LiveOptions& options,
                std::ostream& out, std::string& error);
