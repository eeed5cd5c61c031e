// export --format sqlite, read back with the stock sqlite3 shell.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cli/CliFixture.h"
#include "cli/CliRunner.h"
#include "export/TemporaryFiles.h"
#include "support/SqliteShell.h"
#include "text/Utf8ShiftJis.h"

namespace {

constexpr std::int32_t kStamp = 952247223;  // 2000-03-05 09:07:03 UTC

// The archive's events as `list -2` shows them, newest first: type name, day, time, UIN,
// text with its line ends escaped, member.
constexpr const char* kAsList =
    "SELECT e.type_name, replace(substr(e.time_local, 1, 10), '-', '/'), "
    "substr(e.time_local, 12, 8), e.uin, "
    "replace(replace(e.text, char(13), '\\r'), char(10), '\\n'), m.name "
    "FROM events AS e JOIN members AS m ON m.key = e.member ORDER BY e.entry DESC";

class ArchiveExport : public CliFixture {
protected:
    ArchiveExport() {
        writer_.emplace(NewHistory());
        Add(5, "映画館で会おう");
        Add(5, "会議は三時から\r\n資料もお願い");
        Add(9, "hello there", 1);
        WriterRecord url;
        url.type = 4;
        url.uin = 9;
        url.stamp = kStamp + 40;
        url.text = *ShiftJisFromUtf8("地図") + "\xFEhttp://example.com/map";
        writer_->AppendEvent(9, url);
    }

    void Add(std::int32_t key, const std::string& utf8, std::uint32_t direction = 0) {
        WriterRecord record;
        record.uin = key;
        record.text = *ShiftJisFromUtf8(utf8);
        record.stamp = kStamp + 10 * ++added_;
        record.direction = direction;
        writer_->AppendEvent(key, record);
    }

    CliResult Export(std::vector<std::string> tail = {}) {
        std::vector<std::string> args = {"export", "-2", "--format", "sqlite", "-o", archive_};
        args.insert(args.end(), tail.begin(), tail.end());
        return RunTool(With(args));
    }

    // The list's lines without the weekday, which the archive leaves to its readers.
    std::string ListLines() {
        const CliResult list = RunTool(With({"list", "-2"}));
        std::string lines;
        for (const std::string& line : OutputLines(list.out)) {
            const std::size_t day = line.find('\t') + 1;
            lines += line.substr(0, day + 10) + line.substr(line.find('\t', day)) + '\n';
        }
        return lines;
    }

    std::string Query(const std::string& sql) { return SqliteShell(archive_, sql); }

    std::optional<HistoryWriter> writer_;
    int added_ = 0;
    std::string archive_ = folder_.File("log.sqlite");
};

TEST_F(ArchiveExport, EveryEventAndTheFullTextQueriesAsTheReadmeShowsThem) {
    const CliResult r = Export();
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "4 events added to " + archive_ + "\n");
    EXPECT_EQ(Query(kAsList), ListLines());
    EXPECT_EQ(Query("PRAGMA user_version"), "1\n");
    EXPECT_EQ(Query("SELECT time_utc, time_local, direction FROM events WHERE entry = 2"),
              std::to_string(kStamp + 30) + "\t2000-03-05T09:07:33+00:00\t送信\n");
    EXPECT_EQ(Query("SELECT description, url FROM events WHERE type = 4"),
              "地図\thttp://example.com/map\n");
    // Two characters, a longer word as the phrase of its pairs, an ASCII word.
    EXPECT_EQ(Query("SELECT rowid FROM events_fts WHERE events_fts MATCH '映画'"), "0\n");
    EXPECT_EQ(Query("SELECT rowid FROM events_fts WHERE events_fts MATCH '\"映画 画館\"'"), "0\n");
    EXPECT_EQ(Query("SELECT rowid FROM events_fts WHERE events_fts MATCH '\"画館 館会\"'"), "");
    EXPECT_EQ(Query("SELECT rowid FROM events_fts WHERE events_fts MATCH '会議 AND 資料'"), "1\n");
    EXPECT_EQ(Query("SELECT rowid FROM events_fts WHERE events_fts MATCH 'text:hello'"), "2\n");
    EXPECT_EQ(Query("SELECT member, events, sent FROM member_counts ORDER BY member"),
              "5\t2\t0\n9\t2\t1\n");
    EXPECT_EQ(Query("SELECT month, events FROM member_months WHERE member = 9"), "2000-03\t2\n");
}

