#pragma once

#include <string>
#include <string_view>

#include "export/ExportFields.h"
#include "export/ExportWriter.h"
#include "export/KeyedTextCache.h"

// RFC 4180: a header row, then one record per row, CR LF after each; UTF-8 with a
// byte-order mark, which spreadsheets need to read it as UTF-8. No text cell can become a
// formula when the file is opened in a spreadsheet (see AppendCsvField).
class CsvExportWriter final : public ExportWriter {
public:
    explicit CsvExportWriter(MessageDatabase& db) : fields_(db) {}

    void Begin(std::string& out) override;
    void Event(const ExportEvent& event, std::string& out) override;

private:
    // A field holding the UTF-8 form of Shift-JIS bytes.
    void AppendConverted(std::string_view shiftJis, std::string& out);

    ExportFieldMaker fields_;
    KeyedTextCache types_;    // 1,typeName
    KeyedTextCache members_;  // 12345,name
    std::string scratch_;
};

// Whether `field` goes into CSV as it is: no comma, quote, CR or LF, and not starting with
// = + - @ TAB or CR.
bool IsPlainCsvField(std::string_view field);

// Appends `field` as one CSV field: quoted, with quotes doubled, when it holds a comma, a
// quote, CR or LF. A field starting with = + - @ TAB or CR, which a spreadsheet would run
// as a formula, is quoted with an apostrophe put in front of it.
void AppendCsvField(std::string_view field, std::string& out);
