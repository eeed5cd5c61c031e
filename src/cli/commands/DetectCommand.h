#pragma once

#include <string>
#include <vector>

#include "cli/CliApp.h"

// `detect`: where the messenger keeps its history, from its own settings.
const CliCommand& DetectCommand();
