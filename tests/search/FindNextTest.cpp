#include <gtest/gtest.h>

#include <ctime>
#include <string>
#include <utility>
#include <vector>

#include "database/MessageDatabase.h"
#include "search/DateRange.h"
#include "search/FindNext.h"
#include "search/SearchCriteria.h"
#include "search/SearchList.h"
#include "search/TextMatch.h"
#include "support/SearchSteps.h"
#include "support/TestHistory.h"

namespace {

constexpr std::int32_t kKey = 5;

// The list as the search sees it, recording what the search asks of it.
class FakeList : public SearchList {
public:
    FakeList(MessageDatabase& db, std::int32_t firstSelected) : db_(db), selected(firstSelected) {}

    std::int32_t RowCount() override { return db_.EventCount(kKey); }
    std::int32_t FirstSelectedRow() override { return selected; }
    std::int32_t MemberKey() override { return kKey; }
    std::int32_t RowsPerPage() override { return 11; }
    void SelectRow(std::int32_t row) override { selected = row; }
    void ShowRowAt(std::int32_t row, std::int32_t line) override { shown.emplace_back(row, line); }
    void SearchFinished() override { ++finished; }

    MessageDatabase& db_;
    std::int32_t selected;
    std::vector<std::pair<std::int32_t, std::int32_t>> shown;
    int finished = 0;
};

SearchCriteria MatchEverything() {
    SearchCriteria criteria;
    criteria.ready = true;
    criteria.position = kNoRow;
    criteria.includeReceived = true;
    criteria.includeSent = true;
    return criteria;
}

class Search : public ::testing::Test {
protected:
    Search() : tz_("UTC0") {}

    void Add(const std::string& text, std::uint32_t direction = Received, std::int32_t stamp = 0) {
        h_.Message(kKey, text, stamp, direction);
    }
    void Open() { ASSERT_TRUE(db_.Open(h_.paths.data, h_.paths.index)); }
    // Runs steps until the search finishes; the rows found, in order.
    std::vector<std::int32_t> Hits(SearchCriteria& criteria, bool downward, FakeList& list) {
        return RowsFound(db_, criteria, downward, list);
    }

