#include "settings/IniFile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

const QString kSection = QStringLiteral("Log File");

IniFile Parsed(const QByteArray& bytes) {
    IniFile ini;
    ini.Parse(bytes);
    return ini;
}

bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

TEST(IniFileTest, ReadsSectionsAndKeysIgnoringCaseAndBlanks) {
    const IniFile ini = Parsed(
        "Stray=before any section\r\n"
        "  [ log FILE ]  ; trailing text\r\n"
        "; Location=5\r\n"
        "# Location=6\r\n"
        "  location  =  1  \r\n"
        "LOCATION=2\r\n"
        "DB Path=C:\\Logs=old\r\n"
        "no equals sign\r\n"
        "[Log File]\r\n"
        "UIN=999\r\n"
        "[Member Name]\r\n"
        "-1=\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88\xE3\x80\x80\r\n");
    EXPECT_EQ(ini.ReadInt(kSection, QStringLiteral("Location"), -1), 1);
    EXPECT_EQ(ini.ReadString(kSection, QStringLiteral("db path")), QStringLiteral("C:\\Logs=old"));
    // The first of two equal sections is the one read.
    EXPECT_FALSE(ini.Value(kSection, QStringLiteral("UIN")).has_value());
    EXPECT_FALSE(ini.Value(QString(), QStringLiteral("Stray")).has_value());
    // A full-width space is part of the name, not a blank.
    EXPECT_EQ(ini.ReadString(QStringLiteral("member name"), QStringLiteral("-1")),
              QString::fromUtf8("\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88\xE3\x80\x80"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("Color"), QStringLiteral("x"), QStringLiteral("d")),
              QStringLiteral("d"));
}

TEST(IniFileTest, IntegersAreLeadingSignedDecimalDigits) {
    const IniFile ini = Parsed(
        "[S]\nplain=12345\nsuffix=77abc\nnegative=-42\nletters=abc\nminus=-\nplus=+5\n"
        "wrap=4294967295\nempty=\n");
    const struct {
        const char* key;
        std::int32_t expected;
    } cases[] = {{"plain", 12345}, {"suffix", 77}, {"negative", -42}, {"letters", 0}, {"minus", 0},
                 {"plus", 0},      {"wrap", -1},   {"empty", 9},      {"absent", 9}};
    for (const auto& c : cases) {
        EXPECT_EQ(ini.ReadInt(QStringLiteral("S"), QString::fromLatin1(c.key), 9), c.expected)
            << c.key;
    }
}

TEST(IniFileTest, WritingChangesOnlyTheKeyWritten) {
    IniFile ini = Parsed(
        "; settings\n"
        "[Log File]\n"
        "location = 1\n"
        "MsgIdx File=a.idx\n"
        "MsgIdx File=b.idx\n"
        "; about colours\n"
        "\n"
        "[Color]\n"
        "Send Text=0\n");
    EXPECT_TRUE(ini.WriteInt(QStringLiteral("LOG FILE"), QStringLiteral("Location"), 0));
    EXPECT_TRUE(ini.WriteString(kSection, QStringLiteral("DB Path"), QStringLiteral("/logs")));
    ini.RemoveKey(kSection, QStringLiteral("msgidx file"));
    EXPECT_TRUE(ini.WriteString(QStringLiteral("Member Name"), QStringLiteral("-1"),
                                QStringLiteral("a\r\nb")));
    ini.RemoveKey(QStringLiteral("Nowhere"), QStringLiteral("x"));
    EXPECT_EQ(ini.Serialize(),
              "; settings\n"
              "[Log File]\n"
              "location=0\n"
              "DB Path=/logs\n"
              "; about colours\n"
              "\n"
              "[Color]\n"
              "Send Text=0\n"
              "\n"
              "[Member Name]\n"
              "-1=a  b\n");

    // Names that cannot be a line of the file are refused.
    EXPECT_FALSE(ini.WriteString(kSection, QStringLiteral("a=b"), QStringLiteral("x")));
    EXPECT_FALSE(ini.WriteString(kSection, QStringLiteral(";x"), QStringLiteral("x")));
    EXPECT_FALSE(ini.WriteString(QStringLiteral("a]b"), QStringLiteral("k"), QStringLiteral("x")));
    EXPECT_FALSE(ini.WriteString(QString(), QStringLiteral("k"), QStringLiteral("x")));
}

