#pragma once

#include <string>
#include <vector>

#include "cli/CliApp.h"

// stats KEY: the general page's table, then the hour and weekday distributions.
const CliCommand& StatsCommand();
