#pragma once

#include <string>
#include <vector>

#include "cli/CliApp.h"

// follow KEY: prints member KEY's new events as list lines, oldest first, as the messenger
// appends them, until SIGINT or SIGTERM (status 0).
const CliCommand& FollowCommand();
