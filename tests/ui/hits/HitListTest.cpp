#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QDialog>
#include <QLineEdit>
#include <QLocale>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include "app/AppFixture.h"
#include "database/MessageDatabase.h"
#include "ui/controls/CommandIds.h"
#include "ui/hits/CHitCriteriaForm.h"
#include "ui/hits/CHitListWindow.h"
#include "ui/hits/HitListModel.h"
#include "ui/list/CTalvoraView.h"
#include "ui/tree/CLeftView.h"

namespace {

class HitList : public AppFixture {
protected:
    CHitListWindow& OpenWindow() {
        Start();
        Trigger(ID_SEARCH_ALL);
        CHitListWindow* window = app_->hitList();
        EXPECT_TRUE(window != nullptr && window->isVisible());
        return *window;
    }
    // Runs a search to its end and gives the text column of every hit, hit marked [..].
    QStringList Search(CHitListWindow& window, const QString& text, bool ignoreCase = false,
                       bool ignoreWidth = false) {
        window.form()->textEdit()->setText(text);
        window.form()->findChild<QCheckBox*>(QStringLiteral("ignoreCase"))->setChecked(ignoreCase);
        window.form()
            ->findChild<QCheckBox*>(QStringLiteral("ignoreWidth"))
            ->setChecked(ignoreWidth);
        window.StartSearch();
        return Texts(window);
    }
    QStringList Texts(CHitListWindow& window) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return !window.searching(); }));
        QStringList texts;
        HitListModel* model = window.model();
        for (int row = 0; row < model->rowCount(); ++row) {
            const QModelIndex index = model->index(row, HitListModel::TextColumn);
            texts << index.data(HitListModel::BeforeHitRole).toString() + QStringLiteral("[") +
                         index.data(HitListModel::HitRole).toString() + QStringLiteral("]") +
                         index.data(HitListModel::AfterHitRole).toString();
        }
        return texts;
    }
};

TEST_F(HitList, HitsAreListedWithTheirMemberAndSelectingOneShowsTheEvent) {
    CHitListWindow& window = OpenWindow();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("すべて検索"));
    EXPECT_EQ(Search(window, QStringLiteral("llo")),
              (QStringList{QStringLiteral("he[llo] 2"), QStringLiteral("he[llo] 1"),
                           QStringLiteral("he[llo] 0")}));
    HitListModel* model = window.model();
    EXPECT_EQ(model->index(1, HitListModel::NameColumn).data().toString(), QStringLiteral("100"));
    EXPECT_EQ(model->index(1, HitListModel::DateColumn).data().toString(),
              QStringLiteral("1970/01/12 月"));
    EXPECT_EQ(model->index(1, HitListModel::TimeColumn).data().toString(),
              QStringLiteral("14:46:40"));
    EXPECT_EQ(model->index(1, HitListModel::DirectionColumn).data().toString(),
              QStringLiteral("受信"));
    EXPECT_TRUE(window.statusText().contains(QStringLiteral("3 件見つかりました")));

    window.table()->selectRow(1);
    EXPECT_EQ(tree().currentItem(), MemberItem(100));
    EXPECT_EQ(list().currentMember(), 100);
    EXPECT_EQ(list().SelectedRows(), (std::vector<int>{1}));

    EXPECT_EQ(Search(window, QStringLiteral("sent")).size(), 2);
    window.table()->selectRow(0);
    EXPECT_EQ(tree().currentItem(), MemberItem(200));
    EXPECT_EQ(list().SelectedRows(), (std::vector<int>{0}));
}

TEST_F(HitList, TheSwitchesFoldCaseAndWidthAndAreOffByDefault) {
    CHitListWindow& window = OpenWindow();
    EXPECT_TRUE(Search(window, QStringLiteral("HELLO 1")).isEmpty());
    EXPECT_EQ(Search(window, QStringLiteral("HELLO 1"), true),
              (QStringList{QStringLiteral("[hello 1]")}));
    EXPECT_TRUE(Search(window, QStringLiteral("ｈｅｌｌｏ　１"), true).isEmpty());
    EXPECT_EQ(Search(window, QStringLiteral("ｈｅｌｌｏ　１"), false, true),
              (QStringList{QStringLiteral("[hello 1]")}));
}

TEST_F(HitList, WordsAndExpressionsAndAnExpressionThatDoesNotCompile) {
    CHitListWindow& window = OpenWindow();
    auto box = [&](const char* name) {
        return window.form()->findChild<QCheckBox*>(QString::fromLatin1(name));
    };
    EXPECT_EQ(box("ignoreKana")->text(), QStringLiteral("ひらがなとカタカナを区別しない"));
    box("allWords")->setChecked(true);
    EXPECT_EQ(Search(window, QStringLiteral("1 hello")), (QStringList{QStringLiteral("[hello] 1")}));
    box("allWords")->setChecked(false);
    box("regex")->setChecked(true);
    EXPECT_FALSE(box("ignoreWidth")->isEnabled() || box("ignoreKana")->isEnabled() ||
                 box("allWords")->isEnabled());
    EXPECT_EQ(Search(window, QStringLiteral("h.llo\\s1$")),
              (QStringList{QStringLiteral("[hello 1]")}));
    Search(window, QStringLiteral("(hello"));
    EXPECT_TRUE(window.statusText().startsWith(QStringLiteral("正規表現の誤り (7 文字目)")))
        << window.statusText().toStdString();
}

