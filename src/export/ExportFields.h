#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

#include "export/ExportFormat.h"
#include "export/ExportWriter.h"
#include "export/KeyedTextCache.h"
#include "text/Utf8ShiftJis.h"

class MessageDatabase;

// The UTF-8 texts that CSV, JSON and JSON Lines share, keeping the converted type names and
// member names between rows.
class ExportFieldMaker {
public:
    explicit ExportFieldMaker(MessageDatabase& db);
    // UTF-8 of Shift-JIS bytes, appended.
    void Append(std::string_view shiftJis, std::string& out) const {
        AppendUtf8FromShiftJis(shiftJis, out);
    }
    // The same, converted straight onto `out`, for a writer that escapes: true when
    // isPlain(converted text) says it goes out as it is. Otherwise the converted text is
    // taken off `out` again into `moved`, for the writer to write escaped, and false.
    template <typename IsPlain>
    bool AppendIfPlain(std::string_view shiftJis, std::string& out, std::string& moved,
                       IsPlain isPlain) const {
        const std::size_t start = out.size();
        Append(shiftJis, out);
        if (isPlain(std::string_view(out).substr(start))) {
            return true;
        }
        moved.assign(out, start);
        out.resize(start);
        return false;
    }
    std::string_view TypeNameOf(std::uint16_t type);
    // The member's display name in UTF-8.
    const std::string& NameOf(std::int32_t uin);

private:
    MessageDatabase& db_;
    std::array<std::string, 21> typeNames_;
    std::string otherTypeName_;
    KeyedTextCache names_;  // UTF-8
};

// Why an event could not be decoded: one of the two failure texts (Shift-JIS). The text of
// a record cut short by the end of the file is what was read of it, and the corruption
// text says why.
std::string_view FailureTextOf(std::string_view recordText);

// "2000-03-05T09:07:03" from the record's broken-down time.
void AppendIsoTime(const std::tm& time, std::string& out);
// The same followed by the zone's offset at that time, +HH:MM or -HH:MM (with :SS after
// it for the odd historical offset that is not whole minutes): `value` is the time value
// the conversion gave with `time`.
void AppendIsoTimeWithOffset(const std::tm& time, std::int64_t value, std::string& out);

// Splits the text of a URL message ("[URLの説明]\r\n" description "\r\n\r\n[URL]\r\n"
// address) into its description and address (Shift-JIS). False for any other text.
bool SplitUrlText(std::string_view text, std::string_view& description, std::string_view& address);

// The name that a list of member `key` goes by: 全メンバー for all members (UTF-8).
std::string ExportMemberName(MessageDatabase& db, std::int32_t key);
