#include <gtest/gtest.h>

#include <optional>

#include "database/EventRecord.h"
#include "database/MessageDatabase.h"
#include "search/DayRow.h"
#include "support/TestHistory.h"

namespace {

constexpr std::int32_t kHour = 3600;
constexpr std::int32_t kMarch5 = 952214400;  // 2000-03-05 00:00 UTC

TEST(DayRow, TheNewestEventOfTheDayOrOfTheNearestDayWithEvents) {
    ScopedTimeZone tz("UTC0");
    TestHistory h;
    // Rows, newest first: 0 = 9 Mar, 1-2 = 7 Mar, 3 = broken, 4-5 = 5 Mar, 6 = 1 Mar.
    h.Message(5, "1 Mar", kMarch5 - 4 * 24 * kHour);
    h.Message(5, "5 Mar early", kMarch5 + 1 * kHour);
    h.Message(5, "5 Mar late", kMarch5 + 23 * kHour);
    WriterRecord broken;
    broken.marker = 0;
    h.writer.AppendEvent(5, broken);
    h.Message(5, "7 Mar", kMarch5 + 2 * 24 * kHour);
    h.Message(5, "7 Mar", kMarch5 + 2 * 24 * kHour + kHour);
    h.Message(5, "9 Mar", kMarch5 + 4 * 24 * kHour);
    MessageDatabase db;
    ASSERT_TRUE(db.Open(h.paths.data, h.paths.index));
    auto row = [&](int day) { return FindDayRow(db, 5, {2000, 3, day}).value_or(-1); };
    EXPECT_EQ(row(5), 4);
    EXPECT_EQ(row(7), 1);
    EXPECT_EQ(row(6), 1);   // 5 and 7 March are as near: the later
    EXPECT_EQ(row(8), 0);   // 7 and 9 March: the later
    EXPECT_EQ(row(31), 0);  // after the last day
    EXPECT_EQ(row(2), 6);
    EXPECT_EQ(FindDayRow(db, 5, {1970, 1, 1}).value_or(-1), 6);
    EXPECT_EQ(FindDayRow(db, ALL_MEMBERS, {2000, 3, 5}).value_or(-1), 4);
    EXPECT_FALSE(FindDayRow(db, 99, {2000, 3, 5}));
    EXPECT_FALSE(FindDayRow(db, 1, {2000, 3, 5}));  // a member without events
}

TEST(DayRow, TheNewestEventOfAMonth) {
    ScopedTimeZone tz("UTC0");
    TestHistory h;
    // Rows, newest first: 0 = 2 Apr, 1 = broken (March), 2-3 = March, 4 = 28 Feb.
    h.Message(5, "28 Feb", kMarch5 - 6 * 24 * kHour);
    h.Message(5, "5 Mar", kMarch5);
    h.Message(5, "31 Mar", kMarch5 + 26 * 24 * kHour + 23 * kHour);
    WriterRecord broken;
    broken.marker = 0;
    broken.stamp = kMarch5 + 27 * 24 * kHour;
    h.writer.AppendEvent(5, broken);
    h.Message(5, "2 Apr", kMarch5 + 28 * 24 * kHour);
    MessageDatabase db;
    ASSERT_TRUE(db.Open(h.paths.data, h.paths.index));
    EXPECT_EQ(FindMonthRow(db, 5, 2000, 3), 2);
    EXPECT_EQ(FindMonthRow(db, 5, 2000, 2), 4);
    EXPECT_EQ(FindMonthRow(db, 5, 2000, 4), 0);
    EXPECT_FALSE(FindMonthRow(db, 5, 2000, 1));  // no nearest month: nothing
    EXPECT_FALSE(FindMonthRow(db, 5, 2001, 3));
    EXPECT_FALSE(FindMonthRow(db, 99, 2000, 3));
}

// The row found through the fact table is the row a walk decoding every event finds, in a
// zone with summer time, for every day of a span and for damaged records.
TEST(DayRow, TheFactTableGivesTheRowsOfAFullDecode) {
    ScopedTimeZone tz("EST5EDT,M3.2.0,M11.1.0");
    TestHistory h;
    for (int i = 0; i < 300; ++i) {
        h.Message(5 + i % 3, "m", kMarch5 + i * 7 * kHour + (i % 5) * 600);
        if (i % 40 == 0) {
            WriterRecord broken;
            broken.marker = 0;
            h.writer.AppendEvent(5, broken);
        }
    }
    MessageDatabase db;
    ASSERT_TRUE(db.Open(h.paths.data, h.paths.index));
    auto reference = [&db](std::int32_t key, std::int64_t wanted) {
        const std::int32_t count = db.EventCount(key);
        std::optional<std::int32_t> best;
        std::int64_t bestDay = 0;
        EventRecord record;
        for (std::int32_t row = 0; row < count; ++row) {
            if (!db.ReadEvent(key, RowToIndex(count, row), record)) {
                continue;
            }
            const std::int64_t date =
                DayNumber(record.time.tm_year + 1900, record.time.tm_mon + 1, record.time.tm_mday);
            const std::int64_t distance = date > wanted ? date - wanted : wanted - date;
            const std::int64_t bestDistance =
                bestDay > wanted ? bestDay - wanted : wanted - bestDay;
            if (date == wanted) {
                return std::optional<std::int32_t>(row);
            }
            if (!best || distance < bestDistance || (distance == bestDistance && date > bestDay)) {
                best = row;
                bestDay = date;
            }
        }
        return best;
    };
    for (const std::int32_t key : {5, ALL_MEMBERS}) {
        for (int day = 1; day <= 31; ++day) {
            for (const int month : {3, 4}) {
                EXPECT_EQ(FindDayRow(db, key, {2000, month, day}),
                          reference(key, DayNumber(2000, month, day)))
                    << key << " " << month << "/" << day;
            }
        }
    }
}

TEST(DayRow, DayNumbersCountFromTheEpochOverLeapYears) {
    EXPECT_EQ(DayNumber(1970, 1, 1), 0);
    EXPECT_EQ(DayNumber(2000, 3, 5), kMarch5 / 86400);
    EXPECT_EQ(DayNumber(2000, 3, 1) - DayNumber(2000, 2, 28), 2);
    EXPECT_EQ(DayNumber(1900, 3, 1) - DayNumber(1900, 2, 28), 1);
    EXPECT_EQ(DayNumber(1969, 12, 31), -1);
}

}  // namespace
