#pragma once

#include "makedb/MakeDbOptions.h"

#include <iosfwd>

// Exit codes of talvora-makedb.
inline constexpr int kMakeDbOk = 0;
inline constexpr int kMakeDbIoError = 1;
inline constexpr int kMakeDbUsageError = 2;

// Does what the options ask; messages go to `err`, the lines of --append to `out`.
int RunMakeDb(const MakeDbOptions& options, std::ostream& out, std::ostream& err);

// The whole program: parses `args` (without the program name) and runs.
int MakeDbMain(const std::vector<std::string_view>& args, std::ostream& out, std::ostream& err);
