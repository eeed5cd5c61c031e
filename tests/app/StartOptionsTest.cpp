#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/StartOptions.h"

namespace {

struct Started {
    StartOptions options;
    std::string out;
    std::string err;
};

Started Start(std::vector<std::string> args) {
    args.insert(args.begin(), "talvora");
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    std::ostringstream out, err;
    Started started;
    started.options = ParseStartOptions(static_cast<int>(argv.size()), argv.data(), out, err);
    started.out = out.str();
    started.err = err.str();
    return started;
}

TEST(StartOptions, UsageErrorsEndWithTwoAndHelpWithZero) {
    for (const auto& bad : std::vector<std::vector<std::string>>{
             {"--bogus"}, {"--settings"}, {"file.ini"}, {"--help=x"}}) {
        const Started started = Start(bad);
        EXPECT_EQ(started.options.exitStatus, 2) << bad.front();
        EXPECT_NE(started.err.find("talvora --help"), std::string::npos);
    }
    const Started help = Start({"--help"});
    EXPECT_EQ(help.options.exitStatus, 0);
    EXPECT_NE(help.out.find("--settings FILE"), std::string::npos);
    EXPECT_NE(help.out.find("--version"), std::string::npos);
    const Started version = Start({"--version"});
    EXPECT_EQ(version.options.exitStatus, 0);
    EXPECT_EQ(version.out.rfind("talvora ", 0), 0u);
}

TEST(StartOptions, QtOptionsPassAndTheSettingsFileIsTaken) {
    const Started started =
        Start({"-platform", "offscreen", "--settings=/tmp/a b.ini", "-reverse", "-style", "x"});
    EXPECT_FALSE(started.options.exitStatus) << started.err;
    EXPECT_EQ(started.options.settingsPath, "/tmp/a b.ini");
}

}  // namespace
