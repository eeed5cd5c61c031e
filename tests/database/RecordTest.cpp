#include <gtest/gtest.h>

#include <unistd.h>

#include <climits>
#include <string>
#include <vector>

#include "database/DatabaseTexts.h"
#include "database/EventCells.h"
#include "database/EventTypes.h"
#include "database/MessageDatabase.h"
#include "database/RecordWalker.h"
#include "support/TestHistory.h"

namespace {

const std::string kCorrupt(dbtext::kCorrupt);
const std::string kUnsupported(dbtext::kUnsupported);

class Records : public ::testing::Test {
protected:
    Records() : tz_("JST-9") {}

    // Writes `record` as the only event of member 5 and decodes it.
    bool Decode(const WriterRecord& record, EventRecord& out) {
        h_.writer.AppendEvent(5, record);
        return Reopen() && db_.ReadEvent(5, db_.EventCount(5) - 1, out);
    }
    bool Reopen() {
        db_.Close();
        return static_cast<bool>(db_.Open(h_.paths.data, h_.paths.index));
    }

    ScopedTimeZone tz_;
    TestHistory h_;
    MessageDatabase db_;
};

TEST_F(Records, DecodesEveryFieldOfAMessage) {
    WriterRecord r;
    r.type = 1;
    r.uin = 4321;
    r.text = "hello";
    r.extra = 0xDEADBEEF;
    r.direction = Sent;
    r.stamp = 952247223 - 18 * 3600;  // shows as 2000-03-05 09:07:03
    EventRecord e;
    ASSERT_TRUE(Decode(r, e));
    EXPECT_EQ(e.type, 1);
    EXPECT_EQ(e.uin, 4321);
    EXPECT_EQ(e.extra, 0xDEADBEEFu);
    EXPECT_EQ(e.direction, Sent);
    EXPECT_EQ(e.text, "hello");
    EXPECT_EQ(e.time.tm_year, 100);
    EXPECT_EQ(e.time.tm_mon, 2);
    EXPECT_EQ(e.time.tm_mday, 5);
    EXPECT_EQ(e.time.tm_hour, 9);
    EXPECT_EQ(e.time.tm_min, 7);
    EXPECT_EQ(e.time.tm_sec, 3);
    EXPECT_EQ(e.time.tm_wday, 0);

    std::uint32_t direction = 99;
    EXPECT_TRUE(db_.ReadDirection(5, 0, direction));
    EXPECT_EQ(direction, Sent);
}

TEST_F(Records, TextEndsAtTheFirstNul) {
    EventRecord e;
    WriterRecord only_nul;
    only_nul.text = "";
    only_nul.length = 1;
    ASSERT_TRUE(Decode(only_nul, e));
    EXPECT_EQ(e.text, "");

    WriterRecord embedded;
    embedded.text = std::string("abc\0xyz", 7);
    ASSERT_TRUE(Decode(embedded, e));
    EXPECT_EQ(e.text, "abc");

    WriterRecord unterminated;
    unterminated.text = "abcdef";
    unterminated.terminate = false;
    ASSERT_TRUE(Decode(unterminated, e));
    EXPECT_EQ(e.text, "abcdef");

    WriterRecord empty;
    empty.terminate = false;
    empty.length = 0;
    ASSERT_TRUE(Decode(empty, e));
    EXPECT_EQ(e.text, "");
}

TEST_F(Records, UrlMessagesAreLaidOut) {
    EventRecord e;
    WriterRecord url;
    url.type = 4;
    url.text = "abc\xFExyz";
    ASSERT_TRUE(Decode(url, e));
    EXPECT_EQ(e.text, "[URL\x82\xCC\x90\xE0\x96\xBE]\r\nabc\r\n\r\n[URL]\r\nxyz");

    url.text = "\xFEhttp://a";
    ASSERT_TRUE(Decode(url, e));
    EXPECT_EQ(e.text, "[URL\x82\xCC\x90\xE0\x96\xBE]\r\n\r\n\r\n[URL]\r\nhttp://a");

    url.text =
        "d\xFE"
        "a\xFE"
        "b";
    ASSERT_TRUE(Decode(url, e));
    EXPECT_EQ(e.text,
              "[URL\x82\xCC\x90\xE0\x96\xBE]\r\nd\r\n\r\n[URL]\r\na\xFE"
              "b");

    url.text = "no separator";
    ASSERT_TRUE(Decode(url, e));
    EXPECT_EQ(e.text, "[URL\x82\xCC\x90\xE0\x96\xBE]\r\nno separator\r\n\r\n[URL]\r\n");
}

TEST_F(Records, TypeTenIsReadButShowsTheUnsupportedText) {
    WriterRecord r;
    r.type = 10;
    r.uin = 77;
    r.text = "anything";
    r.direction = Sent;
    EventRecord e;
    ASSERT_TRUE(Decode(r, e));
    EXPECT_EQ(e.text, kUnsupported);
    EXPECT_EQ(e.uin, 77);
    EXPECT_EQ(e.direction, Sent);
}

TEST_F(Records, FailuresLeaveADisplayableRecord) {
    EventRecord e;
    // A type outside the decoded set: the type stands, everything else is reset.
    WriterRecord seven;
    seven.type = 7;
    seven.uin = 99;
    seven.direction = Sent;
    EXPECT_FALSE(Decode(seven, e));
    EXPECT_EQ(e.type, 7);
    EXPECT_EQ(e.uin, 0);
    EXPECT_EQ(e.direction, Received);
    EXPECT_EQ(e.text, kUnsupported);
    EXPECT_FALSE(e.stampRead);

    // A wrong marker.
    WriterRecord bad;
    bad.marker = 0x00A1;
    bad.type = 1;
    EXPECT_FALSE(Decode(bad, e));
    EXPECT_EQ(e.type, 0);
    EXPECT_EQ(e.text, kCorrupt);
    std::uint32_t direction = 42;
    EXPECT_FALSE(db_.ReadDirection(5, db_.EventCount(5) - 1, direction));
    EXPECT_EQ(direction, 42u);

    // An offset past the end of the file, then a good record after it.
    h_.writer.AppendEntry(5, 1 << 30);
    h_.writer.AppendEntry(5, -8);
    WriterRecord good;
    good.text = "fine";
    h_.writer.AppendEvent(5, good);
    ASSERT_TRUE(Reopen());
    const std::int32_t n = db_.EventCount(5);
    EXPECT_FALSE(db_.ReadEvent(5, n - 3, e));
    EXPECT_EQ(e.text, kCorrupt);
    EXPECT_FALSE(db_.ReadEvent(5, n - 2, e));
    EXPECT_EQ(e.text, kCorrupt);
    EXPECT_TRUE(db_.ReadEvent(5, n - 1, e));
    EXPECT_EQ(e.text, "fine");

    // Positions outside the member's list are refused the same way.
    EXPECT_FALSE(db_.ReadEvent(5, n, e));
    EXPECT_FALSE(db_.ReadEvent(5, -1, e));
    EXPECT_FALSE(db_.ReadEvent(4242, 0, e));
    EXPECT_EQ(e.text, kCorrupt);
}

TEST_F(Records, RecordCutShortByTheEndOfTheFile) {
    WriterRecord r;
    r.uin = 31;
    r.text = "partial text";
    r.direction = Sent;
    const std::string bytes = EncodeRecord(r);
    // Every cut: never more than the file holds, the fields read so far stand.
    for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
        SCOPED_TRACE(cut);
        TestHistory h;
        std::int32_t offset = h.writer.AppendRecordPrefix(r, cut);
        h.writer.AppendEntry(5, offset);
        MessageDatabase db;
        ASSERT_TRUE(db.Open(h.paths.data, h.paths.index));
        EventRecord e;
        EXPECT_FALSE(db.ReadEvent(5, 0, e));
        EXPECT_FALSE(e.stampRead);
        EXPECT_EQ(e.direction, Received);
        if (cut >= 8) {
            EXPECT_EQ(e.uin, 31);
        }
        if (cut >= 10) {
            EXPECT_EQ(e.text,
                      std::string("partial text").substr(0, std::min<std::size_t>(cut - 10, 12)));
        }
        std::uint32_t direction = 7;
        EXPECT_EQ(db.ReadDirection(5, 0, direction), cut >= 10 + 13 + 8);
    }
}

