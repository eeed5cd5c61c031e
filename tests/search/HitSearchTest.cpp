#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "database/MessageDatabase.h"
#include "search/DateRange.h"
#include "search/HeadlessList.h"
#include "search/HitSearch.h"
#include "search/SearchCriteria.h"
#include "support/SearchSteps.h"
#include "support/TestHistory.h"

namespace {

class HitSearchTest : public ::testing::Test {
protected:
    HitSearchTest() : tz_("JST-9") {}

    void Open() { ASSERT_TRUE(db_.Open(h_.paths.data, h_.paths.index)); }

    // Rows of the searched list, newest first, found in slices of three events.
    std::vector<std::int32_t> HitRows(const HitQuery& query) {
        HitSearch search(db_, query);
        std::vector<Hit> older, newer;
        while (!search.Finished()) {
            EXPECT_LE(search.Step(3, older, newer), 3u);
        }
        EXPECT_TRUE(newer.empty());
        EXPECT_EQ(search.examined(), db_.EventCount(query.key));
        std::vector<std::int32_t> rows;
        for (const Hit& hit : older) {
            rows.push_back(IndexToRow(db_.EventCount(query.key), hit.index));
        }
        return rows;
    }

    std::vector<std::int32_t> StepRows(const HitQuery& query) {
        SearchCriteria criteria;
        criteria.ready = true;
        criteria.position = kNoRow;
        criteria.searchText = query.text;
        criteria.useDateRange = query.useDateRange;
        criteria.rangeStart = query.rangeStart;
        criteria.rangeEnd = query.rangeEnd;
        criteria.includeReceived = query.includeReceived;
        criteria.includeSent = query.includeSent;
        HeadlessList list(db_, query.key, kNoRow, 1);
        return RowsFound(db_, criteria, true, list);
    }

