#include "cli/ListLineWriter.h"

#include "cli/ListFormat.h"
#include "database/Digits.h"
#include "database/EventCells.h"
#include "database/EventTypes.h"
#include "database/MessageDatabase.h"

void ListLineWriter::Append(MessageDatabase& db, const EventRecord& record, bool decoded,
                            std::string& line) {
    line += TypeCell(record.type);
    line += '\t';
    if (decoded) {
        AppendDate(record, line);
    }
    line += '\t';
    if (decoded) {
        const std::tm& t = record.time;
        if (!digits::AppendClockTime(t.tm_hour, t.tm_min, t.tm_sec, line)) {
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
    auto& recent = recentTypes_[type % kRecentSlots];
    if (recent.cells != nullptr && recent.key == type) {
        return *recent.cells;
    }
    auto [it, added] = types_.try_emplace(type);
    if (added) {
        AppendEscapedCell(TypeName(type), it->second);
    }
    recent = {type, &it->second};
    return it->second;
}

const ListLineWriter::MemberCells& ListLineWriter::MemberOf(MessageDatabase& db, std::int32_t uin) {
    // Names may change between lines (a follower outlives reloads): the kept cells stand
    // only while the name is the one they were made from.
    if (db.namesVersion() != namesVersion_) {
        recentMembers_.fill({});
        namesVersion_ = db.namesVersion();
    }
    auto& recent = recentMembers_[static_cast<std::uint32_t>(uin) % kRecentSlots];
    if (recent.cells != nullptr && recent.key == uin) {
        return *recent.cells;
    }
    const std::string& name = db.MemberName(uin);
    auto [it, added] = members_.try_emplace(uin);
    MemberCells& cells = it->second;
    if (added || cells.name != name) {
        cells.name = name;
        cells.escaped.clear();
        AppendEscapedCell(name, cells.escaped);
        cells.uin = MessageDatabase::DefaultMemberName(uin);
    }
    recent = {uin, &cells};
    return cells;
}

void ListLineWriter::AppendDate(const EventRecord& record, std::string& line) {
    const std::tm& time = record.time;
    const long long year = time.tm_year + 1900LL;
    const int month = time.tm_mon + 1;
    if (year < 0 || year > 9999 || !digits::IsTwoDigit(month) ||
        !digits::IsTwoDigit(time.tm_mday) || time.tm_wday < 0 || time.tm_wday > 6) {
        AppendEscapedCell(FormatListDate(time), line);
        return;
    }
    const LocalDay* day = LocalDayOf(record.stamp);
    if (day != nullptr && day->serial == day_.serial) {
        line += day_.cell;
        return;
    }
    if (!weekdaysFilled_) {
        for (int weekday = 0; weekday < 7; ++weekday) {
            AppendEscapedCell(WeekdayName(weekday), weekdays_[static_cast<std::size_t>(weekday)]);
        }
        weekdaysFilled_ = true;
    }
    const auto y = static_cast<int>(year);
    char text[11] = {0, 0, 0, 0, '/', 0, 0, '/', 0, 0, ' '};
    digits::PutTwo(digits::PutTwo(text, y / 100), y % 100);
    digits::PutTwo(text + 5, month);
    digits::PutTwo(text + 8, time.tm_mday);
    day_.cell.assign(text, sizeof text);
    day_.cell += weekdays_[static_cast<std::size_t>(time.tm_wday)];
    day_.serial = day != nullptr ? day->serial : 0;
    line += day_.cell;
}