TEST(IniFileTest, ShiftJisFileIsReadAndKeepsItsLineEnds) {
    // "テスト" in Shift-JIS: not valid UTF-8.
    IniFile ini = Parsed("[Member Name]\r\n777=\x83\x65\x83\x58\x83\x67\r\n");
    const QString name = QString::fromUtf8("\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88");
    EXPECT_EQ(ini.ReadString(QStringLiteral("Member Name"), QStringLiteral("777")), name);
    ini.WriteInt(QStringLiteral("Member Name"), QStringLiteral("1"), 5);
    EXPECT_EQ(ini.Serialize(), "[Member Name]\r\n777=" + name.toUtf8() + "\r\n1=5\r\n");

    IniFile bom = Parsed("\xEF\xBB\xBF[A]\nk=v");
    EXPECT_EQ(bom.ReadString(QStringLiteral("A"), QStringLiteral("k")), QStringLiteral("v"));
    EXPECT_EQ(bom.Serialize(), "\xEF\xBB\xBF[A]\nk=v\n");
}

TEST(IniFileTest, SavedFileReadsBackUnchanged) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Talvora.ini"));
    const QString values[] = {QString::fromUtf8("\xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80"),
                              QStringLiteral("a = b ; c"), QStringLiteral("[not a section]"),
                              QStringLiteral("; not a comment"), QString()};
    IniFile ini;
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(ini.WriteString(QStringLiteral("S"), QString::number(i), values[i]));
    }
    const IniSaveResult saved = ini.Save(path);
    ASSERT_TRUE(saved.ok) << saved.reason.toStdString();

    IniFile again;
    ASSERT_EQ(again.Load(path).status, IniLoadStatus::Loaded);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(again.ReadString(QStringLiteral("S"), QString::number(i)), values[i]);
    }
    EXPECT_EQ(again.Serialize(), ini.Serialize());
}

TEST(IniFileTest, LoadTellsMissingFromUnreadable) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    IniFile ini;
    EXPECT_EQ(ini.Load(dir.filePath(QStringLiteral("none.ini"))).status, IniLoadStatus::Missing);

    const IniLoadResult folder = ini.Load(dir.path());
    EXPECT_EQ(folder.status, IniLoadStatus::Unreadable);
    EXPECT_FALSE(folder.reason.isEmpty());

    const QString binary = dir.filePath(QStringLiteral("binary.ini"));
    ASSERT_TRUE(WriteBytes(binary, QByteArray("[Log File]\nLocation=1\n\0\x01", 24)));
    EXPECT_EQ(ini.Load(binary).status, IniLoadStatus::Unreadable);
    EXPECT_FALSE(ini.Value(kSection, QStringLiteral("Location")).has_value());
}

TEST(IniFileTest, FailedSaveGivesReason) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    IniFile ini = Parsed("[A]\nk=v\n");
    const QString plain = dir.filePath(QStringLiteral("plain"));
    EXPECT_FALSE(ini.Save(plain + QStringLiteral("/x.ini")).ok);  // no such folder
    ASSERT_TRUE(WriteBytes(plain, "old"));
    const IniSaveResult underFile = ini.Save(plain + QStringLiteral("/x.ini"));
    EXPECT_FALSE(underFile.ok);
    EXPECT_FALSE(underFile.reason.isEmpty());
    EXPECT_FALSE(ini.Save(dir.path()).ok);
    EXPECT_TRUE(QDir(dir.path()).exists());
}

}  // namespace
