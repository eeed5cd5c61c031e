#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include "ui/find/FindDialogFixture.h"
#include "ui/find/HitPlacement.h"

namespace {

// The object names that Tab (or Shift+Tab) visits from the search text, up to its return.
std::string TabRound(CFindDialog& dialog, bool backward = false) {
    QWidget* start = dialog.findChild<QLineEdit*>(QStringLiteral("searchText"));
    start->setFocus();
    QStringList names;
    for (int i = 0; i < 20; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab,
                        backward ? Qt::ShiftModifier : Qt::NoModifier);
        QWidget* now = QApplication::focusWidget();
        if (now == start || now == nullptr) {
            break;
        }
        names << now->objectName();
    }
    return names.join(u' ').toStdString();
}

TEST_F(FindDialogTest, TabFollowsTheLayoutAndEntersEachRadioGroupAtItsCheckedButton) {
    Add(U("x"));
    ShowList();
    auto dialog = Open();
    QApplication::setActiveWindow(dialog.get());
    Type(*dialog, U("x"));
    EXPECT_EQ(TabRound(*dialog),
              "allEvents includeReceived includeSent searchDown findNext cancel");
    Child<QRadioButton>(*dialog, "period")->click();
    Child<QDateEdit>(*dialog, "periodLast")->setDate(QDate::currentDate().addDays(1));
    Child<QRadioButton>(*dialog, "searchUp")->click();
    EXPECT_EQ(TabRound(*dialog, true),
              "cancel findNext searchUp includeSent includeReceived periodLast periodFirst period");
}

TEST_F(FindDialogTest, AHitIsNeverLeftUnderTheDialog) {
    for (int i = 0; i < 40; ++i) {
        Add(U("x"));
    }
    ShowList();
    view->move(0, 0);
    auto dialog = Open();
    dialog->KeepHitsInSightOf(view.get());
    dialog->move(100, view->geometry().center().y() - dialog->frameGeometry().height() / 2);
    Type(*dialog, U("x"));
    for (int step = 0; step < 15; ++step) {
        dialog->FindNextStep();
        const int row = dialog->criteria().position;
        const QRect cell = view->visualRect(view->model()->index(row, 0));
        ASSERT_TRUE(view->viewport()->rect().contains(cell)) << "row " << row;
        const QRect found(view->viewport()->mapToGlobal(QPoint(0, cell.top())),
                          QSize(view->viewport()->width(), cell.height()));
        EXPECT_FALSE(dialog->frameGeometry().intersects(found)) << "row " << row;
    }
}

TEST(HitPlacementTest, MovesTheSmallerWayOrScrollsWhenTheScreenHasNoRoom) {
    const QRect screen(0, 0, 800, 600);
    const QRect row(0, 300, 800, 20);
    auto place = [&](QRect dialog) { return PlaceAwayFromHit(dialog, row, screen, screen); };

    EXPECT_EQ(place(QRect(0, 0, 300, 200)).dialogAt, std::nullopt);  // not covered
    EXPECT_EQ(place(QRect(0, 0, 300, 200)).line, std::nullopt);
    EXPECT_EQ(place(QRect(50, 250, 300, 200)).dialogAt, QPoint(50, 324));
    EXPECT_EQ(place(QRect(50, 180, 300, 200)).dialogAt, QPoint(50, 96));
    // Too tall to go above or below: the row goes to the larger free part of the list.
    EXPECT_EQ(place(QRect(0, 100, 300, 400)).line, 1);
    EXPECT_EQ(place(QRect(0, 50, 300, 400)).line, 24);  // line 24 starts at 460, below 449
    EXPECT_EQ(place(QRect(0, 0, 300, 600)).line, std::nullopt);
    EXPECT_EQ(place(QRect(0, 0, 300, 600)).dialogAt, std::nullopt);
}

}  // namespace
