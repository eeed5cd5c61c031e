#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "database/EventRecord.h"
#include "database/MessageDatabase.h"
#include "search/HitMatcher.h"

// What the hit list looks for: the find dialog's criteria (text, date range, directions)
// over one member's events or all of them, with the switches and the way the text is read.
struct HitQuery {
    std::int32_t key = ALL_MEMBERS;
    std::string text;  // Shift-JIS
    MatchOptions match;
    TextMode mode = TextMode::Whole;
    bool useDateRange = false;
    std::int64_t rangeStart = 0;  // inclusive, time values as mktime gives them
    std::int64_t rangeEnd = 0;    // exclusive
    bool includeReceived = true;
    bool includeSent = true;
};

class SearchScan;
struct SearchCriteria;

// One hit: the event at `index` of the searched member's references, and where the search
// text stands in its display text.
struct Hit {
    std::int32_t index = 0;
    std::uint32_t start = 0;
    std::uint32_t length = 0;
};

// Tests one decoded event against the query as the search step does: direction first
// (received 0, sent 1, any other value never), then the text, then the date (an event that
// failed to decode has no date and never lies in a range). The hit's place in the text,
// or nothing.
std::optional<TextSpan> MatchEvent(const HitQuery& query, HitMatcher& matcher, EventRecord& record,
                                   bool decoded);

// Searches the history in slices, so that a window can show hits as they are found and
// stay responsive: each Step examines at most a given number of events. The events that
// were there when the search started are examined newest first; events appended since
// are taken up, oldest first, before the rest.
class HitSearch {
public:
    HitSearch(MessageDatabase& db, HitQuery query);
    ~HitSearch();

    // Examines up to `budget` events. Hits among the events known at the start go to
    // `older` (each older than the hits before it), hits among appended events to
    // `newer` (each newer than every hit before it). Returns the number examined.
    std::size_t Step(std::size_t budget, std::vector<Hit>& older, std::vector<Hit>& newer);

    // Every event known now has been examined.
    bool Finished() const;
    std::int64_t examined() const { return examined_; }
    // Events to examine in all, appended ones included.
    std::int64_t total() const;
    const HitQuery& query() const { return query_; }

private:
    std::int32_t CurrentCount() const;
    bool Examine(std::int32_t index, std::vector<Hit>& hits);
    // Examines the `count` older events from nextOlder_ down, decoding only those the
    // scan leaves open.
    void ExamineOlder(std::int32_t count, std::vector<Hit>& older);

    MessageDatabase& db_;
    HitQuery query_;
    HitMatcher matcher_;
    EventRecord record_;
    // A text every hit holds (the text, or one of the words) rules out most events from
    // their bytes, folded or not; an expression is tested on every event.
    std::unique_ptr<SearchCriteria> criteria_;
    std::unique_ptr<SearchScan> scan_;
    std::vector<std::uint8_t> marks_;
    std::int32_t nextOlder_;     // counts down to -1
    std::int32_t nextAppended_;  // counts up to the current count
    std::int64_t examined_ = 0;
};

// The member and position a hit belongs to: for a search of one member that member; for
// all members the member whose list holds the same event (the one its index entry names).
// Never adds members to the table.
struct MemberEvent {
    std::int32_t key = ALL_MEMBERS;
    std::int32_t index = 0;
};
MemberEvent OwnerOfEvent(MessageDatabase& db, std::int32_t searchedKey, std::int32_t index);
