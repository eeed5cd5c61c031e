#include "settings/IniFile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <vector>

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

TEST(IniFileTest, MixedEncodingsKeepEveryUntouchedLineByteForByte) {
    // "テスト" in Shift-JIS (not valid UTF-8) beside UTF-8 "日本", mixed line ends and a
    // last line without one.
    const QByteArray sjis = "\x83\x65\x83\x58\x83\x67";
    const QByteArray utf8 = "\xE6\x97\xA5\xE6\x9C\xAC";
    const QByteArray file = "\xEF\xBB\xBF[Member Name]\r\n777=" + sjis + "\r\n778 = " + utf8 +
                            "\n; " + sjis + "\r\n779=" + sjis;
    IniFile ini = Parsed(file);
    EXPECT_EQ(ini.Serialize(), file);
    const QString name = QString::fromUtf8("\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88");
    EXPECT_EQ(ini.ReadString(QStringLiteral("Member Name"), QStringLiteral("777")), name);
    EXPECT_EQ(ini.ReadString(QStringLiteral("Member Name"), QStringLiteral("778")),
              QString::fromUtf8(utf8));

    // Writing the value a line already holds leaves it as it is; a changed line and a new
    // one are UTF-8, and the last line gains an end only because a line follows it.
    ini.WriteString(QStringLiteral("Member Name"), QStringLiteral("777"), name);
    ini.WriteString(QStringLiteral("Member Name"), QStringLiteral("778"), QString::fromUtf8(utf8));
    ini.WriteString(QStringLiteral("Member Name"), QStringLiteral("779"), name + u'!');
    ini.WriteInt(QStringLiteral("Member Name"), QStringLiteral("1"), 5);
    EXPECT_EQ(ini.Serialize(), "\xEF\xBB\xBF[Member Name]\r\n777=" + sjis + "\r\n778 = " + utf8 +
                                   "\n; " + sjis + "\r\n779=" + name.toUtf8() + "!\r\n1=5\r\n");
}

TEST(IniFileTest, LineValidInBothEncodingsGoesByTheRestOfTheFile) {
    // Shift-JIS "ﾕｷ", "ﾒｲ" and "縺ｱ" pass for UTF-8 "շ", "Ҳ" and "ぱ"; UTF-8 "ア" and "Ян"
    // pass for Shift-JIS "繧｢" and "ﾐｯﾐｽ"; "花子" is valid in one encoding only, either way.
    const QByteArray yuki = "\xD5\xB7";
    const QString yukiText = QString::fromUtf8("\xEF\xBE\x95\xEF\xBD\xB7");
    const struct {
        QByteArray names;
        std::vector<const char*> expected;  // UTF-8
    } files[] = {
        {"1=\x89\xD4\x8E\x71\r\n2=" + yuki + "\r\n3=\xD2\xB2\r\n4=\xE3\x81\xB1\r\n",
         {"花子", "ﾕｷ", "ﾒｲ", "縺ｱ"}},
        {"1=\xE8\x8A\xB1\xE5\xAD\x90\n2=\xE3\x82\xA2\n3=\xD0\xAF\xD0\xBD\n", {"花子", "ア", "Ян"}},
        // Nothing but lines valid in both: each reads as what a Japanese user would write.
        {"1=" + yuki + "\n2=\xE3\x82\xA2\n", {"ﾕｷ", "ア"}},
    };
    for (const auto& file : files) {
        const IniFile ini = Parsed("[Member Name]\n" + file.names);
        for (std::size_t i = 0; i < file.expected.size(); ++i) {
            EXPECT_EQ(ini.ReadString(QStringLiteral("Member Name"), QString::number(i + 1)),
                      QString::fromUtf8(file.expected[i]))
                << file.names.toHex(' ').toStdString();
        }
    }

    // Written back with the name it holds, the Shift-JIS line stays Shift-JIS.
    const QByteArray sjis = "[Member Name]\r\n1=\x89\xD4\x8E\x71\r\n2=" + yuki + "\r\n";
    IniFile ini = Parsed(sjis);
    ini.WriteString(QStringLiteral("Member Name"), QStringLiteral("2"), yukiText);
    ini.WriteInt(QStringLiteral("Member Name"), QStringLiteral("3"), 3);
    EXPECT_EQ(ini.Serialize(), sjis + "3=3\r\n");
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
    ASSERT_TRUE(saved.ok) << saved.reason.english.toStdString();

    IniFile again;
    ASSERT_EQ(again.Load(path).status, IniLoadStatus::Loaded);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(again.ReadString(QStringLiteral("S"), QString::number(i)), values[i]);
    }
    EXPECT_EQ(again.Serialize(), ini.Serialize());
}

