#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "database/LocalTime.h"
#include "support/TestHistory.h"

namespace {

std::tm Convert(std::int32_t stamp) {
    std::tm tm{};
    std::int64_t value = 0;
    ConvertEventTime(stamp, tm, value);
    return tm;
}

void ExpectSameAsLibrary(std::int32_t stamp) {
    std::tm fast{}, slow{};
    std::int64_t fastValue = 0, slowValue = 0;
    ConvertEventTime(stamp, fast, fastValue);
    ConvertEventTimeSlow(stamp, slow, slowValue);
    ASSERT_EQ(fastValue, slowValue) << "stamp " << stamp;
    ASSERT_EQ(fast.tm_year, slow.tm_year) << "stamp " << stamp;
    ASSERT_EQ(fast.tm_mon, slow.tm_mon) << "stamp " << stamp;
    ASSERT_EQ(fast.tm_mday, slow.tm_mday) << "stamp " << stamp;
    ASSERT_EQ(fast.tm_hour, slow.tm_hour) << "stamp " << stamp;
    ASSERT_EQ(fast.tm_min, slow.tm_min) << "stamp " << stamp;
    ASSERT_EQ(fast.tm_sec, slow.tm_sec) << "stamp " << stamp;
    ASSERT_EQ(fast.tm_wday, slow.tm_wday) << "stamp " << stamp;
    ASSERT_EQ(fast.tm_yday, slow.tm_yday) << "stamp " << stamp;
    ASSERT_EQ(fast.tm_isdst, slow.tm_isdst) << "stamp " << stamp;
    ASSERT_EQ(fast.tm_gmtoff, slow.tm_gmtoff) << "stamp " << stamp;
}

TEST(LocalTime, JapanTimeIsShiftedByNineHours) {
    ScopedTimeZone tz("JST-9");
    // 0 is 1970-01-01 09:00 local; nine more hours give 18:00, a Thursday.
    std::tm tm = Convert(0);
    EXPECT_EQ(tm.tm_year, 70);
    EXPECT_EQ(tm.tm_mon, 0);
    EXPECT_EQ(tm.tm_mday, 1);
    EXPECT_EQ(tm.tm_hour, 18);
    EXPECT_EQ(tm.tm_wday, 4);

    // Local 20:00 on Sunday 2000-03-05 shows as 05:00 on Monday the 6th.
    const std::int32_t localEight = 952254000;  // 2000-03-05 11:00 UTC = 20:00 JST
    tm = Convert(localEight);
    EXPECT_EQ(tm.tm_mday, 6);
    EXPECT_EQ(tm.tm_hour, 5);
    EXPECT_EQ(tm.tm_wday, 1);
    EXPECT_EQ(tm.tm_yday, 65);
}

TEST(LocalTime, UtcIsNotShifted) {
    ScopedTimeZone tz("UTC0");
    std::tm tm = Convert(952247223);  // 2000-03-05 09:07:03 UTC, a Sunday
    EXPECT_EQ(tm.tm_year, 100);
    EXPECT_EQ(tm.tm_mon, 2);
    EXPECT_EQ(tm.tm_mday, 5);
    EXPECT_EQ(tm.tm_hour, 9);
    EXPECT_EQ(tm.tm_min, 7);
    EXPECT_EQ(tm.tm_sec, 3);
    EXPECT_EQ(tm.tm_wday, 0);
}

TEST(LocalTime, NegativeStampShowsTimeBefore1970) {
    ScopedTimeZone tz("UTC0");
    std::tm tm = Convert(-86400);
    EXPECT_EQ(tm.tm_year, 69);
    EXPECT_EQ(tm.tm_mon, 11);
    EXPECT_EQ(tm.tm_mday, 31);
    EXPECT_EQ(tm.tm_wday, 3);
}

// The fast path must agree with localtime + mktime everywhere, including around
// daylight-saving changes, in zones with odd offsets and at the ends of the 32-bit range.
const char* const kZones[] = {"JST-9",
                              "UTC0",
                              "EST5EDT,M3.2.0,M11.1.0",
                              "Europe/Berlin",
                              "America/New_York",
                              "Australia/Lord_Howe",
                              "Asia/Kolkata",
                              "America/St_Johns",
                              "Pacific/Apia",
                              "NST-3:30"};

TEST(LocalTime, FastConversionMatchesTheCLibrary) {
    const auto& zones = kZones;
    std::mt19937 random(7);
    std::uniform_int_distribution<std::int32_t> anyStamp(INT32_MIN, INT32_MAX);
    for (const char* zone : zones) {
        SCOPED_TRACE(zone);
        ScopedTimeZone tz(zone);
        for (std::int32_t stamp : {INT32_MIN, INT32_MIN + 1, -1, 0, 1, INT32_MAX - 1, INT32_MAX}) {
            ExpectSameAsLibrary(stamp);
        }
        for (int i = 0; i < 4000; ++i) {
            ExpectSameAsLibrary(anyStamp(random));
        }
        // Every 10 minutes through 2021, which has two daylight-saving changes in most
        // northern and southern zones, and a few seconds around each hour.
        for (std::int32_t t = 1609459200; t < 1640995200; t += 600) {
            ExpectSameAsLibrary(t);
            if (t % 3600 == 0) {
                ExpectSameAsLibrary(t - 1);
            }
        }
    }
}

// Newest first, as the list and the exports read: each day's zone check builds on the
// day after it.
TEST(LocalTime, FastConversionMatchesTheCLibraryWalkingBack) {
    for (const char* zone : kZones) {
        SCOPED_TRACE(zone);
        ScopedTimeZone tz(zone);
        for (std::int32_t t = 1640995200; t > 1609459200; t -= 1800) {
            ExpectSameAsLibrary(t);
        }
    }
}

// The C library takes UTC for a zone it cannot find, so without tzdata the tests above
// would compare UTC with UTC and pass.
TEST(LocalTime, ZoneThatIsNotInstalledFailsTheTest) {
    EXPECT_NONFATAL_FAILURE(ScopedTimeZone tz("Nowhere/Atlantis"), "is not installed");
    EXPECT_NONFATAL_FAILURE(ScopedTimeZone tz(":Nowhere/Atlantis"), "is not installed");
}

TEST(LocalTime, LocalMidnightFollowsTheZone) {
    ScopedTimeZone tz("JST-9");
    EXPECT_EQ(LocalMidnight(2000, 6, 1), 959785200);  // 2000-05-31 15:00 UTC
    ScopedTimeZone utc("UTC0");
    EXPECT_EQ(LocalMidnight(2000, 6, 1), 959817600);
}

TEST(LocalTime, ADayTheZoneSkippedStillGivesRealTimes) {
    // Samoa went from 2011-12-29 24:00 (UTC-10) straight to 2011-12-31 00:00 (UTC+14);
    // its standard offset is now +13, so events of the 29th afternoon land on the 30th,
    // a local day that mktime refuses.
    ScopedTimeZone tz("Pacific/Apia");
    std::tm tm{};
    std::int64_t value = 0;
    ConvertEventTime(1325196000, tm, value);  // 2011-12-29 12:00 local
    EXPECT_EQ(tm.tm_mday, 30);
    EXPECT_EQ(tm.tm_hour, 1);
    EXPECT_EQ(tm.tm_wday, 5);  // a Friday
    EXPECT_EQ(tm.tm_yday, 363);
    ExpectSameAsLibrary(1325196000);
    // The day's range holds the event; the day before ends where it starts.
    const std::int64_t dayStart = LocalMidnight(2011, 12, 30);
    EXPECT_EQ(dayStart, LocalMidnight(2011, 12, 29) + 86400);
    EXPECT_LE(dayStart, value);
    EXPECT_LT(value, dayStart + 86400);
    for (std::int32_t t = 1325152800; t < 1325239200; t += 1800) {
        ConvertEventTime(t, tm, value);
        EXPECT_LT(tm.tm_hour, 24) << t;
        EXPECT_NE(value, -1) << t;
    }
}

}  // namespace

