#include "historywriter/HistoryWriter.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace {

using namespace std::string_literals;

class HistoryWriterTest : public ::testing::Test {
protected:
    std::string Data() const { return ReadFileBytes(paths_.data); }
    std::string Index() const { return ReadFileBytes(paths_.index); }
    std::string Entries() const { return Index().substr(kWriterIndexHeaderSize); }
    HistoryWriter Create() {
        auto writer = HistoryWriter::Create(paths_.data, paths_.index);
        EXPECT_TRUE(writer.has_value());
        return std::move(*writer);
    }

    TempFolder folder_;
    HistoryPaths paths_ = HistoryPathsFor(folder_.Path(), 1234);
};

TEST_F(HistoryWriterTest, WritesRecordAndEntryLittleEndian) {
    HistoryWriter writer = Create();
    WriterRecord record;
    record.type = 0x0102;
    record.uin = -5;
    record.text = "ab";
    record.extra = 0x11223344;
    record.direction = 1;
    record.stamp = 0x7F000001;
    EXPECT_EQ(writer.AppendEvent(0x01020304, record), 0);
    EXPECT_EQ(writer.AppendEvent(7, record), 27);

    // Read while the writer is still open: nothing may sit in a buffer.
    const std::string recordBytes =
        "\xA0\x00\x02\x01\xFB\xFF\xFF\xFF\x03\x00"
        "ab\x00"
        "\x44\x33\x22\x11\x01\x00\x00\x00\x00\x00\x01\x00\x00\x7F"s;
    EXPECT_EQ(Data(), recordBytes + recordBytes);
    EXPECT_EQ(Index().size(), 10u + 16u);
    EXPECT_EQ(Entries(), "\x04\x03\x02\x01\x00\x00\x00\x00\x07\x00\x00\x00\x1B\x00\x00\x00"s);
    EXPECT_EQ(writer.DataSize(), 54);
    EXPECT_EQ(writer.NextEntry(), 2);
    EXPECT_TRUE(writer.Ok());
}

TEST_F(HistoryWriterTest, TextFieldFollowsTerminatorAndExplicitLength) {
    auto lengthAndText = [](const WriterRecord& record) {
        const std::string bytes = EncodeRecord(record);
        return bytes.substr(8, bytes.size() - kWriterRecordOverhead + 2);
    };
    WriterRecord record;
    record.text = "ab\0cd"s;
    EXPECT_EQ(lengthAndText(record),
              "\x06\x00"
              "ab\0cd\0"s);
    record.terminate = false;
    EXPECT_EQ(lengthAndText(record),
              "\x05\x00"
              "ab\0cd"s);
    record.text.clear();
    EXPECT_EQ(lengthAndText(record), "\x00\x00"s);
    // A length that disagrees with the bytes is written as given.
    record.text = "xyz";
    record.length = 0x1234;
    EXPECT_EQ(lengthAndText(record), "\x34\x12xyz"s);

    WriterRecord odd;
    odd.marker = 0x00A1;
    odd.type = 7;
    odd.direction = 5;
    odd.unused = 0xBEEF;
    const std::string bytes = EncodeRecord(odd);
    ASSERT_EQ(bytes.size(), 25u);
    EXPECT_EQ(bytes.substr(0, 4), "\xA1\x00\x07\x00"s);
    EXPECT_EQ(bytes.substr(15, 6), "\x05\x00\x00\x00\xEF\xBE"s);
}

TEST_F(HistoryWriterTest, EntryWrittenInTwoSteps) {
    HistoryWriter writer = Create();
    ASSERT_TRUE(writer.AppendEntryKey(42));
    EXPECT_TRUE(writer.EntryPending());
    EXPECT_EQ(Entries(), "\x2A\x00\x00\x00"s);
    ASSERT_TRUE(writer.CompleteEntryOffset(-1));
    EXPECT_EQ(Entries(), "\x2A\x00\x00\x00\xFF\xFF\xFF\xFF"s);
    EXPECT_EQ(writer.NextEntry(), 1);

    EXPECT_FALSE(writer.CompleteEntryOffset(3));
    EXPECT_FALSE(writer.Ok());
    EXPECT_FALSE(writer.AppendEntry(1, 1)) << "a failed writer writes nothing more";
    EXPECT_EQ(Index().size(), 18u);
}

TEST_F(HistoryWriterTest, ZeroedSpaceIsFilledInPlace) {
    HistoryWriter writer = Create();
    writer.AppendEntry(5, 0);
    writer.AppendZeroEntries(3);
    EXPECT_EQ(Index().size(), 10u + 4 * 8);
    EXPECT_EQ(writer.NextEntry(), 1);

    writer.AppendEntry(6, 0x100);
    writer.WriteEntryAt(3, 9, 0x200);
    writer.AppendIndexRaw("\0\0\0\0"s);
    EXPECT_EQ(writer.NextEntry(), 2);
    EXPECT_EQ(Entries(),
              "\x05\0\0\0\0\0\0\0"
              "\x06\0\0\0\0\x01\0\0"
              "\0\0\0\0\0\0\0\0"
              "\x09\0\0\0\0\x02\0\0"
              "\0\0\0\0"s);
    EXPECT_TRUE(writer.Ok());
}

