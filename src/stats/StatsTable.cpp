#include "stats/StatsTable.h"

#include "database/EventTypes.h"
#include "stats/StatsTexts.h"

std::vector<StatsRow> StatsTableRows(const MemberStats& stats) {
    std::vector<StatsRow> rows;
    rows.reserve(stats.allByType.size() + 1);
    std::int64_t sentSum = 0;
    std::int64_t receivedSum = 0;
    for (const auto& [key, total] : stats.allByType) {
        const auto type = static_cast<std::uint16_t>(key);
        StatsRow row;
        row.typeName = TypeName(type);
        row.sent = CountOf(stats.sentByType, key);
        row.received = CountOf(stats.receivedByType, key);
        row.total = total;
        row.image = IsSupportedType(type) ? key : 0;
        sentSum += row.sent;
        receivedSum += row.received;
        rows.push_back(std::move(row));
    }
    StatsRow totalRow;
    totalRow.typeName = std::string(statstext::kTotalRow);
    totalRow.sent = static_cast<std::int32_t>(sentSum);
    totalRow.received = static_cast<std::int32_t>(receivedSum);
    totalRow.total = static_cast<std::int32_t>(sentSum + receivedSum);
    totalRow.image = kTotalRowImage;
    rows.push_back(std::move(totalRow));
    return rows;
}
