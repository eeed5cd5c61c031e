#include <QApplication>
#include <QImage>
#include <QWidget>

#include <gtest/gtest.h>

#include "support/QtApp.h"
#include "support/QueuedPrompts.h"
#include "ui/controls/CColorLabel.h"
#include "ui/controls/CFolderDialog.h"
#include "ui/controls/Colors.h"

namespace {

TEST(ColorLabelTest, PaintsTheTextColourOnTheBackground) {
    EnsureQApplication();
    CColorLabel label(QStringLiteral("■■■■"));
    label.resize(120, 30);
    label.SetBackColor(ColorRef(0, 0, 255));
    label.SetForeColor(ColorRef(255, 0, 0));
    const QImage image = label.grab().toImage();
    EXPECT_EQ(image.pixelColor(1, 1), QColor(0, 0, 255));
    bool textSeen = false;
    for (int x = 0; x < image.width() && !textSeen; ++x) {
        textSeen = image.pixelColor(x, image.height() / 2) == QColor(255, 0, 0);
    }
    EXPECT_TRUE(textSeen);
}

TEST(FolderDialogTest, GivesTheChosenFolderOrCancel) {
    EnsureQApplication();
    QueuedPrompts prompts;
    QWidget owner;
    CFolderDialog dialog(prompts, QStringLiteral("フォルダを選んでください"),
                         QStringLiteral("/old"), &owner);
    EXPECT_EQ(dialog.selectedFolder(), QStringLiteral("/old"));
    prompts.QueueFolder(QStringLiteral("/new"));
    EXPECT_EQ(dialog.DoModal(), 1);
    EXPECT_EQ(dialog.selectedFolder(), QStringLiteral("/new"));
    const QueuedPrompts::Call call = prompts.CallsOf(QueuedPrompts::Kind::Folder)[0];
    EXPECT_EQ(call.prompt, QStringLiteral("フォルダを選んでください"));
    EXPECT_EQ(call.initialFolder, QStringLiteral("/old"));
    EXPECT_EQ(call.parent, &owner);

    prompts.QueueFolder(std::nullopt);
    EXPECT_EQ(dialog.DoModal(), 2);
    EXPECT_EQ(dialog.selectedFolder(), QStringLiteral("/old"));

    CFolderDialog bare(prompts);
    EXPECT_EQ(bare.DoModal(), 2);  // nothing queued: cancelled
    EXPECT_TRUE(prompts.CallsOf(QueuedPrompts::Kind::Folder).back().prompt.isEmpty());
}

}  // namespace
