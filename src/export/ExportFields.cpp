#include "export/ExportFields.h"

#include <ctime>

#include "database/DatabaseTexts.h"
#include "database/Digits.h"
#include "database/EventRecord.h"
#include "database/EventTypes.h"
#include "database/LocalTime.h"
#include "database/MessageDatabase.h"
#include "text/Utf8ShiftJis.h"

namespace {

constexpr std::string_view kAllMembersUtf8 = "全メンバー";

}  // namespace

ExportFieldMaker::ExportFieldMaker(MessageDatabase& db) : db_(db) {}

std::string_view ExportFieldMaker::TypeNameOf(std::uint16_t type) {
    if (type < typeNames_.size()) {
        std::string& name = typeNames_[type];
        if (name.empty()) {
            AppendUtf8FromShiftJis(TypeName(type), name);
        }
        return name;
    }
    otherTypeName_.clear();
    AppendUtf8FromShiftJis(TypeName(type), otherTypeName_);
    return otherTypeName_;
}

const std::string& ExportFieldMaker::NameOf(std::int32_t uin) {
    return names_.Get(uin, [this](std::int32_t key, std::string& out) {
        AppendUtf8FromShiftJis(db_.MemberName(key), out);
    });
}

std::string_view FailureTextOf(std::string_view recordText) {
    return recordText == dbtext::kUnsupported ? dbtext::kUnsupported : dbtext::kCorrupt;
}

void AppendIsoTimeWithOffset(const std::tm& time, std::int64_t value, std::string& out) {
    AppendIsoTime(time, out);
    std::int64_t offset = ShownOffset(time, value);
    out += offset < 0 ? '-' : '+';
    offset = offset < 0 ? -offset : offset;
    digits::AppendPadded(offset / 3600, 2, out);
    out += ':';
    digits::AppendPadded(offset / 60 % 60, 2, out);
    if (offset % 60 != 0) {
        out += ':';
        digits::AppendPadded(offset % 60, 2, out);
    }
}

void AppendIsoTime(const std::tm& t, std::string& out) {
    if (t.tm_year >= -900 && t.tm_year < 8100 && t.tm_mon >= 0 && t.tm_mon < 99 &&
        digits::IsTwoDigit(t.tm_mday) && digits::IsTwoDigit(t.tm_hour) &&
        digits::IsTwoDigit(t.tm_min) && digits::IsTwoDigit(t.tm_sec)) {
        // The usual case, formatted in place.
        const int year = t.tm_year + 1900;
        char text[19];
        char* p = digits::PutTwo(digits::PutTwo(text, year / 100), year % 100);
        *p++ = '-';
        p = digits::PutTwo(p, t.tm_mon + 1);
        *p++ = '-';
        p = digits::PutTwo(p, t.tm_mday);
        *p++ = 'T';
        p = digits::PutTwo(p, t.tm_hour);
        *p++ = ':';
        p = digits::PutTwo(p, t.tm_min);
        *p++ = ':';
        p = digits::PutTwo(p, t.tm_sec);
        out.append(text, p);
        return;
    }
    digits::AppendPadded(static_cast<std::int64_t>(t.tm_year) + 1900, 4, out);
    out += '-';
    digits::AppendPadded(static_cast<std::int64_t>(t.tm_mon) + 1, 2, out);
    out += '-';
    digits::AppendPadded(t.tm_mday, 2, out);
    out += 'T';
    digits::AppendPadded(t.tm_hour, 2, out);
    out += ':';
    digits::AppendPadded(t.tm_min, 2, out);
    out += ':';
    digits::AppendPadded(t.tm_sec, 2, out);
}

bool SplitUrlText(std::string_view text, std::string_view& description, std::string_view& address) {
    if (text.substr(0, dbtext::kUrlDescriptionHead.size()) != dbtext::kUrlDescriptionHead) {
        return false;
    }
    text.remove_prefix(dbtext::kUrlDescriptionHead.size());
    // The description holds no 0xFE but may, in theory, hold the separator lines; the first
    // occurrence is taken, as the description comes first.
    std::string separator(dbtext::kUrlGap);
    separator.append(dbtext::kUrlHead);
    const std::size_t at = text.find(separator);
    if (at == std::string_view::npos) {
        return false;
    }
    description = text.substr(0, at);
    address = text.substr(at + separator.size());
    return true;
}

std::string ExportMemberName(MessageDatabase& db, std::int32_t key) {
    if (key == ALL_MEMBERS) {
        return std::string(kAllMembersUtf8);
    }
    // A key that the index never named has no name of its own yet.
    const std::string& stored = db.MemberName(key);
    std::string name;
    AppendUtf8FromShiftJis(stored.empty() ? MessageDatabase::DefaultMemberName(key) : stored, name);
    return name;
}