TEST_F(HistoryWriterTest, OpenAppendResumesAtFirstZeroKey) {
    {
        HistoryWriter writer = Create();
        writer.AppendEvent(5, WriterRecord{});
        writer.AppendEvent(6, WriterRecord{});
        writer.AppendZeroEntries(2);
    }
    const std::string before = Data();
    auto writer = HistoryWriter::OpenAppend(paths_.data, paths_.index);
    ASSERT_TRUE(writer);
    EXPECT_EQ(writer->NextEntry(), 2);
    EXPECT_FALSE(writer->EntryPending());
    EXPECT_EQ(writer->AppendEvent(7, WriterRecord{}), static_cast<std::int32_t>(before.size()));
    EXPECT_EQ(Data().substr(0, before.size()), before);
    EXPECT_EQ(Index().size(), 10u + 4 * 8);
    EXPECT_EQ(Entries().substr(16, 8), EncodeIndexEntry(7, 50));
}

TEST_F(HistoryWriterTest, OpenAppendFinishesHalfWrittenEntry) {
    {
        HistoryWriter writer = Create();
        writer.AppendEntry(5, 0);
        writer.AppendEntryKey(6);
    }
    auto writer = HistoryWriter::OpenAppend(paths_.data, paths_.index);
    ASSERT_TRUE(writer);
    EXPECT_TRUE(writer->EntryPending());
    EXPECT_EQ(writer->NextEntry(), 2);
    writer->CompleteEntryOffset(9);
    EXPECT_EQ(Entries().substr(8), EncodeIndexEntry(6, 9));

    std::string error;
    EXPECT_FALSE(HistoryWriter::OpenAppend(folder_.File("none.dat"), paths_.index, &error));
    EXPECT_NE(error.find("none.dat"), std::string::npos);
}

TEST_F(HistoryWriterTest, WritesDamagedStates) {
    HistoryWriter writer = Create();
    WriterRecord record;
    record.text = "hello";
    EXPECT_EQ(writer.AppendRecordPrefix(record, 5), 0);
    EXPECT_EQ(writer.AppendRaw("\xFF\xFE"), 5);
    EXPECT_EQ(Data(), EncodeRecord(record).substr(0, 5) + "\xFF\xFE");
    writer.AppendEntry(1, 0x7FFFFFFF);
    writer.AppendEntry(2, -16);
    writer.AppendEntry(3, 5);
    EXPECT_EQ(Entries().substr(0, 16), "\x01\0\0\0\xFF\xFF\xFF\x7F\x02\0\0\0\xF0\xFF\xFF\xFF"s);

    // Cutting into entry 1 makes it the next one written.
    ASSERT_TRUE(writer.TruncateIndex(10 + 8 + 3));
    EXPECT_EQ(writer.NextEntry(), 1);
    writer.AppendEntry(4, 0);
    EXPECT_EQ(Entries(), EncodeIndexEntry(1, 0x7FFFFFFF) + EncodeIndexEntry(4, 0));

    ASSERT_TRUE(writer.TruncateData(2));
    EXPECT_EQ(writer.AppendRaw("x"), 2);
    ASSERT_TRUE(writer.WriteDataAt(1, "\x01"));
    EXPECT_EQ(Data(), "\xA0\x01x"s);
}

TEST_F(HistoryWriterTest, BatchWritesSameBytesAsSingleEvents) {
    std::vector<WriterEvent> events;
    for (int i = 0; i < 5; ++i) {
        WriterRecord record;
        record.type = static_cast<std::uint16_t>(i + 1);
        record.text = std::string(static_cast<std::size_t>(i * 3), 'a');
        record.stamp = 1000 + i;
        events.push_back({100 + i, record});
    }
    {
        HistoryWriter writer = Create();
        for (const WriterEvent& event : events) {
            writer.AppendEvent(event.key, event.record);
        }
    }
    const std::string data = Data();
    const std::string index = Index();
    HistoryWriter writer = Create();
    EXPECT_EQ(writer.AppendEvents({events.begin(), events.begin() + 2}), 0);
    EXPECT_EQ(writer.AppendEvents({events.begin() + 2, events.end()}), 24 + 1 + 24 + 4);
    EXPECT_EQ(Data(), data);
    EXPECT_EQ(Index(), index);
    EXPECT_EQ(writer.NextEntry(), 5);
}

TEST_F(HistoryWriterTest, CreateTruncatesAndTakesHeader) {
    {
        HistoryWriter writer = Create();
        writer.AppendEvent(5, WriterRecord{});
    }
    auto writer = HistoryWriter::Create(paths_.data, paths_.index, "HDR");
    ASSERT_TRUE(writer);
    EXPECT_EQ(Data(), "");
    EXPECT_EQ(Index(), "HDR");
    writer->AppendEntry(1, 2);
    EXPECT_EQ(Index(), "HDR\0\0\0\0\0\0\0"s + EncodeIndexEntry(1, 2));

    std::string error;
    EXPECT_FALSE(HistoryWriter::Create(folder_.File("no/such.dat"), paths_.index, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(HistoryPathsFor("/db", -7).index, "/db/-7msg.idx");
}

}  // namespace
