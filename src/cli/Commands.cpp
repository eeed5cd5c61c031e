#include "cli/Commands.h"

#include "cli/ListCommands.h"
#include "cli/commands/DetectCommand.h"
#include "cli/commands/ExportCommand.h"
#include "cli/commands/FollowCommand.h"
#include "cli/commands/SearchCommand.h"
#include "cli/commands/StatsCommand.h"

namespace {

const CliCommand kCommands[] = {
    {"members", "members                 key, display name and event count of every member",
     RunMembersCommand, true},
    {"list", "list KEY                the event list of member KEY, newest first", RunListCommand,
     true},
    {"detect", "detect                  the history folder and owner UIN the messenger uses",
     RunDetectCommand, false},
    {"export",
     "export KEY -o FILE      member KEY's rows as text [--rows 0,2-4] [--encoding utf-8]",
     RunExportCommand, true},
    {"search",
     "search KEY --text TEXT  rows F3 finds [--date D | --from D --to D] [--received] [--sent] "
     "[--up] [--start ROW]",
     RunSearchCommand, true},
    {"stats", "stats KEY               counts by type, hour and day of the week", RunStatsCommand,
     true},
    {"follow", "follow KEY              member KEY's new events as they arrive, until interrupted",
     RunFollowCommand, true},
};

}  // namespace

std::span<const CliCommand> CliCommands() {
    return kCommands;
}
