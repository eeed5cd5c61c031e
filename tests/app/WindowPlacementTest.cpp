// The main window's opening size and remembered place, on a screen of 1280x800 pixels.
#include <QGuiApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QTest>

#include <fstream>
#include <sstream>

#include "app/AppFixture.h"
#include "ui/controls/CommandIds.h"
#include "ui/frame/CMainFrame.h"
#include "ui/frame/WindowPlacing.h"
#include "ui/hits/CHitCriteriaForm.h"
#include "ui/hits/CHitListWindow.h"
#include "ui/hits/HitListModel.h"
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

// The hit list opens on the screen, beside or over the lower part of the main window, and a
// hit it selects shows where the hit list does not cover the list.
TEST_F(WindowTest, HitListFitsAndNeverHidesTheRowItSelects) {
    {
        auto writer = HistoryWriter::OpenAppend(paths_.data, paths_.index);
        WriterRecord record;
        record.uin = 100;
        for (int i = 0; i < 400; ++i) {
            record.text = "line " + std::to_string(i);
            record.stamp = 1000000 + i;
            writer->AppendEvent(100, record);
        }
    }
    Start();
    Trigger(ID_SEARCH_ALL);
    CHitListWindow& hits = *app_->hitList();
    QCoreApplication::processEvents();
    const QRect screen(0, 0, 1280, 800);
    EXPECT_TRUE(screen.contains(hits.frameGeometry())) << hits.frameGeometry().y();
    auto* start = hits.findChild<QPushButton*>(QStringLiteral("startSearch"));
    EXPECT_TRUE(screen.contains(QRect(start->mapToGlobal(QPoint(0, 0)), start->size())));

    hits.form()->textEdit()->setText(QStringLiteral("line 2"));
    hits.StartSearch();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !hits.searching(); }));
    for (const int hit : {0, hits.model()->rowCount() / 2, hits.model()->rowCount() - 1}) {
        hits.table()->selectRow(hit);
        const int row = list().SelectedRows().at(0);
        const QRect shown(
            list().viewport()->mapToGlobal(
                list().visualRect(list().model()->index(row, 0)).topLeft()),
            QSize(list().viewport()->width(), list().verticalHeader()->defaultSectionSize()));
        EXPECT_TRUE(QRect(list().viewport()->mapToGlobal(QPoint(0, 0)), list().viewport()->size())
                        .contains(shown));
        EXPECT_FALSE(shown.intersects(hits.frameGeometry())) << "hit " << hit;
    }

    // Esc closes it; it opens again where it was left, also after a restart.
    hits.setGeometry(QRect(200, 300, 900, 420));
    QTest::keyClick(hits.form()->textEdit(), Qt::Key_Escape);
    EXPECT_FALSE(hits.isVisible());
    app_->mainFrame()->close();
    app_.reset();
    Start();
    Trigger(ID_SEARCH_ALL);
    EXPECT_EQ(app_->hitList()->geometry(), QRect(200, 300, 900, 420));
}

}  // namespace
