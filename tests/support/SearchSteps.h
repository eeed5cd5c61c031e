#pragma once

#include <cstdint>
#include <vector>

#include "database/MessageDatabase.h"
#include "search/FindNext.h"
#include "search/SearchCriteria.h"
#include "search/SearchList.h"

// Runs search steps until the search ends, as F3 pressed again and again would; the rows
// found, in order.
inline std::vector<std::int32_t> RowsFound(MessageDatabase& db, SearchCriteria& criteria,
                                           bool downward, SearchList& list) {
    std::vector<std::int32_t> rows;
    while (FindNext(db, criteria, downward, list)) {
        rows.push_back(criteria.position);
    }
    return rows;
}
