#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "database/RecordWalker.h"
#include "search/NeedleFinder.h"
#include "search/TextFold.h"

class EventFacts;
class MessageDatabase;
struct SearchCriteria;

// Rules out, from the raw bytes of the records, the events that cannot match a search:
// by direction and date (from the fact table, when it has been read, with a date range),
// and by text where the
// display text is the raw text (the text is then searched in the file's bytes), a fixed text, or a
// URL layout whose fixed parts the search text shares no byte with. What is left is tested in full
// by the caller.
//
// With folding options the text is looked for folded: the bytes are then searched for every
// raw form that folds to the text's start.
class SearchScan {
public:
    SearchScan(MessageDatabase& db, const SearchCriteria& criteria, MatchOptions options = {});

    // Sets marks[i - first] for refs[first, last): 1 when the event may match, else 0.
    void Candidates(const std::vector<EventRef>& refs, std::size_t first, std::size_t last,
                    std::vector<std::uint8_t>& marks);

private:
    // Marks refs[first, last) from the records' bytes into marks[0, last - first).
    void ScanRange(const std::vector<EventRef>& refs, std::size_t first, std::size_t last,
                   std::uint8_t* marks);
    // True when the fact table holds the event and its direction or date cannot match.
    bool FactsRuleOut(const EventRef& ref) const;
    // Marks refs[begin, end), the records of the block the walker has just read, looking
    // at a record's fields only where the search text occurs in its reach (or the block
    // may have cut it short).
    void MarkFromBytes(const std::vector<EventRef>& refs, std::size_t begin, std::size_t end,
                       std::uint8_t* marks);
    bool MayMatch(const RecordBytes& r);
    bool RawTextHolds(const RecordBytes& r);

    const SearchCriteria& criteria_;
    // With a date range, when they have been read: the facts, which rule out most events
    // without reading them.
    const EventFacts* facts_ = nullptr;
    NeedleFinder finder_;
    RecordWalker walker_;
    bool inCorrupt_ = false;      // the search text is in the corrupt-data text
    bool inUnsupported_ = false;  // ... in the not-supported text
    bool inEmpty_ = false;        // ... in an empty text
    bool touchesUrlFrame_ = false;
    bool rawBytesDecide_ = true;
    // Only a raw text can hold the search text: a record without it in its bytes is out.
    bool onlyRawTexts_ = false;
    // The first occurrence at or after memoFrom_ in block memoBlock_.
    std::uint64_t memoBlock_ = 0;
    const std::uint8_t* memoFrom_ = nullptr;
    const std::uint8_t* memoHit_ = nullptr;
    std::size_t memoLength_ = 0;
};
