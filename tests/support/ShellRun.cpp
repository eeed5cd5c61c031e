#include "support/ShellRun.h"

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>

#include "support/TempFolder.h"

ShellResult RunShell(const std::string& command, const std::string& folder) {
    const std::string out = folder + "/.shell-out";
    const std::string err = folder + "/.shell-err";
    const std::string line = "{ " + command + "\n} >" + ShellQuote(out) + " 2>" + ShellQuote(err);
    const int raw = std::system(line.c_str());
    ShellResult result;
    if (WIFEXITED(raw)) {
        result.status = WEXITSTATUS(raw);
    }
    result.out = ReadFileBytes(out);
    result.err = ReadFileBytes(err);
    std::remove(out.c_str());
    std::remove(err.c_str());
    return result;
}

std::string ShellQuote(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}
