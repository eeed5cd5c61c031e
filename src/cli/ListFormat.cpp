#include "cli/ListFormat.h"

#include "database/MessageDatabase.h"
#include "text/ShiftJis.h"

void AppendEscapedCell(std::string_view bytes, std::string& line) {
    std::size_t start = line.size();
    AppendUtf8FromShiftJis(bytes, line);
    // Escaping after decoding: none of the four bytes occurs inside a UTF-8 sequence.
    std::size_t special = line.find_first_of("\\\t\r\n", start);
    if (special == std::string::npos) {
        return;
    }
    std::string escaped;
    escaped.reserve(line.size() - start + 8);
    for (std::size_t i = start; i < line.size(); ++i) {
        switch (line[i]) {
            case '\\':
                escaped += "\\\\";
                break;
            case '\t':
                escaped += "\\t";
                break;
            case '\r':
                escaped += "\\r";
                break;
            case '\n':
                escaped += "\\n";
                break;
            default:
                escaped += line[i];
        }
    }
    line.resize(start);
    line += escaped;
}

void AppendListLine(const EventCells& cells, std::string& line) {
    AppendUtf8FromShiftJis(cells.type, line);
    line += '\t';
    AppendUtf8FromShiftJis(cells.date, line);
    line += '\t';
    line += cells.time;
    line += '\t';
    AppendEscapedCell(cells.name, line);
    line += '\t';
    AppendEscapedCell(cells.text, line);
    line += '\t';
    line += cells.uin;
}

void AppendListRow(MessageDatabase& db, std::int32_t key, std::int32_t row, EventRecord& record,
                   EventCells& cells, std::string& line) {
    const bool ok = db.ReadEvent(key, RowToIndex(db.EventCount(key), row), record);
    FillEventCells(db, record, ok, cells);
    AppendListLine(cells, line);
}
