#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "database/MessageDatabase.h"
#include "support/TestHistory.h"

namespace {

std::vector<std::int32_t> EntryNumbers(MessageDatabase& db, std::int32_t key) {
    std::vector<std::int32_t> numbers;
    for (const EventRef& ref : db.Refs(key)) {
        numbers.push_back(ref.entryNumber);
    }
    return numbers;
}

std::vector<std::int32_t> Walk(MessageDatabase& db) {
    std::vector<std::int32_t> keys;
    if (db.FirstMember()) {
        do {
            keys.push_back(db.CurrentKey());
        } while (db.NextMember());
    }
    return keys;
}

using Keys = std::vector<std::int32_t>;

TEST(Index, KeysInAnyOrderKeepIndexOrderPerMember) {
    TestHistory h;
    h.Message(5, "a");
    h.Message(7, "b");
    h.Message(5, "c");
    MessageDatabase db;
    ASSERT_TRUE(db.Open(h.paths.data, h.paths.index));
    EXPECT_TRUE(db.loaded());
    EXPECT_EQ(EntryNumbers(db, 5), (Keys{0, 2}));
    EXPECT_EQ(EntryNumbers(db, 7), (Keys{1}));
    EXPECT_EQ(EntryNumbers(db, ALL_MEMBERS), (Keys{0, 1, 2}));
    for (std::int32_t fixed : {-1, 0, 1, 10}) {
        EXPECT_EQ(db.EventCount(fixed), 0) << fixed;
    }
    EXPECT_EQ(Walk(db), (Keys{-1, 0, 1, 5, 7, 10}));
    EXPECT_EQ(db.MemberName(5), "5");
    EXPECT_EQ(db.MemberName(1), "-");
    EXPECT_EQ(db.MemberName(10), "-");
    EXPECT_EQ(db.MemberName(-1), "-1");
}

TEST(Index, EmptyIndexHasOnlyTheFixedMembers) {
    TestHistory h;
    MessageDatabase db;
    ASSERT_TRUE(db.Open(h.paths.data, h.paths.index));
    EXPECT_TRUE(db.loaded());
    EXPECT_EQ(db.members().size(), 4u);
    EXPECT_EQ(db.members().count(ALL_MEMBERS), 0u);
    // The walk leaves out the first entry: -1 here, until -2 exists.
    EXPECT_EQ(Walk(db), (Keys{0, 1, 10}));
    EXPECT_EQ(db.EventCount(ALL_MEMBERS), 0);
    EXPECT_EQ(Walk(db), (Keys{-1, 0, 1, 10}));
}

TEST(Index, KeyBelowAllMembersIsLeftOutOfTheWalk) {
    TestHistory h;
    h.Message(-7, "a");
    h.Message(3, "b");
    MessageDatabase db;
    ASSERT_TRUE(db.Open(h.paths.data, h.paths.index));
    EXPECT_EQ(Walk(db), (Keys{-2, -1, 0, 1, 3, 10}));
}

TEST(Index, ZeroKeyStopsThePassUntilItIsWritten) {
    TestHistory h;
    h.Message(5, "a");
    h.writer.AppendZeroEntries(1);
    // An entry after the zero word is not taken while the zero stands.
    std::int32_t later = h.writer.AppendRecord(WriterRecord{});
    h.writer.WriteEntryAt(2, 8, later);
    MessageDatabase db;
    ASSERT_TRUE(db.Open(h.paths.data, h.paths.index));
    EXPECT_EQ(db.EventCount(ALL_MEMBERS), 1);
    EXPECT_FALSE(db.HasNewEntries());
    EXPECT_FALSE(db.HasNewEntries());  // checking never moves the resume position

    std::int32_t offset = h.writer.AppendRecord(WriterRecord{});
    h.writer.WriteEntryAt(1, 6, offset);
    EXPECT_TRUE(db.HasNewEntries());
    EXPECT_TRUE(db.HasNewEntries());
    db.ReadIndex();
    EXPECT_EQ(EntryNumbers(db, ALL_MEMBERS), (Keys{0, 1, 2}));
    EXPECT_EQ(EntryNumbers(db, 6), (Keys{1}));
    EXPECT_EQ(EntryNumbers(db, 8), (Keys{2}));
    EXPECT_FALSE(db.HasNewEntries());
}

TEST(Index, AppendedEntriesAreTakenUpOnceEach) {
    TestHistory h;
    h.Message(5, "a");
    MessageDatabase db;
    ASSERT_TRUE(db.Open(h.paths.data, h.paths.index));
    db.SetMemberName(5, "Five");
    EXPECT_FALSE(db.HasNewEntries());

    h.Message(5, "b");
    h.Message(9, "c");
    ASSERT_TRUE(db.HasNewEntries());
    db.ReadIndex();
    EXPECT_EQ(EntryNumbers(db, 5), (Keys{0, 1}));
    EXPECT_EQ(EntryNumbers(db, 9), (Keys{2}));
    EXPECT_EQ(db.MemberName(5), "Five");  // names are kept by later passes
    EXPECT_EQ(db.MemberName(9), "9");
    db.ReadIndex();  // nothing new: nothing taken twice
    EXPECT_EQ(db.EventCount(ALL_MEMBERS), 3);
    EXPECT_EQ(db.entryCount(), 3);
}

TEST(Index, EntryCompletedLaterIsTakenWithTheNextNumber) {
    TestHistory h;
    h.Message(5, "a");
    std::int32_t offset = h.writer.AppendRecord(WriterRecord{});
    h.writer.AppendEntryKey(7);  // the offset half is not written yet
    MessageDatabase db;
    ASSERT_TRUE(db.Open(h.paths.data, h.paths.index));
    EXPECT_EQ(db.EventCount(ALL_MEMBERS), 1);
    EXPECT_EQ(db.EventCount(7), 0);
    // The key word is there, so a pass is due, but it takes nothing half-written.
    EXPECT_TRUE(db.HasNewEntries());
    db.ReadIndex();
    EXPECT_EQ(db.EventCount(ALL_MEMBERS), 1);

    h.writer.CompleteEntryOffset(offset);
    db.ReadIndex();
    EXPECT_EQ(EntryNumbers(db, 7), (Keys{1}));
    EXPECT_EQ(db.Refs(7)[0].dataOffset, offset);
    db.ReadIndex();
    EXPECT_EQ(db.EventCount(ALL_MEMBERS), 2);
}

TEST(Index, TruncatedHeaderAndHalfEntriesTakeNothingPartial) {
    TestHistory h;
    h.Message(5, "a");
    h.writer.AppendIndexRaw(std::string("\x07\x00\x00", 3));
    MessageDatabase db;
    ASSERT_TRUE(db.Open(h.paths.data, h.paths.index));
    EXPECT_EQ(db.EventCount(ALL_MEMBERS), 1);

    TestHistory shortIndex;
    shortIndex.writer.TruncateIndex(4);  // shorter than its header
    MessageDatabase db2;
    ASSERT_TRUE(db2.Open(shortIndex.paths.data, shortIndex.paths.index));
    EXPECT_TRUE(db2.loaded());
    EXPECT_EQ(db2.members().size(), 4u);
}

TEST(Index, ManyEntriesAcrossReadChunks) {
    TestHistory h;
    std::vector<WriterEvent> events;
    const int count = 300000;  // more than one read chunk and above the count-ahead size
    for (int i = 0; i < count; ++i) {
        WriterEvent e;
        e.key = 100 + (i % 501) * 7919 % 501;
        e.record.uin = e.key;
        events.push_back(e);
    }
    ASSERT_GE(h.writer.AppendEvents(events), 0);
    MessageDatabase db;
    ASSERT_TRUE(db.Open(h.paths.data, h.paths.index));
    ASSERT_EQ(db.EventCount(ALL_MEMBERS), count);
    db.CountMembers();
    std::vector<std::int32_t> keys;
    std::int64_t counted = 0;
    for (const auto& [key, member] : db.members()) {
        if (key != ALL_MEMBERS) {
            keys.push_back(key);
            counted += db.EventCount(key);
            EXPECT_TRUE(member.refs.empty()) << "counting builds no list";
        }
    }
    EXPECT_EQ(counted, count);
    std::int64_t total = 0;
    for (const std::int32_t key : keys) {
        const std::vector<EventRef>& refs = db.Refs(key);
        total += static_cast<std::int64_t>(refs.size());
        ASSERT_EQ(static_cast<std::int32_t>(refs.size()), db.EventCount(key));
        for (std::size_t i = 1; i < refs.size(); ++i) {
            ASSERT_LT(refs[i - 1].entryNumber, refs[i].entryNumber);
        }
        EXPECT_EQ(refs.capacity(), refs.size()) << "lists are sized exactly";
    }
    EXPECT_EQ(total, count);
    for (int i = 0; i < count; i += 9973) {
        EXPECT_EQ(db.Refs(ALL_MEMBERS)[static_cast<std::size_t>(i)].entryNumber, i);
    }
}

// More keys than the member column numbers: the later ones are held beside it, and every
// question about members still has its answer.
TEST(Index, CountlessKeysKeepTheirEvents) {
    TestHistory h;
    std::vector<WriterEvent> events;
    const int count = 70000;
    for (int i = 0; i < count; ++i) {
        WriterEvent e;
        e.key = 1000 + i;
        e.record.uin = e.key;
        events.push_back(e);
    }
    events.push_back(events.back());  // the last key twice
    ASSERT_GE(h.writer.AppendEvents(events), 0);
    MessageDatabase db;
    ASSERT_TRUE(db.Open(h.paths.data, h.paths.index));
    const std::int32_t last = 1000 + count - 1;
    EXPECT_EQ(db.KeyAt(0), 1000);
    EXPECT_EQ(db.KeyAt(count - 1), last);
    EXPECT_EQ(db.KeyAt(count), last);
    ASSERT_EQ(db.Refs(last).size(), 2u);
    EXPECT_EQ(db.Refs(last)[1].entryNumber, count);
    EXPECT_EQ(db.EventCount(1000 + 65534), 1);
    db.CountMembers();
    EXPECT_EQ(db.EventCount(last - 1), 1);
    h.Message(last, "x");
    ASSERT_EQ(db.CheckForChanges().state, HistoryState::Appended);
    EXPECT_EQ(db.EventCount(last), 3);
    EXPECT_EQ(db.KeyAt(count + 1), last);
}

TEST(Open, SamePairIsNotReopened) {
    TestHistory h;
    h.Message(5, "a");
    MessageDatabase db;
    ASSERT_TRUE(db.Open(h.paths.data, h.paths.index));
    db.SetMemberName(5, "Five");
    EXPECT_FALSE(db.Open(h.paths.data, h.paths.index));
    EXPECT_EQ(db.MemberName(5), "Five");
    EXPECT_TRUE(db.loaded());
}

TEST(Open, EmptyPathsWhileClosedReturnFalseAtOnce) {
    MessageDatabase db;
    EXPECT_FALSE(db.Open("", ""));
    EXPECT_FALSE(db.loaded());
    EXPECT_TRUE(db.members().empty());
}

TEST(Open, MissingIndexLeavesTheDatabaseHalfOpen) {
    TestHistory h;
    h.Message(5, "a");
    MessageDatabase db;
    EXPECT_FALSE(db.Open(h.paths.data, h.folder.File("none.idx")));
    EXPECT_FALSE(db.loaded());
    EXPECT_TRUE(db.members().empty());
    EXPECT_EQ(db.dataPath(), h.paths.data);
    EXPECT_EQ(db.indexPath(), "");
    EXPECT_FALSE(db.HasNewEntries());
    // The pair can still be opened properly afterwards.
    EXPECT_TRUE(db.Open(h.paths.data, h.paths.index));
    EXPECT_EQ(db.EventCount(5), 1);
}

TEST(Open, MissingDataFileOpensNothing) {
    TestHistory h;
    MessageDatabase db;
    EXPECT_FALSE(db.Open(h.folder.File("none.dat"), h.paths.index));
    EXPECT_EQ(db.dataPath(), "");
    EXPECT_FALSE(db.Open(h.folder.Path(), h.paths.index)) << "a folder is not a data file";
}

TEST(Open, AnotherPairReplacesTheTable) {
    TestHistory a, b;
    a.Message(5, "a");
    b.Message(6, "b");
    MessageDatabase db;
    ASSERT_TRUE(db.Open(a.paths.data, a.paths.index));
    ASSERT_TRUE(db.Open(b.paths.data, b.paths.index));
    EXPECT_EQ(db.members().count(5), 0u);
    EXPECT_EQ(db.EventCount(6), 1);
    db.Close();
    EXPECT_FALSE(db.loaded());
    EXPECT_TRUE(db.members().empty());
    EXPECT_EQ(db.entryCount(), 0);
}

TEST(OpenFolder, BuildsNamesFromFolderAndUin) {
    EXPECT_EQ(MessageDatabase::DataFileName("/db", 1234), "/db/1234msg.dat");
    EXPECT_EQ(MessageDatabase::IndexFileName("/db", -5), "/db/-5msg.idx");
    EXPECT_EQ(MessageDatabase::DataFileName("", 1234), "/1234msg.dat");

    TestHistory h;
    h.Message(5, "a");
    MessageDatabase db;
    ASSERT_TRUE(db.OpenFolder(h.folder.Path(), TestHistory::kOwner));
    EXPECT_EQ(db.EventCount(5), 1);
    EXPECT_FALSE(db.OpenFolder(h.folder.Path(), TestHistory::kOwner));
    MessageDatabase other;
    EXPECT_FALSE(other.OpenFolder(h.folder.Path(), 999));
}

TEST(OpenFolder, FindsNamesThatDifferInLetterCase) {
    TestHistory h;
    h.Message(5, "a");
    const std::string upperData = h.folder.File("12345MSG.DAT");
    const std::string upperIndex = h.folder.File("12345Msg.Idx");
    ASSERT_EQ(std::rename(h.paths.data.c_str(), upperData.c_str()), 0);
    ASSERT_EQ(std::rename(h.paths.index.c_str(), upperIndex.c_str()), 0);
    MessageDatabase db;
    ASSERT_TRUE(db.OpenFolder(h.folder.Path(), TestHistory::kOwner));
    EXPECT_EQ(db.dataPath(), upperData);
    EXPECT_EQ(db.indexPath(), upperIndex);
    EXPECT_EQ(db.EventCount(5), 1);
}

TEST(Members, LookupsAddMembersAndNamesFallBackToDefaults) {
    TestHistory h;
    h.Message(5, "a");
    MessageDatabase db;
    ASSERT_TRUE(db.Open(h.paths.data, h.paths.index));
    EXPECT_EQ(db.MemberName(4242), "");  // an event's uin that no entry carries
    EXPECT_EQ(db.members().count(4242), 1u);
    EXPECT_EQ(db.EventCount(777), 0);
    db.ReadIndex();
    EXPECT_EQ(db.MemberName(4242), "4242");

    db.SetMemberName(1234, "");
    EXPECT_EQ(db.MemberName(1234), "1234");
    db.SetMemberName(10, "");
    EXPECT_EQ(db.MemberName(10), "-");
    db.SetMemberName(5, "\x93\xFA");
    EXPECT_EQ(db.MemberName(5), "\x93\xFA");
    EXPECT_EQ(MessageDatabase::DefaultMemberName(-2), "-2");
    EXPECT_EQ(MessageDatabase::DefaultMemberName(1), "-");
}

TEST(Members, RowsMapToReferencesNewestFirst) {
    EXPECT_EQ(RowToIndex(3, 0), 2);
    EXPECT_EQ(RowToIndex(3, 2), 0);
    EXPECT_EQ(IndexToRow(3, RowToIndex(3, 1)), 1);
}

}  // namespace

