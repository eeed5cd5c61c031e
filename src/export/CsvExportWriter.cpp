#include "export/CsvExportWriter.h"

#include <algorithm>
#include <charconv>

namespace {

void AppendNumber(std::int64_t value, std::string& out) {
    char digits[24];
    out.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
}

}  // namespace

void AppendCsvField(std::string_view field, std::string& out) {
    const bool plain = std::none_of(field.begin(), field.end(), [](char c) {
        return c == ',' || c == '"' || c == '\r' || c == '\n';
    });
    if (plain) {
        out.append(field);
        return;
    }
    out += '"';
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
