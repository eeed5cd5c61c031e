#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "cli/CliFixture.h"
#include "cli/CliRunner.h"
#include "database/LocalTime.h"
#include "database/MessageDatabase.h"
#include "export/ExportText.h"
#include "historywriter/HistoryWriter.h"
#include "support/TempFolder.h"
#include "support/TestHistory.h"
#include "text/ShiftJis.h"

namespace {

constexpr std::int32_t kSunday = 952247223;  // 2000-03-05 09:07:03 UTC, a Sunday

// Member 5's events, oldest first (rows 3, 2, 1, 0), and one of member 6.
class CoreCommands : public CliFixture {
protected:
    void SetUp() override {
        HistoryWriter writer = NewHistory();
        Add(writer, 5, 1, "hello\nthere", Received, kSunday);         // row 3
        Add(writer, 5, 4, "site\xFEhttp://x", Sent, kSunday + 3600);  // row 2
        Add(writer, 6, 1, "hello six", Received, kSunday);
        Add(writer, 5, 1, "\x8C\x8E\x89\xCE", Sent, kSunday + 86400);  // 月火, row 1
        Add(writer, 5, 7, "", Received, 0);                            // row 0, unsupported
    }

    static void Add(HistoryWriter& writer, std::int32_t key, std::uint16_t type,
                    const std::string& text, std::uint32_t direction, std::int32_t stamp) {
        WriterRecord record;
        record.type = type;
        record.uin = key;
        record.text = text;
        record.direction = direction;
        record.stamp = stamp;
        writer.AppendEvent(key, record);
    }
};

TEST_F(CoreCommands, ExportWritesWhatTheWindowWrites) {
    const std::string cliFile = folder_.File("cli.txt");
    CliResult r = RunTool(With({"export", "5", "-o", cliFile}));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");

    MessageDatabase db;
    ASSERT_TRUE(db.Open(paths_.data, paths_.index));
    const std::string libraryFile = folder_.File("library.txt");
    ASSERT_TRUE(ExportText(db, 5, RowSelection::All(), libraryFile).ok);
    EXPECT_EQ(ReadFileBytes(cliFile), ReadFileBytes(libraryFile));
    EXPECT_NE(ReadFileBytes(cliFile).find("2000/3/5 \x93\xFA 9:7:3 \x8E\xF3\x90M 5(5)\r\n"),
              std::string::npos);

    // Options before KEY, a row list, and a negative key.
    r = RunTool(With({"export", "--rows", "2,0-1", "-o", cliFile, "5"}));
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_TRUE(ExportText(db, 5, RowSelection::Rows({0, 1, 2}), libraryFile).ok);
    EXPECT_EQ(ReadFileBytes(cliFile), ReadFileBytes(libraryFile));

    r = RunTool(With({"export", "-2", "--output", cliFile}));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(ReadFileBytes(cliFile).find("hello six"), std::string::npos);
}

TEST_F(CoreCommands, ExportInUtf8KeepsCrLf) {
    const std::string file = folder_.File("utf8.txt");
    CliResult r =
        RunTool(With({"export", "5", "--rows", "1,3", "--encoding", "utf-8", "-o", file}));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadFileBytes(file),
              "--------------------------------------\r\n"
              "2000/3/6 月 9:7:3 送信 5(5)\r\n[メッセージ]\r\n\r\n月火\r\n\r\n"
              "--------------------------------------\r\n"
              "2000/3/5 日 9:7:3 受信 5(5)\r\n[メッセージ]\r\n\r\nhello\r\nthere\r\n\r\n");
}

TEST_F(CoreCommands, ExportFailuresAndUsageErrors) {
    CliResult r = RunTool(With({"export", "5", "-o", folder_.File("missing/out.txt")}));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("missing/out.txt"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("No such file"), std::string::npos) << r.err;

    EXPECT_EQ(RunTool(With({"export", "5"})).status, 2);
    const std::string file = folder_.File("x.txt");
    EXPECT_EQ(RunTool(With({"export", "5", "-o", file, "--rows", "4"})).status, 2);
    EXPECT_EQ(RunTool(With({"export", "5", "-o", file, "--rows", "2-1"})).status, 2);
    EXPECT_EQ(RunTool(With({"export", "5", "-o", file, "--rows", "1,,2"})).status, 2);
    EXPECT_EQ(RunTool(With({"export", "5", "-o", file, "--rows", "a"})).status, 2);
    EXPECT_EQ(RunTool(With({"export", "5", "-o", file, "--encoding", "latin1"})).status, 2);
    EXPECT_EQ(RunTool(With({"export", "5", "6", "-o", file})).status, 2);
    struct stat info {};
    EXPECT_NE(::stat(file.c_str(), &info), 0) << "no file after a usage error";
}

