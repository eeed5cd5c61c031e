#include "ui/options/COptionPage3.h"

#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "OptionsFixture.h"
#include "database/MessageDatabase.h"
#include "text/ShiftJis.h"
#include "ui/options/COptionSheet.h"

namespace {

using Kind = QueuedPrompts::Kind;

class MembersPageTest : public OptionsFixture {
protected:
    COptionPage3& OpenMembersPage() {
        sheet_ = MakeSheet();
        sheet_->SetActivePage(2);
        sheet_->show();
        return *sheet_->membersPage();
    }

    QTreeWidget& Rows() const { return *sheet_->membersPage()->memberList(); }

    int RowOf(std::int32_t key) const {
        for (int i = 0; i < Rows().topLevelItemCount(); ++i) {
            if (Rows().topLevelItem(i)->text(1) == QString::number(key)) {
                return i;
            }
        }
        return -1;
    }

    // Starts editing the name of member `memberKey` through the rename button and types
    // `text` over it; the editor, null when none opened.
    QLineEdit* StartEdit(std::int32_t memberKey, const QString& text) {
        // A closed editor goes only now, so this edit finds its own.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        Rows().setCurrentItem(Rows().topLevelItem(RowOf(memberKey)));
        sheet_->findChild<QPushButton*>(QStringLiteral("renameMember"))->click();
        auto* editor = Rows().viewport()->findChild<QLineEdit*>();
        if (editor != nullptr) {
            editor->setText(text);
        }
        return editor;
    }

    // Edits the name and ends the edit with `endKey`; messages about it are shown before
    // this returns.
    void EditName(std::int32_t memberKey, const QString& text, Qt::Key endKey = Qt::Key_Return) {
        QLineEdit* editor = StartEdit(memberKey, text);
        ASSERT_NE(editor, nullptr);
        QTest::keyClick(editor, endKey);
        // The commit is queued, and a refusal's message is queued behind it.
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }

    QString NameRow(std::int32_t key) const { return Rows().topLevelItem(RowOf(key))->text(0); }

    std::unique_ptr<COptionSheet> sheet_;
};

TEST_F(MembersPageTest, ListsEveryMemberWithNameAndUin) {
    Start();
    app_->database().SetMemberName(300, "tree name");  // renamed in the tree meanwhile
    OpenMembersPage();
    EXPECT_EQ(Rows().headerItem()->text(0), "名前");
    EXPECT_EQ(Rows().headerItem()->text(1), "UIN");
    QStringList rows;
    for (int i = 0; i < Rows().topLevelItemCount(); ++i) {
        rows << Rows().topLevelItem(i)->text(0) + u'|' + Rows().topLevelItem(i)->text(1);
    }
    EXPECT_EQ(rows,
              (QStringList{"-1|-1", "0|0", "-|1", "-|10", "100|100", "花子|200", "tree name|300"}));
    const int half = Rows().width() / 2 - 10;
    EXPECT_EQ(Rows().columnWidth(0), half);
    EXPECT_EQ(Rows().columnWidth(1), half);
}

TEST_F(MembersPageTest, NamesAreHeldToTwentyBytesOfShiftJis) {
    Start();
    OpenMembersPage();
    const QString twenty = QStringLiteral("あいうえおかきくけこ");
    EditName(100, twenty);
    EXPECT_EQ(NameRow(100), twenty);
    EXPECT_TRUE(sheet_->applyButton()->isEnabled());
    EXPECT_TRUE(prompts_.Calls().empty());

    EditName(100, twenty + u'a');
    EditName(100, QStringLiteral("한국"));
    const auto messages = prompts_.CallsOf(Kind::Message);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].text, "名前が長すぎます");
    EXPECT_EQ(messages[0].icon, Prompts::Icon::Exclamation);
    EXPECT_EQ(messages[1].text, "この名前には使えない文字が含まれています");
    EXPECT_EQ(NameRow(100), twenty);
    EXPECT_EQ(app_->database().MemberName(100), "100");  // not before the commit

    sheet_->applyButton()->click();
    EXPECT_EQ(app_->database().MemberName(100), ToShiftJis(twenty).value());
    EXPECT_EQ(MemberItem(100)->text(0), twenty);
}

