#pragma once

#include "historywriter/HistoryWriter.h"

#include <cstdint>
#include <string>

struct DemoOptions {
    std::int64_t events = 5000;  // about this many
    std::uint64_t seed = 1;
    std::int64_t now = 0;  // the history ends shortly before this time stamp
};

// Writes the demo history: two years of conversation with a few dozen members, every
// event type and a few records the viewer cannot decode. False with `error` set when a
// write fails.
bool WriteDemoHistory(HistoryWriter& writer, const DemoOptions& options, std::string& error);
