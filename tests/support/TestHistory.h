#pragma once

#include <cstdint>
#include <string>

#include "historywriter/HistoryWriter.h"
#include "support/TempFolder.h"

// A new, empty pair at `paths`; aborts the test program when it cannot be made.
HistoryWriter CreateHistoryWriter(const HistoryPaths& paths);

// A database pair in a fresh folder, with a writer open on it.
struct TestHistory {
    static constexpr std::int32_t kOwner = 12345;

    explicit TestHistory(std::int32_t owner = kOwner);
    TempFolder folder;
    HistoryPaths paths;
    HistoryWriter writer;

    // A received message (type 1) from `uin` at `stamp` with `text`.
    std::int32_t Message(std::int32_t key, const std::string& text, std::int32_t stamp = 0,
                         std::uint32_t direction = 0);
};

// Sets TZ and re-reads the time-zone settings for the rest of a test. A zone named by its
// file (Asia/Tokyo) that is not installed fails the test.
class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char* tz);
    ~ScopedTimeZone();
    ScopedTimeZone(const ScopedTimeZone&) = delete;
    ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

private:
    std::string previous_;
    bool hadPrevious_;
};
