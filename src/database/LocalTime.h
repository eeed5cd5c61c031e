#pragma once

#include <cstdint>
#include <ctime>

// Event time conversion. An event's time stamp is broken down into local time, the
// local zone's standard offset in whole hours (from tzset()'s `timezone`) is added to
// the hour, and the result is normalised as mktime does. The result is identical to
// doing exactly that with the C library, but without its per-call cost: spans of time
// in which the zone's offset is known to be constant are converted arithmetically.

// Reads the time-zone settings (tzset) and forgets every cached span. Call at start-up
// and whenever TZ changes.
void InitTimeZone();

// Converts a record's time stamp. `value` receives what mktime returns for `out`.
void ConvertEventTime(std::int32_t stamp, std::tm& out, std::int64_t& value);

// Only the time value, or only the hour and day of week, of the same conversion.
std::int64_t EventTimeValue(std::int32_t stamp);
void EventHourAndWeekday(std::int32_t stamp, int& hour, int& weekday);

// The calendar day of a broken-down time: what a memo of the last day written is kept by.
struct CalendarDayKey {
    int year = 0;
    int month = 0;
    int mday = 0;
    int wday = 0;

    static CalendarDayKey Of(const std::tm& time) {
        return {time.tm_year, time.tm_mon, time.tm_mday, time.tm_wday};
    }
    bool operator==(const CalendarDayKey&) const = default;
};

// Stamps [first, end) that EventHourAndWeekday converts arithmetically with one offset
// within one local day: the hour of each is (stamp - dayStart) / 3600, the day of week
// `weekday`.
struct EventDayRange {
    std::int64_t first = 1;
    std::int64_t end = 0;
    std::int64_t dayStart = 0;
    int weekday = 0;
};
// The range around `stamp`; false (and `out` empty) where the fast path does not apply.
bool EventDayRangeOf(std::int32_t stamp, EventDayRange& out);

// The same conversion done with the C library only (localtime_r, mktime); the reference
// the fast path is checked against.
void ConvertEventTimeSlow(std::int32_t stamp, std::tm& out, std::int64_t& value);

// The current local time, and its time value.
void CurrentLocalTime(std::tm& out, std::int64_t& value);

// Local midnight of a calendar date as a time value (mktime with tm_isdst = -1).
std::int64_t LocalMidnight(int year, int month, int day);
