#include "export/ExportBlock.h"

#include <cstring>
#include <string_view>

#include "database/Digits.h"
#include "database/EventRecord.h"
#include "database/EventTypes.h"
#include "database/MessageDatabase.h"

namespace {

constexpr std::string_view kSeparator = "--------------------------------------\r\n";
constexpr std::string_view kCrLf = "\r\n";

using digits::PutNumber;

char* PutText(char* p, std::string_view text) {
    std::memcpy(p, text.data(), text.size());
    return p + text.size();
}

// `text` with each line break written once as CR LF (see AppendWithCrLf); needs room for
// twice the text.
char* PutWithCrLf(char* p, std::string_view text) {
    const char* from = text.data();
    const char* const end = from + text.size();
    while (const void* found = std::memchr(from, '\n', static_cast<std::size_t>(end - from))) {
        const auto* lf = static_cast<const char*>(found);
        p = PutText(p, std::string_view(from, static_cast<std::size_t>(lf - from)));
        if (lf == text.data() || lf[-1] != '\r') {
            *p++ = '\r';
        }
        *p++ = '\n';
        from = lf + 1;
    }
    return PutText(p, std::string_view(from, static_cast<std::size_t>(end - from)));
}

// The most that line 2 takes before the UIN: 6 int-sized numbers (11 characters at most),
// the weekday and direction words, separators.
constexpr std::size_t kHeadLineRoom = 128;

// "2000/3/5 日 9:7:3 受信 12345(name)": no leading zeros anywhere. `day` is the part up to
// the time, `who` the part from the UIN on.
char* PutHeadLine(char* p, const std::tm& t, std::string_view day, std::string_view direction,
                  std::string_view who) {
    p = PutText(p, day);
    p = PutNumber(p, t.tm_hour);
    *p++ = ':';
    p = PutNumber(p, t.tm_min);
    *p++ = ':';
    p = PutNumber(p, t.tm_sec);
    *p++ = ' ';
    p = PutText(p, direction);
    *p++ = ' ';
    return PutText(p, who);
}

}  // namespace

void AppendWithCrLf(const std::string& text, std::string& out) {
    const std::size_t used = out.size();
    out.resize(used + 2 * text.size());
    out.resize(static_cast<std::size_t>(PutWithCrLf(out.data() + used, text) - out.data()));
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

const std::string& ExportBlock::WhoOf(std::int32_t uin) {
    return members_.Get(uin, [this](std::int32_t key, std::string& out) {
        if (key == 1 || key == 10) {
            out += '-';  // DefaultMemberName without its string
        } else {
            char digits[24];
            out.append(digits, PutNumber(digits, key));
        }
        out += '(';
        out.append(db_.MemberName(key));
        out += ')';
    });
}

ExportBlock::ExportBlock(MessageDatabase& db)
    : db_(db), received_(DirectionName(Received)), sent_(DirectionName(Sent)) {}

std::string_view ExportBlock::DayOf(const EventRecord& record) {
    const std::tm& t = record.time;
    const LocalDay* day = LocalDayOf(record.stamp);
    if (day == nullptr || day->serial != day_.serial) {
        char* p = PutNumber(day_.text, static_cast<std::int64_t>(t.tm_year) + 1900);
        *p++ = '/';
        p = PutNumber(p, static_cast<std::int64_t>(t.tm_mon) + 1);
        *p++ = '/';
        p = PutNumber(p, t.tm_mday);
        *p++ = ' ';
        p = PutText(p, WeekdayName(t.tm_wday));
        *p++ = ' ';
        day_.length = static_cast<std::size_t>(p - day_.text);
        day_.serial = day != nullptr ? day->serial : 0;
    }
    return {day_.text, day_.length};
}

void ExportBlock::Append(const EventRecord& record, bool decoded, std::string& out) {
    // Formatted in place in room for the longest block: this is most of an export's work.
    const std::string_view who = decoded ? std::string_view(WhoOf(record.uin)) : "";
    const std::string& typeName = TypeNameOf(record.type);
    const std::size_t used = out.size();
    out.resize(used + kSeparator.size() + kHeadLineRoom + who.size() + typeName.size() +
               2 * record.text.size() + 6 * kCrLf.size() + 2);
    char* p = PutText(out.data() + used, kSeparator);
    if (decoded) {
        p = PutHeadLine(p, record.time, DayOf(record),
                        record.direction == Received ? received_ : sent_, who);
    }
    p = PutText(p, kCrLf);
    *p++ = '[';
    p = PutText(p, typeName);
    *p++ = ']';
    p = PutText(p, kCrLf);
    p = PutText(p, kCrLf);
    p = PutWithCrLf(p, record.text);
    p = PutText(p, kCrLf);
    p = PutText(p, kCrLf);
    out.resize(static_cast<std::size_t>(p - out.data()));
}
