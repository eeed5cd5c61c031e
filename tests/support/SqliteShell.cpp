#include "support/SqliteShell.h"

#include <gtest/gtest.h>

#include "support/ShellRun.h"

std::string SqliteShell(const std::string& file, const std::string& sql) {
    const ShellResult r =
        RunShell("sqlite3 -batch -bail -readonly -separator \"$(printf '\\t')\" " +
                     ShellQuote(file) + " " + ShellQuote(sql),
                 file.rfind('/') == std::string::npos ? "." : file.substr(0, file.rfind('/')));
    EXPECT_EQ(r.status, 0) << sql << "\n" << r.err;
    return r.status == 0 ? r.out : std::string();
}
