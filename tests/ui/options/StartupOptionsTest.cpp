#include <gtest/gtest.h>

#include <QTabWidget>
#include <QTreeWidgetItem>

#include <cstdio>

#include "OptionsFixture.h"
#include "database/MessageDatabase.h"
#include "settings/Settings.h"
#include "support/ModalDialogs.h"
#include "ui/controls/CommandIds.h"
#include "ui/list/CTalvoraView.h"
#include "ui/options/COptionSheet.h"
#include "ui/tree/CLeftView.h"

namespace {

using Kind = QueuedPrompts::Kind;

class StartupOptionsTest : public OptionsFixture {
protected:
    void SetUp() override {
        OptionsFixture::SetUp();
        std::remove(settingsPath_.c_str());  // first start: no settings file
        WriteRegistry(
            "[Software\\\\Harlund\\\\Velmu\\\\Owners] 1700000000\n"
            "\"LastOwner\"=dword:00001092\n");
    }

    std::int32_t SavedLocation() const {
        SettingsFile file(QString::fromStdString(settingsPath_));
        file.Read();
        return file.LoadSettings(ListColors()).location.location;
    }
};

TEST_F(StartupOptionsTest, CancelledSheetLeavesTheLocationUnsetAndNothingLoaded) {
    bool opened = false;
    int page = -1;
    WhenShown<COptionSheet>([&](COptionSheet* sheet) {
        opened = true;
        page = sheet->tabs()->currentIndex();
        sheet->reject();
    });
    prompts_.QueueFolder(QString::fromStdString(folder_.Path()));
    Start();

    ASSERT_TRUE(opened);
    EXPECT_EQ(page, 0);
    ASSERT_FALSE(prompts_.CallsOf(Kind::Message).empty());
    EXPECT_EQ(prompts_.CallsOf(Kind::Message)[0].text,
              "Velmuのログファイルが正しく指定されていません");
    EXPECT_EQ(app_->location().location, Unset);
    EXPECT_FALSE(app_->database().loaded());
    EXPECT_EQ(tree().topLevelItemCount(), 0);
    EXPECT_EQ(list().RowCount(), 0);

    app_->ExitInstance();
    EXPECT_EQ(SavedLocation(), Unset);  // asked again at the next start

    // The options command asks the same way, but its Cancel keeps the folder mode the
    // file page chose on opening.
    WhenShown<COptionSheet>([](COptionSheet* sheet) { sheet->reject(); });
    Trigger(ID_OPTIONS);
    EXPECT_EQ(prompts_.CallsOf(Kind::Message).size(), 2u);
    EXPECT_EQ(app_->location().location, DatabaseFolder);
    EXPECT_FALSE(app_->database().loaded());
}

TEST_F(StartupOptionsTest, ConfirmedSheetOpensTheChosenFolderForTheDetectedOwner) {
    WhenShown<COptionSheet>([](COptionSheet* sheet) { sheet->accept(); });
    prompts_.QueueFolder(QString::fromStdString(folder_.Path()));
    Start();

    EXPECT_EQ(prompts_.PendingAnswers(), 0u);
    EXPECT_EQ(app_->location().location, DatabaseFolder);
    EXPECT_EQ(app_->location().dbPath, QString::fromStdString(folder_.Path()));
    EXPECT_EQ(app_->location().uin, kOwner);
    EXPECT_TRUE(app_->database().loaded());
    ASSERT_NE(MemberItem(100), nullptr);
    EXPECT_EQ(MemberItem(200)->text(0), "200");  // no stored names yet
    EXPECT_EQ(tree().currentItem(), tree().membersRoot());

    app_->ExitInstance();
    EXPECT_EQ(SavedLocation(), DatabaseFolder);
}

}  // namespace
