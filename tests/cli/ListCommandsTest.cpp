#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/CliFixture.h"
#include "cli/CliRunner.h"
#include "cli/ListFormat.h"
#include "cli/ListLineWriter.h"
#include "database/EventCells.h"
#include "database/LocalTime.h"
#include "database/MessageDatabase.h"
#include "historywriter/HistoryWriter.h"
#include "support/ClockChangeDays.h"
#include "support/TempFolder.h"
#include "support/TestHistory.h"

namespace {

class ListCommands : public CliFixture {
protected:
    void SetUp() override {
        HistoryWriter writer = NewHistory();
        WriterRecord first;
        first.uin = 12345;
        first.text = "\x93\xFA\x96{\\tab\there\r\nline";  // 日本\tab<TAB>here<CR><LF>line
        first.stamp = 952247223;                          // 2000-03-05 09:07:03, a Sunday
        writer.AppendEvent(12345, first);
        WriterRecord second;
        second.type = 7;
        second.uin = 10;
        writer.AppendEvent(10, second);
        WriterRecord third;
        third.uin = 10;
        third.direction = 1;
        third.text = "bad \x81";  // a lead byte with nothing after it
        third.stamp = 952247223 + 86400;
        writer.AppendEvent(10, third);
    }
    std::vector<std::string> Db() const { return With({}); }
};

// A calendar day runs from local midnight to the next: 23 hours on the day the clocks go
// forward, 25 on the day they go back (one event every ten minutes).
TEST_F(ListCommands, CalendarDaysWhereTheClocksChangeInTwoZones) {
    for (const ClockChangeDay& c : kClockChangeDays) {
        const ScopedTimeZone zone(c.zone);
        NewHistory().AppendEvents(EveryTenMinutesAround(c.day, 5));
        CliResult r = RunTool(With({"list", "5", "--from", c.day, "--to", c.day}));
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(OutputLines(r.out).size(), c.tenMinuteEvents) << c.zone << ' ' << c.day;
    }
}

// CSV and JSON times carry the offset the zone has at the time they show.
TEST_F(ListCommands, ExportedTimesCarryTheirZonesOffsetOnEitherSideOfAChange) {
    struct Case {
        const char* zone;
        std::int32_t stamp;
        const char* shown;
    };
    const Case cases[] = {{"America/New_York", 1772949600, "2026-03-07T20:00:00-05:00"},
                          {"America/New_York", 1772971200, "2026-03-08T03:00:00-04:00"},
                          {"Europe/Berlin", 1774699200, "2026-03-28T14:00:00+01:00"},
                          {"Europe/Berlin", 1774785600, "2026-03-29T15:00:00+02:00"}};
    for (const Case& c : cases) {
        const ScopedTimeZone zone(c.zone);
        HistoryWriter writer = NewHistory();
        WriterRecord record;
        record.uin = 5;
        record.stamp = c.stamp;
        writer.AppendEvent(5, record);
        for (const char* format : {"csv", "jsonl"}) {
            CliResult r = RunTool(With({"export", "5", "--format", format, "-o", "-"}));
            ASSERT_EQ(r.status, 0) << r.err;
            EXPECT_NE(r.out.find(c.shown), std::string::npos) << c.zone << ' ' << r.out;
        }
    }
}

TEST_F(ListCommands, MembersListsTheWalkWithNamesAndCounts) {
    CliResult r = RunTool(With({"members"}));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(OutputLines(r.out), (std::vector<std::string>{"-1\t-1\t0", "0\t0\t0", "1\t-\t0",
                                                            "10\t-\t2", "12345\t12345\t1"}));
}

TEST_F(ListCommands, ListShowsTheSixCellsNewestFirst) {
    CliResult r = RunTool(With({"list", "-2"}));
    ASSERT_EQ(r.status, 0) << r.err;
    const auto lines = OutputLines(r.out);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "メッセージ\t2000/03/06 月\t09:07:03\t-\tbad \xEF\xBF\xBD\t-");
    // An undecodable record: its type and text, four empty cells.
    EXPECT_EQ(lines[1], "タイプ 7\t\t\t\tこのイベントはサポートされていないか壊れています\t");
    EXPECT_EQ(lines[2],
              "メッセージ\t2000/03/05 日\t09:07:03\t12345\t日本\\\\tab\\there\\r\\nline\t12345");

