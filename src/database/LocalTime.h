#pragma once

#include <cstdint>
#include <ctime>
#include <string_view>

// Event time conversion. An event's time stamp is broken down into local time, the
// local zone's standard offset in whole hours (from tzset()'s `timezone`) is added to
// the hour, and the result is normalised as mktime does. The result is identical to
// doing exactly that with the C library, but without its per-call cost: spans of time
// in which the zone's offset is known to be constant are converted arithmetically.

// Reads the time-zone settings (tzset) and forgets every cached span. Call at start-up
// and whenever TZ changes.
void InitTimeZone();

// Whether `name` names a zone of the system's time-zone database (an IANA name such as
// Asia/Tokyo): a file under $TZDIR or /usr/share/zoneinfo that holds zone rules.
bool IsTimeZoneName(std::string_view name);

// Shows times by the rules of the zone `name` from now on (InitTimeZone included); an
// empty name goes back to the zone the process started with. False, and nothing
// changed, for a name that is not a zone.
bool UseTimeZone(std::string_view name);

// Converts a record's time stamp. `value` receives what mktime returns for `out`.
void ConvertEventTime(std::int32_t stamp, std::tm& out, std::int64_t& value);

// Only the time value, or only the hour and day of week, of the same conversion.
std::int64_t EventTimeValue(std::int32_t stamp);
void EventHourAndWeekday(std::int32_t stamp, int& hour, int& weekday);

// The local day of an event, as the conversion above has it where it is plain arithmetic:
// the stamps [first, end) lie in one local day and one UTC day (so under one offset); the
// day begins at the stamp `dayStart`; a stamp's time value is stamp + shift; `fields` are
// the day's calendar fields at midnight, zone included. Events come in runs of one day, so
// this is the one memo of the time conversion: the conversion keeps the current day, and
// callers keep what they made of it (a date cell) by its `serial`, which no other day has.
struct LocalDay {
    std::int64_t first = 1;
    std::int64_t end = 0;
    std::int64_t dayStart = 0;
    std::int64_t shift = 0;
    std::tm fields{};
    std::uint64_t serial = 0;

    bool Holds(std::int64_t stamp) const { return stamp >= first && stamp < end; }
    int HourOf(std::int64_t stamp) const { return static_cast<int>((stamp - dayStart) / 3600); }
};

// The local day of `stamp` (the memo, valid until the next call on this thread); nullptr
// where the conversion is not plain arithmetic (around a change of the zone's offset), and
// EventHourAndWeekday or ConvertEventTime must be asked.
const LocalDay* LocalDayOf(std::int32_t stamp);

// The same conversion done with the C library only (localtime_r, mktime); the reference
// the fast path is checked against.
void ConvertEventTimeSlow(std::int32_t stamp, std::tm& out, std::int64_t& value);

// The offset from UTC, in seconds east, of the zone at an event's shown time: what the
// calendar fields and the time value that the conversion gave differ by.
std::int64_t ShownOffset(const std::tm& shown, std::int64_t value);

// The current local time, and its time value.
void CurrentLocalTime(std::tm& out, std::int64_t& value);

// Local midnight of a calendar date as a time value (mktime with tm_isdst = -1).
std::int64_t LocalMidnight(int year, int month, int day);
