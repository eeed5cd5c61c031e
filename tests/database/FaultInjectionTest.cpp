#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "database/MessageDatabase.h"
#include "support/PassThroughFileSystem.h"
#include "support/TestHistory.h"

namespace {

// Cuts every read to `maxRead` bytes and fails every read from the `failAt`-th on
// (counting from 1; 0 never fails).
class FaultyFileSystem final : public PassThroughFileSystem {
public:
    std::size_t maxRead = SIZE_MAX;
    int failAt = 0;
    int reads = 0;

    std::int64_t Read(const std::string&, RandomAccessFile& file, std::int64_t offset, void* buffer,
                      std::size_t length) override {
        ++reads;
        if (failAt != 0 && reads >= failAt) {
            return -1;
        }
        return file.ReadAt(offset, buffer, std::min(length, maxRead));
    }
};

// A small history with every kind of record: decoded, URL, unsupported, bad marker,
// an offset past the end.
void WriteMixedHistory(TestHistory& h) {
    ScopedTimeZone tz("JST-9");
    const char* texts[] = {"one", "two\r\nlines", "\x93\xFA\x96{", "", "url\xFEhttp://x"};
    for (int i = 0; i < 12; ++i) {
        WriterRecord r;
        r.type = static_cast<std::uint16_t>(i % 5 == 4 ? 4 : (i % 7 == 6 ? 7 : 1));
        r.uin = 100 + i % 3;
        r.text = texts[i % 5];
        r.direction = static_cast<std::uint32_t>(i % 2);
        r.stamp = 1000000 * i;
        if (i == 5) {
            r.marker = 0x1234;
        }
        h.writer.AppendEvent(r.uin, r);
    }
    h.writer.AppendEntry(101, 1 << 20);
}

// Opens and decodes every event of every member; nothing may crash or read out of bounds
// (the sanitizer run checks that), and every record stays displayable. Returns one line
// per event: member, entry number, whether it decoded, its text and its time.
std::vector<std::string> ReadEverything(MessageDatabase& db) {
    std::vector<std::string> table;
    std::vector<std::int32_t> keys;
    for (const auto& [key, member] : db.members()) {
        keys.push_back(key);
    }
    for (std::int32_t key : keys) {
        const std::int32_t n = db.EventCount(key);
        for (std::int32_t i = 0; i < n; ++i) {
            EventRecord e;
            const bool decoded = db.ReadEvent(key, i, e);
            if (decoded) {
                EXPECT_TRUE(e.stampRead);
            } else {
                EXPECT_TRUE(e.timeConverted) << "a failed record carries a time to show";
            }
            std::uint32_t direction = 0;
            const bool directionRead = db.ReadDirection(key, i, direction);
            table.push_back(std::to_string(key) + " " +
                            std::to_string(db.Refs(key)[static_cast<std::size_t>(i)].entryNumber) +
                            (decoded ? " ok " : " failed ") + e.text + " " +
                            (decoded ? std::to_string(e.stamp) : std::string()) + " " +
                            (directionRead ? std::to_string(direction) : std::string("-")));
        }
    }
    return table;
}

TEST(Robustness, ShortReadsGiveExactlyTheTableOfWholeReads) {
    TestHistory h;
    WriteMixedHistory(h);
    MessageDatabase normal;
    ASSERT_TRUE(normal.Open(h.paths.data, h.paths.index));
    ASSERT_EQ(normal.EventCount(ALL_MEMBERS), 13);

    // A file layer may hand back less than asked (pread does at times) without being at
    // the end: nothing read may change.
    for (const std::size_t maxRead : {1, 3, 7}) {
        SCOPED_TRACE(maxRead);
        FaultyFileSystem fs;
        fs.maxRead = maxRead;
        MessageDatabase db(fs);
        ASSERT_TRUE(db.Open(h.paths.data, h.paths.index));
        EXPECT_EQ(ReadEverything(db), ReadEverything(normal));
        h.Message(100, "appended");
        EXPECT_EQ(db.CheckForChanges().state, HistoryState::Appended);
        normal.ReadIndex();
        EXPECT_EQ(ReadEverything(db), ReadEverything(normal));
    }
}

TEST(Robustness, ReadErrorsAtAnyPointAreSurvived) {
    TestHistory h;
    WriteMixedHistory(h);
    for (int failAt = 1; failAt < 60; ++failAt) {
        SCOPED_TRACE(failAt);
        FaultyFileSystem fs;
        fs.failAt = failAt;
        MessageDatabase db(fs);
        db.Open(h.paths.data, h.paths.index);
        ReadEverything(db);
        EXPECT_FALSE(db.HasNewEntries());
        db.ReadIndex();
    }
}

TEST(Robustness, EveryTruncationOfEitherFile) {
    TestHistory source;
    WriteMixedHistory(source);
    const std::string data = ReadFileBytes(source.paths.data);
    const std::string index = ReadFileBytes(source.paths.index);
    for (std::size_t cut = 0; cut <= data.size(); cut += 3) {
        TestHistory h;
        h.writer.AppendIndexRaw(index.substr(10));
        h.writer.AppendRaw(data.substr(0, cut));
        MessageDatabase db;
        ASSERT_TRUE(db.Open(h.paths.data, h.paths.index));
        ReadEverything(db);
    }
    for (std::size_t cut = 0; cut <= index.size(); ++cut) {
        TestHistory h;
        h.writer.AppendRaw(data);
        h.writer.TruncateIndex(0);
        h.writer.AppendIndexRaw(index.substr(0, cut));
        MessageDatabase db;
        ASSERT_TRUE(db.Open(h.paths.data, h.paths.index));
        EXPECT_EQ(db.EventCount(ALL_MEMBERS),
                  cut < 10 ? 0 : static_cast<std::int32_t>((cut - 10) / 8));
        ReadEverything(db);
    }
}

TEST(Robustness, RandomCorruption) {
    TestHistory source;
    WriteMixedHistory(source);
    const std::string data = ReadFileBytes(source.paths.data);
    const std::string index = ReadFileBytes(source.paths.index);
    std::mt19937 random(11);
    for (int round = 0; round < 200; ++round) {
        std::string d = data, x = index;
        for (int k = 0; k < 6; ++k) {
            d[random() % d.size()] = static_cast<char>(random());
            x[10 + random() % (x.size() - 10)] = static_cast<char>(random());
        }
        TestHistory h;
        h.writer.AppendRaw(d);
        h.writer.TruncateIndex(0);
        h.writer.AppendIndexRaw(x);
        MessageDatabase db;
        ASSERT_TRUE(db.Open(h.paths.data, h.paths.index));
        ReadEverything(db);
    }
}

TEST(Robustness, FilesThatShrinkAndGrowWhileOpen) {
    TestHistory h;
    WriteMixedHistory(h);
    MessageDatabase db;
    ASSERT_TRUE(db.Open(h.paths.data, h.paths.index));
    ReadEverything(db);
    h.writer.TruncateData(7);
    ReadEverything(db);
    h.writer.TruncateIndex(12);
    EXPECT_FALSE(db.HasNewEntries());
    db.ReadIndex();
    ReadEverything(db);
    WriterRecord r;
    r.text = "after";
    h.writer.AppendRaw(std::string(100, '\0'));
    h.writer.AppendEvent(3, r);
    ReadEverything(db);
}

}  // namespace
