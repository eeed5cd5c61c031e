#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "database/EventCells.h"

class ListLineWriter;
class MessageDatabase;
struct EventRecord;

// Appends `bytes` (Shift-JIS) to `line` as UTF-8 with backslash, TAB, CR and LF written as
// \\, \t, \r and \n, every other C0 control and DEL as \xHH and every C1 control as
// \u00HH, so that a cell never breaks the line nor sends a sequence to a terminal.
void AppendEscapedCell(std::string_view bytes, std::string& line);

// Reads row `row` of member `key` and appends its list line.
void AppendListRow(MessageDatabase& db, std::int32_t key, std::int32_t row, EventRecord& record,
                   ListLineWriter& writer, std::string& line);
