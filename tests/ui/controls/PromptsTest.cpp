#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QLocale>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>
#include <utility>

#include "support/ModalDialogs.h"
#include "support/QtApp.h"
#include "support/QtText.h"
#include "ui/controls/JapaneseUi.h"
#include "ui/controls/Prompts.h"

namespace {

// The save dialog's filter string of the program's resources.
const char kTextFileFilter[] = "テキスト ファイル (*.txt)|*.txt| すべてのファイル (*.*) |*.*|";

TEST(QtFilterFromResourceTest, TextFileFilterKeepsItsLabelsAndShowsEveryFile) {
    // The first label already names its pattern; the second names "*.*", which Qt would
    // take literally, so "*" follows it for Qt to read.
    EXPECT_EQ(QtFilterFromResource(U(kTextFileFilter)),
              U("テキスト ファイル (*.txt);; すべてのファイル (*.*) (*)"));
}

TEST(QtFilterFromResourceTest, PatternsReachQtWhateverTheLabelSays) {
    const struct {
        const char* resource;
        const char* qt;
    } cases[] = {
        {"Logs|*.log|", "Logs (*.log)"},                            // label without patterns
        {"Text (*.txt)|*.log|", "Text (*.txt) (*.log)"},            // label names others
        {"Text (*.txt *.log)|*.txt;*.log|", "Text (*.txt *.log)"},  // already Qt's form
        {"Text (*.txt;*.log)|*.txt; *.log|", "Text (*.txt;*.log) (*.txt *.log)"},
        {"All|*.*;*|", "All (*)"},                 // one "*" is enough
        {" |*.txt|", "*.txt"},                     // a blank label
        {"A (*.a)|*.a||B (*.b)|*.b|", "A (*.a)"},  // "||" ends the list
        {"|*.txt|", ""},                           // and so at the start
        {"A (*.a)|*.a", "A (*.a)"},                // no closing bar
        {"A (*.a)|*.a|B", "A (*.a)"},              // a label alone
        {"A|  |B (*.b)|*.b|", "B (*.b)"},          // no pattern
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(QtFilterFromResource(U(c.resource)), U(c.qt)) << c.resource;
    }
}

// Types a name into the file dialog's name field as the user would. (selectFile leaves the
// field alone once it has the focus, which makes it racy here.)
void TypeName(QFileDialog* dialog, const QString& folder, const QString& name) {
    dialog->setDirectory(folder);
    auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(edit, nullptr);
    edit->setText(name);
}

// Presses the default button (QFileDialog hides its accept() but QDialog's reaches it). A
// dialog that stays open is a failure and is closed, so that the test cannot hang.
void Accept(QDialog* dialog) {
    dialog->accept();
    if (dialog->isVisible()) {
        ADD_FAILURE() << "the dialog did not accept";
        dialog->reject();
    }
}

class DialogPromptsTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQApplication();
        ASSERT_TRUE(folder.isValid());
    }

    QString File(const QString& name) const { return folder.filePath(name); }
    void Touch(const QString& name) const {
        QFile file(File(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }

    QTemporaryDir folder;
};

TEST_F(DialogPromptsTest, MessageBoxShowsTheMappedIconCaptionAndText) {
    const struct {
        Prompts::Icon icon;
        QMessageBox::Icon shown;
    } cases[] = {{Prompts::Icon::Information, QMessageBox::Information},
                 {Prompts::Icon::Exclamation, QMessageBox::Warning},
                 {Prompts::Icon::Question, QMessageBox::Question},
                 {Prompts::Icon::Stop, QMessageBox::Critical}};
    for (const auto& c : cases) {
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QString caption;
        QString text;
        QStringList buttons;
        WhenShown<QMessageBox>([&](QMessageBox* box) {
            icon = box->icon();
            caption = box->windowTitle();
            text = box->text();
            buttons = {box->button(QMessageBox::Yes)->text(), box->button(QMessageBox::No)->text()};
            box->button(QMessageBox::No)->click();
        });
        const QMessageBox::StandardButton pressed =
            DialogPrompts().Message(nullptr, QStringLiteral("Talvora"), U("名前が長すぎます"),
                                    c.icon, QMessageBox::Yes | QMessageBox::No);
        EXPECT_EQ(pressed, QMessageBox::No);
        EXPECT_EQ(icon, c.shown);
        EXPECT_EQ(caption, QStringLiteral("Talvora"));
        EXPECT_EQ(text, U("名前が長すぎます"));
        EXPECT_EQ(buttons, (QStringList{U("はい(&Y)"), U("いいえ(&N)")}));
    }
}

TEST_F(DialogPromptsTest, SaveAddsTheDefaultSuffixOnlyToANameWithoutExtension) {
    const QString filter = QtFilterFromResource(U(kTextFileFilter));
    for (const auto& [typed, chosen] : {std::pair{"log", "log.txt"}, {"notes.md", "notes.md"}}) {
        WhenShown<QFileDialog>([&](QFileDialog* dialog) {
            TypeName(dialog, folder.path(), QString::fromLatin1(typed));
            Accept(dialog);
        });
        EXPECT_EQ(DialogPrompts().SaveFileName(nullptr, filter, QStringLiteral("txt")),
                  File(QString::fromLatin1(chosen)));
    }
}

TEST_F(DialogPromptsTest, SaveAsksBeforeReplacingTheFileThatWouldBeWritten) {
    Touch(QStringLiteral("log.txt"));
    const QString filter = QtFilterFromResource(U(kTextFileFilter));
    for (QMessageBox::StandardButton answer : {QMessageBox::No, QMessageBox::Yes}) {
        QString question;
        WhenShown<QFileDialog>([&](QFileDialog* dialog) {
            TypeName(dialog, folder.path(), QStringLiteral("log"));
            WhenShown<QMessageBox>([&](QMessageBox* box) {
                question = box->text();
                box->button(answer)->click();
            });
            static_cast<QDialog*>(dialog)->accept();
            if (dialog->isVisible()) {
                dialog->reject();  // "No" leaves the dialog open for another name
            }
        });
        const std::optional<QString> saved =
            DialogPrompts().SaveFileName(nullptr, filter, QStringLiteral("txt"));
        EXPECT_TRUE(question.contains(QStringLiteral("log.txt"))) << question.toStdString();
        if (answer == QMessageBox::Yes) {
            EXPECT_EQ(saved, File(QStringLiteral("log.txt")));
        } else {
            EXPECT_EQ(saved, std::nullopt);
        }
    }
}

TEST_F(DialogPromptsTest, AllFilesFilterShowsFilesWithoutExtensionAndKeepsTheTypedName) {
    QStringList labels;
    QStringList shown;
    QStringList patterns;
    QString typed;
    WhenShown<QFileDialog>([&](QFileDialog* dialog) {
        labels = dialog->nameFilters();
        auto* combo = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        for (int i = 0; combo != nullptr && i < combo->count(); ++i) {
            shown.append(combo->itemText(i));
        }
        TypeName(dialog, folder.path(), QStringLiteral("log.txt"));
        if (combo != nullptr) {  // chosen as the user chooses it
            combo->setCurrentIndex(1);
            emit combo->activated(1);
        }
        if (auto* model = dialog->findChild<QFileSystemModel*>()) {
            patterns = model->nameFilters();
        }
        typed = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text();
        dialog->reject();
    });
    EXPECT_EQ(DialogPrompts().SaveFileName(nullptr, QtFilterFromResource(U(kTextFileFilter)),
                                           QStringLiteral("txt")),
              std::nullopt);
    ASSERT_EQ(labels.size(), 2);
    // The labels exactly as the resource has them, nothing appended.
    EXPECT_EQ(shown, (QStringList{U("テキスト ファイル (*.txt)"), U(" すべてのファイル (*.*) ")}));
    EXPECT_TRUE(labels[0].startsWith(U("テキスト ファイル (*.txt)")));
    EXPECT_TRUE(labels[1].startsWith(U("すべてのファイル (*.*)")));
    EXPECT_EQ(patterns, QStringList{QStringLiteral("*")});
    EXPECT_EQ(typed, QStringLiteral("log.txt"));
}

TEST_F(DialogPromptsTest, OpenReturnsTheChosenFileOrNothing) {
    Touch(QStringLiteral("a.txt"));
    WhenShown<QFileDialog>([&](QFileDialog* dialog) {
        TypeName(dialog, folder.path(), QStringLiteral("a.txt"));
        Accept(dialog);
    });
    EXPECT_EQ(DialogPrompts().OpenFileName(nullptr, QStringLiteral("Text (*.txt)")),
              File(QStringLiteral("a.txt")));
    WhenShown<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
    EXPECT_EQ(DialogPrompts().OpenFileName(nullptr, QStringLiteral("Text (*.txt)")), std::nullopt);

    // The filters read as the resource labels them, without the patterns Qt needs appended.
    QStringList shown;
    WhenShown<QFileDialog>([&](QFileDialog* dialog) {
        auto* combo = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        for (int i = 0; i < combo->count(); ++i) {
            shown << combo->itemText(i);
        }
        dialog->reject();
    });
    DialogPrompts().OpenFileName(
        nullptr, QtFilterFromResource(
                     QStringLiteral("Index (*msg.idx)|*msg.idx| すべてのファイル (*.*) |*.*|")));
    EXPECT_EQ(shown, QStringList({QStringLiteral("Index (*msg.idx)"),
                                  QStringLiteral(" すべてのファイル (*.*) ")}));
}

TEST_F(DialogPromptsTest, ColourChooserStartsAtThePresetAndCancelGivesNothing) {
    const QColor preset(0x12, 0x34, 0x56);
    QColor shown;
    WhenShown<QColorDialog>([&](QColorDialog* dialog) {
        shown = dialog->currentColor();
        dialog->reject();
    });
    EXPECT_EQ(DialogPrompts().Color(nullptr, preset), std::nullopt);
    EXPECT_EQ(shown, preset);

    WhenShown<QColorDialog>([](QColorDialog* dialog) {
        dialog->setCurrentColor(Qt::red);
        Accept(dialog);
    });
    EXPECT_EQ(DialogPrompts().Color(nullptr, preset), QColor(Qt::red));
}

TEST_F(DialogPromptsTest, FolderChooserShowsThePromptAndStartsAtTheInitialFolder) {
    QString caption;
    QString start;
    WhenShown<QFileDialog>([&](QFileDialog* dialog) {
        caption = dialog->windowTitle();
        start = dialog->directory().absolutePath();
        dialog->reject();
    });
    EXPECT_EQ(DialogPrompts().Folder(nullptr, QStringLiteral("Folder prompt"), folder.path()),
              std::nullopt);
    EXPECT_EQ(caption, QStringLiteral("Folder prompt"));
    EXPECT_EQ(start, QDir(folder.path()).absolutePath());
}

TEST(JapaneseUiTest, QtsOwnTextsAndDatesAreJapaneseWhateverTheLocale) {
    EnsureQApplication();
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const bool translated = InstallJapaneseUi(*QCoreApplication::instance());
    EXPECT_EQ(QLocale().language(), QLocale::Japanese);
    EXPECT_EQ(QLocale().toString(QDate(2023, 6, 1), QLocale::LongFormat), U("2023年6月1日木曜日"));
    // Debian's qt6-translations-l10n holds qtbase_ja; the installer adds it.
    if (QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) +
                      QStringLiteral("/qtbase_ja.qm"))) {
        EXPECT_TRUE(translated);
        EXPECT_NE(QCoreApplication::translate("QFileDialog", "&Save"), QStringLiteral("&Save"));
    }
    QLocale::setDefault(before);
}

}  // namespace
