#include "stats/MemberStats.h"

#include <vector>

#include "database/EventRecord.h"
#include "database/MessageDatabase.h"

namespace {

constexpr std::size_t kTypeCount = 65536;
constexpr std::size_t kHours = 24;
constexpr std::size_t kWeekdays = 7;

// Counts go to flat arrays during the pass; the tables take only the keys that were
// counted, at the end.
void FillTable(CountTable& table, const std::vector<std::int32_t>& counts) {
    for (std::size_t key = 0; key < counts.size(); ++key) {
        if (counts[key] != 0) {
            table.emplace_hint(table.end(), static_cast<std::int32_t>(key), counts[key]);
        }
    }
}

}  // namespace

std::int32_t CountOf(const CountTable& table, std::int32_t key) {
    const auto it = table.find(key);
    return it != table.end() ? it->second : 0;
}

MemberStats ComputeStats(MessageDatabase& db, std::int32_t key) {
    std::vector<std::int32_t> all(kTypeCount);
    std::vector<std::int32_t> sent(kTypeCount);
    std::vector<std::int32_t> received(kTypeCount);
    std::vector<std::int32_t> hours(kHours);
    std::vector<std::int32_t> weekdays(kWeekdays);

    EventRecord record;
    const std::int32_t count = db.EventCount(key);
    for (std::int32_t i = 0; i < count; ++i) {
        const bool decoded = db.ReadEvent(key, i, record);
        const std::size_t type = record.type;
        ++all[type];
        ++(record.direction != Received ? sent : received)[type];
        if (!decoded) {
            continue;
        }
        const auto hour = static_cast<std::size_t>(record.time.tm_hour);
        const auto weekday = static_cast<std::size_t>(record.time.tm_wday);
        if (hour < kHours && weekday < kWeekdays) {
            ++hours[hour];
            ++weekdays[weekday];
        }
    }

    MemberStats stats;
    FillTable(stats.allByType, all);
    FillTable(stats.sentByType, sent);
    FillTable(stats.receivedByType, received);
    FillTable(stats.byHour, hours);
    FillTable(stats.byWeekday, weekdays);
    return stats;
}
