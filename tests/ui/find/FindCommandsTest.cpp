#include <QApplication>
#include <QCheckBox>
#include <QDeadlineTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

#include "app/AppFixture.h"
#include "support/ModalDialogs.h"
#include "ui/controls/CAboutDlg.h"
#include "ui/controls/CommandIds.h"
#include "ui/find/CFindDialog.h"
#include "ui/list/CTalvoraView.h"
#include "ui/tree/CLeftView.h"

namespace {

// Opens the find dialog, types `text` and leaves with "キャンセル" (or Esc).
void FindDialogRun(const QString& text, bool withCancel = true) {
    WhenShown<CFindDialog>([text, withCancel](CFindDialog* dialog) {
        auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("searchText"));
        ASSERT_NE(edit, nullptr);
        edit->clear();
        QTest::keyClicks(edit, text);
        if (withCancel) {
            QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("cancel")),
                              Qt::LeftButton);
        } else {
            QTest::keyClick(edit, Qt::Key_Escape);
        }
    });
}

class FindCommandsTest : public AppFixture {
protected:
    void StartOn(std::int32_t key) {
        Start();
        tree().setCurrentItem(MemberItem(key));
        ASSERT_EQ(list().currentMember(), key);
    }
    void Find(const QString& text, bool withCancel = true) {
        FindDialogRun(text, withCancel);
        Trigger(ID_SEARCH_FIND);
    }
    std::size_t Finishes() const { return prompts_.CallsOf(QueuedPrompts::Kind::Message).size(); }
};

TEST_F(FindCommandsTest, F3FollowsTheCriteriaTheDialogLeaves) {
    StartOn(100);
    EXPECT_FALSE(Enabled(ID_SEARCH_DOWN));
    EXPECT_FALSE(Enabled(ID_SEARCH_UP));
    Trigger(ID_SEARCH_DOWN);  // greyed: nothing happens
    EXPECT_EQ(Finishes(), 0u);

    Find(QStringLiteral("hello"));
    EXPECT_TRUE(Enabled(ID_SEARCH_DOWN));
    EXPECT_TRUE(Enabled(ID_SEARCH_UP));

    // Esc keeps what was saved, also when the dialog showed incomplete criteria.
    Find(QString(), false);
    EXPECT_TRUE(Enabled(ID_SEARCH_DOWN));
    EXPECT_EQ(app_->searchCriteria().searchText, "hello");

    Find(QString());
    EXPECT_FALSE(Enabled(ID_SEARCH_DOWN));
    EXPECT_FALSE(Enabled(ID_SEARCH_UP));

    // They follow the criteria alone, also while the list is empty.
    Find(QStringLiteral("x"));
    tree().setCurrentItem(tree().membersRoot());
    EXPECT_FALSE(Enabled(ID_SEARCH_FIND));
    EXPECT_TRUE(Enabled(ID_SEARCH_DOWN));
}

TEST_F(FindCommandsTest, TextLeftWithCancelIsFoundAndTheEndIsToldFromTheLastRow) {
    StartOn(100);  // rows: hello 2, hello 1, hello 0
    Find(QStringLiteral("hello 0"));
    Trigger(ID_SEARCH_DOWN);
    ASSERT_EQ(list().SelectedRows(), std::vector<int>{2});  // the last row
    EXPECT_EQ(Finishes(), 0u);
    Trigger(ID_SEARCH_DOWN);
    ASSERT_EQ(Finishes(), 1u);
    const QueuedPrompts::Call end = prompts_.CallsOf(QueuedPrompts::Kind::Message)[0];
    EXPECT_EQ(end.caption, QStringLiteral("Talvora"));
    EXPECT_EQ(end.text, QStringLiteral("検索を終えました"));
    EXPECT_EQ(end.icon, Prompts::Icon::Information);
    EXPECT_EQ(app_->searchCriteria().position, 2);
    EXPECT_EQ(list().SelectedRows(), std::vector<int>{2});  // the selection stays
    Trigger(ID_SEARCH_DOWN);
    EXPECT_EQ(Finishes(), 2u);
    // Upward the search starts above the selected row, where nothing matches.
    Trigger(ID_SEARCH_UP);
    EXPECT_EQ(Finishes(), 3u);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// Rows that arrive on top move the found event down; F3 goes on from that event.
TEST_F(FindCommandsTest, F3AfterLiveAppendsGoesOnFromTheEventFound) {
    StartOn(100);  // rows: hello 2, hello 1, hello 0
    Find(QStringLiteral("hello"));
    Trigger(ID_SEARCH_DOWN);
    Trigger(ID_SEARCH_DOWN);
    ASSERT_EQ(list().SelectedRows(), std::vector<int>{1});
    Append(100, "arrived", 4000000);
    ASSERT_TRUE(QTest::qWaitFor([this] { return list().RowCount() == 4; }, 2500));
    Trigger(ID_SEARCH_DOWN);
    ASSERT_EQ(list().SelectedRows(), std::vector<int>{3});
    EXPECT_EQ(list().CellText(3, 4), QStringLiteral("hello 0"));
    EXPECT_EQ(Finishes(), 0u);
}

TEST_F(FindCommandsTest, AboutBoxShowsTheNameAndVersion) {
    Start();
    bool shown = false;
    WhenShown<CAboutDlg>([&shown](CAboutDlg* about) {
        shown = true;
        EXPECT_EQ(about->windowTitle(), QStringLiteral("バージョン情報"));
        auto* version = about->findChild<QLabel*>(QStringLiteral("version"));
        ASSERT_NE(version, nullptr);
        EXPECT_EQ(version->text(), QStringLiteral("Talvora  Version 1.00a"));
        QTest::mouseClick(about->findChild<QPushButton*>(QStringLiteral("ok")), Qt::LeftButton);
    });
    Trigger(ID_APP_ABOUT);
    EXPECT_TRUE(shown);
}

}  // namespace
