#include "export/JsonExportWriter.h"

#include "database/Digits.h"
#include "database/EventRecord.h"
#include "export/PlainRun.h"

namespace {

void AppendMember(std::string_view name, std::string_view value, std::string& out) {
    out += ',';
    AppendJsonString(name, out);
    out += ':';
    AppendJsonString(value, out);
}

// The first byte of [p, end) that a JSON string cannot hold as it is: a control
// character, a quote or a backslash.
const char* FindJsonSpecial(const char* p, const char* end) {
    return plainrun::Find<true, '"', '\\'>(p, end);
}

// `text` as the inside of a JSON string: escaped, without the quotes.
void AppendJsonEscaped(std::string_view text, std::string& out) {
    static constexpr char kHex[] = "0123456789abcdef";
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p != end) {
        const char* const run = p;
        p = FindJsonSpecial(p, end);
        out.append(run, p);
        if (p == end) {
            break;
        }
        const auto c = static_cast<unsigned char>(*p++);
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
}

}  // namespace

void AppendJsonString(std::string_view text, std::string& out) {
    out += '"';
    AppendJsonEscaped(text, out);
    out += '"';
}

void AppendJsonEvent(const ExportFields& fields, std::string& out) {
    out.append("{\"entry\":");
    digits::AppendNumber(fields.entry, out);
    out.append(fields.decoded ? ",\"decoded\":true" : ",\"decoded\":false");
    if (fields.decoded) {
        AppendMember("time", fields.time, out);
        AppendMember("direction", fields.direction, out);
    }
    out.append(",\"type\":");
    digits::AppendNumber(fields.type, out);
    AppendMember("typeName", fields.typeName, out);
    if (!fields.decoded) {
        AppendMember("error", fields.error, out);
        if (!fields.text.empty() && fields.text != fields.error) {
            AppendMember("text", fields.text, out);  // the part of a record cut short
        }
        out += '}';
        return;
    }
    out.append(",\"uin\":");
    digits::AppendNumber(fields.uin, out);
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
    : fields_(db),
      key_(key),
      memberName_(ExportMemberName(db, key)),
      owner_(options.owner),
      lines_(lines) {}

void JsonExportWriter::Begin(std::string& out) {
    if (lines_) {
        return;
    }
    out.append("{\"owner\":");
    if (owner_) {
        digits::AppendNumber(*owner_, out);
    } else {
        out.append("null");
    }
    out.append(",\"member\":{\"key\":");
    digits::AppendNumber(key_, out);
    AppendMember("name", memberName_, out);
    out.append("},\"events\":[");
}

void JsonExportWriter::Event(const ExportEvent& event, std::string& out) {
    if (!lines_) {
        out.append(first_ ? "\n" : ",\n");
        first_ = false;
    }
    if (event.decoded) {
        AppendDecoded(event.record, event.entryNumber, out);
    } else {
        fields_.Make(event, row_);
        AppendJsonEvent(row_, out);
    }
    if (lines_) {
        out += '\n';
    }
}

// What AppendJsonEvent writes for a decoded event, with the members' and types' parts made
// once.
void JsonExportWriter::AppendDecoded(const EventRecord& record, std::int32_t entry,
                                     std::string& out) {
    out.append("{\"entry\":");
    digits::AppendNumber(entry, out);
    out.append(",\"decoded\":true,\"time\":\"");
    AppendIsoTime(record.time, out);
    out.append(record.direction == Received ? "\",\"direction\":\"受信\""
                                            : "\",\"direction\":\"送信\"");
    out.append(types_.Get(record.type, [this](std::int32_t type, std::string& text) {
        text.append(",\"type\":");
        digits::AppendNumber(type, text);
        AppendMember("typeName", fields_.TypeNameOf(static_cast<std::uint16_t>(type)), text);
    }));
    out.append(members_.Get(record.uin, [this](std::int32_t uin, std::string& text) {
        text.append(",\"uin\":");
        digits::AppendNumber(uin, text);
        AppendMember("name", fields_.NameOf(uin), text);
    }));
    AppendConverted("text", record.text, out);
    std::string_view description;
    std::string_view address;
    if (record.type == 4 && SplitUrlText(record.text, description, address)) {
        AppendConverted("description", description, out);
        AppendConverted("url", address, out);
    }
    out += '}';
}

void JsonExportWriter::AppendConverted(std::string_view name, std::string_view shiftJis,
                                       std::string& out) {
    out += ',';
    AppendJsonString(name, out);
    out.append(":\"");
    // Only a text that needs escapes is written again.
    const auto plain = [](std::string_view text) {
        return FindJsonSpecial(text.data(), text.data() + text.size()) == text.data() + text.size();
    };
    if (!fields_.AppendIfPlain(shiftJis, out, scratch_, plain)) {
        AppendJsonEscaped(scratch_, out);
    }
    out += '"';
}

void JsonExportWriter::End(std::string& out) {
    if (!lines_) {
        out.append(first_ ? "]}\n" : "\n]}\n");
    }
}
