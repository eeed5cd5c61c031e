#include "support/ClockChangeDays.h"

#include <ctime>
#include <string>

std::vector<WriterEvent> EveryTenMinutesAround(const char* day, std::int32_t key) {
    std::tm midnight{};
    midnight.tm_year = std::stoi(std::string(day, 4)) - 1900;
    midnight.tm_mon = std::stoi(std::string(day + 5, 2)) - 1;
    midnight.tm_mday = std::stoi(std::string(day + 8, 2)) - 2;
    const auto from = static_cast<std::int32_t>(timegm(&midnight));
    std::vector<WriterEvent> events(6 * 24 * 5);
    for (std::size_t i = 0; i < events.size(); ++i) {
        events[i].key = key;
        events[i].record.uin = key;
        events[i].record.stamp = from + static_cast<std::int32_t>(i) * 600;
    }
    return events;
}
