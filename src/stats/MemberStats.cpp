#include "stats/MemberStats.h"

#include <vector>

#include "database/EventFacts.h"
#include "database/EventRecord.h"
#include "database/LocalTime.h"
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

// Hour and day of week as EventHourAndWeekday gives them; a stamp in the local day of the
// one before (as most are: histories run in time order) costs a subtraction.
class DayMemo {
public:
    void HourAndWeekday(std::int32_t stamp, int& hour, int& weekday) {
        if (day_ == nullptr || !day_->Holds(stamp)) {
            day_ = LocalDayOf(stamp);
            if (day_ == nullptr) {
                EventHourAndWeekday(stamp, hour, weekday);
                return;
            }
        }
        hour = day_->HourOf(stamp);
        weekday = day_->fields.tm_wday;
    }

private:
    const LocalDay* day_ = nullptr;  // the conversion's memo of the current day
};

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

    auto count = [&](std::uint16_t type, bool notReceived, bool decoded, int hour, int weekday) {
        ++all[type];
        ++(notReceived ? sent : received)[type];
        if (decoded && hour >= 0 && static_cast<std::size_t>(hour) < kHours && weekday >= 0 &&
            static_cast<std::size_t>(weekday) < kWeekdays) {
            ++hours[static_cast<std::size_t>(hour)];
            ++weekdays[static_cast<std::size_t>(weekday)];
        }
    };
    // The facts give what ReadEvent would; a record that was cut short when they were
    // read is decoded again, since more of it may have arrived since.
    const EventFacts& facts = db.Facts();
    const std::vector<EventRef>& refs = db.Refs(key);
    EventRecord record;
    DayMemo days;
    for (std::size_t i = 0; i < refs.size(); ++i) {
        const auto entry = static_cast<std::size_t>(refs[i].entryNumber);
        if (entry < facts.size() && !facts[entry].Has(EventFact::kRedo)) {
            const EventFact fact = facts[entry];
            int hour = -1;
            int weekday = -1;
            if (fact.Has(EventFact::kDecoded)) {
                days.HourAndWeekday(fact.stamp, hour, weekday);
            }
            count(fact.type, fact.Has(EventFact::kNotReceived), fact.Has(EventFact::kDecoded), hour,
                  weekday);
            continue;
        }
        const bool decoded = db.ReadEvent(key, static_cast<std::int32_t>(i), record);
        count(record.type, record.direction != Received, decoded, record.time.tm_hour,
              record.time.tm_wday);
    }

    MemberStats stats;
    FillTable(stats.allByType, all);
    FillTable(stats.sentByType, sent);
    FillTable(stats.receivedByType, received);
    FillTable(stats.byHour, hours);
    FillTable(stats.byWeekday, weekdays);
    return stats;
}
