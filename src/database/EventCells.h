#pragma once

#include <string>

#include "database/EventRecord.h"

class MessageDatabase;

// The six cells of an event-list row (type, date, time, name, text, UIN) as Shift-JIS
// text. The window's list, the details dialog and the command-line tool all show these.
struct EventCells {
    std::string type;
    std::string date;  // "%04d/%02d/%02d %s", the weekday name last
    std::string time;  // "%02d:%02d:%02d"
    std::string name;  // the member's display name
    std::string text;
    std::string uin;  // "-" for 1 and 10, else the number
};

enum EventColumn { TypeColumn = 0, DateColumn, TimeColumn, NameColumn, TextColumn, UinColumn };

// Fills the cells from a record that ReadEvent returned `decoded` for. A record that failed
// has only its type and text cells; the others stay empty.
void FillEventCells(MessageDatabase& db, const EventRecord& record, bool decoded,
                    EventCells& cells);

std::string FormatListDate(const std::tm& time);
std::string FormatListTime(const std::tm& time);