TEST_F(ArchiveExport, AddsOnlyWhatIsNewAndNothingTheSecondTime) {
    ASSERT_EQ(Export().status, 0);
    Add(5, "また明日");
    Add(11, "はじめまして");
    CliResult r = Export();
    EXPECT_EQ(r.out, "2 events added to " + archive_ + "\n") << r.err;
    r = Export();
    EXPECT_EQ(r.out, "0 events added to " + archive_ + "\n") << r.err;
    EXPECT_EQ(Query(kAsList), ListLines());
    EXPECT_EQ(Query("SELECT count(*) FROM events_fts WHERE events_fts MATCH '明日'"), "1\n");
    EXPECT_EQ(Query("SELECT events FROM archive"), "6\n");
    // The newest record, cut short while the messenger still writes it, waits for the run
    // after it is whole (and is then no reason to take the history for another).
    WriterRecord pending;
    pending.uin = 5;
    pending.stamp = kStamp;
    pending.text = "still being written";
    const std::int32_t offset = writer_->AppendRecord(pending);
    const std::string whole = ReadFileBytes(paths_.data).substr(static_cast<std::size_t>(offset));
    ASSERT_TRUE(writer_->TruncateData(offset + 20));
    ASSERT_TRUE(writer_->AppendEntry(5, offset));
    EXPECT_EQ(Export().out, "0 events added to " + archive_ + "\n");
    ASSERT_TRUE(writer_->WriteDataAt(offset, whole));
    r = Export();
    EXPECT_EQ(r.out, "1 event added to " + archive_ + "\n") << r.err;
}

TEST_F(ArchiveExport, AnotherHistoryOrAnotherFileIsRefusedAndLeftAsItWas) {
    ASSERT_EQ(Export().status, 0);
    const std::string before = ReadFileBytes(archive_);
    const auto refused = [&](const CliResult& r, const std::string& why) {
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find(why), std::string::npos) << r.err;
        EXPECT_EQ(ReadFileBytes(archive_), before);
    };
    namespace fs = std::filesystem;
    fs::copy_file(paths_.data, folder_.File("1msg.dat"));
    fs::copy_file(paths_.index, folder_.File("1msg.idx"));
    refused(RunTool({"--data", folder_.File("1msg.dat"), "--index", folder_.File("1msg.idx"),
                     "export", "-2", "--format", "sqlite", "-o", archive_}),
            "archive of another history (owner 777, this one's 1)");
    refused(RunTool(With({"export", "5", "--format", "sqlite", "-o", archive_})),
            "holds the events of member -2, not 5");
    // The same owner's history written again with other events.
    writer_.emplace(NewHistory());
    Add(5, "別の履歴");
    Add(5, "別の履歴");
    Add(5, "別の履歴");
    Add(5, "別の履歴");
    Add(5, "新しい");
    refused(Export(), "its events differ from this history's");
    // --rebuild replaces it with this history's archive.
    ASSERT_EQ(Export({"--rebuild"}).status, 0);
    EXPECT_EQ(Query(kAsList), ListLines());

    const std::string text = folder_.File("notes.sqlite");
    std::ofstream(text) << "not a database\n";
    const CliResult r = RunTool(With({"export", "-2", "--format", "sqlite", "-o", text}));
    EXPECT_NE(r.err.find("not an SQLite database"), std::string::npos) << r.err;
    EXPECT_EQ(ReadFileBytes(text), "not a database\n");
    // The history's own files, also through a symbolic link, are never an archive.
    const std::string data = ReadFileBytes(paths_.data);
    fs::create_symlink(paths_.data, folder_.File("link.sqlite"));
    for (const std::string& target : {paths_.data, folder_.File("link.sqlite")}) {
        for (const bool rebuild : {false, true}) {
            std::vector<std::string> args = {"export", "-2", "--format", "sqlite", "-o", target};
            if (rebuild) {
                args.emplace_back("--rebuild");
            }
            const CliResult own = RunTool(With(args));
            EXPECT_NE(own.err.find("it is a file of the history being read"), std::string::npos)
                << own.err;
        }
    }
    EXPECT_EQ(ReadFileBytes(paths_.data), data);
}

TEST_F(ArchiveExport, AnInterruptedWriteLeavesThePreviousArchive) {
    ASSERT_EQ(Export().status, 0);
    const std::string before = ReadFileBytes(archive_);
    Add(5, "途中で止まる");
    InterruptWrites();
    const CliResult added = Export();
    const CliResult rebuilt = Export({"--rebuild"});
    ResumeWrites();
    for (const CliResult& r : {added, rebuilt}) {
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find("interrupted"), std::string::npos) << r.err;
    }
    EXPECT_EQ(ReadFileBytes(archive_), before);
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(folder_.Path())) {
        left.push_back(entry.path().filename().string());
    }
    EXPECT_EQ(std::count_if(left.begin(), left.end(),
                            [](const std::string& name) {
                                return name.find("log.sqlite") != std::string::npos;
                            }),
              1);
    EXPECT_EQ(Export().out, "1 event added to " + archive_ + "\n");
}

}  // namespace
