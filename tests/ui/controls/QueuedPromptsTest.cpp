#include <gtest/gtest.h>

#include "support/QtApp.h"
#include "support/QueuedPrompts.h"

namespace {

using Kind = QueuedPrompts::Kind;

TEST(QueuedPromptsTest, EachKindTakesItsOwnAnswersInOrder) {
    QueuedPrompts prompts;
    prompts.QueueButton(QMessageBox::Yes);
    prompts.QueueButton(QMessageBox::No);
    prompts.QueueSaveFileName(QStringLiteral("/tmp/a.txt"));
    prompts.QueueSaveFileName(std::nullopt);
    prompts.QueueOpenFileName(QStringLiteral("/tmp/b.idx"));
    prompts.QueueColor(QColor(Qt::red));
    prompts.QueueColor(std::nullopt);
    prompts.QueueFolder(QStringLiteral("/tmp"));
    EXPECT_EQ(prompts.PendingAnswers(), 8u);

    const auto yesNo = QMessageBox::Yes | QMessageBox::No;
    EXPECT_EQ(prompts.SaveFileName(nullptr, QString(), QString()), QStringLiteral("/tmp/a.txt"));
    EXPECT_EQ(prompts.Message(nullptr, {}, {}, Prompts::Icon::Question, yesNo), QMessageBox::Yes);
    EXPECT_EQ(prompts.Color(nullptr, Qt::black), QColor(Qt::red));
    EXPECT_EQ(prompts.Message(nullptr, {}, {}, Prompts::Icon::Question, yesNo), QMessageBox::No);
    EXPECT_EQ(prompts.SaveFileName(nullptr, QString(), QString()), std::nullopt);
    EXPECT_EQ(prompts.Folder(nullptr, QString(), QString()), QStringLiteral("/tmp"));
    EXPECT_EQ(prompts.OpenFileName(nullptr, QString()), QStringLiteral("/tmp/b.idx"));
    EXPECT_EQ(prompts.Color(nullptr, Qt::black), std::nullopt);

    EXPECT_EQ(prompts.PendingAnswers(), 0u);
    ASSERT_EQ(prompts.Calls().size(), 8u);
    for (const QueuedPrompts::Call& call : prompts.Calls()) {
        EXPECT_TRUE(call.queued);
    }
}

TEST(QueuedPromptsTest, NothingQueuedAnswersAsTheUserCancelling) {
    QueuedPrompts prompts;
    const struct {
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton answer;
    } boxes[] = {
        {QMessageBox::Ok, QMessageBox::Ok},
        {QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel},
        {QMessageBox::Yes | QMessageBox::No, QMessageBox::No},
        {QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Cancel},
        {QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore, QMessageBox::Abort},
        {QMessageBox::Retry | QMessageBox::Ignore, QMessageBox::Retry},
        {QMessageBox::NoButton, QMessageBox::Ok},
    };
    for (const auto& box : boxes) {
        EXPECT_EQ(prompts.Message(nullptr, {}, {}, Prompts::Icon::Stop, box.buttons), box.answer)
            << box.buttons.toInt();
    }
    EXPECT_EQ(prompts.SaveFileName(nullptr, QString(), QStringLiteral("txt")), std::nullopt);
    EXPECT_EQ(prompts.OpenFileName(nullptr, QString()), std::nullopt);
    EXPECT_EQ(prompts.Color(nullptr, Qt::white), std::nullopt);
    EXPECT_EQ(prompts.Folder(nullptr, QString(), QString()), std::nullopt);

    ASSERT_EQ(prompts.Calls().size(), std::size(boxes) + 4);
    for (const QueuedPrompts::Call& call : prompts.Calls()) {
        EXPECT_FALSE(call.queued);
    }
}

TEST(QueuedPromptsTest, RecordsWhatEachCallWouldHaveShown) {
    EnsureQApplication();
    QWidget window;
    QueuedPrompts prompts;
    prompts.Message(&window, QStringLiteral("Talvora"), QString::fromUtf8("名前が長すぎます"),
                    Prompts::Icon::Exclamation, QMessageBox::Ok);
    prompts.SaveFileName(&window, QStringLiteral("Text (*.txt)"), QStringLiteral("txt"));
    prompts.OpenFileName(nullptr, QStringLiteral("Index (*.idx)"));
    prompts.Color(&window, QColor(1, 2, 3));
    prompts.Folder(&window, QStringLiteral("Where?"), QStringLiteral("/home"));
    prompts.OpenUrl(QUrl(QStringLiteral("https://example.org/")));
    prompts.OpenUrl(QUrl(QStringLiteral("mailto:a@example.org")));

    const auto messages = prompts.CallsOf(Kind::Message);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].parent, &window);
    EXPECT_EQ(messages[0].caption, QStringLiteral("Talvora"));
    EXPECT_EQ(messages[0].text, QString::fromUtf8("名前が長すぎます"));
    EXPECT_EQ(messages[0].icon, Prompts::Icon::Exclamation);
    EXPECT_EQ(messages[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));

    const auto saves = prompts.CallsOf(Kind::SaveFileName);
    ASSERT_EQ(saves.size(), 1u);
    EXPECT_EQ(saves[0].filter, QStringLiteral("Text (*.txt)"));
    EXPECT_EQ(saves[0].defaultSuffix, QStringLiteral("txt"));

    const auto opens = prompts.CallsOf(Kind::OpenFileName);
    ASSERT_EQ(opens.size(), 1u);
    EXPECT_EQ(opens[0].filter, QStringLiteral("Index (*.idx)"));
    EXPECT_EQ(opens[0].parent, nullptr);

    const auto colours = prompts.CallsOf(Kind::Color);
    ASSERT_EQ(colours.size(), 1u);
    EXPECT_EQ(colours[0].initialColor, QColor(1, 2, 3));

    const auto folders = prompts.CallsOf(Kind::Folder);
    ASSERT_EQ(folders.size(), 1u);
    EXPECT_EQ(folders[0].prompt, QStringLiteral("Where?"));
    EXPECT_EQ(folders[0].initialFolder, QStringLiteral("/home"));

    EXPECT_EQ(prompts.OpenedUrls(),
              (std::vector<QUrl>{QUrl(QStringLiteral("https://example.org/")),
                                 QUrl(QStringLiteral("mailto:a@example.org"))}));
    EXPECT_EQ(prompts.Calls().size(), 7u);
    prompts.ClearCalls();
    EXPECT_TRUE(prompts.Calls().empty());
}

}  // namespace
