#include <QAbstractItemModelTester>
#include <QBrush>
#include <QIcon>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <memory>

#include "database/MessageDatabase.h"
#include "support/PassThroughFileSystem.h"
#include "support/QtApp.h"
#include "support/QtText.h"
#include "ui/controls/Colors.h"
#include "ui/list/EventListModel.h"
#include "ui/list/ListTestHistory.h"

namespace {

// Six colours that differ from one another.
ListColors TestColors() {
    return ListColors{ColorRef(250, 240, 230), ColorRef(10, 20, 200), ColorRef(255, 255, 255),
                      ColorRef(0, 0, 0),       ColorRef(0, 120, 215), ColorRef(255, 255, 254)};
}

// Counts the reads of the data file.
class CountingFileSystem final : public PassThroughFileSystem {
public:
    int dataReads = 0;

    std::int64_t Read(const std::string& path, RandomAccessFile& file, std::int64_t offset,
                      void* buffer, std::size_t length) override {
        if (path.size() >= 4 && path.compare(path.size() - 4, 4, ".dat") == 0) {
            ++dataReads;
        }
        return file.ReadAt(offset, buffer, length);
    }
};

class EventListModelTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { EnsureQApplication(); }

    bool Open(MessageDatabase& database, const ListHistory& pair) {
        return static_cast<bool>(database.Open(pair.paths.data, pair.paths.index));
    }

    static QString Cell(const EventListModel& model, int row, int column,
                        int role = Qt::DisplayRole) {
        return model.data(model.index(row, column), role).toString();
    }
    static QStringList Row(const EventListModel& model, int row) {
        QStringList cells;
        for (int column = 0; column < model.columnCount(); ++column) {
            cells << Cell(model, row, column);
        }
        return cells;
    }

    UtcZone zone;
    ListHistory history;
};

TEST_F(EventListModelTest, RowsShowTheMembersEventsNewestFirst) {
    history.Add(100, U("最初"), 0, 1, ListHistory::kSunday);
    history.Add(200, U("other member"));
    std::string url = Sjis(U("説明")) + "\xFE" + "http://example.com/";
    WriterRecord record;
    record.type = 4;
    record.uin = 100;
    record.text = url;
    record.direction = 1;
    record.stamp = ListHistory::kSunday + 86400 + 3600;
    history.AddRecord(100, record);
    history.Add(100, U("二行\r\nCR\rLF\nend"), 0, 1, ListHistory::kSunday + 2 * 86400);
    history.Add(10, U("system"));

    MessageDatabase database;
    ASSERT_TRUE(Open(database, history));
    database.SetMemberName(100, Sjis(U("山田")));
    EventListModel model(database);
    model.ShowMember(100);

    ASSERT_EQ(model.rowCount(), 3);
    ASSERT_EQ(model.columnCount(), 6);
    // The last reference is the top row; a line break shows as one space per break.
    EXPECT_EQ(Row(model, 0), (QStringList{U("メッセージ"), U("2000/03/07 火"), U("09:07:03"),
                                          U("山田"), U("二行 CR LF end"), U("100")}));
    EXPECT_EQ(Cell(model, 0, 4, EventListModel::FullTextRole), U("二行\r\nCR\rLF\nend"));
    EXPECT_EQ(Row(model, 1),
              (QStringList{U("URL メッセージ"), U("2000/03/06 月"), U("10:07:03"), U("山田"),
                           U("[URLの説明] 説明  [URL] http://example.com/"), U("100")}));
    EXPECT_EQ(Row(model, 2), (QStringList{U("メッセージ"), U("2000/03/05 日"), U("09:07:03"),
                                          U("山田"), U("最初"), U("100")}));
    EXPECT_EQ(model.data(model.index(1, 0), EventListModel::DirectionRole).toUInt(), 1u);
    EXPECT_TRUE(model.data(model.index(2, 3), EventListModel::DecodedRole).toBool());

    // A rename shows in the name column of the row already decoded.
    database.SetMemberName(100, Sjis(U("花子")));
    EXPECT_EQ(Cell(model, 0, 3), U("花子"));

    model.ShowMember(10);
    ASSERT_EQ(model.rowCount(), 1);
    EXPECT_EQ(Cell(model, 0, 5), U("-"));

    model.ShowMember(ALL_MEMBERS);
    ASSERT_EQ(model.rowCount(), 5);
    EXPECT_EQ(Cell(model, 0, 4), U("system"));
    EXPECT_EQ(Cell(model, 3, 4), U("other member"));
    EXPECT_EQ(Cell(model, 3, 5), U("200"));
}

