#include "settings/Settings.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <string>

#include "database/MessageDatabase.h"
#include "historywriter/HistoryWriter.h"

namespace {

// "テスト" in UTF-8 and in Shift-JIS.
const QByteArray kTestUtf8 = "\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88";
const std::string kTestSjis = "\x83\x65\x83\x58\x83\x67";

const ListColors kDefaults{1, 2, 3, 4, 5, 6};

QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every member's display name as the window saves them (a member without one: its default).
std::map<std::int32_t, std::string> NamesOf(MessageDatabase& database) {
    std::map<std::int32_t, std::string> names;
    for (bool more = database.FirstMember(); more; more = database.NextMember()) {
        const std::string& name = database.CurrentName();
        names[database.CurrentKey()] =
            name.empty() ? MessageDatabase::DefaultMemberName(database.CurrentKey()) : name;
    }
    return names;
}

bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString Path() const { return dir.filePath(QStringLiteral("Talvora.ini")); }

    // A settings file with `bytes`, read.
    SettingsFile Stored(const QByteArray& bytes) {
        EXPECT_TRUE(WriteBytes(Path(), bytes));
        SettingsFile file(Path());
        file.Read();
        return file;
    }

    // A database with events from members 777 and 12345 (plus the fixed members).
    bool OpenDatabase(MessageDatabase& database) {
        const HistoryPaths paths =
            HistoryPathsFor(QDir(dir.path()).filePath(QStringLiteral("db")).toStdString(), 4);
        if (!QDir().mkpath(dir.filePath(QStringLiteral("db")))) {
            return false;
        }
        std::optional<HistoryWriter> writer = HistoryWriter::Create(paths.data, paths.index);
        if (!writer) {
            return false;
        }
        for (const std::int32_t key : {777, 12345}) {
            WriterRecord record;
            record.uin = key;
            record.text = "hi";
            writer->AppendEvent(key, record);
        }
        return writer->Ok() && database.Open(paths.data, paths.index) && database.loaded();
    }

    QTemporaryDir dir;
};

TEST_F(SettingsFileTest, NoFileGivesDefaults) {
    SettingsFile file(Path());
    EXPECT_EQ(file.Read(), SettingsFileState::Missing);
    const StoredSettings settings = file.LoadSettings(kDefaults);
    EXPECT_EQ(settings.location, LocationSettings{});
    EXPECT_EQ(settings.location.location, Unset);
    EXPECT_EQ(settings.colors, kDefaults);

    const ListColors cli = CliDefaultColors();
    EXPECT_EQ(cli.sendBackground, 16777215u);
    EXPECT_EQ(cli.receiveText, 0u);
    EXPECT_EQ(cli.highlightBackground, 0x00D77800u);
    EXPECT_EQ(cli.highlightText, 16777215u);
}

TEST_F(SettingsFileTest, UnknownLocationIsKeptAndPathKeysAreLeftAlone) {
    const QByteArray logFile =
        "[Log File]\nLocation=7\nDB Path=/a\nUIN=5\nMsgIdx File=/b.idx\nMsgDat File=/b.dat\n";
    SettingsFile file = Stored(logFile);
    StoredSettings settings = file.LoadSettings(kDefaults);
    EXPECT_EQ(settings.location.location, 7);
    EXPECT_EQ(settings.location.uin, 5);
    EXPECT_EQ(settings.location.msgDatFile, QStringLiteral("/b.dat"));

    settings.location.dbPath = QStringLiteral("/changed");
    ASSERT_TRUE(file.SaveSettings(settings.location, settings.colors, {}).ok);
    EXPECT_TRUE(ReadBytes(Path()).startsWith(logFile + "\n[Color]\nSend Background=1\n"));
}

