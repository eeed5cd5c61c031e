#include "search/FindNext.h"

#include "database/EventRecord.h"
#include "database/LocalTime.h"
#include "database/MessageDatabase.h"
#include "search/SearchCriteria.h"
#include "search/SearchList.h"
#include "search/TextMatch.h"

namespace {

// The filters in their order: direction, text, date. The first that fails ends the test,
// and the time is converted only for a row that the other two let through.
bool RowMatches(const SearchCriteria& criteria, EventRecord& record, bool decoded) {
    if (record.direction == Received) {
        if (!criteria.includeReceived) {
            return false;
        }
    } else if (record.direction != Sent || !criteria.includeSent) {
        return false;
    }
    if (!ContainsText(record.text, criteria.searchText)) {
        return false;
    }
    if (!criteria.useDateRange) {
        return true;
    }
    // A record that failed to decode has no time of its own.
    if (!decoded || !record.stampRead) {
        return false;
    }
    if (!record.timeConverted) {
        ConvertEventTime(record.stamp, record.time, record.timeValue);
        record.timeConverted = true;
    }
    return criteria.rangeStart <= record.timeValue && record.timeValue < criteria.rangeEnd;
}

}  // namespace

bool FindNext(MessageDatabase& db, SearchCriteria& criteria, bool downward, SearchList& list) {
    const std::int64_t step = downward ? 1 : -1;
    const std::int32_t key = list.MemberKey();
    EventRecord record;
    std::int64_t position = criteria.position;
    if (position < 0) {
        // No row selected: the first row examined is the edge the search moves away from.
        position = downward ? -1 : static_cast<std::int64_t>(list.RowCount());
    }
    while (true) {
        position += step;
        const std::int32_t rowCount = list.RowCount();
        if (position < 0 || position >= rowCount) {
            break;
        }
        const auto row = static_cast<std::int32_t>(position);
        const bool decoded = db.ReadEvent(key, RowToIndex(rowCount, row), record, false);
        if (RowMatches(criteria, record, decoded)) {
            criteria.position = row;
            list.SelectRow(row);
            list.ShowRowAt(row, list.RowsPerPage() / 2);
            return true;
        }
    }
    criteria.position = list.FirstSelectedRow();
    list.SearchFinished();
    return false;
}