TEST_F(Records, DirectionValuesAreKeptAsRead) {
    WriterRecord r;
    r.direction = 7;
    EventRecord e;
    ASSERT_TRUE(Decode(r, e));
    EXPECT_EQ(e.direction, 7u);
}

TEST_F(Records, DeferredTimeIsLeftForLater) {
    WriterRecord r;
    r.stamp = 1000;
    h_.writer.AppendEvent(5, r);
    ASSERT_TRUE(Reopen());
    EventRecord e;
    ASSERT_TRUE(db_.ReadEvent(5, 0, e, false));
    EXPECT_TRUE(e.stampRead);
    EXPECT_FALSE(e.timeConverted);
    EXPECT_EQ(e.stamp, 1000);
}

TEST(EventTypes, NamesAndSupport) {
    for (int t = 0; t <= 25; ++t) {
        const bool decoded = t == 1 || t == 2 || t == 3 || t == 4 || t == 6 || t == 8 || t == 9 ||
                             t == 10 || t == 12 || t == 13 || t == 14 || t == 15 || t == 19;
        EXPECT_EQ(IsSupportedType(static_cast<std::uint16_t>(t)), decoded) << t;
    }
    EXPECT_EQ(TypeName(0), "\x83G\x83\x89\x81[");
    EXPECT_EQ(TypeName(1),
              "\x83\x81\x83"
              "b\x83Z\x81[\x83W");
    EXPECT_EQ(TypeName(8), "authorization");
    EXPECT_EQ(TypeName(7),
              "\x83^\x83"
              "C\x83v 7");
    EXPECT_EQ(TypeName(65535),
              "\x83^\x83"
              "C\x83v 65535");
    EXPECT_EQ(DirectionName(0), "\x8E\xF3\x90M");
    EXPECT_EQ(DirectionName(1), "\x91\x97\x90M");
    EXPECT_EQ(DirectionName(2), "\x91\x97\x90M");
    EXPECT_EQ(WeekdayName(0), "\x93\xFA");
    EXPECT_EQ(WeekdayName(6), "\x93y");
    EXPECT_EQ(WeekdayName(7), "");
}

