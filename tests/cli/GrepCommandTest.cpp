#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/CliRunner.h"
#include "support/TempFolder.h"
#include "support/TestHistory.h"

namespace {

constexpr std::int32_t kMarch5 = 952247223;  // 2000-03-05 09:07:03 UTC, a Sunday
constexpr std::int32_t kDay = 86400;

class GrepCommand : public ::testing::Test {
protected:
    GrepCommand() : tz_("UTC0") {
        setenv("XDG_CONFIG_HOME", config_.Path().c_str(), 1);
        h_.Message(5, "Tea at \"five\"\nsharp", kMarch5);
        h_.Message(7, "no", kMarch5 + kDay);
        h_.Message(5, "tea", kMarch5 + 2 * kDay, 1);
        h_.Message(7, "\x82\x94\x82\x85\x82\x81 time", kMarch5 + 3 * kDay);  // ｔｅａ
        h_.Message(7, "tea?", kMarch5 + 4 * kDay);
    }
    CliResult Run(std::vector<std::string> tail) {
        std::vector<std::string> args{"--data", h_.paths.data, "--index", h_.paths.index};
        args.insert(args.end(), tail.begin(), tail.end());
        return RunTool(args);
    }
    std::vector<std::string> Out(std::vector<std::string> tail) {
        CliResult r = Run(std::move(tail));
        EXPECT_EQ(r.status, 0) << r.err;
        return OutputLines(r.out);
    }

    ScopedTimeZone tz_;
    TempFolder config_;
    TestHistory h_;
};

using Lines = std::vector<std::string>;

TEST_F(GrepCommand, EveryHitNewestFirstWithItsMembersKeyAndRow) {
    EXPECT_EQ(Out({"grep", "tea"}), (Lines{"7\t0\t2000/03/09 木\t09:07:03\t7\ttea?",
                                           "5\t0\t2000/03/07 火\t09:07:03\t5\ttea"}));
    // The rows are those `list KEY` shows and those the find dialog's search step finds.
    EXPECT_NE(Out({"list", "7"})[0].find("\ttea?\t"), std::string::npos);
    EXPECT_EQ(Out({"grep", "e", "5"}), (Lines{"5\t0\t2000/03/07 火\t09:07:03\t5\ttea",
                                              "5\t1\t2000/03/05 日\t09:07:03\t5\t"
                                              "Tea at \"five\"\\nsharp"}));
    EXPECT_EQ(Out({"search", "5", "--text", "e"}), (Lines{"0", "1"}));
    EXPECT_TRUE(Out({"grep", "tea", "10"}).empty());
    EXPECT_EQ(Run({"grep", "tea", "4242"}).status, 1);  // no such member
}

TEST_F(GrepCommand, KanaWordsAndExpressionsAndABadExpressionExitsWithTwo) {
    h_.Message(9, "\xCC\xDF\xDA\xBE\xDE\xDD\xC4", kMarch5 + 5 * kDay);  // ﾌﾟﾚｾﾞﾝﾄ
    auto texts = [&](std::vector<std::string> args) {
        Lines out;
        for (const std::string& line : Out(std::move(args))) {
            out.push_back(line.substr(line.rfind('\t') + 1));
        }
        return out;
    };
    EXPECT_EQ(texts({"grep", "ﾌﾟﾚｾ", "-w"}), (Lines{"ﾌﾟﾚｾﾞﾝﾄ"}));
    EXPECT_EQ(texts({"grep", "ぷれぜんと", "-w", "-k"}), (Lines{"ﾌﾟﾚｾﾞﾝﾄ"}));
    EXPECT_TRUE(texts({"grep", "ぷれぜんと", "-w"}).empty());
    EXPECT_EQ(texts({"grep", "--all-words", "sharp　Tea"}), (Lines{"Tea at \"five\"\\nsharp"}));
    EXPECT_EQ(texts({"grep", "--all-words", "-i", "tea -time -\"at \""}),
              (Lines{"tea?", "tea"}));
    EXPECT_EQ(texts({"grep", "-E", "-i", "^t.a$"}), (Lines{"tea"}));
    const CliResult bad = Run({"grep", "-E", "t(ea"});
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.err.find("bad regular expression at character 5"), std::string::npos) << bad.err;
    EXPECT_EQ(Run({"grep", "-E", "-w", "tea"}).status, 2);
}

TEST_F(GrepCommand, SwitchesDirectionsAndPeriodsNarrowOrWidenTheHits) {
    auto keysAndRows = [&](std::vector<std::string> args) {
        Lines out;
        for (const std::string& line : Out(std::move(args))) {
            out.push_back(line.substr(0, line.find('\t', line.find('\t') + 1)));
        }
        return out;
    };
    EXPECT_EQ(keysAndRows({"grep", "tea", "--ignore-case"}), (Lines{"7\t0", "5\t0", "5\t1"}));
    EXPECT_EQ(keysAndRows({"grep", "tea", "--ignore-width"}), (Lines{"7\t0", "7\t1", "5\t0"}));
    EXPECT_EQ(keysAndRows({"grep", "TEA", "--ignore-case", "--ignore-width"}),
              (Lines{"7\t0", "7\t1", "5\t0", "5\t1"}));
    EXPECT_EQ(keysAndRows({"grep", "tea", "--sent"}), (Lines{"5\t0"}));
    EXPECT_EQ(keysAndRows({"grep", "tea", "--received"}), (Lines{"7\t0"}));
    EXPECT_EQ(keysAndRows({"grep", "", "--from", "2000-03-06", "--to", "2000-03-07"}),
              (Lines{"5\t0", "7\t2"}));
    EXPECT_EQ(keysAndRows({"grep", "", "--to", "2000-03-05"}), (Lines{"5\t1"}));
    EXPECT_EQ(Out({"list", "-2", "--from", "2000-03-08"}).size(), 2u);
    EXPECT_EQ(Out({"list", "7", "--from", "2000-03-06", "--to", "2000-03-06"}),
              (Lines{"メッセージ\t2000/03/06 月\t09:07:03\t7\tno\t7"}));
}

TEST_F(GrepCommand, JsonLinesEscapeWhatJsonMust) {
    EXPECT_EQ(Out({"grep", "five", "--format", "jsonl"}),
              (Lines{"{\"key\":5,\"row\":1,\"type\":\"メッセージ\",\"date\":\"2000/03/05 日\","
                     "\"time\":\"09:07:03\",\"direction\":\"受信\",\"name\":\"5\","
                     "\"text\":\"Tea at \\\"five\\\"\\nsharp\"}"}));
}

TEST_F(GrepCommand, BadArgumentsAreUsageErrors) {
    for (const Lines& args :
         {Lines{"grep"}, Lines{"grep", "a", "5", "6"}, Lines{"grep", "a", "x"},
          Lines{"grep", "a", "--format", "xml"}, Lines{"grep", "a", "--from", "2000-02-30"},
          Lines{"grep", "a", "--from", "2000-03-02", "--to", "2000-03-01"},
          Lines{"list", "5", "--to", "tomorrow"}}) {
        EXPECT_EQ(Run(args).status, 2) << args.back();
    }
}

}  // namespace
