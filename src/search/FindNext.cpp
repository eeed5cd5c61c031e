#include "search/FindNext.h"

#include <algorithm>
#include <vector>

#include "database/EventRecord.h"
#include "database/LocalTime.h"
#include "database/MessageDatabase.h"
#include "search/SearchCriteria.h"
#include "search/SearchList.h"
#include "search/SearchScan.h"
#include "search/TextMatch.h"

namespace {

constexpr std::int64_t kFirstRun = 32;
constexpr std::int64_t kLongestRun = 1 << 15;

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
    const std::int32_t rowCount = list.RowCount();
    EventRecord record;
    std::int64_t position = criteria.position;
    if (position < 0) {
        // No row selected: the first row examined is the edge the search moves away from.
        position = downward ? -1 : static_cast<std::int64_t>(rowCount);
    }
    // Rows are examined in runs: the scan rules out most events of a run from their
    // bytes, and only the rest are decoded and tested. Runs grow, so that a hit close by
    // costs little and a long search reads the file in large blocks.
    SearchScan scan(db, criteria);
    const std::vector<EventRef>& refs = db.Refs(key);
    std::vector<std::uint8_t> marks;
    std::int64_t run = kFirstRun;
    for (std::int64_t row = position + step; row >= 0 && row < rowCount;) {
        const std::int64_t end = downward ? std::min<std::int64_t>(row + run, rowCount)
                                          : std::max<std::int64_t>(row - run, -1);
        // Rows row .. end (exclusive) are the indices of refs[first, last).
        const std::int64_t first = downward ? rowCount - end : rowCount - 1 - row;
        const std::int64_t last = downward ? rowCount - row : rowCount - 1 - end;
        scan.Candidates(refs, static_cast<std::size_t>(first), static_cast<std::size_t>(last),
                        marks);
        for (; row != end; row += step) {
            const std::int64_t index = rowCount - 1 - row;
            if (!marks[static_cast<std::size_t>(index - first)]) {
                continue;
            }
            const auto r = static_cast<std::int32_t>(row);
            const bool decoded = db.ReadEvent(key, static_cast<std::int32_t>(index), record, false);
            if (RowMatches(criteria, record, decoded)) {
                criteria.position = r;
                list.SelectRow(r);
                list.ShowRowAt(r, list.RowsPerPage() / 2);
                return true;
            }
        }
        run = std::min(run * 2, kLongestRun);
    }
    criteria.position = list.FirstSelectedRow();
    list.SearchFinished();
    return false;
}
