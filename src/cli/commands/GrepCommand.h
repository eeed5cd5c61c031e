#pragma once

#include "cli/CliApp.h"

// grep TEXT [KEY]: every event whose display text holds TEXT, newest first, as
// "key, row, date, time, name, text" of the member it belongs to (the row as `list KEY`
// numbers it), in text or JSON lines.
const CliCommand& GrepCommand();