    ScopedTimeZone tz_;
    TestHistory h_;
    MessageDatabase db_;
};

using Rows = std::vector<std::int32_t>;

TEST_F(Search, WithNoRowSelectedTheSearchStartsAtTheEdge) {
    for (int i = 0; i < 5; ++i) {
        Add("event");
    }
    Open();
    FakeList list(db_, kNoRow);
    SearchCriteria down = MatchEverything();
    ASSERT_TRUE(FindNext(db_, down, true, list));
    EXPECT_EQ(down.position, 0);  // the newest event, row 0, is examined first
    EXPECT_EQ(list.selected, 0);
    EXPECT_EQ(list.shown, (std::vector<std::pair<std::int32_t, std::int32_t>>{{0, 5}}));

    FakeList upList(db_, kNoRow);
    SearchCriteria up = MatchEverything();
    EXPECT_EQ(Hits(up, false, upList), (Rows{4, 3, 2, 1, 0}));
    EXPECT_EQ(upList.finished, 1);
}

TEST_F(Search, WithARowSelectedTheNextRowInTheDirectionComesFirst) {
    for (int i = 0; i < 5; ++i) {
        Add("event");
    }
    Open();
    FakeList list(db_, 2);
    SearchCriteria criteria = MatchEverything();
    criteria.position = 2;
    ASSERT_TRUE(FindNext(db_, criteria, true, list));
    EXPECT_EQ(criteria.position, 3);
    criteria.position = 2;
    ASSERT_TRUE(FindNext(db_, criteria, false, list));
    EXPECT_EQ(criteria.position, 1);
}

TEST_F(Search, AfterAHitOnTheLastRowF3FinishesAgainAndAgain) {
    Add("hit");  // row 4, the last
    Add("miss");
    Add("miss");
    Add("hit");  // row 1
    Add("miss");
    Open();
    FakeList list(db_, kNoRow);
    SearchCriteria criteria = MatchEverything();
    criteria.searchText = "hit";
    EXPECT_EQ(Hits(criteria, true, list), (Rows{1, 4}));
    EXPECT_EQ(list.finished, 1);
    EXPECT_EQ(criteria.position, 4);  // the selected row, the last hit

    EXPECT_FALSE(FindNext(db_, criteria, true, list));
    EXPECT_EQ(list.finished, 2);
    EXPECT_EQ(criteria.position, 4);
    EXPECT_EQ(list.selected, 4);

    // Going up from there finds the other hit.
    ASSERT_TRUE(FindNext(db_, criteria, false, list));
    EXPECT_EQ(criteria.position, 1);
}

TEST_F(Search, FinishingWithoutSelectionRestartsAtTheEdge) {
    Add("a");
    Add("b");
    Open();
    FakeList list(db_, kNoRow);
    SearchCriteria criteria = MatchEverything();
    criteria.searchText = "zzz";
    EXPECT_FALSE(FindNext(db_, criteria, true, list));
    EXPECT_EQ(criteria.position, kNoRow);
    EXPECT_EQ(list.finished, 1);
    EXPECT_TRUE(list.shown.empty());

    criteria.searchText = "b";
    ASSERT_TRUE(FindNext(db_, criteria, true, list));
    EXPECT_EQ(criteria.position, 0);
}

TEST_F(Search, PositionDoesNotFollowTheSelectionBetweenSearches) {
    for (int i = 0; i < 6; ++i) {
        Add("event");
    }
    Open();
    FakeList list(db_, kNoRow);
    SearchCriteria criteria = MatchEverything();
    ASSERT_TRUE(FindNext(db_, criteria, true, list));
    list.selected = 4;  // the user clicks another row
    ASSERT_TRUE(FindNext(db_, criteria, true, list));
    EXPECT_EQ(criteria.position, 1);
}

TEST_F(Search, DirectionFilterTakesOnlyZeroAndOne) {
    Add("r", Received);  // row 4
    Add("s", Sent);      // row 3
    Add("two", 2);       // row 2
    Add("max", 0xFFFFFFFF);
    Add("r", Received);  // row 0
    Open();
    FakeList list(db_, kNoRow);
    SearchCriteria both = MatchEverything();
    EXPECT_EQ(Hits(both, true, list), (Rows{0, 3, 4}));

    SearchCriteria received = MatchEverything();
    received.includeSent = false;
    EXPECT_EQ(Hits(received, true, list), (Rows{0, 4}));

    SearchCriteria sent = MatchEverything();
    sent.includeReceived = false;
    EXPECT_EQ(Hits(sent, true, list), (Rows{3}));

    SearchCriteria neither = MatchEverything();
    neither.includeReceived = neither.includeSent = false;
    EXPECT_EQ(Hits(neither, true, list), (Rows{}));
}

TEST_F(Search, TextIsMatchedOnCharacterBoundaries) {
    Add("\x8C\x8E\x89\xCE");  // 月火: its middle bytes are 脂 (8E 89)
    Add("\x8C\x8E\x8E\x89");  // 月脂
    Add("ABC");
    Open();
    FakeList list(db_, kNoRow);
    SearchCriteria criteria = MatchEverything();
    criteria.searchText = "\x8E\x89";
    EXPECT_EQ(Hits(criteria, true, list), (Rows{1}));
    criteria.position = kNoRow;
    criteria.searchText = "abc";
    EXPECT_EQ(Hits(criteria, true, list), (Rows{}));
    criteria.position = kNoRow;
    criteria.searchText = "ABC";
    EXPECT_EQ(Hits(criteria, true, list), (Rows{0}));
}

TEST_F(Search, UndecodableEventsNeverMatchADateRange) {
    WriterRecord corrupt;
    corrupt.marker = 0;
    h_.writer.AppendEvent(kKey, corrupt);  // row 1
    WriterRecord unsupported;
    unsupported.type = 7;
    h_.writer.AppendEvent(kKey, unsupported);  // row 0
    Open();
    FakeList list(db_, kNoRow);
    SearchCriteria criteria = MatchEverything();
    // A range around now: such events used to take the current time.
    const std::time_t now = std::time(nullptr);
    SetDateRange(criteria, {static_cast<std::int64_t>(now) - 86400 * 2,
                            static_cast<std::int64_t>(now) + 86400 * 2});
    EXPECT_EQ(Hits(criteria, true, list), (Rows{}));

    // Without a date range their failure texts are found: 壊れて is in both.
    ClearDateRange(criteria);
    criteria.searchText = "\x89\xF3\x82\xEA\x82\xC4";
    EXPECT_EQ(Hits(criteria, true, list), (Rows{0, 1}));
}

TEST_F(Search, EmptyListFinishesAtOnce) {
    Open();
    FakeList list(db_, kNoRow);
    SearchCriteria criteria = MatchEverything();
    EXPECT_FALSE(FindNext(db_, criteria, true, list));
    EXPECT_FALSE(FindNext(db_, criteria, false, list));
    EXPECT_EQ(list.finished, 2);
    EXPECT_EQ(criteria.position, kNoRow);
}

// Date ranges in two zones. An event shows its stamp's local time plus the zone's standard
// offset again, so on a machine S hours east of UTC it shows UTC + 2S hours.
struct Zone {
    const char* tz;
    int eastHours;
};

class SearchDates : public ::testing::TestWithParam<Zone> {
protected:
    SearchDates() : tz_(GetParam().tz) {}