TEST_F(EventListModelTest, ColoursFollowTheDirectionAndIconsTheType) {
    history.Add(100, U("received"), 0, 1);
    history.Add(100, U("sent"), 1, 19);
    history.Add(100, U("odd flag"), 7, 1);
    history.Add(100, U("type five"), 0, 5);
    MessageDatabase database;
    ASSERT_TRUE(Open(database, history));
    EventListModel model(database);
    const ListColors colors = TestColors();
    model.SetColors(colors);
    model.ShowMember(100);

    auto color = [&](int row, int role) {
        return model.data(model.index(row, 2), role).value<QBrush>().color();
    };
    EXPECT_EQ(color(3, Qt::BackgroundRole), ToQColor(colors.receiveBackground));
    EXPECT_EQ(color(3, Qt::ForegroundRole), ToQColor(colors.receiveText));
    EXPECT_EQ(color(2, Qt::BackgroundRole), ToQColor(colors.sendBackground));
    EXPECT_EQ(color(2, Qt::ForegroundRole), ToQColor(colors.sendText));
    // Any direction but 0 is drawn as sent.
    EXPECT_EQ(color(1, Qt::BackgroundRole), ToQColor(colors.sendBackground));

    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    ListColors other = colors;
    other.receiveBackground = ColorRef(1, 2, 3);
    model.SetColors(other);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(color(3, Qt::BackgroundRole), QColor(1, 2, 3));

    // Image k for type k; a type that is not decoded has image 0. Only the type column
    // has an icon.
    EXPECT_EQ(model.data(model.index(3, 0), EventListModel::ImageRole).toInt(), 1);
    EXPECT_EQ(model.data(model.index(2, 0), EventListModel::ImageRole).toInt(), 19);
    EXPECT_EQ(model.data(model.index(0, 0), EventListModel::ImageRole).toInt(), 0);
    EXPECT_FALSE(model.data(model.index(3, 0), Qt::DecorationRole).value<QIcon>().isNull());
    EXPECT_FALSE(model.data(model.index(3, 1), Qt::DecorationRole).isValid());
}

TEST_F(EventListModelTest, UndecodableRowsShowTypeAndTextOnly) {
    WriterRecord badMarker;
    badMarker.uin = 100;
    badMarker.text = "x";
    badMarker.marker = 0x1234;
    badMarker.direction = 1;
    history.AddRecord(100, badMarker);
    history.Add(100, U("seven"), 1, 7);
    history.writer.AppendEntry(100, 1 << 24);  // past the end of the data file
    WriterRecord cut;
    cut.uin = 100;
    cut.text = Sjis(U("途中で切れた"));
    cut.direction = 1;
    const std::int32_t offset = history.writer.AppendRecordPrefix(cut, 16);
    history.writer.AppendEntry(100, offset);

    MessageDatabase database;
    ASSERT_TRUE(Open(database, history));
    EventListModel model(database);
    const ListColors colors = TestColors();
    model.SetColors(colors);
    model.ShowMember(100);
    ASSERT_EQ(model.rowCount(), 4);

    const QString corrupt = U("このイベントはデータが壊れていて読み出せません");
    const QString unsupported = U("このイベントはサポートされていないか壊れています");
    const QStringList expected[] = {
        {U("メッセージ"), {}, {}, {}, U("途中で"), {}},  // cut short: the text read so far
        {U("エラー"), {}, {}, {}, corrupt, {}},
        {U("タイプ 7"), {}, {}, {}, unsupported, {}},
        {U("エラー"), {}, {}, {}, corrupt, {}},
    };
    for (int row = 0; row < 4; ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(Row(model, row), expected[row]);
        EXPECT_FALSE(model.data(model.index(row, 0), EventListModel::DecodedRole).toBool());
        // The direction was never read: received colours.
        EXPECT_EQ(model.data(model.index(row, 1), Qt::BackgroundRole).value<QBrush>().color(),
                  ToQColor(colors.receiveBackground));
    }
    // A record cut short keeps its supported type's image; the others show image 0.
    EXPECT_EQ(model.data(model.index(0, 0), EventListModel::ImageRole).toInt(), 1);
    EXPECT_EQ(model.data(model.index(1, 0), EventListModel::ImageRole).toInt(), 0);
    EXPECT_EQ(model.data(model.index(2, 0), EventListModel::ImageRole).toInt(), 0);
}

