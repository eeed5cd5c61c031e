#pragma once

#include <iosfwd>
#include <string>
#include <vector>

class MessageDatabase;

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;  // the database (or a file) could not be opened or read
inline constexpr int kExitUsage = 2;

// What a command is given: the opened database (when it needs one) and the two streams.
struct CliContext {
    MessageDatabase* db = nullptr;
    std::ostream& out;
    std::ostream& err;
};

// A command's runner gets its own arguments (everything after the command word).
using CliCommandFn = int (*)(CliContext& context, const std::vector<std::string>& args);

struct CliCommand {
    const char* name;
    const char* usage;  // one line, shown by --help
    CliCommandFn run;
    bool needsDatabase;
};

// Writes "talvora-cli: <message>" on the error stream and returns kExitUsage.
int UsageError(CliContext& context, const std::string& message);

int RunCli(int argc, char** argv, std::ostream& out, std::ostream& err);