    // The stamp of an event that shows as the given local time.
    std::int32_t Shown(int year, int month, int day, int hour, int minute, int second) {
        std::tm tm{};
        tm.tm_year = year - 1900;
        tm.tm_mon = month - 1;
        tm.tm_mday = day;
        tm.tm_hour = hour;
        tm.tm_min = minute;
        tm.tm_sec = second;
        return static_cast<std::int32_t>(timegm(&tm) - 2 * GetParam().eastHours * 3600);
    }
    std::vector<std::int32_t> Hits(SearchCriteria criteria) {
        FakeList list(db_, kNoRow);
        return RowsFound(db_, criteria, true, list);
    }

    ScopedTimeZone tz_;
    TestHistory h_;
    MessageDatabase db_;
};

TEST_P(SearchDates, OneDayIncludesItsMidnightAndExcludesTheNext) {
    h_.Message(kKey, "e", Shown(2000, 3, 4, 23, 59, 59));  // row 3
    h_.Message(kKey, "e", Shown(2000, 3, 5, 0, 0, 0));     // row 2
    h_.Message(kKey, "e", Shown(2000, 3, 5, 23, 59, 59));  // row 1
    h_.Message(kKey, "e", Shown(2000, 3, 6, 0, 0, 0));     // row 0
    ASSERT_TRUE(db_.Open(h_.paths.data, h_.paths.index));
    EventRecord check;
    ASSERT_TRUE(db_.ReadEvent(kKey, 1, check));
    ASSERT_EQ(check.time.tm_mday, 5);
    ASSERT_EQ(check.time.tm_hour, 0);

    SearchCriteria criteria = MatchEverything();
    SetDateRange(criteria, OneDayRange({2000, 3, 5}));
    EXPECT_EQ(criteria.rangeEnd - criteria.rangeStart, 86400);
    EXPECT_EQ(Hits(criteria), (Rows{1, 2}));
}

TEST_P(SearchDates, PeriodCountsItsLastDayInFull) {
    h_.Message(kKey, "e", Shown(2001, 5, 31, 23, 59, 59));  // row 4
    h_.Message(kKey, "e", Shown(2001, 6, 1, 0, 0, 0));      // row 3
    h_.Message(kKey, "e", Shown(2001, 6, 2, 12, 0, 0));     // row 2
    h_.Message(kKey, "e", Shown(2001, 6, 3, 23, 59, 59));   // row 1
    h_.Message(kKey, "e", Shown(2001, 6, 4, 0, 0, 0));      // row 0
    ASSERT_TRUE(db_.Open(h_.paths.data, h_.paths.index));

    SearchCriteria criteria = MatchEverything();
    SetDateRange(criteria, PeriodRange({2001, 6, 1}, {2001, 6, 3}));
    EXPECT_EQ(Hits(criteria), (Rows{1, 2, 3}));

    // The text filter still applies inside the range.
    criteria.searchText = "x";
    EXPECT_EQ(Hits(criteria), (Rows{}));
}

INSTANTIATE_TEST_SUITE_P(Zones, SearchDates, ::testing::Values(Zone{"JST-9", 9}, Zone{"UTC0", 0}),
                         [](const auto& zone) {
                             return zone.param.eastHours == 0 ? "Utc" : "Jst";
                         });

}  // namespace

