#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "export/ExportFormat.h"
#include "export/ExportOutput.h"
#include "export/OutputFailure.h"
#include "export/RowSelection.h"

class MessageDatabase;

struct ExportResult {
    bool ok = false;
    std::string error;      // why the output could not be written; empty on success
    OutputFailure failure;  // the same as a kind, when the file itself was the trouble
};

// Writes each chosen row of member `key`'s list (row r is the member's event n - 1 - r, so
// row 0 is the newest), in ascending row order (HTML: descending, oldest first), to
// `output` in `options.format`. One event is decoded at a time and the bytes go out in
// pieces, so memory does not grow with the rows. Rows that the list does not
// have are left out.
ExportResult ExportRows(MessageDatabase& db, std::int32_t key, const RowSelection& rows,
                        const ExportOptions& options, ExportOutput& output);

// The same into the file `path` (see ReplacingFile): a regular file appears under its name
// only when it has been written completely; on failure an existing one is left untouched.
// The files of the open history are never written, nor those in `protectedFiles` (the
// settings file in use), whatever path reaches them.
ExportResult ExportToFile(MessageDatabase& db, std::int32_t key, const RowSelection& rows,
                          const ExportOptions& options, const std::string& path,
                          const std::vector<std::string>& protectedFiles = {});

// The text export: six-line blocks in Shift-JIS, or whatever `transform` makes of them.
ExportResult ExportText(MessageDatabase& db, std::int32_t key, const RowSelection& rows,
                        const std::string& path, const ExportTransform& transform = {});
