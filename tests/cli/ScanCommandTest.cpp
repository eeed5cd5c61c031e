#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "CliFixture.h"
#include "CliRunner.h"
#include "support/ScanTree.h"

namespace {

constexpr std::int32_t kDay = 86400;
constexpr std::int32_t kStart = 1000000000;  // 2001-09-09 UTC

using ScanCommand = CliFixture;

TEST_F(ScanCommand, PrintsPairsNewestFirstWithCopiesUnderTheirNewest) {
    const std::string top = folder_.File("disk");
    WriteScanHistory(top + "/old", 12345, {kStart, kStart + kDay});
    WriteScanHistory(top + "/new", 12345, {kStart, kStart + kDay, kStart + 2 * kDay}, true);
    WriteScanHistory(top + "/other", 678, {kStart + kDay});
    CliResult r = RunTool({"detect", "--scan", top, folder_.File("nothing-here")});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(OutputLines(r.out), (std::vector<std::string>{
                                      "history\t" + top + "/new\t12345\t3\t2001-09-09\t2001-09-11",
                                      "copy-of\t" + top + "/old",
                                      "history\t" + top + "/other\t678\t1\t2001-09-10\t2001-09-10",
                                  }));
    EXPECT_NE(r.err.find("skipped " + folder_.File("nothing-here")), std::string::npos) << r.err;

    EXPECT_EQ(RunTool({"detect", "--scan"}).status, kExitUsage);
    EXPECT_EQ(RunTool({"detect", "--scan", top, "--depth", "-1"}).status, kExitUsage);
    // Too shallow to reach the pairs: nothing found is no failure.
    CliResult shallow = RunTool({"detect", "--scan", top, "--depth", "0"});
    EXPECT_EQ(shallow.status, 0);
    EXPECT_EQ(shallow.out, "");
}

TEST_F(ScanCommand, RecentNamesAnEntryOfTheWindowsList) {
    WriteScanHistory(folder_.File("one"), 11, {kStart});
    WriteScanHistory(folder_.File("two"), 22, {kStart, kStart + 1});
    const std::string ini = folder_.File("Talvora.ini");
    std::ofstream(ini) << "[Log File]\nLocation=0\nDB Path=" << folder_.File("one")
                       << "\nUIN=11\n[Recent Histories]\n1=folder\t\t11\t" << folder_.File("one")
                       << "\n2=files\tUTC\t" << folder_.File("two/22msg.idx") << '\t'
                       << folder_.File("two/22msg.dat") << '\n';
    CliResult second = RunTool({"--settings", ini, "--recent", "2", "members"});
    ASSERT_EQ(second.status, 0) << second.err;
    EXPECT_EQ(OutputLines(second.out).back(), "4242\t4242\t2");
    CliResult first = RunTool({"--settings", ini, "--recent", "1", "members"});
    EXPECT_EQ(OutputLines(first.out).back(), "4242\t4242\t1");

    EXPECT_EQ(RunTool({"--settings", ini, "--recent", "3", "members"}).status, kExitFailure);
    EXPECT_EQ(RunTool({"--settings", ini, "--recent", "6", "members"}).status, kExitUsage);
    EXPECT_EQ(RunTool({"--recent", "1", "--folder", "x", "--uin", "1", "members"}).status,
              kExitUsage);
}

}  // namespace
