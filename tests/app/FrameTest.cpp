#include <QAction>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTest>
#include <QToolBar>

#include "app/AppFixture.h"
#include "support/ScanTree.h"
#include "ui/controls/CommandIds.h"
#include "ui/controls/CommandTable.h"
#include "ui/frame/CMainFrame.h"

namespace {

QStringList Entries(const QList<QAction*>& actions) {
    QStringList entries;
    for (QAction* action : actions) {
        entries << (action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    return entries;
}

TEST_F(AppFixture, MenusHoldEveryCommandInOrder) {
    Start();
    QMenuBar* bar = app_->mainFrame()->menuBar();
    QStringList titles;
    for (QAction* menu : bar->actions()) {
        titles << menu->text();
    }
    EXPECT_EQ(titles, (QStringList{"ファイル(&F)", "編集(&E)", "検索(&S)", "表示(&V)",
                                   "オプション(&O)", "ヘルプ(&H)"}));
    const QList<QAction*> menus = bar->actions();
    EXPECT_EQ(
        Entries(menus[0]->menu()->actions()),
        (QStringList{"表示項目をテキスト形式で保存(&A)...\tCtrl+S",
                     "選択項目をテキスト形式で保存(&S)...", "期間を指定して保存(&P)...", "-",
                     QStringLiteral("&1 %1 (4242)").arg(QString::fromStdString(folder_.Path())),
                     "-", "アプリケーションの終了(&X)"}));
    EXPECT_EQ(Entries(menus[1]->menu()->actions()), (QStringList{"名前の変更(&M)"}));
    EXPECT_EQ(Entries(menus[2]->menu()->actions()),
              (QStringList{"検索(&F)...\tCtrl+F", "下へ検索(&N)\tF3", "上へ検索(&P)\tShift+F3", "-",
                           "すべて検索(&L)...\tCtrl+Shift+F", "日付へ移動(&G)...\tCtrl+G"}));
    EXPECT_EQ(Entries(menus[3]->menu()->actions()),
              (QStringList{"ツールバー(&T)", "ステータスバー(&S)", "-", "プロパティ(&R)"}));
    EXPECT_EQ(Entries(menus[4]->menu()->actions()), (QStringList{"環境設定(&S)..."}));
    EXPECT_EQ(Entries(menus[5]->menu()->actions()), (QStringList{"バージョン情報(&A)..."}));

    CommandTable& commands = app_->mainFrame()->commands();
    EXPECT_EQ(commands.Action(ID_FILE_SAVE_DISPLAYED)->shortcut(), QKeySequence("Ctrl+S"));
    EXPECT_EQ(commands.Action(ID_SEARCH_FIND)->shortcut(), QKeySequence("Ctrl+F"));
    EXPECT_EQ(commands.Action(ID_SEARCH_DOWN)->shortcut(), QKeySequence("F3"));
    EXPECT_EQ(commands.Action(ID_SEARCH_UP)->shortcut(), QKeySequence("Shift+F3"));
    EXPECT_EQ(commands.Action(ID_SEARCH_ALL)->shortcut(), QKeySequence("Ctrl+Shift+F"));
    EXPECT_EQ(commands.Action(ID_SEARCH_GOTO_DATE)->shortcut(), QKeySequence("Ctrl+G"));
}

TEST_F(AppFixture, ToolBarHasFourButtonsAndTheirTips) {
    Start();
    QToolBar* bar = app_->mainFrame()->toolBar();
    const QList<QAction*> actions = bar->actions();
    ASSERT_EQ(actions.size(), 7);
    const int ids[] = {ID_FILE_SAVE_DISPLAYED, 0, ID_SEARCH_FIND, 0, ID_OPTIONS, 0, ID_APP_ABOUT};
    for (int i = 0; i < 7; ++i) {
        if (ids[i] == 0) {
            EXPECT_TRUE(actions[i]->isSeparator()) << i;
        } else {
            EXPECT_EQ(actions[i]->data().toInt(), ids[i]) << i;
            EXPECT_FALSE(actions[i]->icon().isNull()) << i;
        }
    }
    EXPECT_EQ(actions[2]->toolTip(), "検索");
    EXPECT_EQ(actions[2]->statusTip(), "表示されているログ内から検索");
    EXPECT_EQ(actions[0]->toolTip(), "テキスト形式で保存(表示項目)");
    EXPECT_EQ(bar->allowedAreas(), Qt::AllToolBarAreas);
}

TEST_F(AppFixture, StatusBarShowsPromptsAndOtherwiseTheRememberedText) {
    Start();
    CMainFrame* frame = app_->mainFrame();
    EXPECT_EQ(frame->statusBar()->currentMessage(), "");
    QStatusTipEvent hover(QStringLiteral("表示されているログ内から検索"));
    QApplication::sendEvent(frame, &hover);
    EXPECT_EQ(frame->statusBar()->currentMessage(), "表示されているログ内から検索");
    QStatusTipEvent leave{QString()};
    QApplication::sendEvent(frame, &leave);
    EXPECT_EQ(frame->statusBar()->currentMessage(), "");
    frame->SetStatusText(QStringLiteral("remembered"));
    QApplication::sendEvent(frame, &hover);
    QApplication::sendEvent(frame, &leave);
    EXPECT_EQ(frame->statusBar()->currentMessage(), "remembered");
}

TEST_F(AppFixture, TreeStartsTwoHundredPixelsWideAndBarsCanBeHidden) {
    Start();
    CMainFrame* frame = app_->mainFrame();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame));
    EXPECT_EQ(frame->splitter()->sizes().value(0), 200);
    frame->resize(frame->width() + 150, frame->height());
    QTest::qWait(10);
    EXPECT_EQ(frame->splitter()->sizes().value(0), 200) << "the list takes the new width";

    const int before = frame->splitter()->height();
    app_->mainFrame()->commands().Action(ID_VIEW_TOOLBAR)->trigger();
    QTest::qWait(10);
    EXPECT_FALSE(frame->toolBar()->isVisible());
    EXPECT_GT(frame->splitter()->height(), before) << "the panes take the freed height";
    app_->mainFrame()->commands().Action(ID_VIEW_STATUS_BAR)->trigger();
    EXPECT_FALSE(frame->statusBar()->isVisible());
}

}  // namespace

namespace {

// The File menu's recent list opens another history with its own settings, puts it first,
// and the list is in the settings file after exit.
TEST_F(AppFixture, RecentHistoryOpensFromTheFileMenu) {
    const std::string other = folder_.Path() + "/other";
    WriteScanHistory(other, 77, {1000000000});
    WriteSettings("[Recent Histories]\n1=folder\t\t77\t" + other + "\n");
    Start();
    ASSERT_EQ(app_->recentHistories().size(), 2U);
    auto* second = app_->mainFrame()->findChild<QAction*>(QStringLiteral("recentHistory2"));
    ASSERT_NE(second, nullptr);
    second->trigger();
    EXPECT_EQ(app_->location().uin, 77);
    EXPECT_TRUE(app_->database().loaded());
    EXPECT_EQ(app_->recentHistories()[0].dbPath, QString::fromStdString(other));
    auto* first = app_->mainFrame()->findChild<QAction*>(QStringLiteral("recentHistory1"));
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->text().endsWith(QStringLiteral("other (77)")));

    app_->mainFrame()->close();
    SettingsFile saved(QString::fromStdString(settingsPath_));
    saved.Read();
    ASSERT_EQ(saved.LoadRecentHistories().size(), 2U);
    EXPECT_EQ(saved.LoadRecentHistories()[1].uin, AppFixture::kOwner);
}

}  // namespace
