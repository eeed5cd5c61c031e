#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "historywriter/HistoryWriter.h"
#include "support/TempFolder.h"
#include "support/TestHistory.h"

// The ground of the command-line tests: a fresh folder for a pair the test writes, the
// user's own settings kept out of the way, and times read in UTC.
class CliFixture : public ::testing::Test {
protected:
    explicit CliFixture(std::int32_t owner = 777)
        : paths_(HistoryPathsFor(folder_.Path(), owner)) {
        setenv("XDG_CONFIG_HOME", folder_.File("config").c_str(), 1);
    }
    ~CliFixture() override { unsetenv("XDG_CONFIG_HOME"); }

    // A writer on the folder's pair, made new and empty.
    HistoryWriter NewHistory() { return CreateHistoryWriter(paths_); }
    // The options that name the pair, then `tail`.
    std::vector<std::string> With(std::vector<std::string> tail) const {
        std::vector<std::string> args = {"--data", paths_.data, "--index", paths_.index};
        args.insert(args.end(), tail.begin(), tail.end());
        return args;
    }

    ScopedTimeZone utc_{"UTC0"};  // before everything that reads a time
    TempFolder folder_;
    HistoryPaths paths_;
};
