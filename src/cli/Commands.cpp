#include "cli/Commands.h"

#include "cli/ListCommands.h"
#include "cli/commands/DetectCommand.h"
#include "cli/commands/ExportCommand.h"
#include "cli/commands/FollowCommand.h"
#include "cli/commands/GrepCommand.h"
#include "cli/commands/SearchCommand.h"
#include "cli/commands/StatsCommand.h"

namespace {

constexpr CliOption kGlobalOptions[] = {
    {"--folder", nullptr, "DIR", "the history folder (with --uin: DIR/<N>msg.dat, .idx)"},
    {"--uin", nullptr, "N", "the owner's UIN, the N in the file names"},
    {"--data", nullptr, "FILE", "the data file itself (with --index)"},
    {"--index", nullptr, "FILE", "the index file itself (with --data)"},
    {"--recent", nullptr, "N", "the history opened N-th last in the window (1 to 5)"},
    {"--settings", nullptr, "FILE", "the settings file to use"},
    {"--time-zone", nullptr, "ZONE",
     "show times by this IANA zone's rules (Asia/Tokyo; default: the settings' or the machine's)"},
    {"--help", "-h", nullptr, "this text, or with a command that command's"},
    {"--version", nullptr, nullptr, "the version number"},
};

}  // namespace

std::span<const CliCommand* const> CliCommands() {
    static const CliCommand* const commands[] = {
        &MembersCommand(), &ListCommand(), &DetectCommand(), &ExportCommand(),
        &SearchCommand(),  &GrepCommand(), &StatsCommand(),  &FollowCommand(),
    };
    return commands;
}

std::span<const CliOption> GlobalCliOptions() {
    return kGlobalOptions;
}
