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
    AppendEvent(event, out);
    if (lines_) {
        out += '\n';
    }
}

// One event object, decoded or not, by the same steps, the members' and types' parts made
// once: an event that could not be decoded has its entry, type, type name and the failure
// text as "error" (and what was read of a record cut short as "text").
void JsonExportWriter::AppendEvent(const ExportEvent& event, std::string& out) {
    const EventRecord& record = event.record;
    out.append("{\"entry\":");
    digits::AppendNumber(event.entryNumber, out);
    if (event.decoded) {
        out.append(",\"decoded\":true,\"time\":\"");
        AppendIsoTimeWithOffset(record.time, record.timeValue, out);
        out.append(record.direction == Received ? "\",\"direction\":\"受信\""
                                                : "\",\"direction\":\"送信\"");
    } else {
        out.append(",\"decoded\":false");
    }
    out.append(types_.Get(record.type, [this](std::int32_t type, std::string& text) {
        text.append(",\"type\":");
        digits::AppendNumber(type, text);
        AppendMember("typeName", fields_.TypeNameOf(static_cast<std::uint16_t>(type)), text);
    }));
    if (!event.decoded) {
        const std::string_view failure = FailureTextOf(record.text);
        AppendConverted("error", failure, out);
        if (!record.text.empty() && record.text != failure) {
            AppendConverted("text", record.text, out);
        }
        out += '}';
        return;
    }
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
