#include "ui/options/COptionPage2.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>

#include "OptionsFixture.h"
#include "ui/controls/CColorLabel.h"
#include "ui/controls/Colors.h"
#include "ui/list/CTalvoraView.h"
#include "ui/options/COptionSheet.h"

namespace {

using Kind = QueuedPrompts::Kind;

ListColors Custom() {
    ListColors colors;
    colors.sendBackground = ColorRef(1, 2, 3);
    colors.sendText = ColorRef(4, 5, 6);
    colors.receiveBackground = ColorRef(7, 8, 9);
    colors.receiveText = ColorRef(10, 11, 12);
    colors.highlightBackground = ColorRef(13, 14, 15);
    colors.highlightText = ColorRef(16, 17, 18);
    return colors;
}

class ColorPageTest : public OptionsFixture {
protected:
    COptionPage2& OpenColorPage() {
        app_->document().SetColors(Custom());
        sheet_ = MakeSheet();
        sheet_->SetActivePage(1);
        return *sheet_->colorPage();
    }

    void Click(const char* name) {
        sheet_->findChild<QPushButton*>(QString::fromLatin1(name))->click();
    }

    std::unique_ptr<COptionSheet> sheet_;
};

TEST_F(ColorPageTest, SamplesShowTheListsColours) {
    Start();
    COptionPage2& page = OpenColorPage();
    EXPECT_EQ(page.sample(0)->text(), "送信イベント");
    EXPECT_EQ(page.sample(1)->text(), "受信イベント");
    EXPECT_EQ(page.sample(2)->text(), "選択項目");
    const ListColors c = Custom();
    const std::uint32_t expected[3][2] = {{c.sendText, c.sendBackground},
                                          {c.receiveText, c.receiveBackground},
                                          {c.highlightText, c.highlightBackground}};
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(page.sample(row)->foreColor(), expected[row][0]) << row;
        EXPECT_EQ(page.sample(row)->backColor(), expected[row][1]) << row;
    }
    EXPECT_FALSE(sheet_->applyButton()->isEnabled());

    // OK without changes gives the same colours back.
    sheet_->accept();
    EXPECT_EQ(list().listColors(), Custom());
}

TEST_F(ColorPageTest, AChosenColourReplacesOnlyItsOwnAndApplyRecolours) {
    Start();
    COptionPage2& page = OpenColorPage();
    prompts_.QueueColor(QColor(200, 0, 0));
    Click("receivedBackground");
    const auto chooser = prompts_.CallsOf(Kind::Color);
    ASSERT_EQ(chooser.size(), 1u);
    EXPECT_EQ(chooser[0].initialColor, ToQColor(Custom().receiveBackground));  // preset
    EXPECT_EQ(page.sample(1)->backColor(), ColorRef(200, 0, 0));
    EXPECT_EQ(list().listColors(), Custom());  // not before the commit
    ASSERT_TRUE(sheet_->applyButton()->isEnabled());

    Click("selectedText");  // cancelled: nothing changes
    EXPECT_EQ(page.colors().highlightText, Custom().highlightText);

    sheet_->applyButton()->click();
    ListColors expected = Custom();
    expected.receiveBackground = ColorRef(200, 0, 0);
    EXPECT_EQ(list().listColors(), expected);
    EXPECT_FALSE(sheet_->applyButton()->isEnabled());
}

TEST_F(ColorPageTest, RestoringIsNoChangeForApplyButOkAppliesIt) {
    Start();
    const ListColors standard = PaletteListColors(QApplication::palette());
    COptionPage2& page = OpenColorPage();

    Click("restoreColors");  // answered No
    const auto asked = prompts_.CallsOf(Kind::Message);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text, "標準の色に戻してよろしいですか");
    EXPECT_EQ(asked[0].icon, Prompts::Icon::Question);
    EXPECT_EQ(asked[0].buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(page.colors(), Custom());

    prompts_.QueueButton(QMessageBox::Yes);
    Click("restoreColors");
    EXPECT_EQ(page.colors(), standard);
    EXPECT_EQ(page.sample(0)->backColor(), standard.sendBackground);
    EXPECT_EQ(page.sample(2)->foreColor(), standard.highlightText);
    EXPECT_FALSE(sheet_->applyButton()->isEnabled());

    sheet_->reject();  // Cancel: the list keeps its colours
    EXPECT_EQ(list().listColors(), Custom());

    COptionPage2& again = OpenColorPage();
    prompts_.QueueButton(QMessageBox::Yes);
    again.RestoreStandardColors();
    sheet_->accept();
    EXPECT_EQ(list().listColors(), standard);
}

}  // namespace
