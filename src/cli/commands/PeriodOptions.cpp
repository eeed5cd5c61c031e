#include "cli/commands/PeriodOptions.h"

#include <tuple>

#include "cli/CliArgs.h"
#include "cli/commands/SearchCommand.h"
#include "search/DateRange.h"

bool ReadPeriodOptions(CliContext& context, const CliArgs& args, ExportPeriod& period) {
    std::optional<CalendarDate> first, last;
    for (const char* option : {"--from", "--to"}) {
        const auto text = args.Value(option);
        if (!text) {
            continue;
        }
        const auto date = ParseCalendarDate(*text);
        if (!date) {
            UsageError(context, "not a date (YYYY-MM-DD): " + *text);
            return false;
        }
        (option[2] == 'f' ? first : last) = date;
    }
    if (first && last &&
        std::tie(first->year, first->month, first->day) >
            std::tie(last->year, last->month, last->day)) {
        UsageError(context, "the period ends before it starts");
        return false;
    }
    period.limited = first || last;
    if (first) {
        period.start = CalendarDays(*first, *first).start;
    }
    if (last) {
        period.end = CalendarDays(*last, *last).end;
    }
    return true;
}
