#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "database/MessageDatabase.h"
#include "support/TestHistory.h"

namespace {

using Keys = std::vector<std::int32_t>;

TEST(ChangeCheck, AppendsTellWhichMembersGrewAndWhichAreNew) {
    TestHistory h;
    h.Message(5, "a");
    h.Message(6, "b");
    MessageDatabase db;
    ASSERT_TRUE(db.Open(h.paths.data, h.paths.index));
    EXPECT_EQ(db.CheckForChanges().state, HistoryState::Unchanged);

    h.Message(5, "c");
    h.Message(7, "d");
    HistoryChange change = db.CheckForChanges();
    EXPECT_EQ(change.state, HistoryState::Appended);
    EXPECT_EQ(change.firstNewEntry, 2);
    EXPECT_EQ(change.grownMembers, (Keys{ALL_MEMBERS, 5}));
    EXPECT_EQ(change.newMembers, (Keys{7}));
    EXPECT_EQ(db.EventCount(ALL_MEMBERS), 4);

    // Half an entry is not taken; once complete it is taken once.
    const std::int32_t offset = h.writer.AppendRecord(WriterRecord{});
    h.writer.AppendEntryKey(6);
    EXPECT_EQ(db.CheckForChanges().state, HistoryState::Unchanged);
    h.writer.CompleteEntryOffset(offset);
    change = db.CheckForChanges();
    EXPECT_EQ(change.state, HistoryState::Appended);
    EXPECT_EQ(change.grownMembers, (Keys{ALL_MEMBERS, 6}));
    EXPECT_EQ(db.CheckForChanges().state, HistoryState::Unchanged);
    EXPECT_EQ(db.EventCount(ALL_MEMBERS), 5);
}

// Lists and counts are made only when asked for; once made, appends keep them whole.
TEST(ChangeCheck, BuiltListsAndCountsFollowAppends) {
    TestHistory h;
    h.Message(5, "a");
    h.Message(6, "b");
    MessageDatabase db;
    ASSERT_TRUE(db.Open(h.paths.data, h.paths.index));
    EXPECT_TRUE(db.members().at(5).refs.empty());
    ASSERT_EQ(db.Refs(5).size(), 1u);
    db.CountMembers();
    h.Message(5, "c");
    h.Message(6, "d");
    h.Message(7, "e");
    ASSERT_EQ(db.CheckForChanges().state, HistoryState::Appended);
    ASSERT_EQ(db.Refs(5).size(), 2u);
    EXPECT_EQ(db.Refs(5)[1].entryNumber, 2);
    EXPECT_TRUE(db.members().at(6).refs.empty()) << "an unbuilt list stays unbuilt";
    EXPECT_EQ(db.EventCount(6), 2);
    EXPECT_EQ(db.EventCount(7), 1);
    EXPECT_TRUE(db.members().at(6).refs.empty()) << "a count builds no list";
    EXPECT_EQ(db.Refs(6).back().entryNumber, 3);
}

// A history copied over the open one in place keeps the inodes; when it is as long or
// longer, its extra entries must not be taken as appended to the first one.
TEST(ChangeCheck, PairRewrittenInPlaceIsReplacedAndNothingIsTakenFromIt) {
    for (const int otherEvents : {2, 3}) {
        SCOPED_TRACE(otherEvents);
        TestHistory h;
        h.Message(5, "first");
        h.Message(5, "second");
        TestHistory other;
        for (int i = 0; i < otherEvents; ++i) {
            other.Message(9, "another history");
        }
        MessageDatabase db;
        ASSERT_TRUE(db.Open(h.paths.data, h.paths.index));
        ASSERT_TRUE(OverwriteFileBytes(h.paths.data, ReadFileBytes(other.paths.data)));
        ASSERT_TRUE(OverwriteFileBytes(h.paths.index, ReadFileBytes(other.paths.index)));
        EXPECT_EQ(db.CheckForChanges().state, HistoryState::Replaced);
        EXPECT_EQ(db.EventCount(9), 0);
        EXPECT_EQ(db.EventCount(ALL_MEMBERS), 2);
    }
}

TEST(ChangeCheck, ShrunkRenamedOverAndRemovedPairs) {
    TestHistory h;
    h.Message(5, "a");
    h.Message(5, "b");
    MessageDatabase db;
    ASSERT_TRUE(db.Open(h.paths.data, h.paths.index));
    // The same bytes copied over again are no change.
    ASSERT_TRUE(OverwriteFileBytes(h.paths.index, ReadFileBytes(h.paths.index)));
    EXPECT_EQ(db.CheckForChanges().state, HistoryState::Unchanged);

    h.writer.TruncateIndex(IndexEntryPosition(1));
    EXPECT_EQ(db.CheckForChanges().state, HistoryState::Replaced);
    db.Close();
    ASSERT_TRUE(db.Open(h.paths.data, h.paths.index));
    h.writer.TruncateData(3);
    EXPECT_EQ(db.CheckForChanges().state, HistoryState::Replaced);

    TestHistory other;
    other.Message(6, "x");
    ASSERT_TRUE(db.Open(other.paths.data, other.paths.index));
    ASSERT_EQ(std::rename(h.paths.data.c_str(), other.paths.data.c_str()), 0);
    EXPECT_EQ(db.CheckForChanges().state, HistoryState::Replaced);
    ASSERT_EQ(std::remove(other.paths.index.c_str()), 0);
    EXPECT_EQ(db.CheckForChanges().state, HistoryState::Gone);
}

TEST(OpenResult, SaysWhyAndWhichFile) {
    TestHistory h;
    h.Message(5, "a");
    MessageDatabase db;
    OpenResult result = db.Open(h.folder.File("none.dat"), h.paths.index);
    EXPECT_EQ(result.error, OpenError::NotFound);
    EXPECT_FALSE(result.atIndexFile);
    result = db.Open(h.paths.data, h.folder.File("none.idx"));
    EXPECT_EQ(result.error, OpenError::NotFound);
    EXPECT_TRUE(result.atIndexFile);
    EXPECT_EQ(db.Open(h.paths.data, h.folder.Path()).error, OpenError::NotAHistory);
    // A FIFO would block a plain open for as long as no one writes to it.
    const std::string fifo = h.folder.File("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(db.Open(fifo, h.paths.index).error, OpenError::NotAHistory);

    ASSERT_TRUE(db.Open(h.paths.data, h.paths.index));
    EXPECT_EQ(db.Open(h.paths.data, h.paths.index).error, OpenError::AlreadyOpen);
    EXPECT_TRUE(db.loaded());
    if (geteuid() != 0) {  // root reads whatever the mode says
        ASSERT_EQ(chmod(h.paths.index.c_str(), 0), 0);
        db.Close();
        EXPECT_EQ(db.Open(h.paths.data, h.paths.index).error, OpenError::PermissionDenied);
    }
}

}  // namespace
