#pragma once

#include <string>
#include <vector>

#include "cli/CliApp.h"

const CliCommand& MembersCommand();
const CliCommand& ListCommand();

// Parses the single KEY positional of a command; prints the usage error itself.
bool ParseKeyArgument(CliContext& context, const std::vector<std::string>& positionals,
                      const char* command, std::int32_t& key);

// Whether KEY names a member of the open history (all members always do); when not, says so
// on the error stream. A member is looked up without being added.
bool RequireMember(CliContext& context, std::int32_t key);

// Writes `buffer` to the output when it has grown past a few hundred kilobytes (or always
// with `force`), so that long listings stream without holding everything. False once the
// output failed: the command stops and ends with kExitFailure (the program reports why).
bool FlushOutput(CliContext& context, std::string& buffer, bool force);
