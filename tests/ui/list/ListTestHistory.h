#pragma once

#include <QString>

#include <cstdint>
#include <string>

#include "support/TestHistory.h"

// The test history for the list's tests: texts are given in Unicode and stored in
// Shift-JIS, as the messenger stores them.
class ListHistory : public TestHistory {
public:
    static constexpr std::int32_t kOwner = 5000;
    // Sunday 2000-03-05 09:07:03 UTC.
    static constexpr std::int32_t kSunday = 952247223;

    ListHistory();

    // Appends an event of `key`; returns its record's offset.
    std::int32_t Add(std::int32_t key, const QString& text, std::uint32_t direction = 0,
                     std::uint16_t type = 1, std::int32_t stamp = kSunday);
    // Appends a raw record and its entry.
    std::int32_t AddRecord(std::int32_t key, const WriterRecord& record);
};

// Shift-JIS bytes of `text`.
std::string Sjis(const QString& text);

// Sets TZ to UTC for a test and restores it afterwards.
class UtcZone : public ScopedTimeZone {
public:
    UtcZone() : ScopedTimeZone("UTC0") {}
};