TEST(EventCellsTest, AbsurdCalendarTimesFormatWithoutOverflow) {
    std::tm time{};
    time.tm_year = INT_MAX;
    time.tm_mon = INT_MAX;
    time.tm_mday = INT_MIN;
    time.tm_wday = 9;
    EXPECT_EQ(FormatListDate(time), "2147485547/2147483648/-2147483648 ");
}

}  // namespace

// A walk sees large blocks through a mapping: a data file cut short under it reads as
// zeros past its new end, never as a fault that ends the program.
TEST(RecordWalkerTest, ADataFileCutShortUnderAMappedBlockIsNoFault) {
    TestHistory h;
    std::vector<WriterEvent> events(4000);
    for (WriterEvent& e : events) {
        e.key = 5;
        e.record.text = std::string(200, 'a');
    }
    ASSERT_GE(h.writer.AppendEvents(events), 0);
    MessageDatabase db;
    ASSERT_TRUE(db.Open(h.paths.data, h.paths.index));
    RecordWalker walker(db);
    const std::vector<EventRef>& refs = db.Refs(ALL_MEMBERS);
    const std::uint64_t before = MappedBytes::faults();
    std::uint64_t sum = 0;
    std::size_t blocks = 0;
    walker.WalkBlocks(refs, 0, refs.size(), [&](std::size_t, std::size_t) {
        if (blocks++ == 0) {
            ASSERT_EQ(::truncate(h.paths.data.c_str(), 0), 0);
        }
        for (std::size_t i = 0; i < walker.blockLength(); ++i) {
            sum += walker.blockData()[i];
        }
    });
    EXPECT_EQ(sum, 0u);
    EXPECT_GT(MappedBytes::faults(), before);
}
