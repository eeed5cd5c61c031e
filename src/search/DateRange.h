#pragma once

#include <cstdint>

struct SearchCriteria;

// A calendar date as the date pickers give it: month 1-12, day 1-31.
struct CalendarDate {
    int year = 1970;
    int month = 1;
    int day = 1;
};

// [start, end) in time values (the scale of mktime).
struct DateRange {
    std::int64_t start = 0;
    std::int64_t end = 0;
};

// One day: its local midnight up to 86,400 seconds later (24 hours, not the next local
// midnight).
DateRange OneDayRange(const CalendarDate& day);
// A period of whole days: the first day's local midnight up to the last day's local
// midnight plus 86,400 seconds, so that the last day counts in full.
DateRange PeriodRange(const CalendarDate& first, const CalendarDate& last);

// Calendar days, as the hit list and the command line count them: from the first day's
// local midnight up to the local midnight that follows the last day (a day of 23 or 25
// hours, where the clocks change, counts as it is).
DateRange CalendarDays(const CalendarDate& first, const CalendarDate& last);

// Limits the criteria to `range`.
void SetDateRange(SearchCriteria& criteria, const DateRange& range);
// Lifts the date limit ("すべてのイベント").
void ClearDateRange(SearchCriteria& criteria);
