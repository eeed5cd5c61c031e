#include "settings/VelmuSettings.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <filesystem>

#include "settings/WineRegistry.h"

namespace {

const QByteArray kHeader =
    "WINE REGISTRY Version 2\n"
    ";; All keys relative to \\\\User\\\\S-1-5-21-0-0-0-1000\n"
    "\n"
    "#arch=win32\n"
    "\n"
    "[Software\\\\Other] 1700000000\n"
    "\"DataBase\"=\"C:\\\\wrong\"\n"
    "\n";

const QByteArray kPrefs =
    "[Software\\\\Harlund\\\\Velmu\\\\DefaultPrefs] 1700000000\n"
    "#time=1da0b1c2d3e4f50\n";
const QByteArray kDataBase = "\"DataBase\"=\"C:\\\\Program Files\\\\Velmu\\\\DB\"\n";
const QByteArray kOwners = "[Software\\\\Harlund\\\\Velmu\\\\Owners] 1700000000\n";
const QByteArray kLastOwner = "\"LastOwner\"=dword:00003039\n";

class VelmuSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(prefix.isValid());
        ASSERT_TRUE(QDir(prefix.path()).mkpath(QStringLiteral("drive_c")));
        ASSERT_TRUE(QDir(prefix.path()).mkpath(QStringLiteral("dosdevices")));
        std::filesystem::create_directory_symlink("../drive_c", Prefix("dosdevices/c:"));
        std::filesystem::create_directory_symlink("/", Prefix("dosdevices/z:"));
    }

    std::string Prefix(const char* name) const {
        return QFile::encodeName(prefix.filePath(QString::fromLatin1(name))).toStdString();
    }

    VelmuSettings ReadWith(const QByteArray& body) const {
        QFile file(prefix.filePath(QStringLiteral("user.reg")));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(kHeader + body);
        file.close();
        return ReadVelmuSettings(prefix.path());
    }

    QString DriveC(const char* rest) const {
        return prefix.path() + QStringLiteral("/drive_c") + QString::fromUtf8(rest);
    }

    QTemporaryDir prefix;
};

TEST_F(VelmuSettingsTest, ReadsFolderAndLastOwner) {
    // Key and value names in another case, a value spread over lines before the one read.
    const VelmuSettings found = ReadWith(
        "[software\\\\harlund\\\\VELMU\\\\defaultprefs] 1700000000\n"
        "\"Window\"=hex:01,02,03,\\\n  04,05\n"
        "\"database\"=str(2):\"C:\\\\Program Files\\\\Velmu\\\\DB\\\\\"\n"
        "\n" +
        kOwners + "\"LastOwner\"=dword:ffffffff\n");
    ASSERT_TRUE(found.ok) << found.reason.toStdString();
    EXPECT_EQ(found.folder, DriveC("/Program Files/Velmu/DB"));
    EXPECT_EQ(found.uin, -1);

    // The default overload takes the prefix from $WINEPREFIX.
    const QByteArray old = qgetenv("WINEPREFIX");
    qputenv("WINEPREFIX", QFile::encodeName(prefix.path()));
    const VelmuSettings viaEnvironment = ReadVelmuSettings();
    qputenv("WINEPREFIX", old);
    EXPECT_EQ(viaEnvironment.uin, -1);
}

TEST_F(VelmuSettingsTest, MissingKeysAndWrongValuesFollowTheRules) {
    const struct {
        const char* name;
        QByteArray body;
        bool ok;
        bool folder;
        bool uin;
    } cases[] = {
        {"no keys", "", true, false, false},
        {"both", kPrefs + kDataBase + kOwners + kLastOwner, true, true, true},
        {"owners missing", kPrefs + kDataBase, true, true, false},
        {"prefs missing", kOwners + kLastOwner, true, false, true},
        {"DataBase missing", kPrefs + "\"Other\"=\"C:\\\\x\"\n" + kOwners + kLastOwner, false,
         false, false},
        {"prefs only as a parent", "[Software\\\\Harlund\\\\Velmu\\\\DefaultPrefs\\\\Sub] 1\n",
         false, false, false},
        {"DataBase a number", kPrefs + "\"DataBase\"=dword:00000001\n", false, false, false},
        {"DataBase unclosed", kPrefs + "\"DataBase\"=\"C:\\\\x\n", false, false, false},
        {"LastOwner missing", kOwners, false, false, false},
        {"LastOwner a string", kOwners + "\"LastOwner\"=\"12345\"\n", false, false, false},
        {"LastOwner 64 bits", kOwners + "\"LastOwner\"=hex(b):39,30,00,00,00,00,00,00\n", false,
         false, false},
        {"LastOwner too long", kOwners + "\"LastOwner\"=dword:100000000\n", false, false, false},
        {"LastOwner as 4 bytes", kOwners + "\"LastOwner\"=hex(4):39,30,00,00\n", true, false, true},
    };
    for (const auto& c : cases) {
        const VelmuSettings found = ReadWith(c.body);
        EXPECT_EQ(found.ok, c.ok) << c.name;
        EXPECT_EQ(found.folder.has_value(), c.folder) << c.name;
        EXPECT_EQ(found.uin.has_value(), c.uin) << c.name;
        EXPECT_EQ(found.reason.isEmpty(), c.ok) << c.name;
        if (c.uin) {
            EXPECT_EQ(found.uin, 12345) << c.name;
        }
    }

    QFile::remove(prefix.filePath(QStringLiteral("user.reg")));
    EXPECT_TRUE(ReadVelmuSettings(prefix.path()).ok);
    EXPECT_FALSE(ReadVelmuSettings(prefix.path()).folder.has_value());
}

