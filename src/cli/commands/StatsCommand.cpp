#include "cli/commands/StatsCommand.h"

#include <cstdio>
#include <ostream>

#include "cli/CliArgs.h"
#include "cli/ListCommands.h"
#include "cli/ListFormat.h"
#include "database/EventTypes.h"
#include "database/MessageDatabase.h"
#include "stats/DistributionGraph.h"
#include "stats/MemberStats.h"
#include "stats/MonthTimeline.h"
#include "stats/StatsTable.h"
#include "text/ShiftJis.h"

namespace {

constexpr CliOption kStatsOptions[] = {
    {"--by", nullptr, "PERIOD", "month or year: sent and received per period instead"},
};

std::string Digits(std::int32_t value, int width) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*d", width, static_cast<int>(value));
    return text;
}

std::string CountColumns(const MonthCount& count) {
    return '\t' + std::to_string(count.sent) + '\t' + std::to_string(count.received) + '\n';
}

// Every month (or year) from the first event's to the last one's, empty ones included.
std::string PeriodLines(const MemberStats& stats, bool byYear) {
    const MonthTimeline timeline(stats.byMonth);
    std::string out;
    if (byYear) {
        for (const auto& [year, count] : timeline.Years()) {
            out += "year\t" + Digits(year, 4) + CountColumns(count);
        }
        return out;
    }
    for (std::int32_t bar = 0; bar < timeline.barCount(); ++bar) {
        const CalendarMonth month = timeline.MonthOf(bar);
        out += "month\t" + Digits(month.year, 4) + '-' + Digits(month.month, 2) +
               CountColumns(timeline.CountAt(bar));
    }
    return out;
}

int RunStats(CliContext& context, const CliArgs& args) {
    std::int32_t key = 0;
    if (!ParseKeyArgument(context, args.positionals(), "stats", key)) {
        return kExitUsage;
    }
    const std::optional<std::string> by = args.Value("--by");
    if (by && *by != "month" && *by != "year") {
        return UsageError(context, "unknown stats period " + *by + " (month or year)");
    }
    if (!RequireMember(context, key)) {
        return kExitFailure;
    }
    const MemberStats stats = ComputeStats(*context.db, key);
    if (by) {
        std::string lines = PeriodLines(stats, *by == "year");
        FlushOutput(context, lines, true);
        return kExitOk;
    }
    std::string out;
    for (const StatsRow& row : StatsTableRows(stats)) {
        AppendEscapedCell(row.typeName, out);
        out += '\t' + std::to_string(row.sent) + '\t' + std::to_string(row.received) + '\t' +
               std::to_string(row.total) + '\n';
    }
    for (std::int32_t hour = 0; hour < kHourBars; ++hour) {
        out += "hour\t" + std::to_string(hour) + '\t' +
               std::to_string(CountOf(stats.byHour, hour)) + '\n';
    }
    for (std::int32_t day = 0; day < kWeekdayBars; ++day) {
        out += "weekday\t";
        AppendUtf8FromShiftJis(WeekdayName(day), out);
        out += '\t' + std::to_string(CountOf(stats.byWeekday, day)) + '\n';
    }
    FlushOutput(context, out, true);
    return kExitOk;
}

}  // namespace

const CliCommand& StatsCommand() {
    static const CliCommand command{
        "stats",  "KEY", "counts by type, hour and day of the week (or by month or year)",
        RunStats, true,  kStatsOptions};
    return command;
}
