#include "ui/list/ListTestHistory.h"

#include "text/ShiftJis.h"

ListHistory::ListHistory() : TestHistory(kOwner) {}

std::int32_t ListHistory::Add(std::int32_t key, const QString& text, std::uint32_t direction,
                              std::uint16_t type, std::int32_t stamp) {
    WriterRecord record;
    record.type = type;
    record.uin = key;
    record.text = Sjis(text);
    record.direction = direction;
    record.stamp = stamp;
    return writer.AppendEvent(key, record);
}

std::int32_t ListHistory::AddRecord(std::int32_t key, const WriterRecord& record) {
    return writer.AppendEvent(key, record);
}

std::string Sjis(const QString& text) {
    return ToShiftJis(text).value_or(std::string());
}
