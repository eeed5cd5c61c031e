#include "cli/Commands.h"

#include "cli/ListCommands.h"
#include "cli/commands/DetectCommand.h"

namespace {

const CliCommand kCommands[] = {
    {"members", "members                 key, display name and event count of every member",
     RunMembersCommand, true},
    {"list", "list KEY                the event list of member KEY, newest first", RunListCommand,
     true},
    {"detect", "detect                  the history folder and owner UIN the messenger uses",
     RunDetectCommand, false},
};

}  // namespace

std::span<const CliCommand> CliCommands() {
    return kCommands;
}
