#include "export/CsvExportWriter.h"

#include <cstdint>

#include "database/Digits.h"
#include "database/EventRecord.h"
#include "export/PlainRun.h"

namespace {

// Whether a spreadsheet could take the cell for a formula: = + - @ start one, and some
// drop a leading TAB or CR before looking.
bool StartsLikeFormula(std::string_view field) {
    if (field.empty()) {
        return false;
    }
    switch (field.front()) {
        case '=':
        case '+':
        case '-':
        case '@':
        case '\t':
        case '\r':
            return true;
        default:
            return false;
    }
}

}  // namespace

bool IsPlainCsvField(std::string_view field) {
    const char* const end = field.data() + field.size();
    return !StartsLikeFormula(field) &&
           plainrun::Find<false, ',', '"', '\r', '\n'>(field.data(), end) == end;
}

void AppendCsvField(std::string_view field, std::string& out) {
    if (IsPlainCsvField(field)) {
        out.append(field);
        return;
    }
    out += '"';
    if (StartsLikeFormula(field)) {
        // Spreadsheets import a cell that starts with an apostrophe as text, formula or not.
        out += '\'';
    }
    for (std::size_t quote; (quote = field.find('"')) != std::string_view::npos;) {
        out.append(field.substr(0, quote + 1));
        out += '"';
        field.remove_prefix(quote + 1);
    }
    out.append(field);
    out += '"';
}

void CsvExportWriter::Begin(std::string& out) {
    out.append(
        "\xEF\xBB\xBF"
        "entry,time,direction,type,typeName,uin,name,text,description,url\r\n");
}

void CsvExportWriter::Event(const ExportEvent& event, std::string& out) {
    if (event.decoded) {
        AppendDecoded(event.record, event.entryNumber, out);
        return;
    }
    fields_.Make(event, row_);
    digits::AppendNumber(row_.entry, out);
    out += ',';
    out.append(row_.time);
    out += ',';
    out.append(row_.direction);
    out += ',';
    digits::AppendNumber(row_.type, out);
    out += ',';
    AppendCsvField(row_.typeName, out);
    out += ',';
    if (row_.decoded) {
        digits::AppendNumber(row_.uin, out);
    }
    out += ',';
    AppendCsvField(row_.name, out);
    out += ',';
    AppendCsvField(row_.text, out);
    out += ',';
    AppendCsvField(row_.description, out);
    out += ',';
    AppendCsvField(row_.url, out);
    out.append("\r\n");
}

// The row that Event writes for a decoded event, with the members' and types' parts made
// once.
void CsvExportWriter::AppendDecoded(const EventRecord& record, std::int32_t entry,
                                    std::string& out) {
    digits::AppendNumber(entry, out);
    out += ',';
    AppendIsoTime(record.time, out);
    out.append(record.direction == Received ? ",受信," : ",送信,");
    out.append(types_.Get(record.type, [this](std::int32_t type, std::string& text) {
        digits::AppendNumber(type, text);
        text += ',';
        AppendCsvField(fields_.TypeNameOf(static_cast<std::uint16_t>(type)), text);
    }));
    out += ',';
    out.append(members_.Get(record.uin, [this](std::int32_t uin, std::string& text) {
        digits::AppendNumber(uin, text);
        text += ',';
        AppendCsvField(fields_.NameOf(uin), text);
    }));
    out += ',';
    AppendConverted(record.text, out);
    out += ',';
    std::string_view description;
    std::string_view address;
    if (record.type == 4 && SplitUrlText(record.text, description, address)) {
        AppendConverted(description, out);
        out += ',';
        AppendConverted(address, out);
    } else {
        out += ',';
    }
    out.append("\r\n");
}

void CsvExportWriter::AppendConverted(std::string_view shiftJis, std::string& out) {
    // Only a field that needs quotes is written again.
    if (!fields_.AppendIfPlain(shiftJis, out, scratch_, IsPlainCsvField)) {
        AppendCsvField(scratch_, out);
    }
}