TEST_F(CoreCommands, ExportFormatsGoToFilesOrStandardOutput) {
    MessageDatabase db;
    ASSERT_TRUE(db.Open(paths_.data, paths_.index));
    const std::string file = folder_.File("out");
    const std::string library = folder_.File("library");
    for (const char* name : {"text", "csv", "json", "jsonl", "html"}) {
        SCOPED_TRACE(name);
        ExportOptions options;
        options.format = ParseExportFormat(name).value();
        options.owner = 777;
        options.colors = {0xFFFFFF, 0, 0xFFFFFF, 0};  // the defaults without a settings file
        ASSERT_TRUE(ExportToFile(db, 5, RowSelection::Rows({1, 2}), options, library).ok);
        CliResult r = RunTool(With({"export", "5", "--format", name, "--rows", "1-2", "-o", file}));
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(ReadFileBytes(file), ReadFileBytes(library));
        r = RunTool(With({"export", "5", "--format", name, "--rows", "1-2", "-o", "-"}));
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, ReadFileBytes(library));
    }
    EXPECT_EQ(RunTool(With({"export", "5", "-o", "-", "--format", "xml"})).status, 2);
    EXPECT_EQ(
        RunTool(With({"export", "5", "-o", "-", "--format", "csv", "--encoding", "utf-8"})).status,
        2);
}

TEST_F(CoreCommands, SearchPrintsEachHitUntilTheSearchFinishes) {
    CliResult all = RunTool(With({"search", "5", "--text", ""}));
    ASSERT_EQ(all.status, 0) << all.err;
    EXPECT_EQ(all.out, "0\n1\n2\n3\n");
    EXPECT_EQ(RunTool(With({"search", "5", "--text", "", "--up"})).out, "3\n2\n1\n0\n");
    EXPECT_EQ(RunTool(With({"--text", "", "--start", "1", "search", "5"})).status, 2)
        << "options of the command come after the command word";
    EXPECT_EQ(RunTool(With({"search", "--start", "1", "5", "--text", ""})).out, "2\n3\n");
    EXPECT_EQ(RunTool(With({"search", "5", "--text", "", "--start", "1", "--up"})).out, "0\n");
    EXPECT_EQ(RunTool(With({"search", "5", "--text", "", "--sent"})).out, "1\n2\n");
    EXPECT_EQ(RunTool(With({"search", "5", "--text", "", "--received"})).out, "0\n3\n");
    EXPECT_EQ(RunTool(With({"search", "5", "--text", "there"})).out, "3\n");
    // The text goes to Shift-JIS first; 脂 lies across the boundary of 月火, 月 does not.
    EXPECT_EQ(RunTool(With({"search", "5", "--text", "脂"})).out, "");
    EXPECT_EQ(RunTool(With({"search", "5", "--text", "月"})).out, "1\n");
    EXPECT_EQ(RunTool(With({"search", "-2", "--text", "six"})).out, "2\n");
}

TEST_F(CoreCommands, SearchDateOptions) {
    EXPECT_EQ(RunTool(With({"search", "5", "--text", "", "--date", "2000-03-05"})).out, "2\n3\n");
    EXPECT_EQ(RunTool(With({"search", "5", "--text", "", "--date", "2000-03-06"})).out, "1\n");
    EXPECT_EQ(
        RunTool(With({"search", "5", "--text", "", "--from", "2000-03-04", "--to", "2000-03-06"}))
            .out,
        "1\n2\n3\n");
    EXPECT_EQ(
        RunTool(With({"search", "5", "--text", "", "--from", "2000-03-05", "--to", "2000-03-05"}))
            .out,
        "2\n3\n");
}

TEST_F(CoreCommands, SearchUsageErrors) {
    EXPECT_EQ(RunTool(With({"search", "5"})).status, 2);
    EXPECT_EQ(RunTool(With({"search", "5", "--text", "\xF0\x9F\x98\x80"})).status, 2);  // emoji
    EXPECT_EQ(RunTool(With({"search", "5", "--text", "\xFF"})).status, 2);              // not UTF-8
    for (const char* date :
         {"2000-02-30", "2001-02-29", "2000-13-01", "2000-3-05", "20000305", "2000-03-0x", ""}) {
        EXPECT_EQ(RunTool(With({"search", "5", "--text", "a", "--date", date})).status, 2) << date;
    }
    EXPECT_EQ(RunTool(With({"search", "5", "--text", "a", "--date", "2000-02-29"})).status, 0);
    EXPECT_EQ(RunTool(With({"search", "5", "--text", "a", "--from", "2000-03-05"})).status, 2);
    EXPECT_EQ(
        RunTool(With({"search", "5", "--text", "a", "--from", "2000-03-05", "--to", "2000-03-04"}))
            .status,
        2);
    EXPECT_EQ(RunTool(With({"search", "5", "--text", "a", "--date", "2000-03-05", "--from",
                            "2000-03-05", "--to", "2000-03-06"}))
                  .status,
              2);
    EXPECT_EQ(RunTool(With({"search", "5", "--text", "a", "--start", "4"})).status, 2);
    EXPECT_EQ(RunTool(With({"search", "5", "--text", "a", "--start", "-1"})).status, 2);
}

