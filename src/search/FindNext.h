#pragma once

class MessageDatabase;
class SearchList;
struct SearchCriteria;

// One search step (F3 downward, Shift+F3 upward): examines the rows after `position` in
// the direction of travel (from the edge of the list when `position` is kNoRow) until
// one matches, then selects it and scrolls it to the middle of the list, and sets
// `position` to it. A row matches when its direction is taken part (received 0, sent 1;
// any other value never), its text contains the search text, and, with a date range,
// its time lies in the range (an event that failed to decode never does).
// When no row matches, `position` becomes the list's first selected row and the list
// is told the search finished. Returns whether a row was found.
bool FindNext(MessageDatabase& db, SearchCriteria& criteria, bool downward, SearchList& list);
