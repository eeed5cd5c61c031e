#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

// The file formats of an export. Text is the six-line blocks in Shift-JIS; the others are
// UTF-8. Sqlite is an archive database (see SqliteArchive.h), kept up to date in place.
enum class ExportFormat { Text, Csv, Json, JsonLines, Html, Sqlite };

// "text", "csv", "json", "jsonl", "html", "sqlite".
std::optional<ExportFormat> ParseExportFormat(std::string_view name);
std::string_view ExportFormatName(ExportFormat format);
// The format that a file name's extension names (.txt, .csv, .json, .jsonl, .html or .htm,
// .sqlite, in any letter case); std::nullopt for any other name.
std::optional<ExportFormat> ExportFormatForFileName(std::string_view path);

// Converts Shift-JIS bytes of the text export and appends them to `out` (for example as
// UTF-8). Line ends are already CR LF; a conversion keeps CR and LF as they are.
using ExportTransform = std::function<void(std::string_view shiftJis, std::string& out)>;

// The list's colours for sent and received events, 0x00BBGGRR as the settings keep them.
struct ExportColors {
    std::uint32_t sendBackground = 0xFFFFFF;
    std::uint32_t sendText = 0x000000;
    std::uint32_t receiveBackground = 0xFFFFFF;
    std::uint32_t receiveText = 0x000000;
};

struct EventRecord;

// The time values [start, end) an export, `list` or `grep` is limited to (calendar days, see
// CalendarDays); open at an end that is not given.
struct ExportPeriod {
    bool limited = false;
    std::int64_t start = std::numeric_limits<std::int64_t>::min();
    std::int64_t end = std::numeric_limits<std::int64_t>::max();

    // Whether an event that ReadEvent returned `decoded` for lies in the period; an event
    // that failed to decode has no date and lies in no limited period.
    bool Holds(const EventRecord& record, bool decoded) const;
};

struct ExportOptions {
    ExportFormat format = ExportFormat::Text;
    // Text only: without a transform the file holds the database's Shift-JIS bytes.
    ExportTransform transform;
    ExportColors colors;                // HTML
    std::optional<std::int32_t> owner;  // JSON and HTML: the history's owner, when known
    ExportPeriod period;                // only the events of these days
    bool rebuild = false;               // SQLite: a new archive replaces the one there
};

// The owner UIN that a data file's name gives ("<uin>msg.dat" in any letter case).
std::optional<std::int32_t> OwnerFromDataFile(std::string_view path);
