#include "support/CsvReader.h"

namespace {

// Reads one field from `at`; false when it breaks the rules.
bool ReadField(std::string_view text, std::size_t& at, std::string& field) {
    field.clear();
    if (at < text.size() && text[at] == '"') {
        for (++at; at < text.size(); ++at) {
            if (text[at] != '"') {
                field += text[at];
            } else if (at + 1 < text.size() && text[at + 1] == '"') {
                field += '"';
                ++at;
            } else {
                ++at;
                return at == text.size() || text[at] == ',' || text[at] == '\r';
            }
        }
        return false;
    }
    for (; at < text.size() && text[at] != ',' && text[at] != '\r'; ++at) {
        if (text[at] == '"' || text[at] == '\n') {
            return false;
        }
        field += text[at];
    }
    return true;
}

}  // namespace

std::optional<std::vector<std::vector<std::string>>> ReadCsv(std::string_view text) {
    std::vector<std::vector<std::string>> records;
    std::size_t at = 0;
    while (at < text.size()) {
        std::vector<std::string> record;
        std::string field;
        while (true) {
            if (!ReadField(text, at, field)) {
                return std::nullopt;
            }
            record.push_back(field);
            if (at < text.size() && text[at] == ',') {
                ++at;
                continue;
            }
            break;
        }
        if (at < text.size()) {
            if (text.substr(at, 2) != "\r\n") {
                return std::nullopt;
            }
            at += 2;
        }
        records.push_back(std::move(record));
    }
    return records;
}