    CliResult member = RunTool(With({"list", "10"}));
    EXPECT_EQ(OutputLines(member.out).size(), 2u);
    CliResult nobody = RunTool(With({"list", "4242"}));
    EXPECT_EQ(nobody.status, 1);
    EXPECT_EQ(nobody.out, "");
    EXPECT_NE(nobody.err.find("no member 4242"), std::string::npos);
}

TEST_F(ListCommands, FolderAndUinNameTheSamePair) {
    EXPECT_EQ(RunTool({"--folder", folder_.Path(), "--uin", "777", "list", "-2"}).out,
              RunTool(With({"list", "-2"})).out);
}

TEST_F(ListCommands, UsageErrorsExitWithTwo) {
    EXPECT_EQ(RunTool({}).status, 2);
    EXPECT_EQ(RunTool(With({"frobnicate"})).status, 2);
    EXPECT_EQ(RunTool(With({"list"})).status, 2);
    EXPECT_EQ(RunTool(With({"list", "x"})).status, 2);
    EXPECT_EQ(RunTool(With({"list", "1", "2"})).status, 2);
    EXPECT_EQ(RunTool(With({"list", "99999999999"})).status, 2);
    EXPECT_EQ(RunTool(With({"list", "--bogus", "1"})).status, 2);
    EXPECT_EQ(RunTool({"--folder", folder_.Path(), "list", "1"}).status, 2);
    EXPECT_EQ(RunTool({"--uin", "x", "--folder", "f", "list", "1"}).status, 2);
    EXPECT_EQ(RunTool({"--bogus"}).status, 2);
    EXPECT_EQ(RunTool({"list", "1", "--uin"}).status, 2);
    CliResult help = RunTool({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("list KEY"), std::string::npos);
    EXPECT_NE(help.out.find("--version"), std::string::npos);
}

TEST_F(ListCommands, GlobalOptionsStandBeforeOrAfterTheCommand) {
    const std::string expected = RunTool(With({"list", "-2"})).out;
    ASSERT_FALSE(expected.empty());
    CliResult after = RunTool({"list", "--data=" + paths_.data, "-2", "--index", paths_.index});
    EXPECT_EQ(after.status, 0) << after.err;
    EXPECT_EQ(after.out, expected);

    // A command's help needs no history and lists its own options and the global ones.
    CliResult help = RunTool({"export", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("-o, --output FILE"), std::string::npos) << help.out;
    EXPECT_NE(help.out.find("--settings FILE"), std::string::npos) << help.out;
    CliResult version = RunTool({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("talvora-cli ", 0), 0u) << version.out;
}

TEST_F(ListCommands, UnopenableHistoryExitsWithOneNamingTheFile) {
    CliResult r = RunTool({"--folder", folder_.Path(), "--uin", "5", "members"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(folder_.Path() + "/5msg.dat"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("no such file"), std::string::npos) << r.err;

    CliResult noIndex =
        RunTool({"--data", paths_.data, "--index", folder_.File("x.idx"), "members"});
    EXPECT_EQ(noIndex.status, 1);
    EXPECT_NE(noIndex.err.find("index file " + folder_.File("x.idx") + ": no such file"),
              std::string::npos)
        << noIndex.err;
    CliResult folderAsIndex =
        RunTool({"--data", paths_.data, "--index", folder_.Path(), "members"});
    EXPECT_NE(folderAsIndex.err.find("index file " + folder_.Path() + ": not a plain file"),
              std::string::npos)
        << folderAsIndex.err;
}

TEST_F(ListCommands, DamagedFilesStillList) {
    {
        auto writer = HistoryWriter::OpenAppend(paths_.data, paths_.index);
        ASSERT_TRUE(writer);
        writer->AppendEntry(12345, 1 << 30);     // past the end of the data file
        writer->AppendIndexRaw("\x01\x02\x03");  // half an entry
        writer->TruncateData(30);                // cuts into the first record
    }
    CliResult r = RunTool(With({"list", "-2"}));
    ASSERT_EQ(r.status, 0) << r.err;
    const auto lines = OutputLines(r.out);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "エラー\t\t\t\tこのイベントはデータが壊れていて読み出せません\t");
    // The first record, cut short: its text as far as it reached, no date.
    EXPECT_EQ(lines[3].rfind("メッセージ\t\t\t\t日本", 0), 0u) << lines[3];
}

}  // namespace

TEST(ListFormat, EveryControlCharacterIsEscaped) {
    // ESC [ 3 1 m, BEL, DEL, then the byte 0x80, which reads as U+0080 (a C1 control), and
    // 0x85 0x40, an undefined pair: U+FFFD and "@".
    std::string line = "x";
    AppendEscapedCell("a\x1B[31m\x07\x7F\x80\x85@\\\t\r\n\x01z", line);
    EXPECT_EQ(line, "xa\\x1b[31m\\x07\\x7f\\u0080\xEF\xBF\xBD@\\\\\\t\\r\\n\\x01z");
}

// Long cells are looked at 16 bytes at a time, the last piece overlapping the one before:
// a character to escape is found at every place of cells of several lengths after text
// already on the line, and a C2 lead that is no control (U+00A7) is left alone.
TEST(ListFormat, EscapesAreFoundAnywhereInALongCell) {
    for (const std::size_t length : {15, 16, 17, 30, 40}) {
        for (std::size_t at = 0; at < length; ++at) {
            std::string cell(length, 'a');
            cell[at] = '\t';
            std::string line = "x";
            AppendEscapedCell(cell + "\x81\x98", line);
            EXPECT_EQ(line, "x" + std::string(at, 'a') + "\\t" + std::string(length - 1 - at, 'a') +
                                "\xC2\xA7")
                << length << " " << at;
        }
    }
}

// The list line as the cells give it, without the writer's shortcuts.
std::string ReferenceLine(MessageDatabase& db, const EventRecord& record, bool decoded) {
    EventCells cells;
    FillEventCells(db, record, decoded, cells);
    std::string line;
    for (const std::string_view cell : {cells.type, cells.date}) {
        AppendEscapedCell(cell, line);
        line += '\t';
    }
    line += cells.time;
    line += '\t';
    AppendEscapedCell(cells.name, line);
    line += '\t';
    AppendEscapedCell(cells.text, line);
    line += '\t';
    line += cells.uin;
    return line;
}

TEST(ListLineWriter, WritesWhatTheCellsGive) {
    TestHistory h;
    const char* texts[] = {"plain", "tab\there", "back\\slash", "cr\rlf\n", "\x93\xFA\x96{", ""};
    for (int i = 0; i < 60; ++i) {
        const std::int32_t key = i % 3 == 0 ? 1 : 5 + i % 4;
        const std::int32_t stamp = i % 7 == 0 ? -2000000000 + i : 952247223 + i * 40000;
        h.Message(key, texts[i % 6], stamp, static_cast<std::uint32_t>(i % 2));
    }
    h.writer.AppendEvent(5, [] {
        WriterRecord broken;
        broken.marker = 0;
        return broken;
    }());
    MessageDatabase db;
    ASSERT_TRUE(db.Open(h.paths.data, h.paths.index));
    db.SetMemberName(6, "name\twith tab");
    ListLineWriter writer;
    EventRecord record;
    for (std::int32_t index = 0; index < db.EventCount(ALL_MEMBERS); ++index) {
        const bool decoded = db.ReadEvent(ALL_MEMBERS, index, record);
        std::string line;
        writer.Append(db, record, decoded, line);
        EXPECT_EQ(line, ReferenceLine(db, record, decoded)) << "entry " << index;
    }
}

TEST(ListLineWriter, FollowsAMemberNameThatChanges) {
    TestHistory h;
    h.Message(5, "a");
    MessageDatabase db;
    ASSERT_TRUE(db.Open(h.paths.data, h.paths.index));
    EventRecord record;
    const bool decoded = db.ReadEvent(5, 0, record);
    ListLineWriter writer;
    std::string before, after;
    writer.Append(db, record, decoded, before);
    db.SetMemberName(5, "Ann");
    writer.Append(db, record, decoded, after);
    EXPECT_NE(before.find("\t5\ta\t5"), std::string::npos) << before;
    EXPECT_NE(after.find("\tAnn\ta\t5"), std::string::npos) << after;
}
