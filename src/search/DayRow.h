#pragma once

#include <cstdint>
#include <optional>

#include "search/DateRange.h"

class MessageDatabase;

// "日付へ移動": the list row of the newest event (the row nearest the top) whose date, as
// the list's date column shows it, is `day`; when no event has that date, the newest event
// of the nearest date that has one (of two equally near dates, the later). Events that
// fail to decode have no date and are passed over. Nothing when no event has a date.
std::optional<std::int32_t> FindDayRow(MessageDatabase& db, std::int32_t key,
                                       const CalendarDate& day);

// The list row of the newest event whose date, as the list shows it, lies in month `month`
// (1-12) of `year`; nothing when the month has no such event.
std::optional<std::int32_t> FindMonthRow(MessageDatabase& db, std::int32_t key, int year,
                                         int month);

// Days since 1970-01-01 of a proleptic Gregorian date (month 1-12).
std::int64_t DayNumber(int year, int month, int day);
