#pragma once

#include <cstdint>
#include <ctime>
#include <string>

// Values of EventRecord::direction. Other values are kept as read; each consumer decides.
enum EventDirection : std::uint32_t { Received = 0, Sent = 1 };

// One decoded event. Text is Shift-JIS, exactly as the data file holds it.
struct EventRecord {
    std::uint16_t type = 0;
    std::int32_t uin = 0;
    std::uint32_t extra = 0;
    std::uint32_t direction = Received;
    std::tm time{};  // broken-down local calendar time, shifted as ReadEvent describes
    std::string text;

    // Time value (seconds since the epoch) that mktime gives for `time`; kept so that
    // date filters need no second conversion.
    std::int64_t timeValue = 0;
    // The raw time stamp and whether it was read. With conversion deferred, `time` and
    // `timeValue` are filled only by CompleteEventTime.
    std::int32_t stamp = 0;
    bool stampRead = false;
    bool timeConverted = false;
};
