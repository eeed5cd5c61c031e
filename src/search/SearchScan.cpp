#include "search/SearchScan.h"

#include <algorithm>
#include <cstring>

#include "database/DatabaseTexts.h"
#include "database/EventFacts.h"
#include "database/EventRecord.h"
#include "database/LocalTime.h"
#include "search/SearchCriteria.h"
#include "search/FoldNeedles.h"
#include "search/TextMatch.h"
#include "search/TextMatcher.h"
#include "text/Cp932Chars.h"

namespace {

bool SharesAByte(std::string_view text, std::string_view frame) {
    return text.find_first_of(frame) != std::string_view::npos;
}

}  // namespace

namespace {

// What the bytes are searched for: the text, or every raw form of its folded start (none
// when there would be too many: every raw text is then tested in full).
std::vector<std::string> Needles(const std::string& text, MatchOptions options) {
    if (!options.Folds()) {
        return {text};
    }
    std::optional<std::vector<std::string>> needles = FoldNeedles(text, options);
    return needles ? std::move(*needles) : std::vector<std::string>();
}

std::string Folded(std::string_view text, MatchOptions options) {
    std::string out;
    FoldText(text, options, out, nullptr);
    return out;
}

}  // namespace

SearchScan::SearchScan(MessageDatabase& db, const SearchCriteria& criteria, MatchOptions options)
    : criteria_(criteria),
      finder_(Needles(criteria.searchText, options)),
      walker_(db) {
    const std::string& text = criteria.searchText;
    if (options.Folds()) {
        TextMatcher matcher(text, options);
        inCorrupt_ = matcher.Find(dbtext::kCorrupt).has_value();
        inUnsupported_ = matcher.Find(dbtext::kUnsupported).has_value();
        rawBytesDecide_ = !finder_.empty();
        // The frame's characters fold too: a pattern that shares no byte with the folded
        // frame lies wholly in the description or the address.
        const std::string folded = Folded(text, options);
        touchesUrlFrame_ = SharesAByte(folded, Folded(dbtext::kUrlDescriptionHead, options)) ||
                           SharesAByte(folded, Folded(dbtext::kUrlGap, options)) ||
                           SharesAByte(folded, Folded(dbtext::kUrlHead, options));
    } else {
        inCorrupt_ = ContainsText(dbtext::kCorrupt, text);
        inUnsupported_ = ContainsText(dbtext::kUnsupported, text);
        // A character held under two codes matches under either: the file's bytes then say
        // nothing, and every raw text is tested in full.
        rawBytesDecide_ = !HasTwinCodes(text);
        touchesUrlFrame_ = SharesAByte(text, dbtext::kUrlDescriptionHead) ||
                           SharesAByte(text, dbtext::kUrlGap) || SharesAByte(text, dbtext::kUrlHead);
    }
    inEmpty_ = text.empty();
    onlyRawTexts_ =
        !inEmpty_ && !inCorrupt_ && !inUnsupported_ && rawBytesDecide_ && !touchesUrlFrame_;
    // Reading the facts costs a pass over the file: only facts already read are used.
    if (criteria.useDateRange && db.KnownFacts().size() > 0) {
        facts_ = &db.KnownFacts();
    }
}

void SearchScan::Candidates(const std::vector<EventRef>& refs, std::size_t first, std::size_t last,
                            std::vector<std::uint8_t>& marks) {
    marks.assign(last - first, 0);
    if (facts_ == nullptr) {
        ScanRange(refs, first, last, marks.data());
        return;
    }
    // Only runs of the events the facts leave open are read; short gaps are read across.
    constexpr std::size_t kGap = 64;
    std::size_t k = first;
    while (k < last) {
        while (k < last && FactsRuleOut(refs[k])) {
            ++k;
        }
        if (k == last) {
            break;
        }
        std::size_t lastOpen = k;
        for (std::size_t i = k + 1; i < last && i - lastOpen <= kGap; ++i) {
            if (!FactsRuleOut(refs[i])) {
                lastOpen = i;
            }
        }
        std::uint8_t* run = marks.data() + (k - first);
        ScanRange(refs, k, lastOpen + 1, run);
        for (std::size_t i = k; i <= lastOpen; ++i) {
            if (run[i - k] != 0 && FactsRuleOut(refs[i])) {
                run[i - k] = 0;
            }
        }
        k = lastOpen + 1;
    }
}

void SearchScan::ScanRange(const std::vector<EventRef>& refs, std::size_t first, std::size_t last,
                           std::uint8_t* marks) {
    if (onlyRawTexts_) {
        walker_.WalkBlocks(refs, first, last, [&](std::size_t begin, std::size_t end) {
            MarkFromBytes(refs, begin, end, marks + (begin - first));
        });
        return;
    }
    walker_.Walk(refs, first, last, [&](std::size_t i, const RecordBytes& r) {
        marks[i - first] = MayMatch(r) ? 1 : 0;
    });
}

