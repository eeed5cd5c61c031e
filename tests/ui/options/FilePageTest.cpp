#include "ui/options/COptionPage1.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidgetItem>

#include <filesystem>
#include <fstream>

#include "OptionsFixture.h"
#include "database/LocalTime.h"
#include "database/MessageDatabase.h"
#include "ui/options/COptionSheet.h"
#include "ui/tree/CLeftView.h"

namespace {

using Kind = QueuedPrompts::Kind;

const QByteArray kPrefs = "[Software\\\\Harlund\\\\Velmu\\\\DefaultPrefs] 1700000000\n";
const QByteArray kOwners = "[Software\\\\Harlund\\\\Velmu\\\\Owners] 1700000000\n";

QByteArray DataBaseValue(const std::string& folder) {
    return "\"DataBase\"=\"" + OptionsFixture::RegistryPath(folder) + "\"\n";
}

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// A second history: owner 777 with member 200 (stored name 花子 in the settings) and 500.
HistoryPaths WriteOtherHistory(const std::string& folder, std::int32_t owner = 777) {
    std::filesystem::create_directories(folder);
    const HistoryPaths paths = HistoryPathsFor(folder, owner);
    auto writer = HistoryWriter::Create(paths.data, paths.index);
    for (std::int32_t key : {200, 500}) {
        WriterRecord r;
        r.uin = key;
        r.text = "elsewhere";
        r.stamp = 5000000;
        writer->AppendEvent(key, r);
    }
    return paths;
}

class FilePageTest : public OptionsFixture {
protected:
    COptionPage1& OpenFilePage() {
        sheet_ = MakeSheet();
        sheet_->SetActivePage(0);
        return *sheet_->filePage();
    }

    // The four controls of each mode: enabled as a group.
    static void ExpectModeControls(const COptionPage1& page, bool folderOn, bool filesOn) {
        for (const char* name : {"folderEdit", "folderBrowse", "uinEdit", "readSettings"}) {
            EXPECT_EQ(page.findChild<QWidget*>(QString::fromLatin1(name))->isEnabled(), folderOn)
                << name;
        }
        for (const char* name : {"dataEdit", "dataBrowse", "indexEdit", "indexBrowse"}) {
            EXPECT_EQ(page.findChild<QWidget*>(QString::fromLatin1(name))->isEnabled(), filesOn)
                << name;
        }
    }

    // The location the sheet starts from, as a stored or chosen one is kept.
    void ChooseLocation(std::int32_t mode, const std::string& data = std::string(),
                        const std::string& index = std::string()) {
        LocationSettings location = app_->location();
        location.location = mode;
        location.msgDatFile = Q(data);
        location.msgIdxFile = Q(index);
        app_->document().Open(location);
    }

    void Click(const char* name) {
        sheet_->findChild<QPushButton*>(QString::fromLatin1(name))->click();
    }

    std::unique_ptr<COptionSheet> sheet_;
};

TEST_F(FilePageTest, OpensOnTheLocationItIsGiven) {
    Start();
    COptionPage1& folderPage = OpenFilePage();
    EXPECT_EQ(sheet_->windowTitle(), "環境設定");
    EXPECT_TRUE(folderPage.folderMode()->isChecked());
    EXPECT_EQ(folderPage.folderEdit()->text(), Q(folder_.Path()));
    EXPECT_EQ(folderPage.uinEdit()->text(), "4242");
    ExpectModeControls(folderPage, true, false);
    EXPECT_TRUE(sheet_->applyButton()->isEnabled());  // choosing the mode counts as a change

    ChooseLocation(LogFiles, paths_.data, paths_.index);
    COptionPage1& filesPage = OpenFilePage();
    EXPECT_TRUE(filesPage.filesMode()->isChecked());
    EXPECT_EQ(filesPage.dataEdit()->text(), Q(paths_.data));
    EXPECT_EQ(filesPage.indexEdit()->text(), Q(paths_.index));
    ExpectModeControls(filesPage, false, true);

    // A value the program does not know: no mode, everything open, nothing changed.
    ChooseLocation(7);
    COptionPage1& otherPage = OpenFilePage();
    EXPECT_FALSE(otherPage.folderMode()->isChecked());
    EXPECT_FALSE(otherPage.filesMode()->isChecked());
    ExpectModeControls(otherPage, true, true);
    EXPECT_FALSE(sheet_->applyButton()->isEnabled());
    EXPECT_TRUE(prompts_.Calls().empty());

    // The radio buttons switch the groups.
    otherPage.filesMode()->click();
    ExpectModeControls(otherPage, false, true);
    otherPage.folderMode()->click();
    ExpectModeControls(otherPage, true, false);
    EXPECT_TRUE(sheet_->applyButton()->isEnabled());
}

TEST_F(FilePageTest, UnsetLocationWarnsAndBrowsesFromTheDetectedFolder) {
    Start();
    WriteRegistry(kPrefs + DataBaseValue(folder_.Path()) + kOwners +
                  "\"LastOwner\"=dword:00001092\n");
    ChooseLocation(Unset);
    prompts_.QueueFolder(Q(folder_.Path()));
    COptionPage1& page = OpenFilePage();

    const auto messages = prompts_.CallsOf(Kind::Message);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "Velmuのログファイルが正しく指定されていません");
    EXPECT_EQ(messages[0].icon, Prompts::Icon::Exclamation);
    EXPECT_EQ(messages[0].buttons, QMessageBox::Ok);
    const auto folders = prompts_.CallsOf(Kind::Folder);
    ASSERT_EQ(folders.size(), 1u);
    EXPECT_EQ(folders[0].prompt, "Velmuのデータベースフォルダを選択してください");
    EXPECT_EQ(folders[0].initialFolder, Q(folder_.Path()));

