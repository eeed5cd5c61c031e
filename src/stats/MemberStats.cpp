#include "stats/MemberStats.h"

#include <ctime>
#include <vector>

#include "database/EventFacts.h"
#include "database/EventRecord.h"
#include "database/LocalTime.h"
#include "database/MessageDatabase.h"

namespace {

constexpr std::size_t kTypeCount = 65536;
constexpr std::size_t kHours = 24;
constexpr std::size_t kWeekdays = 7;
// A 32-bit stamp falls in 1901-2038 whatever the zone; the flat month counts span 1900-2040.
constexpr std::int32_t kFirstYear = 1900;
constexpr std::size_t kMonthSlots = (2040 - kFirstYear + 1) * 12;

struct EventTime {
    int hour = -1;
    int weekday = -1;
    std::int32_t month = -1;  // year * 12 + (month - 1)
};

std::int32_t MonthNumber(const std::tm& time) {
    return (time.tm_year + 1900) * 12 + time.tm_mon;
}

// Counts go to flat arrays during the pass; the tables take only the keys that were
// counted, at the end.
void FillTable(CountTable& table, const std::vector<std::int32_t>& counts) {
    for (std::size_t key = 0; key < counts.size(); ++key) {
        if (counts[key] != 0) {
            table.emplace_hint(table.end(), static_cast<std::int32_t>(key), counts[key]);
        }
    }
}

// Hour, day of week and month as ConvertEventTime gives them; a stamp in the local day of
// the one before (as most are: histories run in time order) costs a subtraction.
class DayMemo {
public:
    EventTime Convert(std::int32_t stamp) {
        if (day_ == nullptr || !day_->Holds(stamp)) {
            day_ = LocalDayOf(stamp);
            if (day_ == nullptr) {
                std::tm time{};
                std::int64_t value = 0;
                ConvertEventTime(stamp, time, value);
                return {time.tm_hour, time.tm_wday, MonthNumber(time)};
            }
        }
        return {day_->HourOf(stamp), day_->fields.tm_wday, MonthNumber(day_->fields)};
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
    std::vector<MonthCount> months(kMonthSlots);

    auto count = [&](std::uint16_t type, bool notReceived, bool decoded, const EventTime& time) {
        ++all[type];
        ++(notReceived ? sent : received)[type];
        if (!decoded) {
            return;
        }
        if (time.hour >= 0 && static_cast<std::size_t>(time.hour) < kHours && time.weekday >= 0 &&
            static_cast<std::size_t>(time.weekday) < kWeekdays) {
            ++hours[static_cast<std::size_t>(time.hour)];
            ++weekdays[static_cast<std::size_t>(time.weekday)];
        }
        const std::int64_t slot = std::int64_t{time.month} - std::int64_t{kFirstYear} * 12;
        if (slot >= 0 && static_cast<std::size_t>(slot) < kMonthSlots) {
            MonthCount& month = months[static_cast<std::size_t>(slot)];
            ++(notReceived ? month.sent : month.received);
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
            const bool decoded = fact.Has(EventFact::kDecoded);
            count(fact.type, fact.Has(EventFact::kNotReceived), decoded,
                  decoded ? days.Convert(fact.stamp) : EventTime{});
            continue;
        }
        const bool decoded = db.ReadEvent(key, static_cast<std::int32_t>(i), record);
        count(record.type, record.direction != Received, decoded,
              {record.time.tm_hour, record.time.tm_wday, MonthNumber(record.time)});
    }

    MemberStats stats;
    FillTable(stats.allByType, all);
    FillTable(stats.sentByType, sent);
    FillTable(stats.receivedByType, received);
    FillTable(stats.byHour, hours);
    FillTable(stats.byWeekday, weekdays);
    for (std::size_t slot = 0; slot < kMonthSlots; ++slot) {
        if (months[slot].Total() != 0) {
            stats.byMonth.emplace_hint(stats.byMonth.end(),
                                       static_cast<std::int32_t>(slot) + kFirstYear * 12,
                                       months[slot]);
        }
    }
    return stats;
}