    ScopedTimeZone tz_;
    TestHistory h_;
    MessageDatabase db_;
};

constexpr std::int32_t kDay = 86400;
constexpr std::int32_t kMarch5 = 952214400;  // 2000-03-05 00:00 UTC

TEST_F(HitSearchTest, WithTheSwitchesOffHitsAreTheRowsTheSearchStepFinds) {
    const char* texts[] = {"tea at five", "Tea?", "\x8C\x8E\x89\xCE", "\x8E\x89", "", "tea"};
    for (int i = 0; i < 24; ++i) {
        h_.Message(i % 3 == 0 ? 7 : 5, texts[i % 6], kMarch5 + i * kDay / 3,
                   static_cast<std::uint32_t>(i % 4 == 3 ? 2 : i % 2));
    }
    WriterRecord broken;
    broken.marker = 0x1234;
    h_.writer.AppendEvent(5, broken);
    Open();
    HitQuery query;
    for (std::int32_t key : {ALL_MEMBERS, 5, 7, 99}) {
        for (const char* text : {"tea", "", "\x8E\x89", "T"}) {
            for (int filter = 0; filter < 4; ++filter) {
                query.key = key;
                query.text = text;
                query.includeReceived = filter != 1;
                query.includeSent = filter != 2;
                query.useDateRange = filter == 3;
                const DateRange range = PeriodRange({2000, 3, 6}, {2000, 3, 7});
                query.rangeStart = range.start;
                query.rangeEnd = range.end;
                EXPECT_EQ(HitRows(query), StepRows(query)) << key << " '" << text << "' " << filter;
            }
        }
    }
}

// Larger than one read block, so the byte scan rules out most events: the hits are still
// the search step's, in large slices and small.
TEST_F(HitSearchTest, HitsOfALongHistoryAreTheRowsTheSearchStepFinds) {
    std::vector<WriterEvent> events(15000);
    for (std::size_t i = 0; i < events.size(); ++i) {
        events[i].key = i % 3 == 0 ? 7 : 5;
        events[i].record.uin = events[i].key;
        events[i].record.text = "event " + std::to_string(i) + (i % 997 == 0 ? " tea" : "");
        events[i].record.direction = static_cast<std::uint32_t>(i % 2);
        events[i].record.stamp = kMarch5 + static_cast<std::int32_t>(i) * 60;
    }
    ASSERT_GE(h_.writer.AppendEvents(events), 0);
    Open();
    HitQuery query;
    query.text = "tea";
    const std::vector<std::int32_t> expected = StepRows(query);
    EXPECT_EQ(expected.size(), 16u);
    HitSearch search(db_, query);
    std::vector<Hit> older, newer;
    search.Step(5000, older, newer);
    search.Step(1 << 20, older, newer);
    ASSERT_TRUE(search.Finished());
    std::vector<std::int32_t> rows;
    for (const Hit& hit : older) {
        rows.push_back(IndexToRow(db_.EventCount(query.key), hit.index));
    }
    EXPECT_EQ(rows, expected);
    EXPECT_EQ(search.examined(), 15000);
}

TEST_F(HitSearchTest, AppendedEventsAreExaminedFirstAndComeAsNewerHits) {
    for (int i = 0; i < 5; ++i) {
        h_.Message(5, "old hit " + std::to_string(i));
    }
    Open();
    HitQuery query;
    query.text = "hit";
    HitSearch search(db_, query);
    std::vector<Hit> older, newer;
    search.Step(2, older, newer);
    h_.Message(5, "new hit a");
    h_.Message(5, "no");
    h_.Message(5, "new hit b");
    db_.ReadIndex();
    EXPECT_EQ(search.total(), 8);
    EXPECT_FALSE(search.Finished());
    while (!search.Finished()) {
        search.Step(2, older, newer);
    }
    ASSERT_EQ(newer.size(), 2u);
    EXPECT_EQ(newer[0].index, 5);
    EXPECT_EQ(newer[1].index, 7);
    ASSERT_EQ(older.size(), 5u);
    EXPECT_EQ(older.front().index, 4);
    EXPECT_EQ(older.back().index, 0);
    EXPECT_EQ(older.front().start, 4u);
    EXPECT_EQ(older.front().length, 3u);
    // A history closed underneath leaves nothing to examine, and nothing read out of range.
    db_.Close();
    search.Step(10, older, newer);
    EXPECT_TRUE(search.Finished());
}

TEST_F(HitSearchTest, AHitOfAllMembersBelongsToTheMemberWhoseListHoldsIt) {
    h_.Message(5, "a");
    h_.Message(7, "b");
    h_.Message(5, "c");
    WriterRecord other;  // a record naming another uin than its index entry
    other.uin = 7;
    h_.writer.AppendEvent(9, other);
    Open();
    auto owner = [&](std::int32_t index) {
        const MemberEvent at = OwnerOfEvent(db_, ALL_MEMBERS, index);
        return std::make_pair(at.key, at.index);
    };
    EXPECT_EQ(owner(2), std::make_pair(5, 1));
    EXPECT_EQ(owner(1), std::make_pair(7, 0));
    EXPECT_EQ(owner(3), std::make_pair(9, 0));
    EXPECT_EQ(owner(99), std::make_pair(ALL_MEMBERS, 99));
    EXPECT_EQ(db_.members().count(12345678), 0u);
    const MemberEvent same = OwnerOfEvent(db_, 5, 1);
    EXPECT_EQ(std::make_pair(same.key, same.index), std::make_pair(5, 1));
}

// Owners of hits spread over many members (past the member numbers the column holds)
// are found without sweeping the history once for each (quadratic, that took minutes).
TEST_F(HitSearchTest, OwnersOfHitsOverCountlessMembersAreFoundInOneSweep) {
    constexpr std::int32_t kMembers = 400000;
    std::vector<WriterEvent> events(kMembers);
    for (std::int32_t i = 0; i < kMembers; ++i) {
        auto& event = events[static_cast<std::size_t>(i)];
        event.key = 1000 + static_cast<std::int32_t>(std::int64_t{i} * 7919 % kMembers);
        event.record.uin = event.key;
        event.record.text = "x";
    }
    ASSERT_GE(h_.writer.AppendEvents(events), 0);
    Open();
    for (std::int32_t index = 0; index < kMembers; ++index) {
        const MemberEvent at = OwnerOfEvent(db_, ALL_MEMBERS, index);
        ASSERT_EQ(at.key, events[static_cast<std::size_t>(index)].key);
        ASSERT_EQ(at.index, 0);
    }
}

// The folded scan and the words find what testing every event in full finds.
TEST_F(HitSearchTest, FoldedAndWordSearchesFindWhatTheFullTestFinds) {
    const char* texts[] = {"\xCC\xDF\xDA\xBE\xDE\xDD\xC4 tea",  // ﾌﾟﾚｾﾞﾝﾄ tea
                           "\x83\x76\x83\x8C\x83\x5B\x83\x93\x83\x67",  // プレゼント
                           "\x82\xD5\x82\xEA", "TEA for two", "two teas"};
    std::vector<WriterEvent> events(9000);
    for (std::size_t i = 0; i < events.size(); ++i) {
        events[i].key = 5 + static_cast<std::int32_t>(i % 3);
        events[i].record.uin = events[i].key;
        events[i].record.text = i % 500 == 0 ? texts[i / 500 % 5] : "event " + std::to_string(i);
    }
    ASSERT_GE(h_.writer.AppendEvents(events), 0);
    Open();
    HitQuery query;
    query.match = {true, true, true};
    for (const char* text : {"\x82\xD5\x82\xEA\x82\xBA", "tea", "\xCC\xDF", "two -teas"}) {
        for (TextMode mode : {TextMode::Whole, TextMode::AllWords}) {
            query.text = text;
            query.mode = mode;
            HitMatcher matcher(query.text, mode, query.match);
            std::vector<std::int32_t> expected;
            EventRecord record;
            for (std::int32_t i = db_.EventCount(ALL_MEMBERS) - 1; i >= 0; --i) {
                const bool decoded = db_.ReadEvent(ALL_MEMBERS, i, record);
                if (MatchEvent(query, matcher, record, decoded)) {
                    expected.push_back(IndexToRow(db_.EventCount(ALL_MEMBERS), i));
                }
            }
            if (mode == TextMode::AllWords || std::string(text).find('-') == std::string::npos) {
                EXPECT_FALSE(expected.empty()) << text;
            }
            EXPECT_EQ(HitRows(query), expected) << text << static_cast<int>(mode);
        }
    }
}

}  // namespace
