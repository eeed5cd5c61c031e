// The live check as the window and `follow` see it: changes caught half-way.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "database/EventRecord.h"
#include "document/HistoryDocument.h"
#include "support/TempFolder.h"
#include "support/TestHistory.h"

namespace {

using namespace std::chrono_literals;

constexpr auto kWait = 60ms;  // the entry grace and the settle time of these tests

WriterRecord Message(std::int32_t uin, const std::string& text) {
    WriterRecord record;
    record.uin = uin;
    record.text = text;
    record.stamp = 952247223;
    return record;
}

// A document on a history of its own, and what it said.
class LiveCheck : public ::testing::Test {
protected:
    LiveCheck()
        : settings_(QString::fromStdString(folder_.File("none.ini"))), document_(settings_) {
        document_.SetWaits(kWait, kWait);
        QObject::connect(
            &document_, &HistoryDocument::appended,
            [this](const HistoryChange& change) { appended_.push_back(change.firstNewEntry); });
        QObject::connect(&document_, &HistoryDocument::reopened, [this] { ++reopened_; });
        QObject::connect(&document_, &HistoryDocument::recordsChanged,
                         [this] { ++recordsChanged_; });
    }

    HistoryPaths Write(const std::string& name, const std::vector<std::string>& texts) {
        std::filesystem::create_directories(folder_.File(name));
        const HistoryPaths paths = HistoryPathsFor(folder_.File(name), 777);
        HistoryWriter writer = CreateHistoryWriter(paths);
        for (const std::string& text : texts) {
            writer.AppendEvent(5, Message(5, text));
        }
        return paths;
    }
    void Open(const HistoryPaths& paths) {
        LocationSettings location;
        location.location = LogFiles;
        location.msgDatFile = QString::fromStdString(paths.data);
        location.msgIdxFile = QString::fromStdString(paths.index);
        ASSERT_TRUE(document_.Open(location));
    }
    std::string Text(std::int32_t index) {
        EventRecord record;
        document_.database().ReadEvent(ALL_MEMBERS, index, record);
        return record.text;
    }
    bool Decoded(std::int32_t index) {
        EventRecord record;
        return document_.database().ReadEvent(ALL_MEMBERS, index, record);
    }

    TempFolder folder_;
    SettingsFile settings_;
    HistoryDocument document_;
    std::vector<std::int32_t> appended_;
    int reopened_ = 0;
    int recordsChanged_ = 0;
};

TEST_F(LiveCheck, AnEntryCaughtBetweenItsTwoWritesIsTakenOnceWholeAndOnce) {
    const HistoryPaths paths = Write("live", {"one", "two"});
    auto writer = HistoryWriter::OpenAppend(paths.data, paths.index);
    ASSERT_TRUE(writer->AppendZeroEntries(200));  // room the messenger keeps ahead
    Open(paths);
    ASSERT_EQ(document_.database().entryCount(), 2);

    // The key is there, the offset still zero: the history's first record is no answer.
    const std::int32_t offset = writer->AppendRecord(Message(5, "three"));
    ASSERT_TRUE(writer->AppendEntryKey(5));
    document_.Check();
    document_.CheckIfNew();
    EXPECT_TRUE(appended_.empty());
    EXPECT_EQ(document_.database().entryCount(), 2);

    ASSERT_TRUE(writer->CompleteEntryOffset(offset));
    document_.Check();
    document_.Check();
    EXPECT_EQ(appended_, std::vector<std::int32_t>{2});
    EXPECT_EQ(Text(2), "three");
    EXPECT_EQ(reopened_, 0) << "a completed entry is no reason to reload";
}

TEST_F(LiveCheck, AnOddNewestEntryHoldsNothingBackLongerThanItsWait) {
    const HistoryPaths paths = Write("odd", {"one"});
    Open(paths);
    auto writer = HistoryWriter::OpenAppend(paths.data, paths.index);
    ASSERT_TRUE(writer->AppendEntry(5, 0));  // points back at the first record for good
    document_.Check();
    EXPECT_TRUE(appended_.empty());
    std::this_thread::sleep_for(kWait + 20ms);
    document_.Check();
    EXPECT_EQ(appended_, std::vector<std::int32_t>{1});

    // An odd entry followed by a whole one: both are taken at once.
    ASSERT_TRUE(writer->AppendEntry(5, 0));
    writer->AppendEvent(5, Message(5, "after"));
    document_.Check();
    EXPECT_EQ(appended_, (std::vector<std::int32_t>{1, 2}));
    EXPECT_EQ(document_.database().entryCount(), 4);
}

TEST_F(LiveCheck, ACopyInProgressIsTakenUpOnceItsFilesAgree) {
    const HistoryPaths open = Write("open", {"a", "b", "c"});
    std::vector<std::string> texts;
    for (int i = 0; i < 50; ++i) {
        texts.push_back("other " + std::to_string(i));
    }
    const HistoryPaths other = Write("other", texts);
    Open(open);

    // The index first: its entries point past the data written so far.
    ASSERT_TRUE(OverwriteFileBytes(open.index, ReadFileBytes(other.index)));
    document_.Check();
    document_.Check();
    EXPECT_EQ(reopened_, 0);

    ASSERT_TRUE(OverwriteFileBytes(open.data, ReadFileBytes(other.data)));
    document_.Check();
    EXPECT_EQ(reopened_, 1);
    EXPECT_EQ(document_.database().entryCount(), 50);
    EXPECT_EQ(Text(49), "other 49");
}

TEST_F(LiveCheck, RowsCutShortAreReadAgainWhenTheDataComesBack) {
    const HistoryPaths paths = Write("cut", {"one", "two"});
    const std::string whole = ReadFileBytes(paths.data);
    Open(paths);
    ASSERT_EQ(std::filesystem::file_size(paths.data), whole.size());
    std::filesystem::resize_file(paths.data, whole.size() - 4);
    document_.Check();
    std::this_thread::sleep_for(kWait + 20ms);
    document_.Check();  // the files stood still without agreeing: taken as they are
    ASSERT_EQ(reopened_, 1);
    std::this_thread::sleep_for(kWait + 20ms);
    document_.Check();  // and the entry cut short with them, once its wait is up
    ASSERT_EQ(document_.database().entryCount(), 2);
    EXPECT_FALSE(Decoded(1));

    ASSERT_TRUE(OverwriteFileBytes(paths.data, whole));
    document_.Check();
    EXPECT_EQ(recordsChanged_, 1);
    EXPECT_TRUE(Decoded(1));
    EXPECT_EQ(reopened_, 1);
}

TEST_F(LiveCheck, ADataFileRewrittenUnderTheSameIndexIsNoticed) {
    const HistoryPaths paths = Write("data", {"left", "right"});
    const HistoryPaths other = Write("same shape", {"LEFT", "RIGHT"});
    ASSERT_EQ(ReadFileBytes(paths.index), ReadFileBytes(other.index));
    Open(paths);
    EXPECT_EQ(Text(1), "right");  // the record on show
    ASSERT_TRUE(OverwriteFileBytes(paths.data, ReadFileBytes(other.data)));
    document_.Check();
    EXPECT_EQ(reopened_, 1);
    EXPECT_EQ(Text(1), "RIGHT");
}

}  // namespace