TEST_F(HitList, TheSelectedMemberAloneAndAppendedEventsThatMatch) {
    Start();
    tree().setCurrentItem(MemberItem(200));
    Trigger(ID_SEARCH_ALL);
    CHitListWindow& window = *app_->hitList();
    auto* selected = window.findChild<QRadioButton*>(QStringLiteral("selectedMember"));
    EXPECT_EQ(selected->text(), QStringLiteral("選択されているメンバー(&M): 花子"));
    selected->setChecked(true);
    EXPECT_EQ(Search(window, QStringLiteral("e")),
              (QStringList{QStringLiteral("s[e]nt 1"), QStringLiteral("s[e]nt 0")}));

    Append(100, "sent too", 4000000);
    Append(200, "sent late", 4000001, 1);
    app_->document().Check();  // the document's news alone brings the hit in
    EXPECT_TRUE(QTest::qWaitFor([&] { return Texts(window).size() == 3; }, 1000));
    EXPECT_EQ(Texts(window), (QStringList{QStringLiteral("s[e]nt late"), QStringLiteral("s[e]nt 1"),
                                          QStringLiteral("s[e]nt 0")}));
    // The tree's root selects no member: the choice falls back to all members.
    tree().setCurrentItem(tree().membersRoot());
    EXPECT_FALSE(selected->isEnabled());
    EXPECT_EQ(Search(window, QStringLiteral("sent t")),
              (QStringList{QStringLiteral("[sent t]oo")}));
}

// The date limit is the find dialog's, read as whole days; here one day in both pickers is
// already a period.
TEST_F(HitList, TheDateLimitTakesWholeDaysWithTheFindDialogsControls) {
    CHitListWindow& window = OpenWindow();
    CHitCriteriaForm& form = *window.form();
    auto* day = form.findChild<QDateEdit*>(QStringLiteral("dayPicker"));
    auto* first = form.findChild<QDateEdit*>(QStringLiteral("periodFirst"));
    auto* last = form.findChild<QDateEdit*>(QStringLiteral("periodLast"));
    for (QDateEdit* picker : {day, first, last}) {
        ASSERT_NE(picker, nullptr);
        EXPECT_FALSE(picker->isEnabled());
        EXPECT_EQ(picker->displayFormat(), QLocale().dateFormat(QLocale::LongFormat));
    }
    form.findChild<QRadioButton*>(QStringLiteral("oneDay"))->click();
    EXPECT_TRUE(day->isEnabled());
    day->setDate(QDate(1970, 1, 24));
    EXPECT_EQ(Search(window, QStringLiteral("e")),
              (QStringList{QStringLiteral("s[e]nt 1"), QStringLiteral("s[e]nt 0")}));

    form.findChild<QRadioButton*>(QStringLiteral("period"))->click();
    EXPECT_FALSE(day->isEnabled());
    first->setDate(QDate(1970, 1, 10));
    last->setDate(QDate(1970, 1, 12));  // its afternoon too, but not the 24th
    EXPECT_EQ(Search(window, QStringLiteral("e")),
              (QStringList{QStringLiteral("h[e]llo 2"), QStringLiteral("h[e]llo 1"),
                           QStringLiteral("h[e]llo 0")}));
    last->setDate(first->date());
    EXPECT_TRUE(form.IsComplete());
    last->setDate(first->date().addDays(-1));
    EXPECT_FALSE(form.IsComplete());
}

TEST_F(HitList, AltLettersOfDisabledButtonsTypeNothing) {
    CHitListWindow& window = OpenWindow();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QLineEdit* edit = window.form()->textEdit();
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_S, Qt::AltModifier);
    QTest::keyClick(edit, Qt::Key_T, Qt::AltModifier);
    EXPECT_EQ(edit->text(), QString());
    EXPECT_EQ(window.model()->rowCount(), 0);

    // Enabled, "検索開始(&S)" takes its letter (a button pressed by its letter clicks a
    // moment later) and the box stays as typed.
    edit->setText(QStringLiteral("hello"));
    QTest::keyClick(edit, Qt::Key_S, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.model()->rowCount() == 3; }, 1000));
    EXPECT_EQ(edit->text(), QStringLiteral("hello"));
    QTest::keyClick(edit, Qt::Key_T, Qt::AltModifier);  // nothing to stop
    EXPECT_EQ(edit->text(), QStringLiteral("hello"));
}

TEST_F(HitList, GoToDateSelectsTheNewestEventOfTheDayOrOfTheNearestDay) {
    Start();
    EXPECT_FALSE(Enabled(ID_SEARCH_GOTO_DATE));
    tree().setCurrentItem(tree().allMembersItem());
    ASSERT_TRUE(Enabled(ID_SEARCH_GOTO_DATE));
    auto goTo = [&](const QDate& date) {
        QTimer::singleShot(0, [date] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_TRUE(dialog != nullptr);
            dialog->findChild<QDateEdit*>(QStringLiteral("goToDate"))->setDate(date);
            dialog->accept();
        });
        Trigger(ID_SEARCH_GOTO_DATE);
        return list().SelectedRows();
    };
    // Rows: 0 = 4 Feb, 1-2 = 24 Jan, 3-5 = 12 Jan 1970.
    EXPECT_EQ(goTo(QDate(1970, 1, 24)), (std::vector<int>{1}));
    EXPECT_EQ(goTo(QDate(1970, 1, 13)), (std::vector<int>{3}));
    EXPECT_EQ(goTo(QDate(2020, 1, 1)), (std::vector<int>{0}));
}

}  // namespace