TEST_F(VelmuSettingsTest, WindowsPathsMapThroughTheDriveLinks) {
    const QString root = prefix.path();
    const struct {
        const char* windows;
        std::optional<QString> local;
    } cases[] = {
        {"C:\\Velmu\\DB", DriveC("/Velmu/DB")},
        {"c:/Velmu//DB\\", DriveC("/Velmu/DB")},
        {"C:\\a\\..\\..\\.\\DB", DriveC("/DB")},
        {"C:", DriveC("")},
        {"\\\\?\\C:\\DB", DriveC("/DB")},
        {"Z:\\home\\user", QStringLiteral("/home/user")},
        {"D:\\DB", std::nullopt},
        {"\\\\server\\share\\DB", std::nullopt},
        {"Velmu\\DB", std::nullopt},
        {"C:Velmu", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MapWinePath(root, QString::fromUtf8(c.windows)), c.local) << c.windows;
    }

    // Without a dosdevices link, c: is the prefix's drive_c.
    QFile::remove(prefix.filePath(QStringLiteral("dosdevices/c:")));
    EXPECT_EQ(MapWinePath(root, QStringLiteral("C:\\DB")), DriveC("/DB"));
    EXPECT_FALSE(ReadWith(kPrefs + "\"DataBase\"=\"D:\\\\DB\"\n").ok);
}

TEST(WineRegistryTest, StringEscapesAsWineWritesThem) {
    const struct {
        const char* escaped;
        QString text;
    } cases[] = {
        {R"(C:\\a\"b")", QStringLiteral("C:\\a\"b")},
        {R"(\x30c7\x30fc\x30bf")", QString::fromUtf8("\xE3\x83\x87\xE3\x83\xBC\xE3\x82\xBF")},
        {R"(\x00e9a")", QString::fromUtf8("\xC3\xA9"
                                          "a")},
        {R"(\xd83d\xde00")", QString::fromUtf8("\xF0\x9F\x98\x80")},
        {R"(\n\t\r\a\e\101\0017")", QStringLiteral("\n\t\r\a\x1b"
                                                   "A\x01"
                                                   "7")},
        {R"(\q\x")", QStringLiteral("qx")},
        {"\xE6\x97\xA5\"", QString::fromUtf8("\xE6\x97\xA5")},  // raw UTF-8
    };
    for (const auto& c : cases) {
        const QString line = QString::fromUtf8(c.escaped);
        qsizetype pos = 0;
        QString out;
        EXPECT_TRUE(UnescapeRegistryString(line, pos, u'"', out)) << c.escaped;
        EXPECT_EQ(out, c.text) << c.escaped;
        EXPECT_EQ(pos, line.size()) << c.escaped;
    }
    qsizetype pos = 0;
    QString out;
    EXPECT_FALSE(UnescapeRegistryString(QStringLiteral("abc\\\""), pos, u'"', out));
}

TEST_F(VelmuSettingsTest, DamagedFilesNeverCrash) {
    const QByteArray whole = kHeader + kPrefs + "\"Bin\"=hex:01,02,\\\n  03\n" +
                             "\"DataBase\"=\"C:\\\\\\x30c7\\101\"\n" + kOwners + kLastOwner;
    for (qsizetype size = 0; size <= whole.size(); ++size) {
        // A new file each time: truncating one in place makes every close wait for the disk.
        QFile::remove(prefix.filePath(QStringLiteral("user.reg")));
        QFile file(prefix.filePath(QStringLiteral("user.reg")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(whole.left(size));
        file.close();
        const VelmuSettings found = ReadVelmuSettings(prefix.path());
        EXPECT_EQ(found.ok, found.reason.isEmpty());
    }
    const VelmuSettings complete = ReadVelmuSettings(prefix.path());
    EXPECT_EQ(complete.folder, DriveC("/\xE3\x83\x87"
                                      "A"));
    EXPECT_EQ(complete.uin, 12345);
}

}  // namespace