namespace {

// A history larger than one read block, the text now and then in a record, at a block's
// seam, after a NUL, in a damaged record, in an unknown type's bytes and in the last
// record (cut short): each search, with and without a date range and directions, finds
// exactly the rows that a test of every decoded event finds, with the fact table read or not.
TEST_F(Search, LongHistoryFindsExactlyTheRowsThatMatch) {
    std::vector<WriterEvent> events(16000);
    for (std::size_t i = 0; i < events.size(); ++i) {
        WriterRecord& r = events[i].record;
        r.uin = kKey;
        r.text = "message number " + std::to_string(i) + " with some words in it";
        r.direction = i % 5 == 0 ? 1u : (i % 97 == 0 ? 2u : 0u);
        r.stamp = 1600000000 + static_cast<std::int32_t>(i) * 600;
        if (i % 1499 == 0) {
            r.text += i % 2 == 0 ? std::string(" zq") : std::string("\0zq", 3);
        }
        if (i % 2003 == 0) {
            r.text.insert(0, "zq");
            r.type = i % 3 == 0 ? 300 : 1;
            r.marker = i % 4 == 0 ? 0x00A1 : kWriterRecordMarker;
        }
        events[i].key = kKey;
    }
    events.back().record.text += "zq";
    ASSERT_GE(h_.writer.AppendEvents(events), 0);
    ASSERT_TRUE(h_.writer.TruncateData(h_.writer.DataSize() - 3));
    Open();
    std::vector<SearchCriteria> searches;
    for (const std::string pattern : {"zq", "words", "\x82\xA0"}) {
        SearchCriteria criteria = MatchEverything();
        criteria.searchText = pattern;
        searches.push_back(criteria);
        criteria.useDateRange = true;
        criteria.rangeStart = 1600000000 + 3000 * 600;
        criteria.rangeEnd = 1600000000 + 9000 * 600;
        searches.push_back(criteria);
        criteria.includeReceived = false;
        searches.push_back(criteria);
    }
    const std::int32_t rows = db_.EventCount(kKey);
    EventRecord record;
    for (SearchCriteria& criteria : searches) {
        Rows expected;
        for (std::int32_t row = 0; row < rows; ++row) {
            const bool decoded = db_.ReadEvent(kKey, RowToIndex(rows, row), record);
            const bool direction =
                record.direction == Received ? criteria.includeReceived : record.direction == Sent;
            const bool date =
                !criteria.useDateRange || (decoded && criteria.rangeStart <= record.timeValue &&
                                           record.timeValue < criteria.rangeEnd);
            if (direction && date && ContainsText(record.text, criteria.searchText)) {
                expected.push_back(row);
            }
        }
        // Without the fact table, then with it.
        FakeList list(db_, kNoRow);
        SearchCriteria again = criteria;
        EXPECT_EQ(Hits(criteria, true, list), expected)
            << criteria.searchText << " " << criteria.useDateRange << criteria.includeReceived;
        db_.Facts();
        FakeList withFacts(db_, kNoRow);
        EXPECT_EQ(Hits(again, true, withFacts), expected) << again.searchText;
    }
}

}  // namespace
