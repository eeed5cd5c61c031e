#pragma once

#include <string>

// What a shell command line did: its exit status (128 + N when signal N ended it) and what
// it wrote on standard output and standard error.
struct ShellResult {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs `command` with /bin/sh in `folder` (for the captured output), as a user at a terminal
// would type it: redirections and pipes are the shell's.
ShellResult RunShell(const std::string& command, const std::string& folder);

// `text` quoted for the shell.
std::string ShellQuote(const std::string& text);
