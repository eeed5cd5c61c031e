#pragma once

#include <string>
#include <vector>

#include "cli/CliApp.h"

// follow KEY [--format jsonl]: prints member KEY's new events as list lines (or as the
// JSON Lines of the export), oldest first, as the messenger appends them, until SIGINT or
// SIGTERM (status 0).
const CliCommand& FollowCommand();
