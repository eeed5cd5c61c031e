#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/CliApp.h"
#include "search/DateRange.h"

// search KEY --text TEXT [--date YYYY-MM-DD | --from YYYY-MM-DD --to YYYY-MM-DD]
//        [--received] [--sent] [--up] [--start ROW]
const CliCommand& SearchCommand();

// A calendar date written YYYY-MM-DD; std::nullopt when it is not a real date.
std::optional<CalendarDate> ParseCalendarDate(const std::string& text);
