#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "export/ExportFields.h"
#include "export/ExportWriter.h"
#include "export/KeyedTextCache.h"

// JSON: one document {"owner", "member", "events": [...]}. JSON Lines: one event object a
// line and nothing else, so that a reader can take each line as it comes.
class JsonExportWriter final : public ExportWriter {
public:
    JsonExportWriter(MessageDatabase& db, std::int32_t key, const ExportOptions& options,
                     bool lines);

    void Begin(std::string& out) override;
    void Event(const ExportEvent& event, std::string& out) override;
    void End(std::string& out) override;

private:
    void AppendEvent(const ExportEvent& event, std::string& out);
    // A member "name": the UTF-8 form of Shift-JIS bytes.
    void AppendConverted(std::string_view name, std::string_view shiftJis, std::string& out);

    ExportFieldMaker fields_;
    KeyedTextCache types_;    // ,"type":1,"typeName":"..."
    KeyedTextCache members_;  // ,"uin":12345,"name":"..."
    std::string scratch_;
    std::int32_t key_;
    std::string memberName_;
    std::optional<std::int32_t> owner_;
    bool lines_;
    bool first_ = true;
};

// Appends `text` (UTF-8) as a JSON string, quotes included.
void AppendJsonString(std::string_view text, std::string& out);