// The same direction and date tests as MayMatch, on what the facts say of the record.
bool SearchScan::FactsRuleOut(const EventRef& ref) const {
    const auto entry = static_cast<std::size_t>(ref.entryNumber);
    if (entry >= facts_->size()) {
        return false;
    }
    const EventFact fact = (*facts_)[entry];
    if (fact.Has(EventFact::kRedo)) {
        return false;
    }
    if (!fact.Has(EventFact::kNotReceived)
            ? !criteria_.includeReceived
            : (!fact.Has(EventFact::kSent) || !criteria_.includeSent)) {
        return true;
    }
    if (!criteria_.useDateRange) {
        return false;
    }
    if (!fact.Has(EventFact::kDecoded)) {
        return true;  // no time of its own: never in a date range
    }
    const std::int64_t value = EventTimeValue(fact.stamp);
    return value < criteria_.rangeStart || value >= criteria_.rangeEnd;
}

void SearchScan::MarkFromBytes(const std::vector<EventRef>& refs, std::size_t begin,
                               std::size_t end, std::uint8_t* marks) {
    // The most bytes a record can take; one that starts further than this from the end of
    // the block lies wholly inside it.
    constexpr std::size_t kLongestRecord = kRecordHead + 0xFFFF + kRecordTail;
    const std::uint8_t* data = walker_.blockData();
    const std::size_t length = walker_.blockLength();
    const std::int64_t start = walker_.blockStart();
    const std::uint8_t* dataEnd = data + length;
    // The block's references ascend, so the first occurrence at or after a record's text
    // only ever moves forward.
    std::size_t hitLength = 0;
    const std::uint8_t* hit = finder_.Find(data, dataEnd, hitLength);
    for (std::size_t k = begin; k < end; ++k) {
        const std::int64_t offset = refs[k].dataOffset;
        if (offset < start || offset - start >= static_cast<std::int64_t>(length)) {
            marks[k - begin] = 1;  // outside what was read: only the full test can tell
            continue;
        }
        if (hit == nullptr && static_cast<std::size_t>(offset - start) + kLongestRecord <= length) {
            // No further occurrence in the block, and this record and those after it up
            // to the last kLongestRecord bytes end inside it: none of them is a candidate.
            const std::int64_t lastWhole =
                start + static_cast<std::int64_t>(length - kLongestRecord);
            const auto after = std::upper_bound(
                refs.begin() + static_cast<std::ptrdiff_t>(k),
                refs.begin() + static_cast<std::ptrdiff_t>(end), lastWhole,
                [](std::int64_t value, const EventRef& ref) { return value < ref.dataOffset; });
            k = static_cast<std::size_t>(after - refs.begin()) - 1;
            continue;
        }
        const std::uint8_t* p = data + (offset - start);
        const std::uint8_t* text = p + kRecordHead;
        if (hit != nullptr && hit < text) {
            hit = text < dataEnd ? finder_.Find(text, dataEnd, hitLength) : nullptr;
        }
        const auto left = static_cast<std::size_t>(dataEnd - p);
        // A hit within the text field's length (as far as its bytes say); a record that
        // runs past the block is left to the parse too.
        const bool hitInReach = hit != nullptr && left >= kRecordHead &&
                                hit + hitLength <= p + RecordLength(p) - kRecordTail;
        const bool cut = left < kLongestRecord && (left < kRecordHead || RecordLength(p) > left);
        if (hitInReach || cut) {
            marks[k - begin] = MayMatch(walker_.Record(offset)) ? 1 : 0;
        }
    }
}

// Mirrors the full test: direction, then text, then date; every doubt is a candidate.
bool SearchScan::MayMatch(const RecordBytes& r) {
    if (r.redo) {
        return true;
    }
    const RecordFields& f = r.fields;
    const bool complete = f.state == RecordState::Complete;
    const std::uint32_t direction = complete ? f.direction : Received;
    if (direction == Received ? !criteria_.includeReceived
                              : (direction != Sent || !criteria_.includeSent)) {
        return false;
    }
    if (criteria_.useDateRange) {
        if (!complete) {
            return false;
        }
        const std::int64_t value = EventTimeValue(f.stamp);
        if (value < criteria_.rangeStart || value >= criteria_.rangeEnd) {
            return false;
        }
    }
    if (inEmpty_) {
        return true;
    }
    switch (f.state) {
        case RecordState::Corrupt:
            return inCorrupt_;
        case RecordState::Unsupported:
            return inUnsupported_;
        case RecordState::Short:
            return true;
        case RecordState::Complete:
            break;
    }
    if (f.type == 10) {
        return inUnsupported_;
    }
    if (f.type == 4 && touchesUrlFrame_) {
        return true;
    }
    return !rawBytesDecide_ || RawTextHolds(r);
}

bool SearchScan::RawTextHolds(const RecordBytes& r) {
    const std::uint8_t* start = r.p + kRecordHead;
    const std::uint8_t* end = start + r.fields.textRead;
    const bool reuse = memoBlock_ == r.block && memoFrom_ != nullptr && start >= memoFrom_ &&
                       (memoHit_ == nullptr || memoHit_ >= start);
    if (!reuse) {
        memoFrom_ = start;
        memoBlock_ = r.block;
        memoHit_ = finder_.Find(start, r.blockEnd, memoLength_);
    }
    // Within the text field, and before its first NUL (looked for only now: most records
    // have no occurrence at all).
    if (memoHit_ == nullptr) {
        return false;
    }
    const std::uint8_t* hitEnd = memoHit_ + memoLength_;
    return hitEnd <= end &&
           std::memchr(start, 0, static_cast<std::size_t>(hitEnd - start)) == nullptr;
}
