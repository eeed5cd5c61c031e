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

// Every row, decoded or not, by the same steps: an event that could not be decoded keeps
// its entry, type and type name, and its text column says why (or holds what was read).
void CsvExportWriter::Event(const ExportEvent& event, std::string& out) {
    const EventRecord& record = event.record;
    digits::AppendNumber(event.entryNumber, out);
    out += ',';
    if (event.decoded) {
        AppendIsoTimeWithOffset(record.time, record.timeValue, out);
        out.append(record.direction == Received ? ",受信," : ",送信,");
    } else {
        out.append(",,");
    }
    out.append(types_.Get(record.type, [this](std::int32_t type, std::string& text) {
        digits::AppendNumber(type, text);
        text += ',';
        AppendCsvField(fields_.TypeNameOf(static_cast<std::uint16_t>(type)), text);
    }));
    out += ',';
    if (event.decoded) {
        out.append(members_.Get(record.uin, [this](std::int32_t uin, std::string& text) {
            digits::AppendNumber(uin, text);
            text += ',';
            AppendCsvField(fields_.NameOf(uin), text);
        }));
    } else {
        out += ',';
    }
    out += ',';
    AppendConverted(record.text, out);
    out += ',';
    std::string_view description;
    std::string_view address;
    if (event.decoded && record.type == 4 && SplitUrlText(record.text, description, address)) {
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
