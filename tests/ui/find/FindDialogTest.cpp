#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include "ui/find/FindDialogFixture.h"

namespace {

TEST_F(FindDialogTest, OpensWithTheTextAndTargetsOfTheLastSavedSearchOnly) {
    Add(U("a"));
    ShowList();
    auto fresh = Open();
    EXPECT_EQ(fresh->windowTitle(), U("リスト内の検索"));
    EXPECT_TRUE(Child<QCheckBox>(*fresh, "includeReceived")->isChecked());
    EXPECT_TRUE(Child<QCheckBox>(*fresh, "includeSent")->isChecked());
    EXPECT_FALSE(Child<QPushButton>(*fresh, "findNext")->isEnabled());
    EXPECT_FALSE(Child<QPushButton>(*fresh, "findNext")->isDefault());
    EXPECT_EQ(fresh->criteria().position, kNoRow);
    for (const char* name : {"dayPicker", "periodFirst", "periodLast"}) {
        auto* picker = Child<QDateEdit>(*fresh, name);
        EXPECT_FALSE(picker->isEnabled()) << name;
        EXPECT_TRUE(picker->calendarPopup()) << name;
        EXPECT_EQ(picker->displayFormat(), QLocale().dateFormat(QLocale::LongFormat)) << name;
    }

    saved.ready = true;
    saved.searchText = Sjis(U("こんにちは"));
    saved.includeReceived = true;
    saved.useDateRange = true;
    saved.position = 7;
    Select({0});
    auto dialog = Open();
    auto* edit = Child<QLineEdit>(*dialog, "searchText");
    EXPECT_EQ(edit->selectedText(), U("こんにちは"));
    EXPECT_TRUE(Child<QCheckBox>(*dialog, "includeReceived")->isChecked());
    EXPECT_FALSE(Child<QCheckBox>(*dialog, "includeSent")->isChecked());
    EXPECT_TRUE(Child<QRadioButton>(*dialog, "allEvents")->isChecked());
    EXPECT_TRUE(Child<QRadioButton>(*dialog, "searchDown")->isChecked());
    EXPECT_TRUE(Child<QPushButton>(*dialog, "findNext")->isEnabled());
    EXPECT_EQ(dialog->criteria().position, 0);  // from the selection, not the saved 7
}

TEST_F(FindDialogTest, ButtonNeedsTextADirectionAndAFirstDayBeforeTheLast) {
    Add(U("a"));
    ShowList();
    auto dialog = Open();
    auto* findNext = Child<QPushButton>(*dialog, "findNext");
    auto* received = Child<QCheckBox>(*dialog, "includeReceived");
    auto* sent = Child<QCheckBox>(*dialog, "includeSent");
    auto* first = Child<QDateEdit>(*dialog, "periodFirst");
    auto* last = Child<QDateEdit>(*dialog, "periodLast");
    auto expect = [&](bool on, int line) {
        EXPECT_EQ(findNext->isEnabled(), on) << "line " << line;
        EXPECT_EQ(dialog->criteria().ready, on) << "line " << line;
    };

    Type(*dialog, U("a"));
    expect(true, __LINE__);
    received->click();
    sent->click();
    expect(false, __LINE__);
    sent->click();
    expect(true, __LINE__);

    // The same day in both pickers is no period; the pickers come on with the mode.
    Child<QRadioButton>(*dialog, "period")->click();
    EXPECT_TRUE(first->isEnabled());
    EXPECT_TRUE(last->isEnabled());
    EXPECT_FALSE(Child<QDateEdit>(*dialog, "dayPicker")->isEnabled());
    expect(false, __LINE__);
    last->setDate(first->date().addDays(1));
    expect(true, __LINE__);
    first->setDate(last->date().addDays(1));
    expect(false, __LINE__);

    // Leaving the period does not check again: the button stays off until the next change.
    Child<QRadioButton>(*dialog, "allEvents")->click();
    EXPECT_FALSE(first->isEnabled());
    expect(false, __LINE__);
    QTest::keyClicks(Child<QLineEdit>(*dialog, "searchText"), U("b"));
    expect(true, __LINE__);
    Type(*dialog, QString());
    expect(false, __LINE__);
}

TEST_F(FindDialogTest, SearchStartsAtTheSelectionOrTheEdgeAndGoesOnFromTheSelection) {
    for (int i = 0; i < 5; ++i) {
        Add(QStringLiteral("x%1").arg(i), static_cast<std::uint32_t>(i % 2));  // odd ones sent
    }
    ShowList();  // rows 0..4: x4 .. x0
    {
        auto dialog = Open();
        Type(*dialog, U("x"));
        Child<QRadioButton>(*dialog, "searchUp")->click();
        EXPECT_EQ(AllHits(*dialog), (std::vector<int>{4, 3, 2, 1, 0}));
    }
    Select({2});
    auto dialog = Open();
    EXPECT_EQ(dialog->criteria().position, 2);
    Type(*dialog, U("x"));
    Child<QCheckBox>(*dialog, "includeReceived")->click();
    EXPECT_EQ(AllHits(*dialog), std::vector<int>{3});  // x1, the last sent row
    // The end leaves the position on the selected row (the hit), so the next step ends at
    // once again.
    EXPECT_EQ(dialog->criteria().position, 3);
    const int ends = list->finished;
    dialog->FindNextStep();
    EXPECT_EQ(list->finished, ends + 1);
    // With nothing selected the end leaves no row, and the next step starts at row 0.
    Select({});
    dialog->FindNextStep();
    EXPECT_EQ(dialog->criteria().position, kNoRow);
    Child<QCheckBox>(*dialog, "includeReceived")->click();
    dialog->FindNextStep();
    EXPECT_EQ(dialog->criteria().position, 0);
}

TEST_F(FindDialogTest, OneDayAndPeriodTakeWholeDays) {
    const std::int32_t stamps[] = {kJune1 - 1, kJune1, kJune1 + kDay + 43200, kJune1 + 3 * kDay - 1,
                                   kJune1 + 3 * kDay};
    for (std::int32_t stamp : stamps) {
        Add(U("x"), 0, stamp);
    }
    ShowList();  // rows 0..4: 4 June 00:00, 3 June 23:59:59, 2 June, 1 June 00:00, 31 May
    {
        auto dialog = Open();
        Type(*dialog, U("x"));
        Child<QRadioButton>(*dialog, "oneDay")->click();
        EXPECT_TRUE(Child<QDateEdit>(*dialog, "dayPicker")->isEnabled());
        Child<QDateEdit>(*dialog, "dayPicker")->setDate(QDate(2023, 6, 1));
        EXPECT_EQ(AllHits(*dialog), std::vector<int>{3});
    }
    Select({});
    {
        auto dialog = Open();
        Type(*dialog, U("x"));
        Child<QRadioButton>(*dialog, "period")->click();
        Child<QDateEdit>(*dialog, "periodFirst")->setDate(QDate(2023, 6, 1));
        Child<QDateEdit>(*dialog, "periodLast")->setDate(QDate(2023, 6, 3));
        EXPECT_EQ(AllHits(*dialog), (std::vector<int>{1, 2, 3}));
        EXPECT_EQ(dialog->criteria().rangeStart, kJune1);
        EXPECT_EQ(dialog->criteria().rangeEnd, kJune1 + 3 * kDay);
    }
}

TEST_F(FindDialogTest, TextIsSearchedInTheHistorysOwnEncoding) {
    Add(U("今日は?"));
    Add(U("ｶﾀｶﾅ"));
    ShowList();
    auto hitsFor = [this](const QString& text) {
        Select({});
        auto dialog = Open();
        Type(*dialog, text);
        return AllHits(*dialog);
    };
    EXPECT_EQ(hitsFor(U("今日")), std::vector<int>{1});
    EXPECT_TRUE(hitsFor(U("カタカナ")).empty());  // full width never matches half width
    // A character the history cannot hold finds nothing, not a look-alike such as "?".
    EXPECT_TRUE(hitsFor(U("\U0001F600")).empty());

    // Such a text comes back as typed, never as "?" or U+FFFD.
    auto dialog = Open();
    Type(*dialog, U("a\U0001F600é"));
    Child<QPushButton>(*dialog, "cancel")->click();
    EXPECT_EQ(Child<QLineEdit>(*Open(), "searchText")->text(), U("a\U0001F600é"));
}

TEST_F(FindDialogTest, EnterSearchesInAnyStateAndKeepsTheDialogOpen) {
    Add(U("received"), 0);
    Add(U("sent"), 1);
    Add(U("received too"), 0);
    ShowList();
    auto dialog = Open();
    auto* edit = Child<QLineEdit>(*dialog, "searchText");
    ASSERT_FALSE(Child<QPushButton>(*dialog, "findNext")->isEnabled());

    // Empty text, button off: the next row that passes the direction filter.
    Child<QCheckBox>(*dialog, "includeReceived")->click();
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(view->SelectedRows(), std::vector<int>{1});

    // No direction at all: every remaining row is examined and the end is told.
    Child<QCheckBox>(*dialog, "includeSent")->click();
    QTest::keyClick(Child<QCheckBox>(*dialog, "includeSent"), Qt::Key_Enter);
    EXPECT_EQ(list->finished, 1);
    EXPECT_TRUE(dialog->isVisible());
    QTest::keyClick(Child<QDateEdit>(*dialog, "dayPicker"), Qt::Key_Return);
    QTest::keyClick(Child<QRadioButton>(*dialog, "searchUp"), Qt::Key_Return);
    EXPECT_EQ(list->finished, 3);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(saved.ready);  // nothing saved by searching

    // On "キャンセル", Enter presses it.
    QTest::keyClick(Child<QPushButton>(*dialog, "cancel"), Qt::Key_Return);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
}

TEST_F(FindDialogTest, AltLetterOfTheDisabledButtonTypesNothing) {
    Add(U("x"));
    ShowList();
    auto dialog = Open();
    auto* edit = Child<QLineEdit>(*dialog, "searchText");
    ASSERT_FALSE(Child<QPushButton>(*dialog, "findNext")->isEnabled());
    QTest::keyClick(edit, Qt::Key_F, Qt::AltModifier);
    EXPECT_EQ(edit->text(), QString());
    EXPECT_EQ(list->finished, 0);
}

TEST_F(FindDialogTest, EscAndTheCloseBoxSaveNothing) {
    Add(U("x1"));
    Add(U("x2"));
    ShowList();
    saved = SearchCriteria{true, 1, "x", false, 0, 0, true, false, {}};
    auto same = [this] {
        EXPECT_TRUE(saved.ready);
        EXPECT_EQ(saved.position, 1);
        EXPECT_EQ(saved.searchText, "x");
        EXPECT_FALSE(saved.includeSent);
    };
    auto dialog = Open();
    Type(*dialog, U("x2"));
    Child<QCheckBox>(*dialog, "includeSent")->click();
    dialog->FindNextStep();
    dialog->FindNextStep();
    QTest::keyClick(Child<QLineEdit>(*dialog, "searchText"), Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    same();
    auto closed = Open();
    Type(*closed, QString());
    closed->close();
    same();
}

TEST_F(FindDialogTest, CancelSavesTheCriteriaAsTheDialogShowsThem) {
    Add(U("x"));
    Add(U("y"));
    ShowList();
    Select({1});
    auto dialog = Open();
    Type(*dialog, U("こんにちは"));
    Child<QCheckBox>(*dialog, "includeSent")->click();
    Child<QRadioButton>(*dialog, "period")->click();
    Child<QDateEdit>(*dialog, "periodFirst")->setDate(QDate(2023, 6, 1));
    Child<QDateEdit>(*dialog, "periodLast")->setDate(QDate(2023, 6, 2));
    Child<QPushButton>(*dialog, "cancel")->click();

    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(saved.ready);
    EXPECT_EQ(saved.position, 1);
    EXPECT_EQ(saved.searchText, Sjis(U("こんにちは")));
    EXPECT_TRUE(saved.includeReceived);
    EXPECT_FALSE(saved.includeSent);
    EXPECT_TRUE(saved.useDateRange);
    EXPECT_EQ(saved.rangeStart, kJune1);
    EXPECT_EQ(saved.rangeEnd, kJune1 + 2 * kDay);

    // Closed before any change: the `ready` it opened with is kept, whatever it shows.
    saved.ready = false;
    saved.searchText = "x";
    auto unchanged = Open();
    Child<QPushButton>(*unchanged, "cancel")->click();
    EXPECT_FALSE(saved.ready);
    EXPECT_TRUE(saved.searchText.empty());
    EXPECT_TRUE(saved.includeSent);
}

TEST_F(FindDialogTest, WaitCursorShowsDuringTheStepButNotOverTheMessage) {
    Add(U("x"));
    ShowList();
    auto dialog = Open();
    Type(*dialog, U("x"));
    dialog->FindNextStep();
    EXPECT_TRUE(list->waitWhileSelecting);
    dialog->FindNextStep();
    EXPECT_EQ(list->finished, 1);
    EXPECT_FALSE(list->waitAtFinish);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
