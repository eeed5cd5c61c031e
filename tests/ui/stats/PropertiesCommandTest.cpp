#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <functional>

#include "app/AppFixture.h"
#include "ui/controls/CommandIds.h"
#include "ui/stats/CMemberPage1.h"
#include "ui/stats/CMemberSheet.h"
#include "ui/tree/CLeftView.h"

namespace {

// Calls `act` with the modal sheet once it is open, then closes it. Gives up after a
// second so that a sheet that never opens leaves no timer behind.
void WhenSheetOpens(std::function<void(CMemberSheet&)> act, int tries = 100) {
    QTimer::singleShot(10, [act = std::move(act), tries]() mutable {
        if (auto* sheet = qobject_cast<CMemberSheet*>(QApplication::activeModalWidget())) {
            act(*sheet);
            sheet->reject();
        } else if (tries > 0) {
            WhenSheetOpens(std::move(act), tries - 1);
        }
    });
}

using PropertiesCommandTest = AppFixture;

TEST_F(PropertiesCommandTest, OpensForTheSelectedOrTheContextItem) {
    Start();
    tree().setCurrentItem(tree().allMembersItem());
    std::int32_t shownKey = 0;
    int rows = 0;
    WhenSheetOpens([&](CMemberSheet& sheet) {
        shownKey = sheet.memberKey();
        rows = sheet.generalPage()->countList()->topLevelItemCount();
    });
    Trigger(ID_VIEW_PROPERTIES);
    EXPECT_EQ(shownKey, ALL_MEMBERS);
    EXPECT_EQ(rows, 3);  // messages, URL messages, total

    // The context menu's item, whatever is selected.
    QTreeWidgetItem* item = MemberItem(100);
    ASSERT_NE(item, nullptr);
    ASSERT_TRUE(tree().PrepareContextMenu(tree().visualItemRect(item).center()));
    QString uin;
    WhenSheetOpens([&](CMemberSheet& sheet) {
        shownKey = sheet.memberKey();
        uin = sheet.findChild<QLineEdit*>(QStringLiteral("uinValue"))->text();
    });
    Trigger(ID_TREE_PROPERTIES);
    EXPECT_EQ(shownKey, 100);
    EXPECT_EQ(uin, "100");
    EXPECT_EQ(tree().currentItem(), tree().allMembersItem());
}

TEST_F(PropertiesCommandTest, NothingOpensWithoutAMember) {
    Start();
    bool opened = false;
    WhenSheetOpens([&](CMemberSheet&) { opened = true; }, 5);
    app_->ShowMemberProperties(nullptr);
    app_->ShowMemberProperties(tree().membersRoot());
    QTest::qWait(80);
    EXPECT_FALSE(opened);
}

}  // namespace
