#include <gtest/gtest.h>

#include "cli/CliArgs.h"

namespace {

constexpr CliOption kOptions[] = {
    {"--output", "-o", "FILE", "where"},
    {"--sent", nullptr, nullptr, "sent"},
};

std::optional<CliArgs> Parse(std::vector<std::string> tokens, std::string& error) {
    return CliArgs::Parse(tokens, kOptions, error);
}

TEST(CliArgs, ValuesFlagsAndPositionalsInAnyOrder) {
    std::string error;
    auto args = Parse({"-2", "--output=a=b", "--sent", "x", "-o", "c", "--", "--sent", "-"}, error);
    ASSERT_TRUE(args) << error;
    EXPECT_EQ(args->Value("--output"), "c");  // the last one wins; -o is its alias
    EXPECT_TRUE(args->Has("--sent"));
    EXPECT_EQ(args->positionals(), (std::vector<std::string>{"-2", "x", "--sent", "-"}));

    args = Parse({"--output=", "--output", "--sent"}, error);  // a value may look like an option
    ASSERT_TRUE(args) << error;
    EXPECT_EQ(args->Value("--output"), "--sent");
    EXPECT_FALSE(args->Has("--sent"));
}

TEST(CliArgs, BadTokensSayWhat) {
    std::string error;
    EXPECT_FALSE(Parse({"--bogus=1"}, error));
    EXPECT_EQ(error, "unknown option --bogus");
    EXPECT_FALSE(Parse({"x", "-o"}, error));
    EXPECT_EQ(error, "option -o needs a value");
    EXPECT_FALSE(Parse({"--sent=yes"}, error));
    EXPECT_EQ(error, "option --sent takes no value");
    EXPECT_FALSE(Parse({"-o=x"}, error));  // only long options take "=value"
}

TEST(CliArgs, ReadingStopsAtTheCommandWord) {
    CliArgs args;
    std::size_t next = 0;
    std::string error;
    const std::vector<std::string> tokens{"--sent", "list", "--output", "f", "7"};
    ASSERT_TRUE(args.Read(tokens, next, kOptions, true, error));
    EXPECT_EQ(next, 1u);
    next = 2;
    ASSERT_TRUE(args.Read(tokens, next, kOptions, false, error));
    EXPECT_TRUE(args.Has("--sent"));
    EXPECT_EQ(args.Value("--output"), "f");
    EXPECT_EQ(args.positionals(), std::vector<std::string>{"7"});
}

}  // namespace