TEST_F(SettingsFileTest, SavingWritesOnlyTheKeysOfTheMode) {
    const QByteArray both =
        "[Log File]\nLocation=0\nDB Path=/old\nUIN=5\nMsgIdx File=/b.idx\nMsgDat File=/b.dat\n";
    SettingsFile file = Stored(both);
    LocationSettings folder{DatabaseFolder,          12345,
                            QStringLiteral("/logs"), QStringLiteral("/x"),
                            QStringLiteral("/y"),    {}};
    ASSERT_TRUE(file.SaveSettings(folder, kDefaults, {}).ok);
    EXPECT_TRUE(
        ReadBytes(Path()).startsWith("[Log File]\nLocation=0\nDB Path=/logs\nUIN=12345\n\n"));

    WriteBytes(Path(), both);
    LocationSettings files{LogFiles,
                           12345,
                           QStringLiteral("/logs"),
                           QStringLiteral("/i.idx"),
                           QStringLiteral("/d.dat"),
                           {}};
    ASSERT_TRUE(file.SaveSettings(files, kDefaults, {}).ok);
    EXPECT_TRUE(ReadBytes(Path()).startsWith(
        "[Log File]\nLocation=1\nUIN=0\nMsgIdx File=/i.idx\nMsgDat File=/d.dat\n\n"));

    // A path far past the platform's 259 bytes survives whole.
    files.msgDatFile = QStringLiteral("/") + QString(600, u'd');
    ASSERT_TRUE(file.SaveSettings(files, kDefaults, {}).ok);
    SettingsFile again(Path());
    again.Read();
    EXPECT_EQ(again.LoadSettings(kDefaults).location.msgDatFile, files.msgDatFile);
}

TEST_F(SettingsFileTest, ColoursAreStoredAsDecimalIntegers) {
    SettingsFile file(Path());
    file.Read();
    ListColors colors = kDefaults;
    colors.sendText = ColorRef(0, 0, 255);
    colors.highlightText = ColorRef(255, 255, 255);
    ASSERT_TRUE(file.SaveSettings(LocationSettings{}, colors, {}).ok);
    const QByteArray bytes = ReadBytes(Path());
    EXPECT_TRUE(bytes.contains("\nSend Text=16711680\n"));
    EXPECT_TRUE(bytes.contains("\nHightLight Text=16777215\n"));
    EXPECT_FALSE(bytes.contains("[Member Name]"));

    SettingsFile again(Path());
    EXPECT_EQ(again.Read(), SettingsFileState::Loaded);
    EXPECT_EQ(again.LoadSettings(CliDefaultColors()).colors, colors);
}

TEST_F(SettingsFileTest, MemberNamesAreAppliedAndSavedWithTheirDefaults) {
    MessageDatabase database;
    ASSERT_TRUE(OpenDatabase(database));
    SettingsFile file = Stored("[Member Name]\n99999=Other\n12345=\n777=" + kTestUtf8 + "\n");
    file.LoadMemberNames(database);
    EXPECT_EQ(database.MemberName(777), kTestSjis);
    EXPECT_EQ(database.MemberName(12345), "12345");
    EXPECT_EQ(database.MemberName(1), "-");

    database.SetMemberName(0, "Zero");
    const LocationSettings location{
        DatabaseFolder, 4, dir.filePath(QStringLiteral("db")), {}, {}, {}};
    ASSERT_TRUE(file.SaveSettings(location, kDefaults, NamesOf(database)).ok);
    EXPECT_TRUE(ReadBytes(Path()).startsWith("[Member Name]\n99999=Other\n12345=12345\n777=" +
                                             kTestUtf8 + "\n-1=-1\n0=Zero\n1=-\n10=-\n"));
}

TEST_F(SettingsFileTest, NamesWithoutShiftJisFormOrTooLongAreMadeToFit) {
    MessageDatabase database;
    ASSERT_TRUE(OpenDatabase(database));
    // U+1F600 has no Shift-JIS form; the long name ends in a two-byte character at byte 4095.
    const QByteArray longName = QByteArray(4094, 'a') + kTestUtf8;
    SettingsFile file = Stored(
        "[Member Name]\n777=a\xF0\x9F\x98\x80"
        "b\n12345=" +
        longName + "\n");
    file.LoadMemberNames(database);
    EXPECT_EQ(database.MemberName(777), "a?b");
    EXPECT_EQ(database.MemberName(12345), std::string(4094, 'a'));
}