namespace {

// Every stamp of a local day has the day's fields and the hour the C library gives it.
TEST(LocalTime, LocalDaysAgreeWithTheLibraryForEachStamp) {
    auto expectAgrees = [](std::int64_t stamp, const LocalDay& day) {
        if (stamp < INT32_MIN || stamp > INT32_MAX) {
            return;
        }
        std::tm slow{};
        std::int64_t value = 0;
        ConvertEventTimeSlow(static_cast<std::int32_t>(stamp), slow, value);
        ASSERT_EQ(slow.tm_hour, day.HourOf(stamp)) << stamp;
        ASSERT_EQ(slow.tm_wday, day.fields.tm_wday) << stamp;
        ASSERT_EQ(slow.tm_mday, day.fields.tm_mday) << stamp;
        ASSERT_EQ(value, stamp + day.shift) << stamp;
    };
    std::mt19937 random(11);
    std::uniform_int_distribution<std::int32_t> anyStamp(INT32_MIN, INT32_MAX);
    for (const char* zone : kZones) {
        SCOPED_TRACE(zone);
        ScopedTimeZone tz(zone);
        std::vector<std::int32_t> stamps = {INT32_MIN, -1, 0, INT32_MAX};
        for (std::int32_t t = 1609459200; t < 1640995200; t += 2221) {
            stamps.push_back(t);
        }
        for (int i = 0; i < 2000; ++i) {
            stamps.push_back(anyStamp(random));
        }
        for (const std::int32_t stamp : stamps) {
            const LocalDay* found = LocalDayOf(stamp);
            if (found == nullptr) {
                continue;
            }
            const LocalDay day = *found;
            ASSERT_TRUE(day.Holds(stamp)) << stamp;
            for (const std::int64_t t : {std::int64_t{stamp}, day.first, day.end - 1}) {
                expectAgrees(t, day);
            }
        }
    }
}

}  // namespace
