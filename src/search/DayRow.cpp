#include "search/DayRow.h"

#include <ctime>

#include "database/EventFacts.h"
#include "database/EventRecord.h"
#include "database/LocalTime.h"
#include "database/MessageDatabase.h"

namespace {

// Calls `visit` with each row's date as the list shows it, row 0 first, until it returns
// true; rows that fail to decode are passed over. The dates come from the fact table, read
// once and kept, so a row costs no decoding; an event the facts cannot vouch for is read
// itself. False when the member is unknown.
template <typename Visit>
bool VisitRowDates(MessageDatabase& db, std::int32_t key, Visit visit) {
    const std::vector<EventRef>* known = db.KnownRefs(key);
    if (known == nullptr) {
        return false;
    }
    const std::vector<EventRef>& refs = *known;
    const auto count = static_cast<std::int32_t>(refs.size());
    const EventFacts& facts = db.Facts();
    EventRecord record;
    std::tm time{};
    std::int64_t value = 0;
    for (std::int32_t row = 0; row < count; ++row) {
        const std::int32_t index = RowToIndex(count, row);
        const auto entry =
            static_cast<std::size_t>(refs[static_cast<std::size_t>(index)].entryNumber);
        if (entry < facts.size() && !facts[entry].Has(EventFact::kRedo)) {
            if (!facts[entry].Has(EventFact::kDecoded)) {
                continue;
            }
            ConvertEventTime(facts[entry].stamp, time, value);
        } else if (db.ReadEvent(key, index, record)) {
            time = record.time;
        } else {
            continue;
        }
        if (visit(row, time)) {
            break;
        }
    }
    return true;
}

}  // namespace

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
    const std::int64_t wanted = DayNumber(day.year, day.month, day.day);
    std::optional<std::int32_t> best;
    std::int64_t bestDay = 0;
    // Row 0 first: the first event of the day met is the newest one, and ends the walk.
    VisitRowDates(db, key, [&](std::int32_t row, const std::tm& time) {
        const std::int64_t date = DayNumber(time.tm_year + 1900, time.tm_mon + 1, time.tm_mday);
        if (date == wanted) {
            best = row;
            return true;
        }
        const std::int64_t distance = date > wanted ? date - wanted : wanted - date;
        const std::int64_t bestDistance = bestDay > wanted ? bestDay - wanted : wanted - bestDay;
        if (!best || distance < bestDistance || (distance == bestDistance && date > bestDay)) {
            best = row;
            bestDay = date;
        }
        return false;
    });
    return best;
}

std::optional<std::int32_t> FindMonthRow(MessageDatabase& db, std::int32_t key, int year,
                                         int month) {
    std::optional<std::int32_t> found;
    VisitRowDates(db, key, [&](std::int32_t row, const std::tm& time) {
        if (time.tm_year + 1900 == year && time.tm_mon + 1 == month) {
            found = row;
            return true;
        }
        return false;
    });
    return found;
}
