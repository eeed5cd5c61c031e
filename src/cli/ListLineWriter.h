#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <string>

#include "database/LocalTime.h"
#include "export/KeyedTextCache.h"

class MessageDatabase;
struct EventRecord;

// Writes list lines (the six cells of FillEventCells, each escaped by AppendEscapedCell,
// TAB-separated) straight into the output: the cells that repeat from row to row (type
// names, weekdays, member names and numbers) are converted once and kept, and dates and
// times are written digit by digit.
class ListLineWriter {
public:
    // Appends the line of a record that ReadEvent returned `decoded` for (no line end).
    void Append(MessageDatabase& db, const EventRecord& record, bool decoded, std::string& line);

private:
    const std::string& NameCell(MessageDatabase& db, std::int32_t uin);
    void AppendDate(const EventRecord& record, std::string& line);

    KeyedTextCache types_;
    // Escaped display names, kept while the database's names stand (a follower outlives
    // renames and reloads).
    KeyedTextCache names_;
    std::uint64_t namesVersion_ = 0;
    std::array<std::string, 7> weekdays_;
    bool weekdaysFilled_ = false;
    // The date cell of the last day written, by the time conversion's day: lines come in
    // runs of the same day.
    struct Day {
        std::uint64_t serial = 0;  // LocalDay::serial; 0 for none
        std::string cell;
    } day_;
};