    EXPECT_EQ(app_->location().location, DatabaseFolder);  // at once, before any commit
    EXPECT_TRUE(page.folderMode()->isChecked());
    ExpectModeControls(page, true, false);
    EXPECT_EQ(page.folderEdit()->text(), Q(folder_.Path()));
    EXPECT_EQ(page.uinEdit()->text(), "4242");

    // Nothing detected and the browser cancelled: from the home folder, both edits empty.
    WriteRegistry(QByteArray());
    ChooseLocation(Unset);
    prompts_.ClearCalls();
    COptionPage1& cancelled = OpenFilePage();
    ASSERT_EQ(prompts_.CallsOf(Kind::Folder).size(), 1u);
    EXPECT_EQ(prompts_.CallsOf(Kind::Folder)[0].initialFolder, QDir::homePath());
    EXPECT_TRUE(cancelled.folderEdit()->text().isEmpty());
    EXPECT_TRUE(cancelled.uinEdit()->text().isEmpty());
    EXPECT_EQ(app_->location().location, DatabaseFolder);
}

TEST_F(FilePageTest, BrowsersFillTheirEditsAndSuggestTheIndex) {
    Start();
    COptionPage1& page = OpenFilePage();
    page.filesMode()->click();

    prompts_.QueueOpenFileName(QStringLiteral("/logs/v2.1/12345msg.dat"));
    Click("dataBrowse");
    EXPECT_EQ(page.dataEdit()->text(), "/logs/v2.1/12345msg.dat");
    EXPECT_EQ(page.indexEdit()->text(), "/logs/v2.1/12345msg.idx");
    ASSERT_EQ(prompts_.CallsOf(Kind::OpenFileName).size(), 1u);
    EXPECT_EQ(prompts_.CallsOf(Kind::OpenFileName)[0].filter,
              "Velmuログデータファイル (*msg.dat);; すべてのファイル (*.*) (*)");

    prompts_.QueueOpenFileName(QStringLiteral("/other/old.idx"));
    Click("indexBrowse");
    EXPECT_EQ(page.indexEdit()->text(), "/other/old.idx");
    EXPECT_EQ(prompts_.CallsOf(Kind::OpenFileName)[1].filter,
              "Velmuログインデックスファイル (*msg.idx);; すべてのファイル (*.*) (*)");

    Click("dataBrowse");  // cancelled: both edits stay
    EXPECT_EQ(page.dataEdit()->text(), "/logs/v2.1/12345msg.dat");
    EXPECT_EQ(page.indexEdit()->text(), "/other/old.idx");

    // The folder browser starts at the edit's folder.
    page.folderMode()->click();
    prompts_.QueueFolder(QStringLiteral("/chosen"));
    Click("folderBrowse");
    EXPECT_EQ(prompts_.CallsOf(Kind::Folder).back().initialFolder, Q(folder_.Path()));
    EXPECT_EQ(page.folderEdit()->text(), "/chosen");
}

TEST_F(FilePageTest, TheSuggestedIndexTakesTheLetterCaseOfTheFolder) {
    Start();
    const HistoryPaths lower = WriteOtherHistory(folder_.File("upper"), 31415926);
    const QString data = Q(folder_.File("upper/31415926MSG.DAT"));
    const QString index = Q(folder_.File("upper/31415926MSG.IDX"));
    std::filesystem::rename(lower.data, data.toStdString());
    std::filesystem::rename(lower.index, index.toStdString());
    COptionPage1& page = OpenFilePage();
    page.filesMode()->click();
    prompts_.QueueOpenFileName(data);
    Click("dataBrowse");
    EXPECT_EQ(page.indexEdit()->text(), index);
    sheet_->accept();
    EXPECT_EQ(app_->location().msgIdxFile, index);
    EXPECT_TRUE(app_->database().loaded());
}

