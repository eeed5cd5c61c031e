#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "export/RowSelection.h"

class MessageDatabase;

struct ExportResult {
    bool ok = false;
    std::string error;  // why the file could not be written; empty on success
};

// Converts Shift-JIS bytes of the export and appends them to `out` (for example as
// UTF-8). Line ends are already CR LF; a conversion keeps CR and LF as they are.
using ExportTransform = std::function<void(std::string_view shiftJis, std::string& out)>;

// Writes the six-line block of each chosen row of member `key`'s list (row r is the
// member's event n - 1 - r, so row 0 is the newest), in ascending row order, to `path`.
// Without a transform the file holds the Shift-JIS bytes of the database. Rows that the
// list does not have are left out. The file appears under its name only when it has been
// written completely; on failure an existing file of that name is left untouched.
ExportResult ExportText(MessageDatabase& db, std::int32_t key, const RowSelection& rows,
                        const std::string& path, const ExportTransform& transform = {});
