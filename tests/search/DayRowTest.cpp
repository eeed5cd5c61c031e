#include <gtest/gtest.h>

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

TEST(DayRow, DayNumbersCountFromTheEpochOverLeapYears) {
    EXPECT_EQ(DayNumber(1970, 1, 1), 0);
    EXPECT_EQ(DayNumber(2000, 3, 5), kMarch5 / 86400);
    EXPECT_EQ(DayNumber(2000, 3, 1) - DayNumber(2000, 2, 28), 2);
    EXPECT_EQ(DayNumber(1900, 3, 1) - DayNumber(1900, 2, 28), 1);
    EXPECT_EQ(DayNumber(1969, 12, 31), -1);
}

}  // namespace
