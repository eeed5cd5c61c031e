#pragma once

#include <cstdint>

#include "search/SearchCriteria.h"
#include "search/SearchList.h"

class MessageDatabase;

// A list without a window: the rows of one member, a selection that follows the hits and
// nothing to scroll. The command-line tool searches through it; so do tests.
class HeadlessList : public SearchList {
public:
    HeadlessList(MessageDatabase& db, std::int32_t key, std::int32_t selected = kNoRow,
                 std::int32_t rowsPerPage = 0)
        : db_(db), key_(key), selected_(selected), rowsPerPage_(rowsPerPage) {}

    std::int32_t RowCount() override;
    std::int32_t FirstSelectedRow() override { return selected_; }
    std::int32_t MemberKey() override { return key_; }
    std::int32_t RowsPerPage() override { return rowsPerPage_; }
    void SelectRow(std::int32_t row) override { selected_ = row; }
    void ShowRowAt(std::int32_t, std::int32_t) override {}
    void SearchFinished() override {}

private:
    MessageDatabase& db_;
    std::int32_t key_;
    std::int32_t selected_;
    std::int32_t rowsPerPage_;
};
