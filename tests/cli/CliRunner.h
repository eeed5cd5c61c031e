#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "cli/CliApp.h"

// Runs talvora-cli in-process with `args` (without the program name).
struct CliResult {
    int status;
    std::string out;
    std::string err;
};

inline CliResult RunTool(std::vector<std::string> args) {
    args.insert(args.begin(), "talvora-cli");
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    std::ostringstream out, err;
    const int status = RunCli(static_cast<int>(argv.size()), argv.data(), out, err);
    return {status, out.str(), err.str()};
}

inline std::vector<std::string> OutputLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}
