#pragma once

#include <cstdint>
#include <string>

// No row is selected: the next search step starts at the edge of the list (row 0 going
// down, the last row going up).
inline constexpr std::int32_t kNoRow = -1;

// The last search. The application keeps one for the run (never saved); the find dialog
// works on a copy. FindNext changes only `position`.
struct SearchCriteria {
    // The criteria were complete when the dialog last tested them; F3 and Shift+F3 are
    // enabled exactly when this is set.
    bool ready = false;
    // The list row from which the next step starts: the first selected row when the dialog
    // opens or a search finishes (kNoRow when none), after a hit the row that matched.
    std::int32_t position = 0;
    std::string searchText;  // Shift-JIS
    bool useDateRange = false;
    std::int64_t rangeStart = 0;  // time values as mktime gives them; start inclusive,
    std::int64_t rangeEnd = 0;    // end exclusive
    bool includeReceived = false;
    bool includeSent = false;
    // The text as the user typed it (UTF-8), for the find dialog to show again: a
    // character without a Shift-JIS form has no faithful form in `searchText`.
    std::string typedText;
};
