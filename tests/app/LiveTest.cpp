// The window while the history changes underneath: replaced, appended to, gone and back.
#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>
#include <QTreeWidgetItem>

#include <csignal>
#include <cstdio>
#include <fstream>

#include "app/AppFixture.h"
#include "app/QuitSignals.h"
#include "historywriter/HistoryWriter.h"
#include "support/TestHistory.h"
#include "ui/controls/CommandIds.h"
#include "ui/frame/CMainFrame.h"
#include "ui/list/CTalvoraView.h"
#include "ui/tree/CLeftView.h"

namespace {

constexpr int kWait = 2500;  // the live check runs once a second

TEST_F(AppFixture, PairOverwrittenInPlaceShowsOnlyTheNewHistory) {
    Start();
    tree().setCurrentItem(tree().allMembersItem());
    // Another history, longer than the open one, copied over it file by file.
    TestHistory other;
    for (int i = 0; i < 4; ++i) {
        other.Message(900, "other " + std::to_string(i));
    }
    other.Message(200, "other 200");
    other.Message(900, "other last");
    ASSERT_TRUE(OverwriteFileBytes(paths_.data, ReadFileBytes(other.paths.data)));
    ASSERT_TRUE(OverwriteFileBytes(paths_.index, ReadFileBytes(other.paths.index)));
    ASSERT_TRUE(QTest::qWaitFor([this] { return MemberItem(900) != nullptr; }, kWait));
    EXPECT_EQ(MemberItem(100), nullptr);
    EXPECT_EQ(MemberItem(200)->text(0), "花子") << "stored names apply after a reload";
    EXPECT_EQ(tree().currentItem(), tree().allMembersItem());
    ASSERT_EQ(list().RowCount(), 6);
    EXPECT_EQ(list().CellText(0, 4), "other last");
    EXPECT_EQ(list().CellText(5, 4), "other 0");
}

TEST_F(AppFixture, StoredNameOfAMemberArrivingLiveShowsAndSurvivesExit) {
    WriteSettings("555=客人\n");
    Start();
    Append(555, "a guest", 4000000);
    ASSERT_TRUE(QTest::qWaitFor([this] { return MemberItem(555) != nullptr; }, kWait));
    EXPECT_EQ(MemberItem(555)->text(0), "客人");
    app_->mainFrame()->close();
    const std::string saved = ReadFileBytes(settingsPath_);
    EXPECT_NE(saved.find("555=客人"), std::string::npos) << saved;
    EXPECT_NE(saved.find("200=花子"), std::string::npos) << saved;
}

TEST_F(AppFixture, PairGoneAndBackIsReopenedWithTheNamesOfThisRun) {
    Start();
    tree().setCurrentItem(MemberItem(100));
    app_->document().SetMemberName(300, "Three");
    TempFolder away;
    const HistoryPaths moved = HistoryPathsFor(away.Path(), kOwner);
    ASSERT_EQ(std::rename(paths_.data.c_str(), moved.data.c_str()), 0);
    ASSERT_EQ(std::rename(paths_.index.c_str(), moved.index.c_str()), 0);
    ASSERT_TRUE(QTest::qWaitFor([this] { return tree().topLevelItemCount() == 0; }, kWait));
    EXPECT_EQ(list().RowCount(), 0);
    EXPECT_FALSE(Enabled(ID_FILE_SAVE_DISPLAYED));

    ASSERT_EQ(std::rename(moved.data.c_str(), paths_.data.c_str()), 0);
    ASSERT_EQ(std::rename(moved.index.c_str(), paths_.index.c_str()), 0);
    ASSERT_TRUE(QTest::qWaitFor([this] { return MemberItem(300) != nullptr; }, kWait));
    EXPECT_EQ(MemberItem(300)->text(0), "Three");
    EXPECT_EQ(MemberItem(200)->text(0), "花子");
    app_->mainFrame()->close();
    EXPECT_NE(ReadFileBytes(settingsPath_).find("300=Three"), std::string::npos);
}

// A copy of the open history, with `more` events of member 100, put in place of it (new
// files, so the live check reloads).
void ReplaceWithCopy(const HistoryPaths& paths, std::int32_t owner, int more) {
    TempFolder other;
    const HistoryPaths copy = HistoryPathsFor(other.Path(), owner);
    ASSERT_TRUE(OverwriteFileBytes(copy.data, ReadFileBytes(paths.data)));
    ASSERT_TRUE(OverwriteFileBytes(copy.index, ReadFileBytes(paths.index)));
    auto writer = HistoryWriter::OpenAppend(copy.data, copy.index);
    WriterRecord r;
    r.uin = 100;
    for (int i = 0; i < more; ++i) {
        r.text = "copy " + std::to_string(i);
        writer->AppendEvent(100, r);
    }
    ASSERT_EQ(std::rename(copy.data.c_str(), paths.data.c_str()), 0);
    ASSERT_EQ(std::rename(copy.index.c_str(), paths.index.c_str()), 0);
}

// After a reload the list takes appends as before: the selection, the current row and the
// rows on screen stay on their events. The details of an event of the old table close.
TEST_F(AppFixture, AfterAReloadAppendsKeepTheSameEventsInSight) {
    Start();
    tree().setCurrentItem(MemberItem(100));
    ReplaceWithCopy(paths_, kOwner, 80);
    ASSERT_TRUE(QTest::qWaitFor([this] { return list().RowCount() == 83; }, kWait));
    EXPECT_EQ(tree().SelectedMember(), 100);

    list().RevealRow(40);
    const QString selected = list().CellText(40, 4);
    const QString top = list().CellText(list().TopRow(), 4);
    Append(100, "newest", 9000000);
    ASSERT_TRUE(QTest::qWaitFor([this] { return list().RowCount() == 84; }, kWait));
    ASSERT_EQ(list().SelectedRows(), std::vector<int>{41});
    EXPECT_EQ(list().CellText(41, 4), selected);
    EXPECT_EQ(list().currentIndex().row(), 41);
    EXPECT_EQ(list().CellText(list().TopRow(), 4), top);

    bool closed = false;
    QTimer::singleShot(0, [&] {
        ReplaceWithCopy(paths_, kOwner, 1);
        app_->document().Check();
    });
    app_->ShowEventDetails();  // returns once the reload has closed it
    closed = true;
    EXPECT_TRUE(closed);
    EXPECT_EQ(list().RowCount(), 85);
}

TEST_F(AppFixture, RightClickInTheTreeKeepsTheSelection) {
    Start();
    tree().setContextMenuPolicy(Qt::NoContextMenu);  // no menu waiting for an answer
    ASSERT_EQ(tree().currentItem(), tree().membersRoot());
    const QPoint at = tree().visualItemRect(MemberItem(300)).center();
    QTest::mousePress(tree().viewport(), Qt::RightButton, {}, at);
    QTest::mouseRelease(tree().viewport(), Qt::RightButton, {}, at);
    EXPECT_EQ(tree().currentItem(), tree().membersRoot());
    QTest::mouseClick(tree().viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(tree().currentItem(), MemberItem(300));
}

// SIGTERM while a modal dialog is open, the first-run options sheet and the options
// command alike: the dialog goes, the window closes and the settings are saved.
TEST_F(AppFixture, QuitSignalDuringAModalDialogSavesTheSettings) {
    static CTalvoraApp* running = nullptr;
    InstallQuitSignals([] {
        if (running != nullptr) {
            running->RequestQuit();
        }
    });
    QTimer terminator;
    terminator.setInterval(30);
    QObject::connect(&terminator, &QTimer::timeout, [] {
        if (QApplication::activeModalWidget() != nullptr) {
            std::raise(SIGTERM);
        }
    });
    terminator.start();

    std::ofstream(settingsPath_, std::ios::trunc) << "[Log File]\nLocation=-1\n";
    app_ = std::make_unique<CTalvoraApp>(QString::fromStdString(settingsPath_), prompts_);
    running = app_.get();
    ASSERT_TRUE(app_->InitInstance());
    EXPECT_TRUE(app_->quitRequested());
    EXPECT_NE(ReadFileBytes(settingsPath_).find("Send Background="), std::string::npos);
    // The sheet was never confirmed: asked again at the next start.
    EXPECT_NE(ReadFileBytes(settingsPath_).find("Location=-1"), std::string::npos);

    WriteSettings();
    app_ = std::make_unique<CTalvoraApp>(QString::fromStdString(settingsPath_), prompts_);
    running = app_.get();
    ASSERT_TRUE(app_->InitInstance());
    app_->document().SetMemberName(300, "Three");
    Trigger(ID_OPTIONS);  // returns once the signal has cancelled it
    EXPECT_TRUE(app_->quitRequested());
    EXPECT_FALSE(app_->mainFrame()->isVisible());
    EXPECT_NE(ReadFileBytes(settingsPath_).find("300=Three"), std::string::npos);
    running = nullptr;
}

}  // namespace
