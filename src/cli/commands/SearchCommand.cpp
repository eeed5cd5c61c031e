#include "cli/commands/SearchCommand.h"

#include <ostream>
#include <tuple>

#include "cli/CliArgs.h"
#include "cli/ListCommands.h"
#include "database/MessageDatabase.h"
#include "search/FindNext.h"
#include "search/HeadlessList.h"
#include "search/SearchCriteria.h"
#include "text/ShiftJis.h"

namespace {

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// Fills the date range of the criteria from --date or --from/--to; false after a usage
// error has been printed.
bool ApplyDateOptions(CliContext& context, const CliArgs& args, SearchCriteria& criteria) {
    const auto date = args.Value("--date");
    const auto from = args.Value("--from");
    const auto to = args.Value("--to");
    if (date && (from || to)) {
        UsageError(context, "give either --date or --from and --to");
        return false;
    }
    if (from.has_value() != to.has_value()) {
        UsageError(context, "give --from and --to together");
        return false;
    }
    auto parse = [&](const std::string& text, std::optional<CalendarDate>& out) {
        out = ParseCalendarDate(text);
        if (!out) {
            UsageError(context, "not a date (YYYY-MM-DD): " + text);
        }
        return out.has_value();
    };
    std::optional<CalendarDate> first, last;
    if (date) {
        if (!parse(*date, first)) {
            return false;
        }
        SetDateRange(criteria, OneDayRange(*first));
    } else if (from) {
        if (!parse(*from, first) || !parse(*to, last)) {
            return false;
        }
        if (std::tie(first->year, first->month, first->day) >
            std::tie(last->year, last->month, last->day)) {
            UsageError(context, "the period ends before it starts");
            return false;
        }
        SetDateRange(criteria, PeriodRange(*first, *last));
    }
    return true;
}

constexpr CliOption kSearchOptions[] = {
    {"--text", nullptr, "TEXT", "the text to find"},
    {"--date", nullptr, "DATE", "only events of that day (YYYY-MM-DD)"},
    {"--from", nullptr, "DATE", "only events from that day on (with --to)"},
    {"--to", nullptr, "DATE", "only events up to that day (with --from)"},
    {"--received", nullptr, nullptr, "received events (with --sent: both, the default)"},
    {"--sent", nullptr, nullptr, "sent events"},
    {"--up", nullptr, nullptr, "search towards the top of the list"},
    {"--start", nullptr, "ROW", "the row the search starts after"},
};

}  // namespace

std::optional<CalendarDate> ParseCalendarDate(const std::string& text) {
    static constexpr int kMonthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') {
        return std::nullopt;
    }
    auto number = [&](std::size_t at, std::size_t length) {
        int value = 0;
        for (std::size_t i = at; i < at + length; ++i) {
            if (text[i] < '0' || text[i] > '9') {
                return -1;
            }
            value = value * 10 + (text[i] - '0');
        }
        return value;
    };
    const int year = number(0, 4);
    const int month = number(5, 2);
    const int day = number(8, 2);
    if (year < 1 || month < 1 || month > 12 || day < 1) {
        return std::nullopt;
    }
    const int monthDays = kMonthDays[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
    if (day > monthDays) {
        return std::nullopt;
    }
    return CalendarDate{year, month, day};
}

namespace {

int RunSearch(CliContext& context, const CliArgs& args) {
    std::int32_t key = 0;
    if (!ParseKeyArgument(context, args.positionals(), "search", key)) {
        return kExitUsage;
    }
    if (!RequireMember(context, key)) {
        return kExitFailure;
    }
    const auto text = args.Value("--text");
    if (!text) {
        return UsageError(context, "search needs the text to find: --text TEXT");
    }
    SearchCriteria criteria;
    criteria.ready = true;
    auto shiftJis = ShiftJisFromUtf8(*text);
    if (!shiftJis) {
        return UsageError(context, "the search text has characters that Shift-JIS cannot hold");
    }
    criteria.searchText = std::move(*shiftJis);
    if (!ApplyDateOptions(context, args, criteria)) {
        return kExitUsage;
    }
    // Neither direction named means both.
    const bool received = args.Has("--received");
    const bool sent = args.Has("--sent");
    criteria.includeReceived = received || !sent;
    criteria.includeSent = sent || !received;

    MessageDatabase& db = *context.db;
    std::int32_t selected = kNoRow;
    if (auto start = args.Value("--start")) {
        const auto row = ParseInt32(*start);
        if (!row || *row < 0 || *row >= db.EventCount(key)) {
            return UsageError(context, "not a row of the list: " + *start);
        }
        selected = *row;
    }
    criteria.position = selected;

    const bool downward = !args.Has("--up");
    HeadlessList list(db, key, selected);
    std::string out;
    while (FindNext(db, criteria, downward, list)) {
        out += std::to_string(criteria.position);
        out += '\n';
        if (!FlushOutput(context, out, false)) {
            return kExitFailure;
        }
    }
    return FlushOutput(context, out, true) ? kExitOk : kExitFailure;
}

}  // namespace

const CliCommand& SearchCommand() {
    static const CliCommand command{
        "search", "KEY --text TEXT", "the rows F3 finds, one a line", RunSearch,
        true,     kSearchOptions};
    return command;
}
