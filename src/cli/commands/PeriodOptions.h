#pragma once

#include "cli/CliApp.h"
#include "cli/CliOption.h"
#include "export/ExportFormat.h"

class CliArgs;

// --from and --to, for the commands that take a period.
inline constexpr CliOption kPeriodOptions[] = {
    {"--from", nullptr, "YYYY-MM-DD", "from this day on"},
    {"--to", nullptr, "YYYY-MM-DD", "up to this day, the whole day"},
};

// Reads --from and --to (YYYY-MM-DD): calendar days, from the first day's local midnight
// to the local midnight after the last day. False after a usage error was printed.
// Either may be left out: the period is open at that end.
bool ReadPeriodOptions(CliContext& context, const CliArgs& args, ExportPeriod& period);
