#pragma once

#include <cstdint>
#include <map>

class MessageDatabase;

// A count table: key to count, iterated in ascending key order; a key that was never
// counted is absent and reads as 0 through CountOf.
using CountTable = std::map<std::int32_t, std::int32_t>;

// The five tables of the member property sheet.
struct MemberStats {
    CountTable allByType;       // event type (0-65535): every event of that type
    CountTable sentByType;      // event type: events whose direction is not 0
    CountTable receivedByType;  // event type: events whose direction is 0
    CountTable byHour;          // hour of day 0-23
    CountTable byWeekday;       // day of week 0-6, 0 Sunday
};

std::int32_t CountOf(const CountTable& table, std::int32_t key);

// One pass over member `key`'s events. Every event counts in the type tables, one that
// failed to decode as a received event of type 0 (or of the unsupported type it has).
// An event that failed to decode has no time, so it is left out of byHour and byWeekday.
MemberStats ComputeStats(MessageDatabase& db, std::int32_t key);
