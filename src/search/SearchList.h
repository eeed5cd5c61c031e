#pragma once

#include <cstdint>

// What a search step needs of the event list that it searches. The window's list
// implements it; so does the command-line tool.
class SearchList {
public:
    virtual ~SearchList() = default;

    virtual std::int32_t RowCount() = 0;
    // The first selected row, kNoRow when none.
    virtual std::int32_t FirstSelectedRow() = 0;
    // The member whose events the list shows.
    virtual std::int32_t MemberKey() = 0;
    // Number of fully visible rows.
    virtual std::int32_t RowsPerPage() = 0;
    // The first selected row loses its selection and `row` gains it.
    virtual void SelectRow(std::int32_t row) = 0;
    // Scrolls so that `row` becomes visible line `line`.
    virtual void ShowRowAt(std::int32_t row, std::int32_t line) = 0;
    // No further row matches in the direction searched: the window says so with
    // kSearchFinished.
    virtual void SearchFinished() = 0;
};
