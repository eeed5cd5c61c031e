#include "export/RowSelection.h"

#include <algorithm>

RowSelection RowSelection::All() {
    return RowSelection();
}

RowSelection RowSelection::Rows(std::vector<std::int32_t> rows) {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    RowSelection selection;
    selection.all_ = false;
    selection.rows_ = std::move(rows);
    return selection;
}
