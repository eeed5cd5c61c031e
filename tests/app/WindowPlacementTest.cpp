// The main window's opening size and remembered place, on a screen of 1280x800 pixels.
#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>

#include <fstream>
#include <sstream>

#include "app/AppFixture.h"
#include "ui/frame/CMainFrame.h"
#include "ui/frame/WindowPlacing.h"
#include "ui/list/CTalvoraView.h"

namespace {

// Before any QApplication: this program's one screen is the laptop's.
const bool kLaptopScreen = [] {
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" TALVORA_SCREEN_CONFIG);
    return true;
}();

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

using WindowTest = AppFixture;

TEST_F(WindowTest, OpensShowingAllSixColumnsWithinTheScreen) {
    ASSERT_TRUE(kLaptopScreen);
    ASSERT_EQ(QGuiApplication::primaryScreen()->availableGeometry(), QRect(0, 0, 1280, 800));
    Start();
    QCoreApplication::processEvents();
    CTalvoraView& view = list();
    EXPECT_GE(view.viewport()->width(), view.horizontalHeader()->length());
    EXPECT_TRUE(QRect(0, 0, 1280, 800).contains(app_->mainFrame()->frameGeometry()));
}

TEST_F(WindowTest, APlaceNoScreenShowsOrASizeBeyondItIsBroughtBack) {
    Start();
    CMainFrame& frame = *app_->mainFrame();
    PlaceWindow(frame, WindowPlacement{5000, -3000, 900, 600, false});
    EXPECT_EQ(frame.geometry(), QRect(189, 99, 900, 600));  // in the middle
    PlaceWindow(frame, WindowPlacement{100, 100, 4000, 3000, false});
    EXPECT_EQ(frame.geometry(), QRect(0, 0, 1280, 800));
}

TEST_F(WindowTest, ComesBackWhereAndAsLargeAsItWasClosed) {
    WriteSettings("[Window]\nLeft=5000\nTop=-3000\nWidth=900\nHeight=600\n");
    Start();
    EXPECT_EQ(app_->mainFrame()->geometry(), QRect(189, 99, 900, 600));

    app_->mainFrame()->setGeometry(QRect(120, 60, 1000, 700));
    app_->mainFrame()->close();
    EXPECT_NE(ReadText(settingsPath_)
                  .find("[Window]\nLeft=120\nTop=60\nWidth=1000\nHeight=700\nMaximized=0\n"),
              std::string::npos);
    app_.reset();
    Start();
    EXPECT_EQ(app_->mainFrame()->geometry(), QRect(120, 60, 1000, 700));
}

}  // namespace