TEST(DerivedIndexPathTest, ReplacesTheFileNamesExtension) {
    EXPECT_EQ(DerivedIndexPath(QStringLiteral("/a/12345msg.dat")), "/a/12345msg.idx");
    EXPECT_EQ(DerivedIndexPath(QStringLiteral("/a/b.c.dat")), "/a/b.c.idx");
    // A dot in a folder's name is not the file's extension.
    EXPECT_EQ(DerivedIndexPath(QStringLiteral("/home/u/.wine/12345msgdat")),
              "/home/u/.wine/12345msgdat.idx");
}

TEST_F(FilePageTest, UinEditTakesTenDigitsAndWrapsLikeTheFileNames) {
    Start();
    COptionPage1& page = OpenFilePage();
    page.uinEdit()->clear();
    QTest::keyClicks(page.uinEdit(), QStringLiteral("12a-34567890123"));
    EXPECT_EQ(page.uinEdit()->text(), "1234567890");

    EXPECT_EQ(UinFromText(QString()), 0);
    EXPECT_EQ(UinFromText(QStringLiteral("2147483647")), 2147483647);
    EXPECT_EQ(UinFromText(QStringLiteral("2147483648")), -2147483647 - 1);
    EXPECT_EQ(UinFromText(QStringLiteral("4294967295")), -1);
    EXPECT_EQ(UinFromText(QStringLiteral("9999999999")), 1410065407);
    EXPECT_EQ(UinFromText(UinText(-5)), -5);

    page.uinEdit()->setText(QStringLiteral("4294967295"));
    sheet_->Apply();
    EXPECT_EQ(app_->location().uin, -1);
    EXPECT_EQ(app_->location().dbPath, Q(folder_.Path()));
}

TEST_F(FilePageTest, CommittingTheOpenPairReloadsNothing) {
    Start();
    app_->database().SetMemberName(100, "renamed");
    tree().RefreshNames();
    QTreeWidgetItem* item = MemberItem(100);
    tree().setCurrentItem(item);
    OpenFilePage();
    sheet_->accept();
    EXPECT_EQ(sheet_->result(), QDialog::Accepted);
    EXPECT_EQ(MemberItem(100), item);  // the tree was not rebuilt
    EXPECT_EQ(tree().currentItem(), item);
    EXPECT_EQ(app_->database().MemberName(100), "renamed");
}

TEST_F(FilePageTest, CommittingANewPairRebuildsTheTreeWithStoredNames) {
    Start();
    const HistoryPaths other = WriteOtherHistory(folder_.File("other"));
    COptionPage1& page = OpenFilePage();
    page.folderEdit()->setText(Q(folder_.File("other")));
    page.uinEdit()->setText(QStringLiteral("777"));
    ASSERT_TRUE(sheet_->applyButton()->isEnabled());
    sheet_->applyButton()->click();

    EXPECT_FALSE(sheet_->applyButton()->isEnabled());
    EXPECT_EQ(app_->location().location, DatabaseFolder);
    EXPECT_EQ(app_->location().uin, 777);
    EXPECT_EQ(app_->database().dataPath(), other.data);
    EXPECT_EQ(MemberItem(100), nullptr);
    ASSERT_NE(MemberItem(500), nullptr);
    ASSERT_NE(MemberItem(200), nullptr);
    EXPECT_EQ(MemberItem(200)->text(0), "花子");
    EXPECT_EQ(tree().currentItem(), tree().membersRoot());
}

TEST_F(FilePageTest, LogFilesAreKeptWholeHoweverLongTheirPaths) {
    Start();
    std::string deep = folder_.Path();
    for (int i = 0; i < 6; ++i) {
        deep += "/" + std::string(60, static_cast<char>('a' + i));
    }
    const HistoryPaths other = WriteOtherHistory(deep, 31415926);
    ASSERT_GT(other.data.size(), 400u);
    COptionPage1& page = OpenFilePage();
    page.filesMode()->click();
    page.dataEdit()->setText(Q(other.data));
    page.indexEdit()->setText(Q(other.index));
    sheet_->accept();

    EXPECT_EQ(app_->location().location, LogFiles);
    EXPECT_EQ(app_->location().msgDatFile, Q(other.data));
    EXPECT_EQ(app_->location().msgIdxFile, Q(other.index));
    EXPECT_TRUE(app_->database().loaded());
    EXPECT_EQ(app_->database().dataPath(), other.data);
    EXPECT_NE(MemberItem(500), nullptr);
}

