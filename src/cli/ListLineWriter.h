#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <unordered_map>

#include "database/LocalTime.h"

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
    struct MemberCells {
        std::string name;     // the display name as it was converted
        std::string escaped;  // ... as UTF-8, escaped
        std::string uin;      // the UIN cell
    };

    const std::string& TypeCell(std::uint16_t type);
    const MemberCells& MemberOf(MessageDatabase& db, std::int32_t uin);
    void AppendDate(const EventRecord& record, std::string& line);

    std::unordered_map<std::uint16_t, std::string> types_;
    std::unordered_map<std::int32_t, MemberCells> members_;
    // The cells met last, by a slot their number gives: most lines find theirs here
    // without a look-up in the maps or in the database. The members' slots stand while
    // the database's names do.
    template <typename Key, typename Cells>
    struct Recent {
        Key key{};
        const Cells* cells = nullptr;
    };
    static constexpr std::size_t kRecentSlots = 1024;
    std::array<Recent<std::uint16_t, std::string>, kRecentSlots> recentTypes_{};
    std::array<Recent<std::int32_t, MemberCells>, kRecentSlots> recentMembers_{};
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
