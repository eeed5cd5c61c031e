#include "cli/commands/StatsCommand.h"

#include <ostream>

#include "cli/CliArgs.h"
#include "cli/ListCommands.h"
#include "cli/ListFormat.h"
#include "database/EventTypes.h"
#include "database/MessageDatabase.h"
#include "stats/DistributionGraph.h"
#include "stats/MemberStats.h"
#include "stats/StatsTable.h"
#include "text/ShiftJis.h"

namespace {

int RunStats(CliContext& context, const CliArgs& args) {
    std::int32_t key = 0;
    if (!ParseKeyArgument(context, args.positionals(), "stats", key)) {
        return kExitUsage;
    }
    if (!RequireMember(context, key)) {
        return kExitFailure;
    }
    const MemberStats stats = ComputeStats(*context.db, key);
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
    static const CliCommand command{"stats",  "KEY", "counts by type, hour and day of the week",
                                    RunStats, true,  {}};
    return command;
}
