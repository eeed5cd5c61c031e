#include "search/DateRange.h"

#include "database/LocalTime.h"
#include "search/SearchCriteria.h"

namespace {

constexpr std::int64_t kDaySeconds = 86400;

}  // namespace

DateRange OneDayRange(const CalendarDate& day) {
    const std::int64_t start = LocalMidnight(day.year, day.month, day.day);
    return {start, start + kDaySeconds};
}

DateRange PeriodRange(const CalendarDate& first, const CalendarDate& last) {
    return {LocalMidnight(first.year, first.month, first.day),
            LocalMidnight(last.year, last.month, last.day) + kDaySeconds};
}

DateRange CalendarDays(const CalendarDate& first, const CalendarDate& last) {
    // mktime carries a day past the end of a month into the next one.
    return {LocalMidnight(first.year, first.month, first.day),
            LocalMidnight(last.year, last.month, last.day + 1)};
}

void SetDateRange(SearchCriteria& criteria, const DateRange& range) {
    criteria.useDateRange = true;
    criteria.rangeStart = range.start;
    criteria.rangeEnd = range.end;
}

void ClearDateRange(SearchCriteria& criteria) {
    criteria.useDateRange = false;
}
