#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

#include "database/LocalTime.h"
#include "export/KeyedTextCache.h"

struct EventRecord;
class MessageDatabase;

// The six lines that the text export writes for one event, in Shift-JIS with CR LF line
// ends:
//   --------------------------------------
//   2000/3/5 日 9:7:3 受信 12345(name)
//   [メッセージ]
//   (empty)
//   the event's text
//   (empty)
// Line 2 is empty for an event that failed to decode, as the list leaves its date, time,
// name and UIN empty.
class ExportBlock {
public:
    explicit ExportBlock(MessageDatabase& db);

    // Appends the block of `record`, for which ReadEvent returned `decoded`.
    void Append(const EventRecord& record, bool decoded, std::string& out);

private:
    // The date and weekday of line 2 ("2000/3/5 日 "), kept while the day stays the same.
    std::string_view DayOf(const EventRecord& record);
    const std::string& TypeNameOf(std::uint16_t type);
    // "12345(name)", the end of line 2.
    const std::string& WhoOf(std::int32_t uin);

    MessageDatabase& db_;
    // Type names are asked for once per row; the table ones are kept after the first use.
    std::array<std::string, 21> typeNames_;
    std::string otherTypeName_;
    KeyedTextCache members_;
    std::string_view received_;
    std::string_view sent_;
    // The date of the last day written, by the time conversion's day (LocalDay::serial).
    struct Day {
        std::uint64_t serial = 0;
        char text[48];  // 3 int-sized numbers, the weekday, separators
        std::size_t length = 0;
    } day_;
};

// Appends `text` with each line break written once as CR LF: CR LF and a lone LF both
// become CR LF, a lone CR stays as it is.
void AppendWithCrLf(const std::string& text, std::string& out);
