#include <QApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>

#include <gtest/gtest.h>

#include <memory>

#include "database/MessageDatabase.h"
#include "support/QtApp.h"
#include "support/QtText.h"
#include "support/QueuedPrompts.h"
#include "ui/controls/CColorEdit.h"
#include "ui/controls/Colors.h"
#include "ui/controls/CommandTable.h"
#include "ui/controls/Icons.h"
#include "ui/details/CEventDetailDialog.h"
#include "ui/list/CTalvoraView.h"
#include "ui/list/ListTestHistory.h"
#include "ui/list/ListViewFixture.h"

namespace {

class EventDetailDialogTest : public ListViewFixture {
protected:
    EventDetailDialogTest() {
        colors = {ColorRef(250, 240, 230), ColorRef(10, 20, 200), ColorRef(255, 255, 200),
                  ColorRef(0, 90, 0),      ColorRef(0, 120, 215), ColorRef(255, 255, 254)};
    }

    std::unique_ptr<CEventDetailDialog> Open() {
        auto dialog = std::make_unique<CEventDetailDialog>(*view, database, prompts);
        dialog->show();
        return dialog;
    }
    template <typename T>
    static T* Child(CEventDetailDialog& dialog, const char* name) {
        T* child = dialog.findChild<T*>(QLatin1String(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    static QString Text(CEventDetailDialog& dialog) {
        return Child<CColorEdit>(dialog, "text")->toPlainText();
    }
    static std::pair<bool, bool> Buttons(CEventDetailDialog& dialog) {
        return {Child<QPushButton>(dialog, "up")->isEnabled(),
                Child<QPushButton>(dialog, "down")->isEnabled()};
    }
    QueuedPrompts prompts;
};

TEST_F(EventDetailDialogTest, ShowsTheListsCellsForTheFirstSelectedRow) {
    history.Add(kMember, U("こんにちは\r\n二行目"), 0, 1, ListHistory::kSunday);
    AddEvents(0, 1);
    ShowView();
    Select({1});
    auto dialog = Open();
    EXPECT_EQ(dialog->windowTitle(), U("イベントの詳細"));
    EXPECT_EQ(dialog->row(), 1);
    const std::pair<const char*, int> fields[] = {
        {"type", 0}, {"date", 1}, {"time", 2}, {"name", 3}, {"uin", 5}};
    for (const auto& [name, column] : fields) {
        EXPECT_EQ(Child<QLineEdit>(*dialog, name)->text(), view->CellText(1, column)) << name;
    }
    EXPECT_EQ(Child<QLineEdit>(*dialog, "date")->text(), U("2000/03/05 日"));
    auto* text = Child<CColorEdit>(*dialog, "text");
    EXPECT_EQ(text->document()->blockCount(), 2);  // one line break, one new line
    EXPECT_EQ(text->document()->firstBlock().text(), U("こんにちは"));
    EXPECT_EQ(dialog->windowIcon().cacheKey(), Icons::EventType(view->RowImage(1)).cacheKey());
}

TEST_F(EventDetailDialogTest, ButtonsStopAtTheEndsOfTheList) {
    AddEvents(0, 3);
    ShowView();
    Select({0});
    EXPECT_EQ(Buttons(*Open()), std::make_pair(false, true));
    Select({2});
    EXPECT_EQ(Buttons(*Open()), std::make_pair(true, false));
    Select({1});
    auto dialog = Open();
    EXPECT_EQ(Buttons(*dialog), std::make_pair(true, true));
    QTest::mouseClick(Child<QPushButton>(*dialog, "down"), Qt::LeftButton);
    EXPECT_EQ(Text(*dialog), U("e0"));
    EXPECT_EQ(Buttons(*dialog), std::make_pair(true, false));
    dialog->StepUp();
    dialog->StepUp();
    EXPECT_EQ(dialog->row(), 0);
    EXPECT_EQ(Buttons(*dialog), std::make_pair(false, true));
    EXPECT_EQ(view->SelectedRows(), std::vector<int>{0});

    // A single row: neither way.
    ListHistory single;
    single.Add(kMember, U("only"));
    view->ClearList();
    database.Close();
    ASSERT_TRUE(database.Open(single.paths.data, single.paths.index));
    view->ShowMember(kMember);
    Select({0});
    EXPECT_EQ(Buttons(*Open()), std::make_pair(false, false));
}

TEST_F(EventDetailDialogTest, StepMovesOnlyTheFirstSelectedRow) {
    AddEvents(0, 10);
    ShowView();
    Select({2, 5, 7});
    auto dialog = Open();
    EXPECT_EQ(dialog->row(), 2);
    dialog->StepDown();
    EXPECT_EQ(view->SelectedRows(), (std::vector<int>{3, 5, 7}));
    dialog->StepDown();
    dialog->StepDown();
    EXPECT_EQ(view->SelectedRows(), (std::vector<int>{5, 7}));
    EXPECT_EQ(dialog->row(), 5);
}

TEST_F(EventDetailDialogTest, SteppedRowStaysWhereTheFirstOneStoodOnScreen) {
    AddEvents(0, 100);
    ShowView(10);
    view->verticalScrollBar()->setValue(20);
    QApplication::processEvents();
    ASSERT_EQ(view->TopRow(), 20);
    Select({24});  // the fifth visible line
    auto dialog = Open();
    EXPECT_EQ(dialog->pagePosition(), 5);
    for (int step = 1; step <= 6; ++step) {
        dialog->StepDown();
        EXPECT_EQ(view->TopRow(), 20 + step) << step;
    }
    for (int step = 0; step < 30; ++step) {
        dialog->StepUp();
    }
    EXPECT_EQ(dialog->row(), 0);
    EXPECT_EQ(view->TopRow(), 0);  // as far as the list can scroll
}

TEST_F(EventDetailDialogTest, HeadingAndColoursFollowTheDirection) {
    AddEvents(0, 2);  // row 0: e1 sent, row 1: e0 received
    WriterRecord broken;
    broken.uin = kMember;
    broken.text = "x";
    broken.direction = 1;
    broken.marker = 0x1234;
    history.AddRecord(kMember, broken);  // row 0 now; rows 1 and 2 as above
    ShowView();
    Select({1});
    auto dialog = Open();
    auto* group = Child<QGroupBox>(*dialog, "directionGroup");
    auto* text = Child<CColorEdit>(*dialog, "text");
    EXPECT_EQ(group->title(), U("送信イベント"));
    EXPECT_EQ(text->backColor(), colors.sendBackground);
    EXPECT_EQ(text->foreColor(), colors.sendText);
    // What is painted, not only what is stored.
    const QImage image = text->viewport()->grab().toImage();
    EXPECT_EQ(image.pixelColor(image.width() - 3, image.height() - 3),
              ToQColor(colors.sendBackground));

    dialog->StepDown();
    EXPECT_EQ(group->title(), U("受信イベント"));
    EXPECT_EQ(text->backColor(), colors.receiveBackground);
    EXPECT_EQ(text->foreColor(), colors.receiveText);

    // A record without a direction to go by is shown as received.
    dialog->StepUp();
    dialog->StepUp();
    ASSERT_EQ(dialog->row(), 0);
    EXPECT_EQ(group->title(), U("受信イベント"));
    EXPECT_EQ(text->backColor(), colors.receiveBackground);
}

TEST_F(EventDetailDialogTest, NewEventsDoNotMoveTheDialogOffItsEvent) {
    AddEvents(0, 5);
    ShowView();
    Select({0});
    auto dialog = Open();
    ASSERT_EQ(Text(*dialog), U("e4"));
    ASSERT_EQ(Buttons(*dialog), std::make_pair(false, true));

    AppendLive(5, 2);  // e5, e6 on top
    EXPECT_EQ(dialog->row(), 2);
    EXPECT_EQ(Text(*dialog), U("e4"));
    EXPECT_EQ(Buttons(*dialog), std::make_pair(true, true));
    dialog->StepUp();
    EXPECT_EQ(Text(*dialog), U("e5"));
    EXPECT_EQ(dialog->row(), 1);
    EXPECT_EQ(view->SelectedRows(), std::vector<int>{1});
    dialog->StepDown();
    dialog->StepDown();
    EXPECT_EQ(Text(*dialog), U("e3"));
}

TEST_F(EventDetailDialogTest, LongestTextIsShownWhole) {
    // The longest text field a record holds: 65,535 bytes with the terminating zero.
    QString text;
    for (int i = 0; i < 32766; ++i) {
        text += QChar(u'あ');
    }
    text += QStringLiteral("ab");  // 32766 * 2 + 2 = 65,534 bytes
    ASSERT_EQ(Sjis(text).size(), 65534u);
    history.Add(kMember, text);
    ShowView();
    Select({0});
    auto dialog = Open();
    EXPECT_EQ(Text(*dialog), text);
}

// Finds `needle` in the text box and clicks its middle.
void ClickOn(CColorEdit& edit, const QString& needle) {
    const int at = static_cast<int>(edit.toPlainText().indexOf(needle));
    ASSERT_GE(at, 0) << needle.toStdString();
    QTextCursor cursor(edit.document());
    cursor.setPosition(at + static_cast<int>(needle.size()) / 2);
    const QPoint point = edit.cursorRect(cursor).center();
    QTest::mouseClick(edit.viewport(), Qt::LeftButton, Qt::NoModifier, point);
}

TEST_F(EventDetailDialogTest, OnlyWebAddressesOpenAndOnlyThroughTheDesktop) {
    history.Add(kMember, U("見て https://example.com/a?b=1. または\r\n"
                           "C:\\Windows\\system32\\calc.exe と mailto:someone@example.com"));
    ShowView();
    Select({0});
    auto dialog = Open();
    dialog->resize(700, 400);
    QApplication::processEvents();
    auto* text = Child<CColorEdit>(*dialog, "text");

    ClickOn(*text, U("見て"));
    ClickOn(*text, U("calc.exe"));
    EXPECT_TRUE(prompts.OpenedUrls().empty());
    ClickOn(*text, U("example.com/a"));
    ClickOn(*text, U("someone"));
    EXPECT_EQ(prompts.OpenedUrls(),
              (std::vector<QUrl>{QUrl(QStringLiteral("https://example.com/a?b=1")),
                                 QUrl(QStringLiteral("mailto:someone@example.com"))}));
    // A click leaves the text as it was, selectable and copyable.
    EXPECT_EQ(text->toPlainText().left(2), U("見て"));
    text->selectAll();
    EXPECT_TRUE(text->textCursor().hasSelection());
}

TEST_F(EventDetailDialogTest, SteppingLeavesNoLinkBehindAndMailHasNoParameters) {
    history.Add(kMember, U("mailto:a@example.com?attach=/etc/passwd&body=x"));
    history.Add(kMember, U("plain words only"));
    history.Add(kMember, U("https://example.com/old"));
    ShowView();
    Select({0});
    auto dialog = Open();
    dialog->resize(700, 400);
    auto* text = Child<CColorEdit>(*dialog, "text");
    auto* down = Child<QPushButton>(*dialog, "down");
    QApplication::processEvents();
    down->click();  // from the link to the plain text
    QApplication::processEvents();
    ClickOn(*text, U("plain"));
    ClickOn(*text, U("only"));
    EXPECT_TRUE(prompts.OpenedUrls().empty());
    down->click();
    QApplication::processEvents();
    ClickOn(*text, U("example"));
    EXPECT_EQ(prompts.OpenedUrls(),
              std::vector<QUrl>{QUrl(QStringLiteral("mailto:a@example.com"))});
}

}  // namespace
