// Every window on a screen of 640x400 (a 1280x800 laptop at a scale factor of 2).
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>

#include "app/AppFixture.h"
#include "ui/controls/CommandIds.h"
#include "ui/frame/CMainFrame.h"
#include "ui/hits/CHitListWindow.h"
#include "ui/stats/CMemberSheet.h"

namespace {

// Before any QApplication: this program's one screen is a small one.
const bool kSmallScreen = [] {
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" TALVORA_SMALL_SCREEN_CONFIG);
    return true;
}();

const QRect kScreen(0, 0, 640, 400);

bool OnScreen(const QWidget& widget) {
    return kScreen.contains(QRect(widget.mapToGlobal(QPoint(0, 0)), widget.size()));
}

using SmallScreen = AppFixture;

TEST_F(SmallScreen, EveryWindowAndItsButtonsFit) {
    ASSERT_TRUE(kSmallScreen);
    ASSERT_EQ(QGuiApplication::primaryScreen()->availableGeometry(), kScreen);
    Start();
    QCoreApplication::processEvents();
    EXPECT_TRUE(kScreen.contains(app_->mainFrame()->frameGeometry()));
    EXPECT_TRUE(OnScreen(*app_->mainFrame()->statusBar()));

    CMemberSheet sheet(app_->database(), app_->mainFrame());
    sheet.SetMember(100);
    sheet.show();
    EXPECT_TRUE(kScreen.contains(sheet.frameGeometry()));
    for (QPushButton* button : sheet.findChild<QDialogButtonBox*>()->findChildren<QPushButton*>()) {
        EXPECT_TRUE(OnScreen(*button)) << button->text().toStdString();
    }

    Trigger(ID_SEARCH_ALL);
    CHitListWindow& hits = *app_->hitList();
    EXPECT_TRUE(kScreen.contains(hits.frameGeometry()));
    EXPECT_TRUE(OnScreen(*hits.findChild<QPushButton*>(QStringLiteral("startSearch"))));

    // Qt's own dialogs too.
    QFileDialog files(app_->mainFrame());
    files.setOption(QFileDialog::DontUseNativeDialog);
    files.resize(900, 700);
    files.show();
    EXPECT_TRUE(kScreen.contains(files.frameGeometry()));
}

}  // namespace