TEST_F(FilePageTest, ReadingTheMessengersSettingsFollowsWhatItFinds) {
    Start();
    COptionPage1& page = OpenFilePage();
    page.folderEdit()->setText(QStringLiteral("/before"));
    page.uinEdit()->setText(QStringLiteral("1"));
    WriteRegistry(kPrefs + DataBaseValue("/found") + kOwners + "\"LastOwner\"=dword:ffffffff\n");

    prompts_.QueueButton(QMessageBox::No);
    Click("readSettings");
    EXPECT_EQ(prompts_.CallsOf(Kind::Message).size(), 1u);
    EXPECT_EQ(prompts_.CallsOf(Kind::Message)[0].text, "Velmuの設定を読みこんでよろしいですか");
    EXPECT_EQ(prompts_.CallsOf(Kind::Message)[0].icon, Prompts::Icon::Question);
    EXPECT_EQ(prompts_.CallsOf(Kind::Message)[0].buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(page.folderEdit()->text(), "/before");

    // Both values found. The owner's number is shown as the digits it is named by.
    prompts_.QueueButton(QMessageBox::Yes);
    Click("readSettings");
    EXPECT_EQ(page.folderEdit()->text(), "/found");
    EXPECT_EQ(page.uinEdit()->text(), "4294967295");
    EXPECT_EQ(UinFromText(page.uinEdit()->text()), -1);

    // No Owners key: a success with the folder alone; the UIN stays.
    WriteRegistry(kPrefs + DataBaseValue("/found2"));
    prompts_.QueueButton(QMessageBox::Yes);
    Click("readSettings");
    EXPECT_EQ(page.folderEdit()->text(), "/found2");
    EXPECT_EQ(page.uinEdit()->text(), "4294967295");

    // The DefaultPrefs key without its "DataBase": the failure message, edits kept.
    WriteRegistry(kPrefs + "\"Other\"=\"x\"\n" + kOwners + "\"LastOwner\"=dword:00000001\n");
    prompts_.ClearCalls();
    prompts_.QueueButton(QMessageBox::Yes);
    Click("readSettings");
    const auto messages = prompts_.CallsOf(Kind::Message);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1].text, "Velmuの設定を読み込めませんでした\n調べた場所: " +
                                    winePrefix_.filePath(QStringLiteral("user.reg")));
    EXPECT_EQ(messages[1].icon, Prompts::Icon::Stop);
    EXPECT_EQ(messages[1].buttons, QMessageBox::Ok);
    EXPECT_EQ(page.folderEdit()->text(), "/found2");
    EXPECT_EQ(page.uinEdit()->text(), "4294967295");

    // An empty prefix (no user.reg): said, with the place looked at; the edits stay.
    QTemporaryDir empty;
    qputenv("WINEPREFIX", QFile::encodeName(empty.path()));
    prompts_.ClearCalls();
    prompts_.QueueButton(QMessageBox::Yes);
    Click("readSettings");
    const auto notFound = prompts_.CallsOf(Kind::Message);
    ASSERT_EQ(notFound.size(), 2u);
    EXPECT_EQ(notFound[1].text, "Velmuの設定が見つかりませんでした\n調べた場所: " +
                                    empty.filePath(QStringLiteral("user.reg")));
    EXPECT_EQ(notFound[1].icon, Prompts::Icon::Information);
    EXPECT_EQ(notFound[1].buttons, QMessageBox::Ok);
    EXPECT_EQ(page.folderEdit()->text(), "/found2");
}

}  // namespace

namespace {

// The zone is refused when the system does not know it, and otherwise goes with the
// location: the times shown change at once and the settings file keeps it.
TEST_F(FilePageTest, TheTimeZoneIsCheckedAndGoesWithTheLocation) {
    Start();
    COptionPage1& page = OpenFilePage();
    EXPECT_EQ(page.timeZone()->currentText(), QStringLiteral("このコンピューターの設定"));
    page.timeZone()->setCurrentText(QStringLiteral("Mars/Base"));
    EXPECT_FALSE(sheet_->Apply());
    ASSERT_EQ(prompts_.CallsOf(Kind::Message).size(), 1u);
    EXPECT_TRUE(prompts_.CallsOf(Kind::Message)[0].text.contains(QStringLiteral("Mars/Base")));
    EXPECT_TRUE(app_->location().timeZone.isEmpty());

    page.timeZone()->setCurrentText(QStringLiteral("America/New_York"));
    ASSERT_TRUE(sheet_->Apply());
    EXPECT_EQ(app_->location().timeZone, QStringLiteral("America/New_York"));
    EventRecord record;
    ASSERT_TRUE(app_->database().ReadEvent(ALL_MEMBERS, 0, record));
    EXPECT_EQ(ShownOffset(record.time, record.timeValue) % 3600, 0);
    EXPECT_LT(ShownOffset(record.time, record.timeValue), -3 * 3600);  // -05:00 or -04:00
    app_->ExitInstance();
    std::ifstream stored(settingsPath_);
    const std::string text((std::istreambuf_iterator<char>(stored)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("Time Zone=America/New_York"), std::string::npos) << text;
    app_->document().Open(LocationSettings{});  // back to the machine's zone
}

}  // namespace