TEST_F(EventListModelTest, OneDecodeServesEveryCellAndRoleOfARow) {
    for (int i = 0; i < 3; ++i) {
        history.Add(100, QString::number(i), static_cast<std::uint32_t>(i % 2));
    }
    CountingFileSystem files;
    MessageDatabase database(files);
    ASSERT_TRUE(Open(database, history));
    EventListModel model(database);
    model.ShowMember(100);

    // Data-file reads for every cell and role of a row. An index pass first makes the
    // database forget its read window, so that only the list's own record can save a read.
    auto readsForRow = [&](int row) {
        database.ReadIndex();
        const int before = files.dataReads;
        for (int column = 0; column < model.columnCount(); ++column) {
            for (int role : {int{Qt::DisplayRole}, int{Qt::DecorationRole}, int{Qt::BackgroundRole},
                             int{Qt::ForegroundRole}, int{EventListModel::FullTextRole}}) {
                model.data(model.index(row, column), role);
            }
        }
        return files.dataReads - before;
    };
    model.data(model.index(0, 0));
    EXPECT_EQ(readsForRow(0), 0);
    EXPECT_GT(readsForRow(1), 0);
    EXPECT_EQ(readsForRow(1), 0);
    // One record is kept: back to the first row decodes it again.
    EXPECT_GT(readsForRow(0), 0);
    EXPECT_EQ(Cell(model, 0, 4), U("2"));
}

TEST_F(EventListModelTest, AClearedListShowsAnotherDatabasesOwnEvents) {
    history.Add(100, U("old database"));
    ListHistory other;
    other.Add(100, U("new database"));
    other.Add(100, U("new database, second"));
    other.Add(100, U("new database, third"));

    MessageDatabase database;
    ASSERT_TRUE(Open(database, history));
    EventListModel model(database);
    model.ShowMember(ALL_MEMBERS);
    ASSERT_EQ(Cell(model, 0, 4), U("old database"));

    // Entry 0 of the new database has the same entryNumber as the row remembered.
    ASSERT_TRUE(Open(database, other));
    model.Clear();
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    // The same key again: the rows are the new database's, not three rows added on top.
    model.ShowMember(ALL_MEMBERS);
    EXPECT_EQ(reset.count(), 1);
    EXPECT_EQ(inserted.count(), 0);
    ASSERT_EQ(model.rowCount(), 3);
    EXPECT_EQ(Cell(model, 2, 4), U("new database"));
    EXPECT_EQ(Cell(model, 0, 4), U("new database, third"));

    // Closed under the list: its rows show as unreadable until it is emptied, and asking
    // adds nothing to the closed database's member table.
    model.ShowMember(ALL_MEMBERS);
    database.Close();
    model.ForgetDecodedRow();
    EXPECT_EQ(Cell(model, 1, 0), U("エラー"));
    EXPECT_FALSE(model.data(model.index(1, 0), EventListModel::DecodedRole).toBool());
    EXPECT_FALSE(model.data(model.index(5, 0)).isValid());
    EXPECT_TRUE(database.members().empty());
}

TEST_F(EventListModelTest, NewEventsOfTheMemberShownAreInsertedAtTheTop) {
    history.Add(100, U("a"));
    history.Add(200, U("b"));
    history.Add(100, U("c"));
    MessageDatabase database;
    ASSERT_TRUE(Open(database, history));
    EventListModel model(database);
    model.ShowMember(100);
    ASSERT_EQ(model.rowCount(), 2);

    history.Add(200, U("d"));
    history.Add(100, U("e"));
    history.Add(100, U("f"));
    ASSERT_TRUE(database.HasNewEntries());
    database.ReadIndex();

    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    model.ShowMember(100);
    ASSERT_EQ(inserted.count(), 1);
    EXPECT_EQ(inserted[0][1].toInt(), 0);
    EXPECT_EQ(inserted[0][2].toInt(), 1);
    EXPECT_EQ(reset.count(), 0);
    ASSERT_EQ(model.rowCount(), 4);
    EXPECT_EQ(Cell(model, 0, 4), U("f"));
    EXPECT_EQ(Cell(model, 1, 4), U("e"));
    EXPECT_EQ(Cell(model, 3, 4), U("a"));

    // Nothing new: nothing happens. Another member: a reset.
    model.ShowMember(100);
    EXPECT_EQ(inserted.count(), 1);
    model.ShowMember(200);
    EXPECT_EQ(reset.count(), 1);
    EXPECT_EQ(Cell(model, 0, 4), U("d"));

    model.Clear();
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_FALSE(model.hasMember());
}

TEST_F(EventListModelTest, PassesTheModelTester) {
    for (int i = 0; i < 5; ++i) {
        history.Add(100 + i % 2, QString::number(i), static_cast<std::uint32_t>(i % 2));
    }
    MessageDatabase database;
    ASSERT_TRUE(Open(database, history));
    EventListModel model(database);
    // Aborts the test program on the first fault it finds.
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.ShowMember(100);
    history.Add(100, U("new"));
    database.ReadIndex();
    model.ShowMember(100);
    model.ShowMember(ALL_MEMBERS);
    model.SetColors(TestColors());
    model.Clear();
    model.ShowMember(101);
    EXPECT_EQ(model.rowCount(), 2);
}

}  // namespace
