#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QImage>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include "database/MessageDatabase.h"
#include "support/QtApp.h"
#include "support/QtText.h"
#include "ui/controls/Colors.h"
#include "ui/controls/CommandIds.h"
#include "ui/controls/CommandTable.h"
#include "ui/list/CTalvoraView.h"
#include "ui/list/EventListModel.h"
#include "ui/list/ListTestHistory.h"
#include "ui/list/ListViewFixture.h"

namespace {

using TalvoraViewTest = ListViewFixture;

TEST_F(TalvoraViewTest, ListHasTheSixColumnsAndFixedRows) {
    AddEvents(0, 3);
    ShowView(5);
    QHeaderView* header = view->horizontalHeader();
    ASSERT_EQ(header->count(), 6);
    const int widths[] = {120, 90, 60, 100, 300, 60};
    const char* texts[] = {"種類", "日付", "時間", "名前", "情報", "UIN"};
    // The widths keep their proportions and grow with a font larger than the one they
    // were made for, never shrink.
    const double scale = header->sectionSize(0) / 120.0;
    EXPECT_GE(scale, 1.0);
    for (int column = 0; column < 6; ++column) {
        EXPECT_NEAR(header->sectionSize(column), widths[column] * scale, 1.0) << column;
        EXPECT_EQ(view->model()->headerData(column, Qt::Horizontal).toString(), U(texts[column]));
    }
    EXPECT_EQ(view->verticalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
    EXPECT_EQ(view->RowCount(), 3);
    EXPECT_EQ(view->CellText(0, 4), U("e2"));
    EXPECT_EQ(view->RowImage(0), 1);
}

TEST_F(TalvoraViewTest, LiveAppendKeepsTheSameEventsSelectedCurrentAndOnScreen) {
    AddEvents(0, 100);
    ShowView(10);
    const QModelIndex current = view->model()->index(40, 2);
    view->selectionModel()->setCurrentIndex(
        current, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    view->selectionModel()->select(view->model()->index(42, 0),
                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
    view->verticalScrollBar()->setValue(35);
    QApplication::processEvents();
    ASSERT_EQ(view->TopRow(), 35);
    const QString topText = view->CellText(35, 4);
    const QString currentText = view->CellText(40, 4);

    AppendLive(100, 3);
    ASSERT_EQ(view->RowCount(), 103);
    EXPECT_EQ(view->SelectedRows(), (std::vector<int>{43, 45}));
    EXPECT_EQ(view->FirstSelectedRow(), 43);
    EXPECT_EQ(view->currentIndex().row(), 43);
    EXPECT_EQ(view->CellText(43, 4), currentText);
    EXPECT_EQ(view->TopRow(), 38);
    EXPECT_EQ(view->CellText(view->TopRow(), 4), topText);
}

TEST_F(TalvoraViewTest, ListAtTheTopShowsTheNewEvents) {
    AddEvents(0, 50);
    ShowView(10);
    Select({0});
    ASSERT_EQ(view->TopRow(), 0);

    AppendLive(50, 2);
    EXPECT_EQ(view->TopRow(), 0);
    EXPECT_EQ(view->CellText(0, 4), U("e51"));
    EXPECT_EQ(view->SelectedRows(), (std::vector<int>{2}));

    // Scrolled to the very bottom: it stays on the same (oldest) events.
    view->scrollToBottom();
    QApplication::processEvents();
    const int top = view->TopRow();
    ASSERT_GT(top, 0);
    AppendLive(52, 4);
    EXPECT_EQ(view->TopRow(), top + 4);
    EXPECT_EQ(view->CellText(view->RowCount() - 1, 4), U("e0"));
}

TEST_F(TalvoraViewTest, SelectRowMovesTheFirstSelectedRowAndLeavesTheCurrentRow) {
    AddEvents(0, 20);
    ShowView(10);
    view->setCurrentIndex(view->model()->index(5, 0));
    Select({3, 7});
    view->SelectRow(12);
    EXPECT_EQ(view->SelectedRows(), (std::vector<int>{7, 12}));
    EXPECT_EQ(view->currentIndex().row(), 5);

    Select({});
    view->SelectRow(2);
    EXPECT_EQ(view->SelectedRows(), (std::vector<int>{2}));
    EXPECT_EQ(view->FirstSelectedRow(), 2);
    view->SelectRow(99);  // no such row: the old one is still cleared
    EXPECT_TRUE(view->SelectedRows().empty());
    EXPECT_EQ(view->FirstSelectedRow(), -1);
}

TEST_F(TalvoraViewTest, ShowRowAtMakesTheRowThatVisibleLine) {
    AddEvents(0, 100);
    ShowView(10);
    const int page = view->RowsPerPage();
    ASSERT_GE(page, 9);
    ASSERT_LE(page, 10);

    view->ShowRowAt(50, 3);
    EXPECT_EQ(view->TopRow(), 48);
    view->ShowRowAt(50, page / 2);
    EXPECT_EQ(view->TopRow(), 50 - page / 2 + 1);
    view->ShowRowAt(1, 5);  // cannot be the 5th line: the list starts at the top
    EXPECT_EQ(view->TopRow(), 0);
    view->ShowRowAt(99, 1);  // the last row as far up as the list goes
    EXPECT_EQ(view->TopRow(), 100 - page);
    view->ShowRowAt(30, page + 5);  // a line below the page still shows the row
    EXPECT_EQ(view->TopRow(), 30 - page + 1);
}

TEST_F(TalvoraViewTest, CtrlCCopiesTheSelectedRowsOneLineEach) {
    history.Add(kMember, U("tab\there"));
    history.Add(kMember, U("two\r\nlines"), 1);
    history.Add(kMember, U("back\\slash"));
    ShowView(5);
    Select({2, 1, 0});
    view->setFocus();
    QApplication::clipboard()->clear();
    QTest::keyClick(view.get(), Qt::Key_C, Qt::ControlModifier);

    // As the list shows the cells: line breaks and TABs as spaces, backslashes as they are.
    const QString cells = U("\t2000/03/05 日\t09:07:03\t100\t");
    const QString type = U("メッセージ");
    EXPECT_EQ(QApplication::clipboard()->text(), type + cells + U("back\\slash\t100\n") + type +
                                                     cells + U("two lines\t100\n") + type + cells +
                                                     U("tab here\t100\n"));
}

TEST_F(TalvoraViewTest, EnterOpensDetailsOnlyWithASelectedRow) {
    AddEvents(0, 3);
    ShowView(10);
    QSignalSpy details(view.get(), &CTalvoraView::detailsRequested);
    view->setFocus();
    QTest::keyClick(view.get(), Qt::Key_Return);
    EXPECT_EQ(details.count(), 0);
    Select({1});
    QTest::keyClick(view.get(), Qt::Key_Return);
    QTest::keyClick(view.get(), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(details.count(), 2);
}

TEST_F(TalvoraViewTest, DoubleClickOpensDetailsOnlyWithASelectedRow) {
    AddEvents(0, 3);
    ShowView(10);
    QSignalSpy details(view.get(), &CTalvoraView::detailsRequested);
    // What a double click delivers: a click, then the double click.
    auto doubleClick = [&](QPoint at) {
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
    };
    const QPoint below(50, view->rowViewportPosition(2) + view->rowHeight(2) * 3);
    doubleClick(below);
    EXPECT_EQ(details.count(), 0);

    const QPoint onRow(50, view->rowViewportPosition(1) + view->rowHeight(1) / 2);
    doubleClick(onRow);
    EXPECT_EQ(details.count(), 1);
    EXPECT_EQ(view->SelectedRows(), (std::vector<int>{1}));

    // Below the last row, the selected row's details.
    doubleClick(below);
    EXPECT_EQ(details.count(), 2);
}

TEST_F(TalvoraViewTest, RowsAreDrawnInTheirColoursAcrossTheWholeWidth) {
    AddEvents(0, 3);  // rows 0 and 2 received, row 1 sent
    ShowView(6);
    Select({1});
    const int beyond = view->columnViewportPosition(5) + view->columnWidth(5) + 20;
    ASSERT_LT(beyond, view->viewport()->width());
    auto y = [&](int row) { return view->rowViewportPosition(row) + view->rowHeight(row) / 2; };

    // Only the strip right of the last column is repainted: the rows still reach it.
    const QRect strip(beyond - 10, 0, 30, view->viewport()->height());
    QImage image(view->viewport()->size(), QImage::Format_RGB32);
    image.fill(Qt::magenta);
    view->viewport()->render(&image, QPoint(), QRegion(strip));
    EXPECT_EQ(image.pixelColor(10, y(0)), ToQColor(colors.receiveBackground));
    EXPECT_EQ(image.pixelColor(10, y(1)), ToQColor(colors.highlightBackground));

    // The list has no focus: the selected row is still in the highlight colour.
    view->clearFocus();
    ASSERT_FALSE(view->hasFocus());
    const QImage full = view->viewport()->grab().toImage();
    const int margin = view->columnViewportPosition(1) + 2;  // inside a cell, left of its text
    EXPECT_EQ(full.pixelColor(margin, y(1)), ToQColor(colors.highlightBackground));
    EXPECT_EQ(full.pixelColor(margin, y(2)), ToQColor(colors.receiveBackground));
    view->selectionModel()->clearSelection();
    const QImage after = view->viewport()->grab().toImage();
    EXPECT_EQ(after.pixelColor(beyond, y(1)), ToQColor(colors.sendBackground));

    // The focus rectangle goes round the whole current row, only while the list has the focus.
    view->setCurrentIndex(view->model()->index(2, 0));
    view->selectionModel()->clearSelection();
    auto framePixels = [&] {
        const QImage shot = view->viewport()->grab().toImage();
        int count = 0;
        for (int x = beyond; x < beyond + 20; ++x) {
            count += shot.pixelColor(x, view->rowViewportPosition(2)) !=
                     ToQColor(colors.receiveBackground);
        }
        return count;
    };
    view->setFocus();
    ASSERT_TRUE(view->hasFocus());
    EXPECT_GT(framePixels(), 0);
    view->clearFocus();
    EXPECT_EQ(framePixels(), 0);

    // Changing the colours repaints with them.
    ListColors other = colors;
    other.sendBackground = ColorRef(200, 0, 0);
    view->SetListColors(other);
    EXPECT_EQ(view->viewport()->grab().toImage().pixelColor(beyond, y(1)), QColor(200, 0, 0));
    EXPECT_EQ(view->listColors(), other);
}

}  // namespace