namespace {

// Members looked up before any entry exists fill the key table; the pass that then adds
// ALL_MEMBERS makes it grow in the middle of a run of one key.
TEST(Index, TableGrowingDuringAPassKeepsEveryEntry) {
    TestHistory h;
    MessageDatabase db;
    ASSERT_TRUE(db.Open(h.paths.data, h.paths.index));
    for (std::int32_t key = 1000; key < 1027; ++key) {
        db.MemberName(key);
    }
    h.Message(77, "a");
    h.Message(77, "b");
    h.Message(77, "c");
    db.ReadIndex();
    EXPECT_EQ(db.EventCount(77), 3);
    EXPECT_EQ(db.EventCount(ALL_MEMBERS), 3);
}

}  // namespace

namespace {

// A large pass: entries under ALL_MEMBERS's own key stand in its list twice, and an index
// that is mostly zeros past its entries leaves no room taken for them.
TEST(Index, LargePassKeepsOddKeysAndGivesBackUnusedRoom) {
    TestHistory h;
    std::vector<WriterEvent> events(6000);
    for (std::size_t i = 0; i < events.size(); ++i) {
        events[i].key = i % 1000 == 0 ? ALL_MEMBERS : static_cast<std::int32_t>(i % 7 + 1);
    }
    ASSERT_GE(h.writer.AppendEvents(events), 0);
    ASSERT_TRUE(h.writer.AppendZeroEntries(200000));
    MessageDatabase db;
    ASSERT_TRUE(db.Open(h.paths.data, h.paths.index));
    const std::vector<EventRef>& all = db.Refs(ALL_MEMBERS);
    ASSERT_EQ(all.size(), 6006u);
    EXPECT_EQ(all[0].entryNumber, 0);
    EXPECT_EQ(all[1].entryNumber, 0);
    EXPECT_EQ(all[2].entryNumber, 1);
    EXPECT_EQ(all.back().entryNumber, 5999);
    EXPECT_EQ(db.EventCount(3), 856);  // i % 7 == 2, but not i == 5000
    EXPECT_LT(all.capacity(), 20000u);
}

}  // namespace
