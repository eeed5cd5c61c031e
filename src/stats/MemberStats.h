#pragma once

#include <cstdint>
#include <map>

class MessageDatabase;

// A count table: key to count, iterated in ascending key order; a key that was never
// counted is absent and reads as 0 through CountOf.
using CountTable = std::map<std::int32_t, std::int32_t>;

// The events of one calendar month, sent (direction not 0) and received.
struct MonthCount {
    std::int32_t sent = 0;
    std::int32_t received = 0;

    std::int64_t Total() const { return std::int64_t{sent} + received; }
    bool operator==(const MonthCount&) const = default;
};

// Month number to its counts; a month is numbered year * 12 + (month - 1), month 1-12.
using MonthTable = std::map<std::int32_t, MonthCount>;

// The tables of the member property sheet.
struct MemberStats {
    CountTable allByType;       // event type (0-65535): every event of that type
    CountTable sentByType;      // event type: events whose direction is not 0
    CountTable receivedByType;  // event type: events whose direction is 0
    CountTable byHour;          // hour of day 0-23
    CountTable byWeekday;       // day of week 0-6, 0 Sunday
    MonthTable byMonth;         // the months that have events, by the date the list shows
};

std::int32_t CountOf(const CountTable& table, std::int32_t key);

// One pass over member `key`'s events. Every event counts in the type tables, one that
// failed to decode as a received event of type 0 (or of the unsupported type it has).
// An event that failed to decode has no time, so it is left out of byHour, byWeekday and
// byMonth.
MemberStats ComputeStats(MessageDatabase& db, std::int32_t key);
