#include "cli/Commands.h"

#include "cli/ListCommands.h"

namespace {

const CliCommand kCommands[] = {
    {"members", "members                 key, display name and event count of every member",
     RunMembersCommand, true},
    {"list", "list KEY                the event list of member KEY, newest first", RunListCommand,
     true},
};

}  // namespace

std::span<const CliCommand> CliCommands() {
    return kCommands;
}
