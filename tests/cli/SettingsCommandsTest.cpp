#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "cli/CliFixture.h"
#include "cli/CliRunner.h"
#include "historywriter/HistoryWriter.h"
#include "support/TempFolder.h"

namespace {

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

class SettingsCommands : public CliFixture {
protected:
    SettingsCommands() : CliFixture(4711) {}
    void SetUp() override {
        HistoryWriter writer = NewHistory();
        WriterRecord r;
        r.uin = 5;
        r.text = "hi";
        writer.AppendEvent(5, r);
        writer.AppendEvent(7, r);
    }
};

TEST_F(SettingsCommands, StoredNamesAndLocationAreTakenFromTheSettingsFile) {
    const std::string ini = folder_.File("t.ini");
    WriteText(ini, "[Log File]\nLocation=0\nDB Path=" + folder_.Path() +
                       "\nUIN=4711\n[Member Name]\n5=友達\n7=\n1=ignored-by-nobody\n");
    CliResult r = RunTool({"--settings", ini, "members"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("5\t友達\t1\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("7\t7\t1\n"), std::string::npos) << r.out;  // empty: the default name
    EXPECT_NE(r.out.find("1\tignored-by-nobody\t0\n"), std::string::npos) << r.out;

    // Explicit database options win over the file's location; the names still apply.
    CliResult explicitPair =
        RunTool({"--data", paths_.data, "--index", paths_.index, "--settings", ini, "members"});
    EXPECT_EQ(explicitPair.out, r.out);

    WriteText(ini, "[Log File]\nLocation=1\nMsgDat File=" + paths_.data +
                       "\nMsgIdx File=" + paths_.index + "\n");
    EXPECT_EQ(RunTool({"--settings", ini, "list", "5"}).status, 0);
}

// The zone stored with the location shows the times by its rules; --time-zone overrides it
// and a name that is no zone is refused. The record's stamp is 0: 1970-01-01 00:00 UTC.
TEST_F(SettingsCommands, TheStoredOrGivenTimeZoneShowsTheTimes) {
    const std::string ini = folder_.File("z.ini");
    WriteText(ini, "[Log File]\nLocation=0\nDB Path=" + folder_.Path() +
                       "\nUIN=4711\nTime Zone=Asia/Tokyo\n");
    auto timeOf = [&](std::vector<std::string> args) {
        CliResult r = RunTool(std::move(args));
        EXPECT_EQ(r.status, 0) << r.err;
        const std::vector<std::string> lines = OutputLines(r.out);
        if (lines.empty()) {
            return std::string();
        }
        const std::size_t date = lines[0].find('\t');
        return lines[0].substr(0, lines[0].find('\t', lines[0].find('\t', date + 1) + 1));
    };
    // Japan's standard offset is added to Japan's local time: 09:00 + 9 hours.
    EXPECT_EQ(timeOf({"--settings", ini, "list", "5"}), "メッセージ\t1970/01/01 木\t18:00:00");
    EXPECT_EQ(timeOf({"--settings", ini, "--time-zone", "UTC", "list", "5"}),
              "メッセージ\t1970/01/01 木\t00:00:00");
    for (const char* zone : {"Mars/Base", "../../etc/passwd", "/etc/localtime", ""}) {
        EXPECT_EQ(RunTool({"--settings", ini, "--time-zone", zone, "list", "5"}).status, 2) << zone;
    }
}

TEST_F(SettingsCommands, NoLocationIsAFailureThatSaysSo) {
    const std::string ini = folder_.File("t.ini");
    for (const char* location : {"-1", "7"}) {
        WriteText(ini, std::string("[Log File]\nLocation=") + location + "\n");
        CliResult r = RunTool({"--settings", ini, "members"});
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find("Location " + std::string(location)), std::string::npos) << r.err;
    }
    CliResult none = RunTool({"members"});  // the default file does not exist
    EXPECT_EQ(none.status, 1);
    EXPECT_NE(none.err.find("does not exist, so it names no history"), std::string::npos)
        << none.err;
}

TEST_F(SettingsCommands, UnreadableSettingsFileIsReportedAndSkipped) {
    CliResult r = RunTool(
        {"--settings", folder_.Path(), "--data", paths_.data, "--index", paths_.index, "members"});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.err.find("cannot be read"), std::string::npos) << r.err;
}

TEST_F(SettingsCommands, DetectReadsTheWinePrefix) {
    const std::string prefix = folder_.File("wine");
    ASSERT_EQ(
        system(("mkdir -p '" + prefix + "/drive_c/Velmu/DB' '" + prefix + "/dosdevices'").c_str()),
        0);
    ASSERT_EQ(system(("ln -s ../drive_c '" + prefix + "/dosdevices/c:'").c_str()), 0);
    WriteText(
        prefix + "/user.reg",
        "WINE REGISTRY Version 2\n;; All keys relative to \\\\User\\\\S-1-5-21\n\n"
        "[Software\\\\Harlund\\\\Velmu\\\\DefaultPrefs] 1700000000\n"
        "#time=1d9a1b2c3d4e5f6\n\"DataBase\"=\"C:\\\\Velmu\\\\DB\"\n\n"
        "[Software\\\\Harlund\\\\Velmu\\\\Owners] 1700000000\n\"LastOwner\"=dword:00003039\n");
    setenv("WINEPREFIX", prefix.c_str(), 1);
    CliResult r = RunTool({"detect"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(OutputLines(r.out),
              (std::vector<std::string>{"folder\t" + prefix + "/drive_c/Velmu/DB", "uin\t12345"}))
        << r.out;

    WriteText(prefix + "/user.reg",
              "WINE REGISTRY Version 2\n\n[Software\\\\Harlund\\\\Velmu\\\\Owners] 1\n"
              "\"LastOwner\"=\"not a number\"\n");
    CliResult failed = RunTool({"detect"});
    EXPECT_EQ(failed.status, 1);
    EXPECT_FALSE(failed.err.empty());
    unsetenv("WINEPREFIX");
}

}  // namespace
