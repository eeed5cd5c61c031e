#include "ui/stats/CMemberSheet.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTabWidget>
#include <QTreeWidget>

#include <cstdlib>
#include <vector>

#include "database/LocalTime.h"
#include "database/MessageDatabase.h"
#include "historywriter/HistoryWriter.h"
#include "support/QtApp.h"
#include "support/TempFolder.h"
#include "support/TestHistory.h"
#include "ui/controls/Icons.h"
#include "ui/controls/Metrics.h"
#include "ui/stats/CGraphCtrl.h"
#include "ui/stats/CMemberPage1.h"
#include "ui/stats/CMemberPage2.h"
#include "ui/stats/CMemberPage3.h"

namespace {

// Sunday 2000-03-05 09:07:03 UTC.
constexpr std::int32_t kSunday = 952247223;
constexpr std::int32_t kHour = 3600;
constexpr std::int32_t kDay = 24 * kHour;

struct Row {
    QString type;
    QString sent;
    QString received;
    QString total;
    qint64 icon;

    bool operator==(const Row&) const = default;
};

void PrintTo(const Row& row, std::ostream* out) {
    *out << row.type.toStdString() << " " << row.sent.toStdString() << "/"
         << row.received.toStdString() << "/" << row.total.toStdString() << " icon " << row.icon;
}

Row Expected(const char* type, int sent, int received, int total, int image) {
    return {QString::fromUtf8(type), QString::number(sent), QString::number(received),
            QString::number(total), Icons::EventType(image).cacheKey()};
}

// Member 100: three received messages and two sent URL messages. Member 300: a record
// whose marker is wrong, an event of type 7 and a message. Member 0 has no events.
class MemberSheetTest : public ::testing::Test {
protected:
    ScopedTimeZone utc_{"UTC0"};  // before everything that reads a time

    void SetUp() override {
        const HistoryPaths paths = HistoryPathsFor(folder.Path(), 4242);
        auto writer = HistoryWriter::Create(paths.data, paths.index);
        ASSERT_TRUE(writer);
        auto add = [&writer](std::int32_t key, std::uint16_t type, std::uint32_t direction,
                             std::int32_t stamp, std::uint16_t marker = kWriterRecordMarker) {
            WriterRecord r;
            r.type = type;
            r.uin = key;
            r.text = type == 4 ? "page\xFEhttp://example.com/" : "hello";
            r.direction = direction;
            r.stamp = stamp;
            r.marker = marker;
            writer->AppendEvent(key, r);
        };
        add(100, 1, 0, kSunday);                         // Sunday 9:00
        add(100, 1, 0, kSunday + kHour);                 // Sunday 10:00
        add(100, 1, 0, kSunday + kDay);                  // Monday 9:00
        add(100, 4, 1, kSunday + 2 * kDay + kHour);      // Tuesday 10:00
        add(100, 4, 1, kSunday + 6 * kDay - 9 * kHour);  // Saturday 0:00
        add(300, 1, 0, kSunday, 0x1234);
        add(300, 7, 0, kSunday);
        add(300, 1, 1, kSunday);
        ASSERT_TRUE(database.Open(paths.data, paths.index));
        database.SetMemberName(100, "\x89\xD4\x8Eq");  // 花子
    }

    std::vector<Row> Rows() const {
        std::vector<Row> rows;
        QTreeWidget* list = sheet.generalPage()->countList();
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* item = list->topLevelItem(i);
            rows.push_back({item->text(0), item->text(1), item->text(2), item->text(3),
                            item->icon(0).cacheKey()});
        }
        return rows;
    }

    QString Text(const char* name) const {
        if (auto* edit = sheet.findChild<QLineEdit*>(QString::fromLatin1(name))) {
            return edit->text();
        }
        if (auto* label = sheet.findChild<QLabel*>(QString::fromLatin1(name))) {
            return label->text();
        }
        return QStringLiteral("<missing>");
    }

    QImage MemberIcon() const {
        return sheet.findChild<QLabel*>(QStringLiteral("memberIcon"))->pixmap().toImage();
    }

    QApplication& app = EnsureQApplication();  // before any widget
    TempFolder folder;
    MessageDatabase database;
    CMemberSheet sheet{database};
};

