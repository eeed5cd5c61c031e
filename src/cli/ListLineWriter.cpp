#include "cli/ListLineWriter.h"

#include "cli/ListFormat.h"
#include "database/Digits.h"
#include "database/EventCells.h"
#include "database/EventTypes.h"
#include "database/MessageDatabase.h"

void ListLineWriter::Append(MessageDatabase& db, const EventRecord& record, bool decoded,
                            std::string& line) {
    line += types_.Get(record.type, [](std::int32_t type, std::string& out) {
        AppendEscapedCell(TypeName(static_cast<std::uint16_t>(type)), out);
    });
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
    if (decoded) {
        line += NameCell(db, record.uin);
    }
    line += '\t';
    AppendEscapedCell(record.text, line);
    line += '\t';
    if (decoded) {
        // The UIN cell: MessageDatabase::DefaultMemberName, written in place.
        if (record.uin == 1 || record.uin == 10) {
            line += '-';
        } else {
            digits::AppendNumber(record.uin, line);
        }
    }
}

const std::string& ListLineWriter::NameCell(MessageDatabase& db, std::int32_t uin) {
    if (db.namesVersion() != namesVersion_) {
        names_.Clear();
        namesVersion_ = db.namesVersion();
    }
    return names_.Get(uin, [&db](std::int32_t key, std::string& out) {
        AppendEscapedCell(db.MemberName(key), out);
    });
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
