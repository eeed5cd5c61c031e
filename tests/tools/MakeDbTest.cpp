#include "historywriter/HistoryWriter.h"
#include "makedb/DemoPhrases.h"
#include "makedb/MakeDb.h"
#include "support/TempFolder.h"
#include "support/TestHistory.h"
#include "text/ShiftJis.h"

#include <gtest/gtest.h>

#include <stdlib.h>
#include <time.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <vector>

namespace {

constexpr std::int64_t kNow = 1700000000;  // a Tuesday

struct ReadRecord {
    std::uint16_t marker = 0;
    std::uint16_t type = 0;
    std::int32_t uin = 0;
    std::string text;  // the whole text field
    std::uint32_t direction = 0;
    std::int32_t stamp = 0;
};

struct ReadEntry {
    std::int32_t key = 0;
    std::int32_t offset = 0;
    std::optional<ReadRecord> record;  // empty when the offset is outside the data
};

std::uint32_t Word(const std::string& bytes, std::size_t at, std::size_t size) {
    std::uint32_t value = 0;
    for (std::size_t i = size; i-- > 0;) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

std::optional<ReadRecord> RecordAt(const std::string& data, std::int32_t offset) {
    const auto at = static_cast<std::size_t>(offset);
    if (offset < 0 || at + 10 > data.size()) {
        return std::nullopt;
    }
    ReadRecord record;
    record.marker = static_cast<std::uint16_t>(Word(data, at, 2));
    record.type = static_cast<std::uint16_t>(Word(data, at + 2, 2));
    record.uin = static_cast<std::int32_t>(Word(data, at + 4, 4));
    const std::size_t length = Word(data, at + 8, 2);
    if (at + 24 + length > data.size()) {
        return record;
    }
    record.text = data.substr(at + 10, length);
    record.direction = Word(data, at + 14 + length, 4);
    record.stamp = static_cast<std::int32_t>(Word(data, at + 20 + length, 4));
    return record;
}

std::vector<ReadEntry> ReadHistory(const HistoryPaths& paths) {
    const std::string index = ReadFileBytes(paths.index);
    const std::string data = ReadFileBytes(paths.data);
    std::vector<ReadEntry> entries;
    for (std::size_t at = 10; at + 8 <= index.size(); at += 8) {
        ReadEntry entry;
        entry.key = static_cast<std::int32_t>(Word(index, at, 4));
        entry.offset = static_cast<std::int32_t>(Word(index, at + 4, 4));
        entry.record = RecordAt(data, entry.offset);
        entries.push_back(entry);
    }
    return entries;
}

int RunMakeDbTool(std::vector<std::string_view> args, std::string* err = nullptr,
                  std::string* out = nullptr) {
    std::ostringstream outStream;
    std::ostringstream errStream;
    const int code = MakeDbMain(args, outStream, errStream);
    if (err != nullptr) {
        *err = errStream.str();
    }
    if (out != nullptr) {
        *out = outStream.str();
    }
    return code;
}

class MakeDbTest : public ::testing::Test {
protected:
    ScopedTimeZone utc_{"UTC0"};  // before everything that reads a time
    TempFolder folder_;
    HistoryPaths paths_ = HistoryPathsFor(folder_.Path(), 4321);
};

TEST(DemoPhrasesTest, EveryPhraseHasShiftJisForm) {
    for (std::string_view phrase : AllPhrases()) {
        EXPECT_TRUE(ShiftJisFromUtf8(phrase).has_value()) << phrase;
    }
}

TEST_F(MakeDbTest, UsageErrorsExitWithTwo) {
    const std::string dir = folder_.Path();
    const std::vector<std::vector<std::string_view>> bad = {
        {},
        {"--folder", dir},
        {"--data", "a.dat"},
        {"--folder", dir, "--uin", "1", "--data", "a", "--index", "b"},
        {"--folder", dir, "--uin", "x1"},
        {"--folder", dir, "--uin", "1", "--events", "-3"},
        {"--folder", dir, "--uin", "1", "--members", "0"},
        {"--folder", dir, "--uin", "1", "--verbose"},
        {"--folder", dir, "--uin", "1", "stray"},
        {"--folder", dir, "--uin", "1", "--seed"},
        {"--folder", dir, "--uin", "1", "--settings", "s.ini"},
        {"--folder", dir, "--uin", "1", "--demo", "--append", "3"},
    };
    for (const auto& args : bad) {
        std::string err;
        EXPECT_EQ(RunMakeDbTool(args, &err), kMakeDbUsageError) << ::testing::PrintToString(args);
        EXPECT_FALSE(err.empty());
    }
    std::string out;
    EXPECT_EQ(RunMakeDbTool({"--help"}, nullptr, &out), kMakeDbOk);
    EXPECT_NE(out.find("--text-bytes"), std::string::npos);
    std::string err;
    EXPECT_EQ(RunMakeDbTool({"--folder", folder_.File("missing"), "--uin", "1"}, &err),
              kMakeDbIoError);
    EXPECT_EQ(RunMakeDbTool({"--append=1", "--folder", dir, "--uin=99"}, &err), kMakeDbIoError);
}

TEST_F(MakeDbTest, BulkHistoryHasRequestedShape) {
    const std::string dir = folder_.Path();
    ASSERT_EQ(RunMakeDbTool({"--folder", dir, "--uin", "4321", "--events", "3000", "--members",
                             "40", "--text-bytes", "50", "--seed", "9", "--now", "1700000000"}),
              kMakeDbOk);
    const std::vector<ReadEntry> entries = ReadHistory(paths_);
    ASSERT_EQ(entries.size(), 3000u);
    std::set<std::int32_t> keys;
    std::int64_t textBytes = 0;
    std::int32_t expectedOffset = 0;
    std::int32_t lastStamp = 0;
    for (const ReadEntry& entry : entries) {
        ASSERT_TRUE(entry.record);
        const ReadRecord& record = *entry.record;
        EXPECT_EQ(entry.offset, expectedOffset) << "records lie back to back in index order";
        EXPECT_EQ(record.marker, kWriterRecordMarker);
        EXPECT_EQ(record.uin, entry.key);
        EXPECT_GE(entry.key, 100000);
        EXPECT_LE(entry.key, 999999999);
        EXPECT_EQ(record.text.back(), '\0');
        EXPECT_GE(record.stamp, lastStamp);
        lastStamp = record.stamp;
        keys.insert(entry.key);
        textBytes += static_cast<std::int64_t>(record.text.size()) - 1;
        expectedOffset += static_cast<std::int32_t>(record.text.size() + 24);
    }
    EXPECT_LE(keys.size(), 40u);
    EXPECT_GE(keys.size(), 30u);
    EXPECT_NEAR(static_cast<double>(textBytes) / 3000, 50, 5);
    EXPECT_GE(entries.front().record->stamp, kNow - 731 * 86400);
    EXPECT_LE(lastStamp, kNow);

    // The same seed gives the same pair; another seed another one.
    const HistoryPaths again = HistoryPathsFor(dir, 5);
    const HistoryPaths other = HistoryPathsFor(dir, 6);
    RunMakeDbTool({"--folder", dir, "--uin", "5", "--events", "3000", "--members", "40",
                   "--text-bytes", "50", "--seed", "9", "--now", "1700000000"});
    RunMakeDbTool({"--folder", dir, "--uin", "6", "--events", "3000", "--members", "40",
                   "--text-bytes", "50", "--seed", "10", "--now", "1700000000"});
    EXPECT_EQ(ReadFileBytes(again.data), ReadFileBytes(paths_.data));
    EXPECT_EQ(ReadFileBytes(again.index), ReadFileBytes(paths_.index));
    EXPECT_NE(ReadFileBytes(other.data), ReadFileBytes(paths_.data));
}

TEST_F(MakeDbTest, DemoHistoryShowsEverything) {
    const std::string settings = folder_.File("talvora.ini");
    ASSERT_EQ(RunMakeDbTool({"--demo", "--folder", folder_.Path(), "--uin", "4321", "--now",
                             "1700000000", "--settings", settings}),
              kMakeDbOk);
    const std::vector<ReadEntry> entries = ReadHistory(paths_);
    ASSERT_GT(entries.size(), 4000u);
    std::set<std::uint16_t> types;
    std::set<std::int32_t> keys;
    std::map<std::uint32_t, int> directions;
    std::vector<int> hours(24);
    int unreadable = 0;
    bool multiLine = false;
    bool url = false;
    for (const ReadEntry& entry : entries) {
        keys.insert(entry.key);
        if (!entry.record || entry.record->marker != kWriterRecordMarker) {
            ++unreadable;
            continue;
        }
        const ReadRecord& record = *entry.record;
        types.insert(record.type);
        ++directions[record.direction];
        ++hours[static_cast<std::size_t>(record.stamp / 3600 % 24)];
        multiLine = multiLine || record.text.find("\r\n") != std::string::npos;
        url = url || (record.type == 4 && record.text.find("\xFEhttps://") != std::string::npos);
        EXPECT_LE(record.stamp, kNow);
        EXPECT_GE(record.stamp, kNow - 731 * 86400);
    }
    EXPECT_EQ(types,
              (std::set<std::uint16_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 19, 20}));
    EXPECT_TRUE(keys.count(1) && keys.count(10));
    EXPECT_GE(keys.size(), 30u);
    EXPECT_GE(unreadable, 4);
    EXPECT_GT(directions[0], 1000);
    EXPECT_GT(directions[1], 1000);
    EXPECT_TRUE(multiLine);
    EXPECT_TRUE(url);
    EXPECT_GT(hours[21], 4 * hours[4]) << "evenings are busy, nights quiet";
    EXPECT_GT(entries.back().record->stamp, kNow - 3600) << "the history ends near now";

    const std::string ini = ReadFileBytes(settings);
    EXPECT_NE(ini.find("[Log File]\nLocation=0\nDB Path=" + folder_.Path() + "\nUIN=4321\n"),
              std::string::npos);
    EXPECT_NE(ini.find("[Member Name]\n3456123=佐藤 美咲\n"), std::string::npos);
    // Sent and received rows in different colours.
    EXPECT_NE(ini.find("[Color]\nSend Background=16773347\nSend Text=7023120\n"
                       "Receive Background=15530751\nReceive Text=1059386\n"),
              std::string::npos);
}

TEST_F(MakeDbTest, AppendAddsCompleteEntriesToExistingPair) {
    const std::string dir = folder_.Path();
    ASSERT_EQ(RunMakeDbTool({"--folder", dir, "--uin", "4321", "--events", "20", "--members", "3"}),
              kMakeDbOk);
    const std::vector<ReadEntry> before = ReadHistory(paths_);
    std::set<std::int32_t> keys;
    for (const ReadEntry& entry : before) {
        keys.insert(entry.key);
    }
    const auto dataSize = static_cast<std::int32_t>(ReadFileBytes(paths_.data).size());
    std::string out;
    const auto start = static_cast<std::int32_t>(std::time(nullptr));
    ASSERT_EQ(RunMakeDbTool({"--folder", dir, "--uin", "4321", "--append", "3", "--interval", "0"},
                            nullptr, &out),
              kMakeDbOk);
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 3);

    const std::vector<ReadEntry> after = ReadHistory(paths_);
    ASSERT_EQ(after.size(), 23u);
    EXPECT_EQ(after[20].offset, dataSize);
    for (std::size_t i = 20; i < after.size(); ++i) {
        ASSERT_TRUE(after[i].record);
        EXPECT_EQ(after[i].record->marker, kWriterRecordMarker);
        EXPECT_TRUE(keys.count(after[i].key));
        EXPECT_GE(after[i].record->stamp, start);
    }
}

}  // namespace