TEST_F(MemberSheetTest, MemberCountsByTypeAndDirection) {
    sheet.SetMember(100);
    EXPECT_EQ(sheet.windowTitle(), "プロパティ");
    EXPECT_EQ(sheet.tabs()->currentIndex(), 0);
    const QTreeWidget* list = sheet.generalPage()->countList();
    const int widths[] = {140, 60, 60, 60};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(list->columnWidth(i), ScaledWidth(*list, widths[i]));
    }

    EXPECT_EQ(Text("memberKind"), "メンバー");
    EXPECT_EQ(Text("uinValue"), "100");
    EXPECT_EQ(Text("nameValue"), "花子");
    EXPECT_EQ(MemberIcon(), Icons::Member(1).pixmap(32, 32).toImage());
    EXPECT_EQ(Rows(), (std::vector<Row>{Expected("メッセージ", 0, 3, 3, 1),
                                        Expected("URL メッセージ", 2, 0, 2, 4),
                                        Expected("全イベント合計", 2, 3, 5, 9)}));
    EXPECT_EQ(list->topLevelItem(2)->textAlignment(3) & Qt::AlignHorizontal_Mask, Qt::AlignRight);
}

TEST_F(MemberSheetTest, UnsupportedAndUnreadableTypesComeInTypeOrderWithImageZero) {
    sheet.SetMember(300);
    EXPECT_EQ(Rows(),
              (std::vector<Row>{Expected("エラー", 0, 1, 1, 0), Expected("メッセージ", 1, 0, 1, 1),
                                Expected("タイプ 7", 0, 1, 1, 0),
                                Expected("全イベント合計", 1, 2, 3, 9)}));
}

TEST_F(MemberSheetTest, AllMembersCoverEveryEvent) {
    sheet.SetMember(ALL_MEMBERS);
    EXPECT_EQ(Text("memberKind"), "全メンバー");
    EXPECT_EQ(Text("uinValue"), "-");
    EXPECT_EQ(Text("nameValue"), "-");
    EXPECT_EQ(MemberIcon(), Icons::Member(2).pixmap(32, 32).toImage());
    EXPECT_EQ(Rows(), (std::vector<Row>{
                          Expected("エラー", 0, 1, 1, 0), Expected("メッセージ", 1, 3, 4, 1),
                          Expected("URL メッセージ", 2, 0, 2, 4), Expected("タイプ 7", 0, 1, 1, 0),
                          Expected("全イベント合計", 3, 5, 8, 9)}));
}

TEST_F(MemberSheetTest, MemberWithoutEventsShowsOnlyTheZeroTotal) {
    sheet.SetMember(0);
    EXPECT_EQ(Text("uinValue"), "0");
    EXPECT_EQ(Text("nameValue"), "0");
    EXPECT_EQ(Rows(), (std::vector<Row>{Expected("全イベント合計", 0, 0, 0, 9)}));
}

TEST_F(MemberSheetTest, GraphPagesTakeTheHoursAndWeekdays) {
    sheet.SetMember(100);
    CGraphCtrl* hours = sheet.hourPage()->graph();
    CGraphCtrl* days = sheet.weekdayPage()->graph();
    ASSERT_EQ(hours->values().size(), 24u);
    EXPECT_EQ(hours->values().at(9), 2);
    EXPECT_EQ(hours->values().at(10), 2);
    EXPECT_EQ(hours->values().at(0), 1);
    EXPECT_EQ(hours->values().at(23), 0);
    EXPECT_EQ(hours->labels().at(23), "23");

    ASSERT_EQ(days->values().size(), 7u);
    EXPECT_EQ(days->values(), (std::map<std::int32_t, std::int32_t>{
                                  {0, 2}, {1, 1}, {2, 1}, {3, 0}, {4, 0}, {5, 0}, {6, 1}}));
    QString order;
    for (const auto& [day, label] : days->labels()) {
        order += label;
    }
    EXPECT_EQ(order, "日月火水木金土");
}

}  // namespace

TEST(MemberSheetSizeTest, DefaultSizeShowsWholeTypeNames) {
    EnsureQApplication();
    TempFolder folder;
    const HistoryPaths paths = HistoryPathsFor(folder.Path(), 4242);
    {
        auto writer = HistoryWriter::Create(paths.data, paths.index);
        ASSERT_TRUE(writer);
        for (std::uint16_t type = 0; type <= 20; ++type) {
            WriterRecord r;
            r.type = type;
            r.uin = 100;
            r.text = "x";
            r.stamp = kSunday;
            writer->AppendEvent(100, r);
        }
    }
    MessageDatabase database;
    ASSERT_TRUE(database.Open(paths.data, paths.index));
    CMemberSheet sheet(database);
    sheet.SetMember(100);
    sheet.show();
    QTreeWidget* list = sheet.generalPage()->countList();
    ASSERT_EQ(list->topLevelItemCount(), 22);
    EXPECT_EQ(list->horizontalScrollBar()->maximum(), 0);
    const int shown = list->columnWidth(0);
    list->resizeColumnToContents(0);  // the width that cuts no name
    EXPECT_LE(list->columnWidth(0), shown);
}