// The reason goes to the user as it is, in one language a message: Japanese for the window,
// English for the command line.
bool OneLanguageEach(const IniReason& reason) {
    const QString& ja = reason.japanese;
    const QString& en = reason.english;
    return std::any_of(ja.begin(), ja.end(), [](QChar c) { return c >= u'\u3000'; }) &&
           !en.isEmpty() &&
           std::all_of(en.begin(), en.end(), [](QChar c) { return c.unicode() < 0x80; });
}

TEST(IniFileTest, LoadTellsMissingFromUnreadable) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    IniFile ini;
    EXPECT_EQ(ini.Load(dir.filePath(QStringLiteral("none.ini"))).status, IniLoadStatus::Missing);

    const IniLoadResult folder = ini.Load(dir.path());
    EXPECT_EQ(folder.status, IniLoadStatus::Unreadable);
    EXPECT_FALSE(folder.reason.isEmpty());

    EXPECT_TRUE(OneLanguageEach(folder.reason));

    // Neither UTF-8 nor Shift-JIS (0x85 0x40 is no pair of code page 932), or binary bytes.
    const QString binary = dir.filePath(QStringLiteral("binary.ini"));
    for (const QByteArray& bytes : {QByteArray("[Log File]\nLocation=1\n\0\x01", 24),
                                    QByteArray("[Log File]\nLocation=1\n\x85\x40\n"),
                                    QByteArray("[Log File]\nLocation=1\n\x07\n")}) {
        ASSERT_TRUE(WriteBytes(binary, bytes));
        const IniLoadResult result = ini.Load(binary);
        EXPECT_EQ(result.status, IniLoadStatus::Unreadable);
        EXPECT_TRUE(result.reason.japanese.contains(u'3')) << "names the line";
        EXPECT_TRUE(result.reason.english.contains(u'3'));
        EXPECT_TRUE(OneLanguageEach(result.reason));
        EXPECT_FALSE(ini.Value(kSection, QStringLiteral("Location")).has_value());
    }

    // Too large to be settings: refused without being read.
    const QString large = dir.filePath(QStringLiteral("large.ini"));
    QFile file(large);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.resize(5 * 1024 * 1024));
    file.close();
    const IniLoadResult tooLarge = ini.Load(large);
    EXPECT_EQ(tooLarge.status, IniLoadStatus::Unreadable);
    EXPECT_TRUE(OneLanguageEach(tooLarge.reason));
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
    EXPECT_TRUE(OneLanguageEach(underFile.reason));
    EXPECT_FALSE(ini.Save(dir.path()).ok);
    EXPECT_TRUE(QDir(dir.path()).exists());
}

// A name written into the home system's Shift-JIS file is written in Shift-JIS, so that it
// reads back as written; only what Shift-JIS cannot hold goes in as UTF-8.
TEST(IniFileTest, NamesWrittenIntoAShiftJisFileReadBackAsWritten) {
    IniFile ini = Parsed("[Member Name]\n1=\x89\xd4\x8e\x71\n");  // 花子
    ASSERT_TRUE(ini.shiftJisFile());
    ASSERT_TRUE(ini.WriteString(QStringLiteral("Member Name"), QStringLiteral("2"),
                                QStringLiteral("日本")));
    ASSERT_TRUE(ini.WriteString(QStringLiteral("Member Name"), QStringLiteral("3"),
                                QString::fromUtf8("\xF0\x9F\x98\x80")));
    IniFile again = Parsed(ini.Serialize());
    EXPECT_EQ(again.ReadString(QStringLiteral("Member Name"), QStringLiteral("1")), "花子");
    EXPECT_EQ(again.ReadString(QStringLiteral("Member Name"), QStringLiteral("2")), "日本");
    EXPECT_EQ(again.ReadString(QStringLiteral("Member Name"), QStringLiteral("3")),
              QString::fromUtf8("\xF0\x9F\x98\x80"));
}

}  // namespace
