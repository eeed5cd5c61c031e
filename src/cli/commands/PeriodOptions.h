#pragma once

#include <cstdint>
#include <limits>

#include "cli/CliApp.h"
#include "cli/CliOption.h"

class CliArgs;
struct EventRecord;

// A period of whole days from --from and --to (either may be left out: open at that end).
struct Period {
    bool limited = false;
    std::int64_t start = std::numeric_limits<std::int64_t>::min();  // inclusive
    std::int64_t end = std::numeric_limits<std::int64_t>::max();    // exclusive
};

// --from and --to, for the commands that take a period.
inline constexpr CliOption kPeriodOptions[] = {
    {"--from", nullptr, "YYYY-MM-DD", "from this day on"},
    {"--to", nullptr, "YYYY-MM-DD", "up to this day, the whole day"},
};

// Reads --from and --to (YYYY-MM-DD): calendar days, from the first day's local midnight
// to the local midnight after the last day. False after a usage error was printed.
bool ReadPeriodOptions(CliContext& context, const CliArgs& args, Period& period);

// Whether a record that ReadEvent returned `decoded` for lies in the period; an event that
// failed to decode has no date and lies in no limited period.
bool InPeriod(const Period& period, const EventRecord& record, bool decoded);
