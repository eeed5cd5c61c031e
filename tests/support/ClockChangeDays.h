#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "historywriter/HistoryWriter.h"

// Days on which the clocks change, forward (23 hours) and back (25 hours), in two zones,
// with the events of one member every ten minutes that such a day holds.
struct ClockChangeDay {
    const char* zone;
    const char* day;  // YYYY-MM-DD
    std::size_t tenMinuteEvents;
};

inline constexpr ClockChangeDay kClockChangeDays[] = {{"America/New_York", "2026-03-08", 138},
                                                      {"America/New_York", "2026-11-01", 150},
                                                      {"Europe/Berlin", "2026-03-29", 138},
                                                      {"Europe/Berlin", "2026-10-25", 150}};

// Events of member `key` every ten minutes over five UTC days, from two days before `day`.
std::vector<WriterEvent> EveryTenMinutesAround(const char* day, std::int32_t key);
