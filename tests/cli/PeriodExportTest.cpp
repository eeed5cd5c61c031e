#include <gtest/gtest.h>

#include <unistd.h>

#include <ctime>
#include <string>
#include <vector>

#include "cli/CliFixture.h"
#include "cli/CliRunner.h"
#include "historywriter/HistoryWriter.h"
#include "support/ClockChangeDays.h"
#include "support/TempFolder.h"
#include "support/TestHistory.h"

namespace {

constexpr std::int32_t kMarch1 = 1772323200;  // 2026-03-01 00:00:00 UTC

class PeriodExport : public CliFixture {
protected:
    // Member 5: one event every six hours from 2026-02-27 to 2026-03-02, then one more of
    // 2026-02-28 (out of time order) and one that cannot be decoded.
    void WriteHistory() {
        HistoryWriter writer = NewHistory();
        std::vector<WriterEvent> events;
        for (std::int32_t i = -8; i < 8; ++i) {
            WriterEvent event{5, {}};
            event.record.uin = 5;
            event.record.text = "event " + std::to_string(i);
            event.record.stamp = kMarch1 + i * 6 * 3600;
            events.push_back(event);
        }
        events.push_back(events[5]);
        events.back().record.text = "late";
        events.push_back(events[0]);
        events.back().record.type = 7;
        writer.AppendEvents(events);
    }
    std::string Export(const std::vector<std::string>& options) {
        std::vector<std::string> args = {"export", "5"};
        args.insert(args.end(), options.begin(), options.end());
        const CliResult r = RunTool(With(args));
        EXPECT_EQ(r.status, 0) << r.err;
        return r.out;
    }
};

// Each split file is exactly the export of its days alone, whatever the format and order.
TEST_F(PeriodExport, EachSplitFileIsTheExportOfItsPeriod) {
    WriteHistory();
    const struct {
        const char* format;
        const char* split;
        const char* name;
        std::vector<std::string> files;  // in the order their first events come
    } cases[] = {
        {"csv", "month", "talk.csv", {"talk-2026-02.csv", "talk-2026-03.csv"}},
        {"html",
         "day",
         "talk.html",
         {"talk-2026-02-27.html", "talk-2026-02-28.html", "talk-2026-03-01.html",
          "talk-2026-03-02.html"}},
        {"json", "year", "dir.v1/talk", {"dir.v1/talk-2026"}},
        {"text",
         "day",
         ".talk",
         {".talk-2026-02-28", ".talk-2026-03-02", ".talk-2026-03-01", ".talk-2026-02-27"}},
    };
    ASSERT_EQ(mkdir(folder_.File("dir.v1").c_str(), 0700), 0);
    for (const auto& c : cases) {
        const std::string out =
            Export({"--format", c.format, "--split", c.split, "-o", folder_.File(c.name)});
        std::string listed;
        for (const std::string& file : c.files) {
            listed += folder_.File(file) + '\n';
        }
        EXPECT_EQ(out, listed) << c.format;
        for (const std::string& file : c.files) {
            // The period of a file from its name (the events end on 2026-03-02).
            const std::size_t slash = file.rfind('/');
            const std::size_t base = slash == std::string::npos ? 0 : slash + 1;
            const std::string stem = file.substr(0, file.find('.', base + 1));
            const std::string period = stem.substr(stem.find("-2026") + 1);
            const std::string first = period.size() == 4   ? period + "-01-01"
                                      : period.size() == 7 ? period + "-01"
                                                           : period;
            const std::string last = period.size() == 4   ? period + "-12-31"
                                     : period.size() == 7 ? period + "-28"
                                                          : period;
            const std::string whole = folder_.File("whole");
            Export({"--format", c.format, "--from", first, "--to", last, "-o", whole});
            EXPECT_EQ(ReadFileBytes(folder_.File(file)), ReadFileBytes(whole)) << file;
        }
    }
    // Every dated event is in a file; the undecodable one has no date and is in none.
    Export({"--format", "jsonl", "--split", "day", "-o", folder_.File("all.jsonl")});
    std::size_t lines = 0;
    for (const char* day : {"02-27", "02-28", "03-01", "03-02"}) {
        lines += OutputLines(ReadFileBytes(folder_.File("all-2026-" + std::string(day) + ".jsonl")))
                     .size();
    }
    EXPECT_EQ(lines, 17u);
    Export({"--format", "jsonl", "--from", "2026-02-28", "-o", folder_.File("open.jsonl")});
    EXPECT_EQ(OutputLines(ReadFileBytes(folder_.File("open.jsonl"))).size(), 13u);
    Export({"--format", "jsonl", "--to", "2026-02-28", "-o", folder_.File("open.jsonl")});
    EXPECT_EQ(OutputLines(ReadFileBytes(folder_.File("open.jsonl"))).size(), 9u);
}

// A day of 23 or 25 hours goes into its file whole (one event every ten minutes).
TEST_F(PeriodExport, DaysWhereTheClocksChangeInTwoZones) {
    for (const ClockChangeDay& c : kClockChangeDays) {
        const ScopedTimeZone zone(c.zone);
        NewHistory().AppendEvents(EveryTenMinutesAround(c.day, 5));
        const std::string base = folder_.File(std::string("dst-") + c.zone[0] + ".jsonl");
        const std::string listed = Export({"--format", "jsonl", "--split", "day", "-o", base});
        EXPECT_EQ(OutputLines(listed).size(), 6u);  // five UTC days over six local ones
        const std::string file = base.substr(0, base.size() - 6) + "-" + c.day + ".jsonl";
        EXPECT_EQ(OutputLines(ReadFileBytes(file)).size(), c.tenMinuteEvents) << c.zone << ' ' << c.day;
        Export({"--format", "jsonl", "--from", c.day, "--to", c.day, "-o", base});
        EXPECT_EQ(ReadFileBytes(base), ReadFileBytes(file)) << c.zone << ' ' << c.day;
    }
}

TEST_F(PeriodExport, RefusalsWriteNothing) {
    WriteHistory();
    const std::string data = ReadFileBytes(paths_.data);
    const std::string target = folder_.File("t.csv");
    const std::vector<std::vector<std::string>> usage = {
        {"--split", "month", "-o", "-"},
        {"--split", "month"},
        {"--split", "week", "-o", target},
        {"--from", "2026-03-02", "--to", "2026-03-01", "-o", target},
        {"--from", "2026-02-30", "-o", target},
    };
    for (const auto& options : usage) {
        std::vector<std::string> args = {"export", "5"};
        args.insert(args.end(), options.begin(), options.end());
        const CliResult r = RunTool(With(args));
        EXPECT_EQ(r.status, 2) << options[0] << ' ' << options[1];
        EXPECT_EQ(r.out, "");
    }
    // The history's own file, named or reached through a split file's name.
    ASSERT_EQ(symlink(paths_.data.c_str(), folder_.File("t-2026-02.csv").c_str()), 0);
    for (const auto& options : std::vector<std::vector<std::string>>{
             {"--from", "2026-03-01", "-o", paths_.data}, {"--split", "month", "-o", target}}) {
        std::vector<std::string> args = {"export", "5", "--format", "csv"};
        args.insert(args.end(), options.begin(), options.end());
        const CliResult r = RunTool(With(args));
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find("history"), std::string::npos) << r.err;
    }
    EXPECT_EQ(ReadFileBytes(paths_.data), data);
}

}  // namespace