TEST_F(MembersPageTest, AClearedNameGivesTheDefaultNameBack) {
    Start();
    OpenMembersPage();
    EditName(200, QString());
    EditName(1, QString());
    EXPECT_TRUE(NameRow(200).isEmpty());
    sheet_->accept();
    EXPECT_EQ(app_->database().MemberName(200), "200");
    EXPECT_EQ(app_->database().MemberName(1), "-");
    EXPECT_EQ(MemberItem(200)->text(0), "200");
}

TEST_F(MembersPageTest, CancelAndAbandonedEditsChangeNothing) {
    Start();
    OpenMembersPage();
    EditName(300, QStringLiteral("gone"), Qt::Key_Escape);
    EXPECT_EQ(NameRow(300), "300");
    EXPECT_TRUE(sheet_->applyButton()->isEnabled());  // an abandoned edit still counts

    EditName(100, QStringLiteral("x"));
    sheet_->reject();
    EXPECT_EQ(app_->database().MemberName(100), "100");
    EXPECT_EQ(MemberItem(100)->text(0), "100");
}

TEST_F(MembersPageTest, RenameWithoutASelectionDoesNothing) {
    Start();
    OpenMembersPage();
    Rows().clearSelection();
    Rows().setCurrentItem(nullptr);
    sheet_->findChild<QPushButton*>(QStringLiteral("renameMember"))->click();
    EXPECT_EQ(Rows().viewport()->findChild<QLineEdit*>(), nullptr);
    EXPECT_FALSE(sheet_->applyButton()->isEnabled());
}

TEST_F(MembersPageTest, NoDatabaseGivesAnEmptyList) {
    Start();
    app_->database().Close();
    OpenMembersPage();
    EXPECT_EQ(Rows().topLevelItemCount(), 0);
    sheet_->accept();  // applies nothing, refreshes the tree
}

TEST_F(MembersPageTest, ANameLeftOpenByOkIsAppliedOrRefusedWithTheSheetKeptOpen) {
    Start();
    OpenMembersPage();
    auto* ok = sheet_->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    auto leaveWithOk = [&](std::int32_t key, const QString& text) {
        ASSERT_NE(StartEdit(key, text), nullptr);
        QTest::mouseClick(ok, Qt::LeftButton);
    };
    leaveWithOk(100, QStringLiteral("あいうえおかきくけこa"));
    ASSERT_EQ(prompts_.CallsOf(Kind::Message).size(), 1u);
    EXPECT_EQ(prompts_.CallsOf(Kind::Message)[0].text, "名前が長すぎます");
    EXPECT_TRUE(sheet_->isVisible());
    EXPECT_EQ(app_->database().MemberName(100), "100");
    QCoreApplication::processEvents();  // no second message comes after
    EXPECT_EQ(prompts_.CallsOf(Kind::Message).size(), 1u);

    leaveWithOk(300, QStringLiteral("한국"));
    ASSERT_EQ(prompts_.CallsOf(Kind::Message).size(), 2u);
    EXPECT_TRUE(sheet_->isVisible());

    leaveWithOk(300, QStringLiteral("ok"));
    EXPECT_FALSE(sheet_->isVisible());
    EXPECT_EQ(app_->database().MemberName(300), "ok");
    EXPECT_EQ(prompts_.CallsOf(Kind::Message).size(), 2u);
}

TEST_F(MembersPageTest, AltLetterOfTheDisabledApplyTypesNothing) {
    Start();
    OpenMembersPage();
    ASSERT_FALSE(sheet_->applyButton()->isEnabled());
    QLineEdit* editor = StartEdit(100, QStringLiteral("x"));
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(editor, Qt::Key_A, Qt::AltModifier);
    EXPECT_EQ(editor->text(), "x");
}

}  // namespace