TEST_F(SettingsFileTest, SavingKeepsWhatWasNotChangedInEitherEncoding) {
    MessageDatabase database;
    ASSERT_TRUE(OpenDatabase(database));
    // A UTF-8 name with a character Shift-JIS lacks, a Shift-JIS name, a foreign UTF-8 value.
    const QByteArray names = "[Member Name]\r\n777=a\xF0\x9F\x98\x80" + kTestUtf8 +
                             "\r\n12345=" + QByteArray::fromStdString(kTestSjis) +
                             "\r\n[Other]\r\nnote=" + kTestUtf8 + "\r\n";
    SettingsFile file = Stored(names);
    file.LoadMemberNames(database);
    EXPECT_EQ(database.MemberName(777), "a?" + kTestSjis);
    EXPECT_EQ(database.MemberName(12345), kTestSjis);
    ASSERT_TRUE(file.SaveSettings(LocationSettings{}, kDefaults, NamesOf(database)).ok);
    EXPECT_TRUE(ReadBytes(Path()).startsWith(
        names.first(names.indexOf("[Other]")) +
        "-1=-1\r\n0=0\r\n1=-\r\n10=-\r\n[Other]\r\nnote=" + kTestUtf8 + "\r\n"));

    // A name changed here is written.
    database.SetMemberName(777, "b");
    ASSERT_TRUE(file.SaveSettings(LocationSettings{}, kDefaults, NamesOf(database)).ok);
    EXPECT_TRUE(ReadBytes(Path()).startsWith("[Member Name]\r\n777=b\r\n"));
}

TEST_F(SettingsFileTest, WindowPlacementHasItsOwnSectionAndAbsurdSizesAreIgnored) {
    SettingsFile fresh = Stored("[Log File]\r\nLocation=-1\r\n");
    EXPECT_EQ(fresh.LoadWindowPlacement(), std::nullopt);
    ASSERT_TRUE(fresh.SaveSettings(LocationSettings{}, kDefaults, {}).ok);
    EXPECT_FALSE(ReadBytes(Path()).contains("[Window]"));  // not set: not written

    fresh.SetWindowPlacement(WindowPlacement{-8, 20, 1100, 700, true});
    ASSERT_TRUE(fresh.SaveSettings(LocationSettings{}, kDefaults, {}).ok);
    EXPECT_TRUE(ReadBytes(Path()).contains(
        "[Window]\r\nLeft=-8\r\nTop=20\r\nWidth=1100\r\nHeight=700\r\nMaximized=1\r\n"));
    SettingsFile reread(Path());
    reread.Read();
    EXPECT_EQ(reread.LoadWindowPlacement(), (WindowPlacement{-8, 20, 1100, 700, true}));

    // The same place again: the section's lines stay as they were written by hand.
    const QByteArray hand = "[Window]\nLeft = 5\nTop=6\nWidth=700\nHeight=500\n";
    SettingsFile kept = Stored(hand);
    kept.SetWindowPlacement(*kept.LoadWindowPlacement());
    ASSERT_TRUE(kept.SaveSettings(LocationSettings{}, kDefaults, {}).ok);
    EXPECT_TRUE(ReadBytes(Path()).startsWith(hand + "Maximized=0\n"));

    for (const char* size : {"Width=0\nHeight=500", "Width=-700\nHeight=500",
                             "Width=700\nHeight=99999", "Width=700", "Width=x\nHeight=500"}) {
        EXPECT_EQ(Stored(QByteArray("[Window]\n") + size + "\n").LoadWindowPlacement(),
                  std::nullopt)
            << size;
    }
}

TEST_F(SettingsFileTest, UnreadableFileIsNeverOverwritten) {
    const QByteArray binary("[Log File]\nLocation=1\n\0", 23);
    SettingsFile file = Stored(binary);
    EXPECT_EQ(file.state(), SettingsFileState::Unreadable);
    EXPECT_FALSE(file.reason().isEmpty());
    EXPECT_EQ(file.LoadSettings(kDefaults).location.location, Unset);

    const IniSaveResult saved = file.SaveSettings(LocationSettings{}, kDefaults, {});
    EXPECT_FALSE(saved.ok);
    EXPECT_FALSE(saved.reason.isEmpty());
    EXPECT_EQ(ReadBytes(Path()), binary);
}

