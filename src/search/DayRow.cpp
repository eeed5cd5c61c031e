#include "search/DayRow.h"

#include "database/EventRecord.h"
#include "database/MessageDatabase.h"

std::int64_t DayNumber(int year, int month, int day) {
    // Days from civil: the year taken from March, so that the leap day ends it.
    const std::int64_t y = static_cast<std::int64_t>(year) - (month <= 2 ? 1 : 0);
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yearOfEra = y - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

std::optional<std::int32_t> FindDayRow(MessageDatabase& db, std::int32_t key,
                                       const CalendarDate& day) {
    const auto& members = db.members();
    auto it = members.find(key);
    if (it == members.end()) {
        return std::nullopt;
    }
    const auto count = static_cast<std::int32_t>(it->second.refs.size());
    const std::int64_t wanted = DayNumber(day.year, day.month, day.day);
    std::optional<std::int32_t> best;
    std::int64_t bestDay = 0;
    EventRecord record;
    // Row 0 first: the first event of the day met is the newest one, and ends the walk.
    for (std::int32_t row = 0; row < count; ++row) {
        if (!db.ReadEvent(key, RowToIndex(count, row), record)) {
            continue;
        }
        const std::int64_t date =
            DayNumber(record.time.tm_year + 1900, record.time.tm_mon + 1, record.time.tm_mday);
        if (date == wanted) {
            return row;
        }
        const std::int64_t distance = date > wanted ? date - wanted : wanted - date;
        const std::int64_t bestDistance = bestDay > wanted ? bestDay - wanted : wanted - bestDay;
        if (!best || distance < bestDistance || (distance == bestDistance && date > bestDay)) {
            best = row;
            bestDay = date;
        }
    }
    return best;
}
