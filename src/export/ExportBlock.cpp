#include "export/ExportBlock.h"

#include <charconv>
#include <cstring>
#include <string_view>

#include "database/EventRecord.h"
#include "database/EventTypes.h"
#include "database/MessageDatabase.h"

namespace {

constexpr std::string_view kSeparator = "--------------------------------------\r\n";
constexpr std::string_view kCrLf = "\r\n";

// Decimal without leading zeros. Most fields are below 100; those skip to_chars.
char* PutNumber(char* p, std::int64_t value) {
    if (value >= 0 && value < 10) {
        *p++ = static_cast<char>('0' + value);
        return p;
    }
    if (value >= 10 && value < 100) {
        *p++ = static_cast<char>('0' + value / 10);
        *p++ = static_cast<char>('0' + value % 10);
        return p;
    }
    return std::to_chars(p, p + 20, value).ptr;
}

char* PutText(char* p, std::string_view text) {
    std::memcpy(p, text.data(), text.size());
    return p + text.size();
}

// "2000/3/5 日 9:7:3 受信 12345(name)": no leading zeros anywhere. Formatted in a buffer of
// its own, since this line is most of the work of an export.
void AppendHeadLine(MessageDatabase& db, const EventRecord& record, std::string& out) {
    const std::tm& t = record.time;
    char line[128];  // 7 int-sized numbers (11 characters at most), two words, separators
    char* p = PutNumber(line, static_cast<std::int64_t>(t.tm_year) + 1900);
    *p++ = '/';
    p = PutNumber(p, static_cast<std::int64_t>(t.tm_mon) + 1);
    *p++ = '/';
    p = PutNumber(p, t.tm_mday);
    *p++ = ' ';
    p = PutText(p, WeekdayName(t.tm_wday));
    *p++ = ' ';
    p = PutNumber(p, t.tm_hour);
    *p++ = ':';
    p = PutNumber(p, t.tm_min);
    *p++ = ':';
    p = PutNumber(p, t.tm_sec);
    *p++ = ' ';
    p = PutText(p, DirectionName(record.direction));
    *p++ = ' ';
    if (record.uin == 1 || record.uin == 10) {
        *p++ = '-';  // DefaultMemberName without its string
    } else {
        p = PutNumber(p, record.uin);
    }
    *p++ = '(';
    out.append(line, p);
    out.append(db.MemberName(record.uin));
    out += ')';
}

}  // namespace

void AppendWithCrLf(const std::string& text, std::string& out) {
    std::size_t start = 0;
    while (true) {
        const void* found = std::memchr(text.data() + start, '\n', text.size() - start);
        if (found == nullptr) {
            out.append(text, start, std::string::npos);
            return;
        }
        const auto lf = static_cast<std::size_t>(static_cast<const char*>(found) - text.data());
        out.append(text, start, lf - start);
        if (lf == 0 || text[lf - 1] != '\r') {
            out += '\r';
        }
        out += '\n';
        start = lf + 1;
    }
}

const std::string& ExportBlock::TypeNameOf(std::uint16_t type) {
    if (type < typeNames_.size()) {
        std::string& name = typeNames_[type];
        if (name.empty()) {
            name = TypeName(type);
        }
        return name;
    }
    otherTypeName_ = TypeName(type);
    return otherTypeName_;
}

void ExportBlock::Append(const EventRecord& record, bool decoded, std::string& out) {
    out.append(kSeparator);
    if (decoded) {
        AppendHeadLine(db_, record, out);
    }
    out.append(kCrLf);
    out += '[';
    out.append(TypeNameOf(record.type));
    out += ']';
    out.append(kCrLf);
    out.append(kCrLf);
    AppendWithCrLf(record.text, out);
    out.append(kCrLf);
    out.append(kCrLf);
}
