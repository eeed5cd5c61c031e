#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "database/EventTypes.h"
#include "database/MessageDatabase.h"
#include "stats/DistributionGraph.h"
#include "stats/MemberStats.h"
#include "stats/StatsTable.h"
#include "support/TestHistory.h"

namespace {

const std::string kTotal =
    "\x91S\x83"
    "C\x83x\x83\x93\x83g\x8D\x87\x8Cv";  // 全イベント合計

class Stats : public ::testing::Test {
protected:
    Stats() : tz_("JST-9") {}

    void Add(std::int32_t key, std::uint16_t type, std::uint32_t direction,
             std::int32_t stamp = 0) {
        WriterRecord record;
        record.type = type;
        record.uin = key;
        record.text = "t";
        record.direction = direction;
        record.stamp = stamp;
        h_.writer.AppendEvent(key, record);
    }
    void Open() { ASSERT_TRUE(db_.Open(h_.paths.data, h_.paths.index)); }

    ScopedTimeZone tz_;
    TestHistory h_;
    MessageDatabase db_;
};

void ExpectRow(const StatsRow& row, const std::string& name, std::int32_t sent,
               std::int32_t received, std::int32_t total, std::int32_t image) {
    EXPECT_EQ(row.typeName, name);
    EXPECT_EQ(row.sent, sent);
    EXPECT_EQ(row.received, received);
    EXPECT_EQ(row.total, total);
    EXPECT_EQ(row.image, image);
}

TEST_F(Stats, MessagesAndUrlMessagesGiveThreeRows) {
    for (int i = 0; i < 3; ++i) {
        Add(5, 1, Received);
    }
    Add(5, 4, Sent);
    Add(5, 4, Sent);
    Add(6, 1, Sent);  // another member
    Open();
    const MemberStats stats = ComputeStats(db_, 5);
    const auto rows = StatsTableRows(stats);
    ASSERT_EQ(rows.size(), 3u);
    ExpectRow(rows[0], TypeName(1), 0, 3, 3, 1);
    ExpectRow(rows[1], TypeName(4), 2, 0, 2, 4);
    ExpectRow(rows[2], kTotal, 2, 3, 5, kTotalRowImage);
    EXPECT_EQ(stats.sentByType.count(1), 0u) << "never counted, so absent";
    EXPECT_EQ(CountOf(stats.sentByType, 1), 0);

    // All members cover every event of the database.
    const auto all = StatsTableRows(ComputeStats(db_, ALL_MEMBERS));
    ExpectRow(all.back(), kTotal, 3, 3, 6, kTotalRowImage);
}

TEST_F(Stats, UndecodableEventsCountByTypeButHaveNoTime) {
    Add(5, 7, Sent, 100);  // unsupported: counted as received type 7
    WriterRecord corrupt;
    corrupt.marker = 0xFFFF;
    corrupt.type = 1;
    h_.writer.AppendEvent(5, corrupt);  // counted as received type 0
    Add(5, 10, 2, 0);                   // decoded, any direction but 0 is sent
    Add(5, 19, Received, 0);
    Open();
    const MemberStats stats = ComputeStats(db_, 5);
    const auto rows = StatsTableRows(stats);
    ASSERT_EQ(rows.size(), 5u);
    // Ascending by type: the error type first, unsupported types with image 0.
    ExpectRow(rows[0], TypeName(0), 0, 1, 1, 0);
    ExpectRow(rows[1], TypeName(7), 0, 1, 1, 0);
    ExpectRow(rows[2], TypeName(10), 1, 0, 1, 10);
    ExpectRow(rows[3], TypeName(19), 0, 1, 1, 19);
    ExpectRow(rows[4], kTotal, 1, 3, 4, kTotalRowImage);

    // Only the two decoded events are in the distributions: stamp 0 shows as
    // 1970-01-01 18:00 on this machine, a Thursday.
    EXPECT_EQ(stats.byHour, (CountTable{{18, 2}}));
    EXPECT_EQ(stats.byWeekday, (CountTable{{4, 2}}));
}

TEST_F(Stats, HoursAndWeekdaysFollowTheShownTime) {
    // Shown times are UTC + 18 hours here: 2000-03-05 09:07:03 (Sunday) and, 20 local hours
    // later, 05:07:03 on Monday.
    Add(5, 1, Received, 952247223 - 18 * 3600);
    Add(5, 1, Received, 952247223 - 18 * 3600 + 20 * 3600);
    Open();
    const MemberStats stats = ComputeStats(db_, 5);
    EXPECT_EQ(stats.byHour, (CountTable{{5, 1}, {9, 1}}));
    EXPECT_EQ(stats.byWeekday, (CountTable{{0, 1}, {1, 1}}));
    EXPECT_EQ(BarValues(stats.byHour, kHourBars).size(), 24u);
    EXPECT_EQ(BarValues(stats.byHour, kHourBars).at(9), 1);
    EXPECT_EQ(BarValues(stats.byHour, kHourBars).at(10), 0);
}

TEST_F(Stats, MonthsFollowTheShownDateAndSplitSentFromReceived) {
    // Shown times are UTC + 18 hours here: 2019-12-31 05:00 UTC shows as 23:00 that day,
    // two hours later it is already 2020-01-01.
    constexpr std::int32_t kDec31 = 1577750400;  // 2019-12-31 00:00 UTC
    Add(5, 1, Received, kDec31 + 5 * 3600);
    Add(5, 1, Sent, kDec31 + 7 * 3600);
    Add(5, 4, Received, kDec31 + 7 * 3600);
    WriterRecord corrupt;
    corrupt.marker = 0xFFFF;
    corrupt.stamp = kDec31 + 40 * 86400;  // February, but it has no date
    h_.writer.AppendEvent(5, corrupt);
    Add(5, 1, Sent, kDec31 + 70 * 86400);  // March 2020
    Add(6, 1, Sent, kDec31);               // a member with one event
    Open();
    constexpr std::int32_t kDecember = 2019 * 12 + 11;
    EXPECT_EQ(ComputeStats(db_, 5).byMonth,
              (MonthTable{{kDecember, {0, 1}}, {kDecember + 1, {1, 1}}, {kDecember + 3, {1, 0}}}));
    EXPECT_EQ(ComputeStats(db_, 6).byMonth, (MonthTable{{kDecember, {1, 0}}}));
    EXPECT_TRUE(ComputeStats(db_, 4242).byMonth.empty());
}

TEST_F(Stats, MemberWithoutEventsHasOnlyTheTotalRow) {
    Open();
    const MemberStats stats = ComputeStats(db_, 4242);
    const auto rows = StatsTableRows(stats);
    ASSERT_EQ(rows.size(), 1u);
    ExpectRow(rows[0], kTotal, 0, 0, 0, kTotalRowImage);
    EXPECT_TRUE(stats.byHour.empty());
    const auto values = BarValues(stats.byWeekday, kWeekdayBars);
    EXPECT_EQ(values, (std::map<std::int32_t, std::int32_t>{
                          {0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}}));
}

}  // namespace

namespace {

// Entries under ALL_MEMBERS's own key stand in its list twice; each still counts with its
// own record.
TEST_F(Stats, EntriesUnderTheAllMembersKeyCountWithTheirOwnRecords) {
    Add(ALL_MEMBERS, 1, 0);
    Add(5, 4, 1);
    Add(ALL_MEMBERS, 2, 1);
    Open();
    const MemberStats stats = ComputeStats(db_, ALL_MEMBERS);
    EXPECT_EQ(CountOf(stats.allByType, 1), 2);
    EXPECT_EQ(CountOf(stats.allByType, 4), 1);
    EXPECT_EQ(CountOf(stats.allByType, 2), 2);
    EXPECT_EQ(CountOf(stats.sentByType, 2), 2);
}

}  // namespace
