#pragma once

#include <cstdint>
#include <vector>

// Which rows of a member's list an export takes: all of them, or a set of row numbers
// (the list's selection). Rows are taken in ascending order whatever order they were given in.
class RowSelection {
public:
    static RowSelection All();
    // Sorts the rows and drops duplicates.
    static RowSelection Rows(std::vector<std::int32_t> rows);

    bool IsAll() const { return all_; }
    // The chosen rows, ascending; empty for All().
    const std::vector<std::int32_t>& rows() const { return rows_; }

private:
    bool all_ = true;
    std::vector<std::int32_t> rows_;
};
