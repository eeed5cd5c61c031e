#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "export/ExportFormat.h"
#include "export/ExportOutput.h"
#include "export/OutputFailure.h"
#include "export/RowSelection.h"

class ExportWriter;
class MessageDatabase;
class ReplacingFile;
struct ExportEvent;

struct ExportResult {
    bool ok = false;
    std::string error;       // why the output could not be written; empty on success
    OutputFailure failure;   // the same as a kind, when the file itself was the trouble
    std::int64_t added = 0;  // SQLite: the events the archive gained
};

// Receives the events of an export one at a time; false (with the reason in `error`) stops it.
using ExportVisitor = std::function<bool(const ExportEvent& event, std::string& error)>;

// Hands each chosen row of member `key`'s list to `visit`, one decoded event at a time, in
// ascending row order (newest first) or, with `oldestFirst`, the other way round. False
// when `visit` stopped it.
bool VisitExportRows(MessageDatabase& db, std::int32_t key, const RowSelection& rows,
                     bool oldestFirst, const ExportVisitor& visit, std::string& error);

// One complete document of a format going out to `output`: Begin, Event per event, End.
// The bytes leave in pieces, so memory does not grow with the events.
class ExportDocument {
public:
    ExportDocument(MessageDatabase& db, std::int32_t key, const ExportOptions& options,
                   ExportOutput& output);
    ~ExportDocument();
    ExportDocument(const ExportDocument&) = delete;
    ExportDocument& operator=(const ExportDocument&) = delete;

    bool Begin(std::string& error);
    bool Event(const ExportEvent& event, std::string& error);
    bool End(std::string& error);
    // Whether the format wants the events oldest first.
    bool OldestFirst() const;

private:
    bool Flush(std::string& error);

    ExportOutput& output_;
    std::unique_ptr<ExportWriter> writer_;
    std::string buffer_;
};

// Writes each chosen row of member `key`'s list (row r is the member's event n - 1 - r, so
// row 0 is the newest), in ascending row order (HTML: descending, oldest first), to
// `output` in `options.format`. One event is decoded at a time and the bytes go out in
// pieces, so memory does not grow with the rows. Rows that the list does not
// have are left out, and so are the events outside `options.period`.
ExportResult ExportRows(MessageDatabase& db, std::int32_t key, const RowSelection& rows,
                        const ExportOptions& options, ExportOutput& output);

// The same into the file `path` (see ReplacingFile): a regular file appears under its name
// only when it has been written completely; on failure an existing one is left untouched.
// The SQLite format writes or adds to an archive instead (WriteSqliteArchive; `rows` and
// the period are not for it).
// The files of the open history are never written, nor those in `protectedFiles` (the
// settings file in use), whatever path reaches them.
ExportResult ExportToFile(MessageDatabase& db, std::int32_t key, const RowSelection& rows,
                          const ExportOptions& options, const std::string& path,
                          const std::vector<std::string>& protectedFiles = {});

// Makes `file` refuse the files of the open history and `protectedFiles`.
void ProtectHistoryFiles(ReplacingFile& file, const MessageDatabase& db,
                         const std::vector<std::string>& protectedFiles);

// The text export: six-line blocks in Shift-JIS, or whatever `transform` makes of them.
ExportResult ExportText(MessageDatabase& db, std::int32_t key, const RowSelection& rows,
                        const std::string& path, const ExportTransform& transform = {});
