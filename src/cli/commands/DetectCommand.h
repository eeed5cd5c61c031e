#pragma once

#include <string>
#include <vector>

#include "cli/CliApp.h"

// `detect`: where the messenger keeps its history, from its own settings.
int RunDetectCommand(CliContext& context, const std::vector<std::string>& args);
