#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <functional>

#include "app/AppFixture.h"
#include "support/ModalDialogs.h"
#include "ui/controls/CommandIds.h"
#include "ui/stats/CMemberPage1.h"
#include "ui/stats/CMemberSheet.h"
#include "ui/tree/CLeftView.h"

namespace {

using PropertiesCommandTest = AppFixture;

TEST_F(PropertiesCommandTest, OpensForTheSelectedOrTheContextItem) {
    Start();
    tree().setCurrentItem(tree().allMembersItem());
    std::int32_t shownKey = 0;
    int rows = 0;
    WhenShown<CMemberSheet>(
        [&](CMemberSheet* sheet) {
            shownKey = sheet->memberKey();
            rows = sheet->generalPage()->countList()->topLevelItemCount();
        },
        LeftOpen::Closed);
    Trigger(ID_VIEW_PROPERTIES);
    EXPECT_EQ(shownKey, ALL_MEMBERS);
    EXPECT_EQ(rows, 3);  // messages, URL messages, total

    // The context menu's item, whatever is selected.
    QTreeWidgetItem* item = MemberItem(100);
    ASSERT_NE(item, nullptr);
    ASSERT_TRUE(tree().PrepareContextMenu(tree().visualItemRect(item).center()));
    QString uin;
    WhenShown<CMemberSheet>(
        [&](CMemberSheet* sheet) {
            shownKey = sheet->memberKey();
            uin = sheet->findChild<QLineEdit*>(QStringLiteral("uinValue"))->text();
        },
        LeftOpen::Closed);
    Trigger(ID_TREE_PROPERTIES);
    EXPECT_EQ(shownKey, 100);
    EXPECT_EQ(uin, "100");
    EXPECT_EQ(tree().currentItem(), tree().allMembersItem());
}

TEST_F(PropertiesCommandTest, NothingOpensWithoutAMember) {
    Start();
    ModalRejecter rejecter;
    app_->ShowMemberProperties(std::nullopt);
    tree().setCurrentItem(tree().membersRoot());
    app_->ShowMemberProperties(tree().SelectedMember());
    QTest::qWait(80);
    EXPECT_EQ(rejecter.rejected(), 0);
}

}  // namespace
