#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <cstdio>

#include <filesystem>
#include <string>

#include "database/DatabaseTexts.h"
#include "database/MessageDatabase.h"
#include "export/ExportText.h"
#include "support/TestHistory.h"

namespace {

// Texts of the expected files, in Shift-JIS.
const std::string kLine = "--------------------------------------\r\n";
const std::string kSunday = "\x93\xFA";         // 日
const std::string kMonday = "\x8C\x8E";         // 月
const std::string kReceived = "\x8E\xF3\x90M";  // 受信
const std::string kSent = "\x91\x97\x90M";      // 送信
const std::string kMessage =
    "[\x83\x81\x83"
    "b\x83Z\x81[\x83W]";                            // [メッセージ]
const std::string kError = "[\x83G\x83\x89\x81[]";  // [エラー]
const std::string kCorrupt(dbtext::kCorrupt);

// 2000-03-05 09:07:03 as the events show it on a UTC+9 machine (the shown time is the
// stamp in UTC plus 18 hours there).
constexpr std::int32_t kSundayMorning = 952247223 - 18 * 3600;

std::string Block(const std::string& head, const std::string& type, const std::string& text) {
    return kLine + head + "\r\n" + type + "\r\n\r\n" + text + "\r\n\r\n";
}

class Export : public ::testing::Test {
protected:
    Export() : tz_("JST-9") {}

    void Open() {
        db_.Close();
        ASSERT_TRUE(db_.Open(h_.paths.data, h_.paths.index));
    }
    ExportResult Run(std::int32_t key, const RowSelection& rows, const ExportTransform& t = {}) {
        return ExportText(db_, key, rows, out_, t);
    }

