#pragma once

#include <cstdint>
#include <string>

#include "export/ExportFields.h"
#include "export/ExportWriter.h"
#include "export/KeyedTextCache.h"

struct EventRecord;

// One self-contained page (inline style, no scripts, and a policy that allows none): the
// member's conversation oldest first (the chosen rows, the list's order turned round), a
// heading for each day, sent and received events in the list's colours. Every text from
// the history is escaped; only web addresses become links.
class HtmlExportWriter final : public ExportWriter {
public:
    HtmlExportWriter(MessageDatabase& db, std::int32_t key, const ExportOptions& options);

    void Begin(std::string& out) override;
    void Event(const ExportEvent& event, std::string& out) override;
    void End(std::string& out) override;
    // A conversation reads from the top down: oldest first.
    bool OldestFirst() const override { return true; }

private:
    void DayHeading(const EventRecord& record, std::string& out);

    MessageDatabase& db_;
    ExportFieldMaker fields_;
    std::int32_t key_;
    std::string memberName_;
    ExportColors colors_;
    int lastDay_ = -1;  // year, month and day of the last heading, in one number
    std::string scratch_;
    KeyedTextCache names_;  // UTF-8, escaped
    KeyedTextCache types_;  // the type's span and what follows it
};
