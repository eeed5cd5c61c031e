#include "export/CsvExportWriter.h"

#include <charconv>

namespace {

void AppendNumber(std::int64_t value, std::string& out) {
    char digits[24];
    out.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
}

}  // namespace

void AppendCsvField(std::string_view field, std::string& out) {
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        out.append(field);
        return;
    }
    out += '"';
    for (const char c : field) {
        if (c == '"') {
            out += '"';
        }
        out += c;
    }
    out += '"';
}

void CsvExportWriter::Begin(std::string& out) {
    out.append(
        "\xEF\xBB\xBF"
        "entry,time,direction,type,typeName,uin,name,text,description,url\r\n");
}

void CsvExportWriter::Event(const ExportEvent& event, std::string& out) {
    fields_.Make(event, row_);
    AppendNumber(row_.entry, out);
    out += ',';
    out.append(row_.time);
    out += ',';
    out.append(row_.direction);
    out += ',';
    AppendNumber(row_.type, out);
    out += ',';
    AppendCsvField(row_.typeName, out);
    out += ',';
    if (row_.decoded) {
        AppendNumber(row_.uin, out);
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
