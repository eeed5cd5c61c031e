#pragma once

#include <span>

#include "cli/CliApp.h"

// Every command of the tool, in the order --help lists them.
std::span<const CliCommand> CliCommands();
