#pragma once

#include <span>

#include "cli/CliApp.h"

// Every command of the tool, in the order --help lists them.
std::span<const CliCommand* const> CliCommands();

// The options every command takes, before or after the command word.
std::span<const CliOption> GlobalCliOptions();
