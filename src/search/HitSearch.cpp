#include "search/HitSearch.h"

#include <algorithm>

#include "database/LocalTime.h"
#include "search/SearchCriteria.h"
#include "search/SearchScan.h"

namespace {

// Position of the event `entry` in a member's references (kept in index order).
std::optional<std::int32_t> PositionOf(const std::vector<EventRef>& refs, std::int32_t entry) {
    auto it = std::lower_bound(refs.begin(), refs.end(), entry,
                               [](const EventRef& r, std::int32_t e) { return r.entryNumber < e; });
    if (it == refs.end() || it->entryNumber != entry) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(it - refs.begin());
}

}  // namespace

std::optional<TextSpan> MatchEvent(const HitQuery& query, HitMatcher& matcher, EventRecord& record,
                                   bool decoded) {
    if (record.direction == Received) {
        if (!query.includeReceived) {
            return std::nullopt;
        }
    } else if (record.direction != Sent || !query.includeSent) {
        return std::nullopt;
    }
    std::optional<TextSpan> span = matcher.Find(record.text);
    if (!span || !query.useDateRange) {
        return span;
    }
    if (!decoded || !record.stampRead) {
        return std::nullopt;
    }
    if (!record.timeConverted) {
        ConvertEventTime(record.stamp, record.time, record.timeValue);
        record.timeConverted = true;
    }
    if (record.timeValue < query.rangeStart || record.timeValue >= query.rangeEnd) {
        return std::nullopt;
    }
    return span;
}

HitSearch::HitSearch(MessageDatabase& db, HitQuery query)
    : db_(db), query_(std::move(query)), matcher_(query_.text, query_.mode, query_.match) {
    nextAppended_ = CurrentCount();
    nextOlder_ = nextAppended_ - 1;
    if (std::optional<std::string> scanned = matcher_.ScanText()) {
        criteria_ = std::make_unique<SearchCriteria>();
        criteria_->searchText = std::move(*scanned);
        criteria_->useDateRange = query_.useDateRange;
        criteria_->rangeStart = query_.rangeStart;
        criteria_->rangeEnd = query_.rangeEnd;
        criteria_->includeReceived = query_.includeReceived;
        criteria_->includeSent = query_.includeSent;
        scan_ = std::make_unique<SearchScan>(db_, *criteria_, query_.match);
    }
}

HitSearch::~HitSearch() = default;

std::int32_t HitSearch::CurrentCount() const {
    const std::vector<EventRef>* refs = db_.KnownRefs(query_.key);
    return refs != nullptr ? static_cast<std::int32_t>(refs->size()) : 0;
}

std::int64_t HitSearch::total() const {
    return examined_ + (nextOlder_ + 1) + std::max(0, CurrentCount() - nextAppended_);
}

bool HitSearch::Finished() const {
    return nextOlder_ < 0 && nextAppended_ >= CurrentCount();
}

std::size_t HitSearch::Step(std::size_t budget, std::vector<Hit>& older, std::vector<Hit>& newer) {
    const std::int32_t count = CurrentCount();
    // A history that lost events (closed, reopened shorter) has nothing more to give here;
    // the window starts a new search when that happens.
    nextOlder_ = std::min(nextOlder_, count - 1);
    std::size_t done = 0;
    while (done < budget && nextAppended_ < count) {
        Examine(nextAppended_++, newer);
        ++done;
    }
    while (done < budget && nextOlder_ >= 0) {
        // Runs of the scan's longest size at most, so a slice stays short.
        constexpr std::size_t kRun = 1 << 15;
        const auto run = static_cast<std::int32_t>(
            std::min({budget - done, kRun, static_cast<std::size_t>(nextOlder_) + 1}));
        ExamineOlder(run, older);
        done += static_cast<std::size_t>(run);
    }
    examined_ += static_cast<std::int64_t>(done);
    return done;
}

void HitSearch::ExamineOlder(std::int32_t count, std::vector<Hit>& older) {
    const std::int32_t first = nextOlder_ - count + 1;
    const std::vector<EventRef>* refs = db_.KnownRefs(query_.key);
    if (scan_ && refs != nullptr) {
        scan_->Candidates(*refs, static_cast<std::size_t>(first),
                          static_cast<std::size_t>(nextOlder_) + 1, marks_);
    }
    for (; nextOlder_ >= first; --nextOlder_) {
        if (!scan_ || refs == nullptr || marks_[static_cast<std::size_t>(nextOlder_ - first)]) {
            Examine(nextOlder_, older);
        }
    }
}

bool HitSearch::Examine(std::int32_t index, std::vector<Hit>& hits) {
    const bool decoded = db_.ReadEvent(query_.key, index, record_, false);
    const std::optional<TextSpan> span = MatchEvent(query_, matcher_, record_, decoded);
    if (!span) {
        return false;
    }
    hits.push_back(
        {index, static_cast<std::uint32_t>(span->start), static_cast<std::uint32_t>(span->length)});
    return true;
}

MemberEvent OwnerOfEvent(MessageDatabase& db, std::int32_t searchedKey, std::int32_t index) {
    const MemberEvent self{searchedKey, index};
    if (searchedKey != ALL_MEMBERS || index < 0 || index >= db.EventCount(ALL_MEMBERS)) {
        return self;
    }
    // The index entry names the member, whatever the record says.
    const std::int32_t key = db.KeyAt(index);
    if (key == ALL_MEMBERS || key == 0) {
        return self;
    }
    // Hits spread over many members would otherwise sweep every entry once for each.
    constexpr std::size_t kListsBeforeAll = 8;
    if (!db.IsListed(key) && db.ListedMembers() >= kListsBeforeAll) {
        db.ListEveryMember();
    }
    const std::int32_t entry = db.Refs(ALL_MEMBERS)[static_cast<std::size_t>(index)].entryNumber;
    if (auto at = PositionOf(db.Refs(key), entry)) {
        return {key, *at};
    }
    return self;
}
