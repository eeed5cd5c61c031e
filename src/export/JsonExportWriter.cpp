#include "export/JsonExportWriter.h"

#include <charconv>

namespace {

void AppendNumber(std::int64_t value, std::string& out) {
    char digits[24];
    out.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
}

void AppendMember(std::string_view name, std::string_view value, std::string& out) {
    out += ',';
    AppendJsonString(name, out);
    out += ':';
    AppendJsonString(value, out);
}

}  // namespace

void AppendJsonString(std::string_view text, std::string& out) {
    static constexpr char kHex[] = "0123456789abcdef";
    out += '"';
    std::size_t plain = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c != '"' && c != '\\') {
            continue;
        }
        out.append(text.substr(plain, i - plain));
        plain = i + 1;
        out += '\\';
        switch (c) {
            case '"':
                out += '"';
                break;
            case '\\':
                out += '\\';
                break;
            case '\n':
                out += 'n';
                break;
            case '\r':
                out += 'r';
                break;
            case '\t':
                out += 't';
                break;
            default:
                out.append("u00");
                out += kHex[c >> 4];
                out += kHex[c & 0xF];
        }
    }
    out.append(text.substr(plain));
    out += '"';
}

void AppendJsonEvent(const ExportFields& fields, std::string& out) {
    out.append("{\"entry\":");
    AppendNumber(fields.entry, out);
    out.append(fields.decoded ? ",\"decoded\":true" : ",\"decoded\":false");
    if (fields.decoded) {
        AppendMember("time", fields.time, out);
        AppendMember("direction", fields.direction, out);
    }
    out.append(",\"type\":");
    AppendNumber(fields.type, out);
    AppendMember("typeName", fields.typeName, out);
    if (!fields.decoded) {
        AppendMember("error", fields.text, out);
        out += '}';
        return;
    }
    out.append(",\"uin\":");
    AppendNumber(fields.uin, out);
    AppendMember("name", fields.name, out);
    AppendMember("text", fields.text, out);
    if (fields.isUrl) {
        AppendMember("description", fields.description, out);
        AppendMember("url", fields.url, out);
    }
    out += '}';
}

JsonExportWriter::JsonExportWriter(MessageDatabase& db, std::int32_t key,
                                   const ExportOptions& options, bool lines)
    : fields_(db, options.toUtf8),
      key_(key),
      memberName_(ExportMemberName(db, key, options.toUtf8)),
      owner_(options.owner),
      lines_(lines) {}

void JsonExportWriter::Begin(std::string& out) {
    if (lines_) {
        return;
    }
    out.append("{\"owner\":");
    if (owner_) {
        AppendNumber(*owner_, out);
    } else {
        out.append("null");
    }
    out.append(",\"member\":{\"key\":");
    AppendNumber(key_, out);
    AppendMember("name", memberName_, out);
    out.append("},\"events\":[");
}

void JsonExportWriter::Event(const ExportEvent& event, std::string& out) {
    fields_.Make(event, row_);
    if (!lines_) {
        out.append(first_ ? "\n" : ",\n");
        first_ = false;
    }
    AppendJsonEvent(row_, out);
    if (lines_) {
        out += '\n';
    }
}

void JsonExportWriter::End(std::string& out) {
    if (!lines_) {
        out.append(first_ ? "]}\n" : "\n]}\n");
    }
}
