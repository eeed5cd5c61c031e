#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "export/ExportFormat.h"

struct EventRecord;
class MessageDatabase;

// One exported row: the record as ReadEvent filled it and what ReadEvent returned.
struct ExportEvent {
    const EventRecord& record;
    bool decoded;
    std::int32_t entryNumber;
};

// Turns rows into the bytes of one format, appending to a buffer that the caller empties
// into the file as it grows: Begin once, Event per row, End once.
class ExportWriter {
public:
    virtual ~ExportWriter() = default;
    virtual void Begin(std::string& out);
    virtual void Event(const ExportEvent& event, std::string& out) = 0;
    virtual void End(std::string& out);
    // Whether the rows are wanted oldest first (the list's order turned round).
    virtual bool OldestFirst() const { return false; }
};

// The writer of `options.format` for the list of member `key`.
std::unique_ptr<ExportWriter> MakeExportWriter(MessageDatabase& db, std::int32_t key,
                                               const ExportOptions& options);
