#include <gtest/gtest.h>

#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>

#include "app/AppFixture.h"
#include "support/ModalDialogs.h"
#include "ui/list/CTalvoraView.h"
#include "ui/stats/CMemberPage4.h"
#include "ui/stats/CMemberSheet.h"
#include "ui/stats/CTimelineCtrl.h"

namespace {

using TimelinePageTest = AppFixture;

constexpr std::int32_t kJan10 = 947462400;  // 2000-01-10 00:00 UTC
constexpr std::int32_t kDay = 86400;

// The fourth page follows the three of the sheet; double-clicking March closes the sheet
// and selects March's newest event in the list.
TEST_F(TimelinePageTest, DoubleClickingAMonthGoesToItsNewestEvent) {
    Append(400, "January", kJan10);
    Append(400, "March 5", kJan10 + 55 * kDay);
    Append(400, "March 20", kJan10 + 70 * kDay, 1);
    Append(400, "May", kJan10 + 120 * kDay);
    Start();
    QStringList tabs;
    int bars = 0;
    WhenShown<CMemberSheet>([&](CMemberSheet* sheet) {
        for (int i = 0; i < sheet->tabs()->count(); ++i) {
            tabs << sheet->tabs()->tabText(i);
        }
        sheet->tabs()->setCurrentWidget(sheet->timelinePage());
        CTimelineCtrl* graph = sheet->timelinePage()->graph();
        bars = graph->timeline().barCount();
        // February is empty: nothing happens.
        QTest::mouseDClick(graph, Qt::LeftButton, {}, graph->BarRect(1).center());
        EXPECT_TRUE(sheet->isVisible());
        QTest::mouseDClick(graph, Qt::LeftButton, {}, graph->BarRect(2).center());
        EXPECT_FALSE(sheet->isVisible());
    });
    app_->ShowMemberProperties(400);
    EXPECT_EQ(tabs, (QStringList{"全般", "グラフ(時間)", "グラフ(曜日)", "年月別"}));
    EXPECT_EQ(bars, 5);  // January to May
    EXPECT_EQ(list().currentMember(), 400);
    EXPECT_EQ(list().SelectedRows(), std::vector<int>{1});  // rows: May, March 20, ...
}

}  // namespace
