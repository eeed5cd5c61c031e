#include "cli/ListLineWriter.h"

#include "cli/ListFormat.h"
#include "database/EventCells.h"
#include "database/EventTypes.h"
#include "database/MessageDatabase.h"

namespace {

// Writes `value` (0..99) as two digits.
char* PutTwoDigits(int value, char* at) {
    at[0] = static_cast<char>('0' + value / 10);
    at[1] = static_cast<char>('0' + value % 10);
    return at + 2;
}

bool IsTwoDigit(int value) {
    return value >= 0 && value <= 99;
}

}  // namespace

void ListLineWriter::Append(MessageDatabase& db, const EventRecord& record, bool decoded,
                            std::string& line) {
    line += TypeCell(record.type);
    line += '\t';
    if (decoded) {
        AppendDate(record.time, line);
    }
    line += '\t';
    if (decoded) {
        const std::tm& t = record.time;
        if (IsTwoDigit(t.tm_hour) && IsTwoDigit(t.tm_min) && IsTwoDigit(t.tm_sec)) {
            char text[8] = {0, 0, ':', 0, 0, ':', 0, 0};
            PutTwoDigits(t.tm_hour, text);
            PutTwoDigits(t.tm_min, text + 3);
            PutTwoDigits(t.tm_sec, text + 6);
            line.append(text, sizeof text);
        } else {
            line += FormatListTime(t);
        }
    }
    line += '\t';
    const MemberCells* member = decoded ? &MemberOf(db, record.uin) : nullptr;
    if (member != nullptr) {
        line += member->escaped;
    }
    line += '\t';
    AppendEscapedCell(record.text, line);
    line += '\t';
    if (member != nullptr) {
        line += member->uin;
    }
}

const std::string& ListLineWriter::TypeCell(std::uint16_t type) {
    auto [it, added] = types_.try_emplace(type);
    if (added) {
        AppendEscapedCell(TypeName(type), it->second);
    }
    return it->second;
}

const ListLineWriter::MemberCells& ListLineWriter::MemberOf(MessageDatabase& db, std::int32_t uin) {
    // Names may change between lines (a follower outlives reloads): the kept cells stand
    // only while the name is the one they were made from.
    const std::string& name = db.MemberName(uin);
    auto [it, added] = members_.try_emplace(uin);
    MemberCells& cells = it->second;
    if (added || cells.name != name) {
        cells.name = name;
        cells.escaped.clear();
        AppendEscapedCell(name, cells.escaped);
        cells.uin = MessageDatabase::DefaultMemberName(uin);
    }
    return cells;
}

void ListLineWriter::AppendDate(const std::tm& time, std::string& line) {
    const long long year = time.tm_year + 1900LL;
    const int month = time.tm_mon + 1;
    if (year < 0 || year > 9999 || !IsTwoDigit(month) || !IsTwoDigit(time.tm_mday) ||
        time.tm_wday < 0 || time.tm_wday > 6) {
        AppendEscapedCell(FormatListDate(time), line);
        return;
    }
    const CalendarDayKey key = CalendarDayKey::Of(time);
    if (day_.key == key) {
        line += day_.cell;
        return;
    }
    if (!weekdaysFilled_) {
        for (int day = 0; day < 7; ++day) {
            AppendEscapedCell(WeekdayName(day), weekdays_[static_cast<std::size_t>(day)]);
        }
        weekdaysFilled_ = true;
    }
    const auto y = static_cast<int>(year);
    char text[11] = {0, 0, 0, 0, '/', 0, 0, '/', 0, 0, ' '};
    PutTwoDigits(y % 100, PutTwoDigits(y / 100, text));
    PutTwoDigits(month, text + 5);
    PutTwoDigits(time.tm_mday, text + 8);
    day_.cell.assign(text, sizeof text);
    day_.cell += weekdays_[static_cast<std::size_t>(time.tm_wday)];
    day_.key = key;
    line += day_.cell;
}
