#pragma once

#include <functional>
#include <iosfwd>
#include <span>
#include <string>
#include <vector>

#include "cli/CliOption.h"

class CliArgs;
class MessageDatabase;
class SettingsFile;
struct ListColors;
struct LocationSettings;

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;  // the database (or a file) could not be opened or read
inline constexpr int kExitUsage = 2;

// What a command is given: the opened database (when it needs one) and the two streams.
struct CliContext {
    MessageDatabase* db = nullptr;
    std::ostream& out;
    std::ostream& err;
    const ListColors* colors = nullptr;  // the list colours of the settings, for HTML
    std::string settingsPath = {};       // the settings file in use: never an export's target
    // Where the history of the command line is, and the settings that name its members.
    const LocationSettings* location = nullptr;
    SettingsFile* settings = nullptr;
};

// A command's runner gets the parsed command line: its own options (and the global ones),
// and the positionals after the command word.
using CliCommandFn = int (*)(CliContext& context, const CliArgs& args);

// A command of the tool. Its options are parsed (and listed by `COMMAND --help`) from the
// table, so a new option needs only a row there and a look-up in the runner.
struct CliCommand {
    const char* name;
    const char* arguments;  // what follows the name on the usage line: "KEY"
    const char* summary;    // one line, shown by --help
    CliCommandFn run;
    bool needsDatabase;
    std::span<const CliOption> options;
};

// Writes "talvora-cli: <message>" on the error stream and returns kExitUsage.
int UsageError(CliContext& context, const std::string& message);

int RunCli(int argc, char** argv, std::ostream& out, std::ostream& err);