    ScopedTimeZone tz_;
    TestHistory h_;
    MessageDatabase db_;
    std::string out_ = h_.folder.File("out.txt");
};

TEST_F(Export, WritesSixLineBlocksNewestFirst) {
    h_.Message(12345, "first", kSundayMorning);
    h_.Message(777, "other member", kSundayMorning);
    h_.Message(12345, "second", kSundayMorning + 86400 + 3600, Sent);
    h_.Message(1, "from the system", kSundayMorning + 5);
    Open();
    db_.SetMemberName(777, "\x96\xBC\x91O");  // 名前

    ASSERT_TRUE(Run(ALL_MEMBERS, RowSelection::All()).ok);
    EXPECT_EQ(ReadFileBytes(out_),
              Block("2000/3/5 " + kSunday + " 9:7:8 " + kReceived + " -(-)", kMessage,
                    "from the system") +
                  Block("2000/3/6 " + kMonday + " 10:7:3 " + kSent + " 12345(12345)", kMessage,
                        "second") +
                  Block("2000/3/5 " + kSunday + " 9:7:3 " + kReceived + " 777(\x96\xBC\x91O)",
                        kMessage, "other member") +
                  // The Part's example line.
                  Block("2000/3/5 " + kSunday + " 9:7:3 " + kReceived + " 12345(12345)", kMessage,
                        "first"));

    // One member's list has its own rows.
    ASSERT_TRUE(Run(12345, RowSelection::Rows({1})).ok);
    EXPECT_EQ(
        ReadFileBytes(out_),
        Block("2000/3/5 " + kSunday + " 9:7:3 " + kReceived + " 12345(12345)", kMessage, "first"));
}

TEST_F(Export, SelectionIsWrittenInRowOrderAndSkipsMissingRows) {
    for (int i = 0; i < 5; ++i) {
        h_.Message(5, "event " + std::to_string(i), kSundayMorning + i);
    }
    Open();
    ASSERT_TRUE(Run(5, RowSelection::Rows({3, 0, 3, 99, -1})).ok);
    const std::string bytes = ReadFileBytes(out_);
    const std::size_t newest = bytes.find("event 4");
    const std::size_t older = bytes.find("event 1");
    ASSERT_NE(newest, std::string::npos);
    ASSERT_NE(older, std::string::npos);
    EXPECT_LT(newest, older);
    EXPECT_EQ(bytes.find("event 0"), std::string::npos);
    EXPECT_EQ(bytes.find("event 2"), std::string::npos);
    EXPECT_EQ(bytes.find("event 3"), std::string::npos);
    EXPECT_EQ(bytes.find(kLine, bytes.find(kLine, 1) + 1), std::string::npos) << "two blocks";

    // Nothing selected: an existing file becomes empty.
    ASSERT_TRUE(Run(5, RowSelection::Rows({})).ok);
    EXPECT_TRUE(std::filesystem::exists(out_));
    EXPECT_EQ(ReadFileBytes(out_), "");
}

TEST_F(Export, EachLineBreakOfTheTextBecomesOneCrLf) {
    h_.Message(5, "crlf\r\nlf\nlone cr\rend\r\r\n", kSundayMorning);
    WriterRecord url;
    url.type = 4;
    url.uin = 5;
    url.text = "site\xFEhttp://x";
    url.stamp = kSundayMorning;
    h_.writer.AppendEvent(5, url);
    Open();
    ASSERT_TRUE(Run(5, RowSelection::All()).ok);
    const std::string bytes = ReadFileBytes(out_);
    EXPECT_NE(bytes.find("\r\n\r\ncrlf\r\nlf\r\nlone cr\rend\r\r\n\r\n\r\n"), std::string::npos);
    // The URL layout's own CR LF pairs stay single.
    EXPECT_NE(bytes.find("]\r\nsite\r\n\r\n[URL]\r\nhttp://x\r\n\r\n"), std::string::npos);
}

TEST_F(Export, UndecodableEventHasEmptySecondLine) {
    WriterRecord broken;
    broken.marker = 0x1234;
    broken.text = "ignored";
    h_.writer.AppendEvent(5, broken);
    WriterRecord odd;
    odd.uin = 10;
    odd.direction = 7;  // any value but 0 is written as sent
    odd.text = "x";
    odd.stamp = kSundayMorning;
    h_.writer.AppendEvent(5, odd);
    Open();
    ASSERT_TRUE(Run(5, RowSelection::All()).ok);
    EXPECT_EQ(ReadFileBytes(out_),
              Block("2000/3/5 " + kSunday + " 9:7:3 " + kSent + " -(-)", kMessage, "x") +
                  Block("", kError, kCorrupt));
}

TEST_F(Export, TransformConvertsWholeBlocks) {
    h_.Message(5, "\x82\xA0", kSundayMorning);  // あ
    Open();
    std::string seen;
    const auto upper = [&](std::string_view bytes, std::string& out) {
        seen.append(bytes);
        out.append("<");
        out.append(bytes.size(), 'x');
        out.append(">");
    };
    ASSERT_TRUE(Run(5, RowSelection::All(), upper).ok);
    EXPECT_EQ(seen,
              Block("2000/3/5 " + kSunday + " 9:7:3 " + kReceived + " 5(5)", kMessage, "\x82\xA0"));
    EXPECT_EQ(ReadFileBytes(out_), "<" + std::string(seen.size(), 'x') + ">");
}

TEST_F(Export, UnwritablePathIsReportedAndLeavesNothingBehind) {
    h_.Message(5, "text", kSundayMorning);
    Open();
    const std::string missing = h_.folder.File("no/such/folder/out.txt");
    ExportResult result = ExportText(db_, 5, RowSelection::All(), missing);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find(missing), std::string::npos) << result.error;
    EXPECT_NE(result.error.find("No such file"), std::string::npos) << result.error;

    // A folder in the way: the temporary file is made, the rename fails, nothing stays.
    const std::string folder = h_.folder.File("taken");
    ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0);
    result = ExportText(db_, 5, RowSelection::All(), folder);
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.error.empty());
    EXPECT_TRUE(std::filesystem::is_directory(folder));

    EXPECT_FALSE(ExportText(db_, 5, RowSelection::All(), "").ok);

    int entries = 0;
    for (const auto& entry : std::filesystem::directory_iterator(h_.folder.Path())) {
        (void)entry;
        ++entries;
    }
    EXPECT_EQ(entries, 3) << "the pair and the folder only";
}

