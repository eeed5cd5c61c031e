#pragma once

class MessageDatabase;
class SearchList;
struct SearchCriteria;

// One search step under the wait cursor (the dialog's "次を検索", F3 and Shift+F3). The
// cursor is lifted before the list tells that the search finished, so that the message
// box shows the ordinary pointer. Returns whether a row was found.
bool RunSearchStep(MessageDatabase& database, SearchCriteria& criteria, bool downward,
                   SearchList& list);