TEST_F(SettingsFileTest, SaveCreatesTheFolderAndKeepsWhatOthersWrote) {
    const QString nested = dir.filePath(QStringLiteral("a/b/Talvora.ini"));
    SettingsFile file(nested);
    EXPECT_EQ(file.Read(), SettingsFileState::Missing);
    ASSERT_TRUE(file.SaveSettings(LocationSettings{}, kDefaults, {}).ok);

    // Written by someone else after start-up: still there after the save.
    QByteArray bytes = ReadBytes(nested);
    ASSERT_TRUE(WriteBytes(nested, "; mine\n[Other]\nkey=value\n" + bytes));
    ASSERT_TRUE(file.SaveSettings(LocationSettings{}, kDefaults, {}).ok);
    EXPECT_TRUE(ReadBytes(nested).startsWith("; mine\n[Other]\nkey=value\n"));
}

TEST(BuildSettingsPathTest, DefaultIsInTheUsersConfigFolder) {
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    const QByteArray oldHome = qgetenv("HOME");
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", QFile::encodeName(home.path()));
    qunsetenv("XDG_CONFIG_HOME");
    const QString path = BuildSettingsPath();
    qputenv("HOME", oldHome);
    if (!oldConfig.isEmpty()) {
        qputenv("XDG_CONFIG_HOME", oldConfig);
    }
    EXPECT_EQ(path, home.path() + QStringLiteral("/.config/talvora/Talvora.ini"));
    EXPECT_EQ(BuildSettingsPath(QStringLiteral("my.ini")),
              QDir::current().absoluteFilePath(QStringLiteral("my.ini")));
}

}  // namespace

namespace {

// The recent list: newest first, one entry per history, five at most; kept through a save
// in a section of its own, with its zone; entries that name no history are dropped.
TEST_F(SettingsFileTest, RecentHistoriesKeepFiveNewestFirst) {
    SettingsFile file = Stored("[Recent Histories]\n1=folder\tAsia/Tokyo\t7\t/a\n2=garbage\n");
    std::vector<LocationSettings> recent = file.LoadRecentHistories();
    ASSERT_EQ(recent.size(), 1U);
    EXPECT_EQ(recent[0].dbPath, QStringLiteral("/a"));
    EXPECT_EQ(recent[0].timeZone, QStringLiteral("Asia/Tokyo"));

    for (int i = 1; i <= 6; ++i) {
        recent = SettingsFile::WithRecent(
            recent, {DatabaseFolder, i, QStringLiteral("/h%1").arg(i), {}, {}, {}});
    }
    const LocationSettings files{
        LogFiles, 0, {}, QStringLiteral("/i.idx"), QStringLiteral("/d.dat"), {}};
    recent = SettingsFile::WithRecent(recent, files);
    recent = SettingsFile::WithRecent(
        recent, {DatabaseFolder, 5, QStringLiteral("/h5"), {}, {}, QStringLiteral("UTC")});
    ASSERT_EQ(recent.size(), SettingsFile::kRecentHistories);
    EXPECT_EQ(recent[0].timeZone, QStringLiteral("UTC"));
    EXPECT_EQ(recent[1], files);
    EXPECT_EQ(recent[2].uin, 6);
    EXPECT_EQ(recent[4].uin, 3);

    file.SetRecentHistories(recent);
    const LocationSettings seed{DatabaseFolder, 9, QStringLiteral("/seed"), {}, {}, {}};
    ASSERT_TRUE(file.SaveSettings(seed, kDefaults, {}).ok);
    SettingsFile again(Path());
    again.Read();
    EXPECT_EQ(again.LoadRecentHistories(), recent);
    EXPECT_EQ(again.LoadSettings(kDefaults).location, seed);
}

}  // namespace
