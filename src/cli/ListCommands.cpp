#include "cli/ListCommands.h"

#include <ostream>

#include "cli/CliArgs.h"
#include "cli/ListFormat.h"
#include "cli/ListLineWriter.h"
#include "cli/commands/PeriodOptions.h"
#include "database/MessageDatabase.h"
#include "text/ShiftJis.h"

bool FlushOutput(CliContext& context, std::string& buffer, bool force) {
    if (force || buffer.size() >= (256u << 10)) {
        context.out.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        buffer.clear();
        if (force) {
            context.out.flush();
        }
    }
    return static_cast<bool>(context.out);
}

bool ParseKeyArgument(CliContext& context, const std::vector<std::string>& positionals,
                      const char* command, std::int32_t& key) {
    if (positionals.size() != 1) {
        UsageError(context, std::string(command) + " takes one member KEY");
        return false;
    }
    auto parsed = ParseInt32(positionals[0]);
    if (!parsed) {
        UsageError(context, "not a member key: " + positionals[0]);
        return false;
    }
    key = *parsed;
    return true;
}

bool RequireMember(CliContext& context, std::int32_t key) {
    if (key == ALL_MEMBERS || context.db->members().count(key) != 0) {
        return true;
    }
    context.err << "talvora-cli: no member " << key
                << " in this history ('talvora-cli members' lists them)\n";
    return false;
}

namespace {

int RunMembers(CliContext& context, const CliArgs& args) {
    if (!args.positionals().empty()) {
        return UsageError(context, "members takes no arguments");
    }
    MessageDatabase& db = *context.db;
    db.CountMembers();  // every count in one sweep, no member's list built
    std::string out;
    // The walk adds nothing, but EventCount of a walked key must not disturb it either:
    // collect first, then look up.
    std::vector<std::pair<std::int32_t, std::string>> members;
    if (db.FirstMember()) {
        do {
            members.emplace_back(db.CurrentKey(), db.CurrentName());
        } while (db.NextMember());
    }
    for (const auto& [key, name] : members) {
        out += std::to_string(key);
        out += '\t';
        AppendEscapedCell(name, out);
        out += '\t';
        out += std::to_string(db.EventCount(key));
        out += '\n';
        if (!FlushOutput(context, out, false)) {
            return kExitFailure;
        }
    }
    return FlushOutput(context, out, true) ? kExitOk : kExitFailure;
}

int RunList(CliContext& context, const CliArgs& args) {
    std::int32_t key = 0;
    if (!ParseKeyArgument(context, args.positionals(), "list", key)) {
        return kExitUsage;
    }
    if (!RequireMember(context, key)) {
        return kExitFailure;
    }
    ExportPeriod period;
    if (!ReadPeriodOptions(context, args, period)) {
        return kExitUsage;
    }
    MessageDatabase& db = *context.db;
    const std::int32_t rows = db.EventCount(key);
    EventRecord record;
    ListLineWriter writer;
    std::string out;
    for (std::int32_t row = 0; row < rows; ++row) {
        const bool ok = db.ReadEvent(key, RowToIndex(rows, row), record);
        if (!period.Holds(record, ok)) {
            continue;
        }
        writer.Append(db, record, ok, out);
        out += '\n';
        if (!FlushOutput(context, out, false)) {
            return kExitFailure;
        }
    }
    return FlushOutput(context, out, true) ? kExitOk : kExitFailure;
}

}  // namespace

const CliCommand& MembersCommand() {
    static const CliCommand command{
        "members", "", "key, display name and event count of every member", RunMembers, true, {}};
    return command;
}

const CliCommand& ListCommand() {
    static const CliCommand command{"list",  "KEY", "the event list of member KEY, newest first",
                                    RunList, true,  kPeriodOptions};
    return command;
}