TEST_F(CoreCommands, StatsPrintsTheTableAndBothDistributions) {
    CliResult r = RunTool(With({"stats", "5"}));
    ASSERT_EQ(r.status, 0) << r.err;
    const auto lines = OutputLines(r.out);
    ASSERT_EQ(lines.size(), 4u + 24u + 7u);
    EXPECT_EQ(lines[0], "メッセージ\t1\t1\t2");
    EXPECT_EQ(lines[1], "URL メッセージ\t1\t0\t1");
    EXPECT_EQ(lines[2], "タイプ 7\t0\t1\t1");
    EXPECT_EQ(lines[3], "全イベント合計\t2\t2\t4");
    EXPECT_EQ(lines[4], "hour\t0\t0");
    EXPECT_EQ(lines[4 + 9], "hour\t9\t2");  // the unsupported event has no hour
    EXPECT_EQ(lines[4 + 10], "hour\t10\t1");
    EXPECT_EQ(lines[4 + 24], "weekday\t日\t2");
    EXPECT_EQ(lines[4 + 25], "weekday\t月\t1");
    EXPECT_EQ(lines[4 + 30], "weekday\t土\t0");

    EXPECT_EQ(RunTool(With({"stats", "4242"})).status, 1);  // no such member
    CliResult none = RunTool(With({"stats", "10"}));
    ASSERT_EQ(none.status, 0);
    EXPECT_EQ(OutputLines(none.out)[0], "全イベント合計\t0\t0\t0");
    EXPECT_EQ(RunTool(With({"stats"})).status, 2);
    EXPECT_EQ(RunTool(With({"stats", "5", "--x"})).status, 2);
}

TEST_F(CoreCommands, StatsByMonthAndYearListEveryPeriodFromFirstToLast) {
    {
        auto writer = HistoryWriter::OpenAppend(paths_.data, paths_.index);
        ASSERT_TRUE(writer);
        Add(*writer, 8, 1, "a", Received, 1574000000);  // 2019-11-17
        Add(*writer, 8, 1, "b", Sent, 1609459200);      // 2021-01-01 00:00
        Add(*writer, 8, 1, "c", Sent, 1609459199);      // 2020-12-31 23:59:59
        Add(*writer, 8, 1, "d", Received, 1610000000);  // 2021-01-07
        WriterRecord broken;
        broken.marker = 0;
        writer->AppendEvent(8, broken);
    }
    CliResult months = RunTool(With({"stats", "8", "--by", "month"}));
    ASSERT_EQ(months.status, 0) << months.err;
    const auto lines = OutputLines(months.out);
    ASSERT_EQ(lines.size(), 15u);  // November 2019 to January 2021
    EXPECT_EQ(lines[0], "month\t2019-11\t0\t1");
    EXPECT_EQ(lines[1], "month\t2019-12\t0\t0");
    EXPECT_EQ(lines[2], "month\t2020-01\t0\t0");
    EXPECT_EQ(lines[13], "month\t2020-12\t1\t0");
    EXPECT_EQ(lines[14], "month\t2021-01\t1\t1");
    EXPECT_EQ(RunTool(With({"stats", "--by=year", "8"})).out,
              "year\t2019\t0\t1\nyear\t2020\t1\t0\nyear\t2021\t1\t1\n");
    // One month; and a member without dated events has no periods.
    EXPECT_EQ(RunTool(With({"stats", "6", "--by", "month"})).out, "month\t2000-03\t0\t1\n");
    CliResult none = RunTool(With({"stats", "10", "--by", "year"}));
    EXPECT_EQ(none.status, 0);
    EXPECT_EQ(none.out, "");

    for (const char* bad : {"day", "Month", ""}) {
        CliResult r = RunTool(With({"stats", "8", "--by", bad}));
        EXPECT_EQ(r.status, 2) << bad;
        EXPECT_EQ(r.out, "") << bad;
    }
    EXPECT_EQ(RunTool(With({"stats", "8", "--by"})).status, 2);
}

}  // namespace