TEST_F(Export, WriteFailureKeepsTheExistingFile) {
    for (int i = 0; i < 2000; ++i) {
        h_.Message(5, std::string(100, 'a'), kSundayMorning);
    }
    Open();
    {
        std::FILE* old = std::fopen(out_.c_str(), "wb");
        ASSERT_NE(old, nullptr);
        std::fputs("old content", old);
        std::fclose(old);
    }
    // A file size limit makes the writes fail part way (EFBIG instead of the signal).
    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const ExportResult result = Run(5, RowSelection::All());
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find("File too large"), std::string::npos) << result.error;
    EXPECT_EQ(ReadFileBytes(out_), "old content");
    int entries = 0;
    for (const auto& entry : std::filesystem::directory_iterator(h_.folder.Path())) {
        (void)entry;
        ++entries;
    }
    EXPECT_EQ(entries, 3) << "the pair and the old file only";

    ASSERT_TRUE(Run(5, RowSelection::All()).ok);
    const std::string block = Block("2000/3/5 " + kSunday + " 9:7:3 " + kReceived + " 5(5)",
                                    kMessage, std::string(100, 'a'));
    EXPECT_EQ(ReadFileBytes(out_).size(), 2000u * block.size());
}

TEST_F(Export, EmptyMemberGivesEmptyFile) {
    Open();
    ASSERT_TRUE(Run(4242, RowSelection::All()).ok);
    EXPECT_EQ(ReadFileBytes(out_), "");
}

TEST_F(Export, NeverWritesTheHistoryOrTheSettingsByAnyPath) {
    namespace fs = std::filesystem;
    h_.Message(5, "text", kSundayMorning);
    Open();
    const std::string data = ReadFileBytes(h_.paths.data);
    const std::string index = ReadFileBytes(h_.paths.index);
    const std::string settings = h_.folder.File("Talvora.ini");
    fs::create_symlink(h_.paths.data, h_.folder.File("link-to-data"));
    fs::create_hard_link(h_.paths.index, h_.folder.File("hard-link-to-index"));
    const auto refused = [&](const std::string& path) {
        const ExportResult r =
            ExportToFile(db_, 5, RowSelection::All(), ExportOptions{}, path, {settings});
        return r.ok ? OutputFailure::Kind::None : r.failure.kind;
    };
    for (const std::string& path :
         {h_.paths.data, h_.paths.index, h_.folder.File("link-to-data"),
          h_.folder.File("hard-link-to-index"), "/proc/self/root" + h_.paths.data}) {
        EXPECT_EQ(refused(path), OutputFailure::Kind::HistoryFile) << path;
    }
    // The settings file in use, before it exists and after.
    EXPECT_EQ(refused(settings), OutputFailure::Kind::ProtectedFile);
    EXPECT_FALSE(fs::exists(settings));
    EXPECT_EQ(ReadFileBytes(h_.paths.data), data);
    EXPECT_EQ(ReadFileBytes(h_.paths.index), index);
}

}  // namespace

// Member texts are kept per UIN in a table of fixed size: UINs that share a place in it
// still get their own names, however they alternate.
TEST_F(Export, EveryRowNamesItsOwnMemberAmongThousands) {
    constexpr int kMembers = 3000;
    for (int i = 0; i < 2 * kMembers; ++i) {
        WriterRecord record;
        record.uin = 100000 + (i * 7919) % kMembers;
        record.text = "t";
        record.stamp = kSundayMorning;
        h_.writer.AppendEvent(record.uin, record);
    }
    Open();
    for (int uin = 100000; uin < 100000 + kMembers; ++uin) {
        db_.SetMemberName(uin, "n" + std::to_string(uin));
    }
    ASSERT_TRUE(Run(ALL_MEMBERS, RowSelection::All()).ok);
    const std::string bytes = ReadFileBytes(out_);
    std::size_t rows = 0;
    for (std::size_t at = bytes.find(kReceived + " "); at != std::string::npos;
         at = bytes.find(kReceived + " ", at + 1), ++rows) {
        const std::size_t uin = at + kReceived.size() + 1;
        const std::string number = bytes.substr(uin, 6);
        ASSERT_EQ(bytes.substr(uin + 6, 11), "(n" + number + ")\r\n") << "row " << rows;
    }
    EXPECT_EQ(rows, 2u * kMembers);
}
