#include "database/EventCells.h"

#include <cstdio>

#include "database/EventTypes.h"
#include "database/MessageDatabase.h"

std::string FormatListDate(const std::tm& time) {
    // Wide enough that no calendar time, however absurd, overflows.
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%04lld/%02lld/%02d ", time.tm_year + 1900LL,
                  time.tm_mon + 1LL, time.tm_mday);
    std::string date(buffer);
    date.append(WeekdayName(time.tm_wday));
    return date;
}

std::string FormatListTime(const std::tm& time) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", time.tm_hour, time.tm_min, time.tm_sec);
    return buffer;
}

void FillEventCells(MessageDatabase& db, const EventRecord& record, bool decoded,
                    EventCells& cells) {
    cells.type = TypeName(record.type);
    cells.text = record.text;
    if (!decoded) {
        cells.date.clear();
        cells.time.clear();
        cells.name.clear();
        cells.uin.clear();
        return;
    }
    cells.date = FormatListDate(record.time);
    cells.time = FormatListTime(record.time);
    cells.name = db.MemberName(record.uin);
    cells.uin = MessageDatabase::DefaultMemberName(record.uin);
}
