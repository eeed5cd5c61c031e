// Every search hit, statistic, export byte and list line over generated histories, reduced
// to digests taken while each of these paths still decoded one event per row with
// ReadEvent. A faster path that changes any result changes a digest.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "cli/ListFormat.h"
#include "cli/ListLineWriter.h"
#include "database/MessageDatabase.h"
#include "export/ExportText.h"
#include "search/FindNext.h"
#include "search/HeadlessList.h"
#include "search/SearchCriteria.h"
#include "stats/MemberStats.h"
#include "support/TestHistory.h"
#include "text/ShiftJis.h"

namespace {

const std::vector<std::int32_t> kKeys = {5, 7, 1234, 1, 10, -1, -3, 987654};

// Texts are made of these pieces: ASCII, the URL separator, line breaks, double-byte
// characters whose bytes also pair up across characters, a lone lead byte, a NUL.
const std::vector<std::string> kPieces = {
    "a",        "b",        "ab",       "URL",      "[",    "]",        "\r\n",
    "\n",       "\r",       "\\",       "\t",       "\xFE", "\x82\xA0", "\x83\x41",
    "\x81\x40", "\xA0\x83", "\x90\xE0", "\x96\xBE", "\xB1", "\x82",     std::string(1, '\0'),
    "zz"};

class Dice {
public:
    explicit Dice(std::uint32_t seed) : engine_(seed) {}
    std::uint32_t Below(std::uint32_t n) { return static_cast<std::uint32_t>(engine_() % n); }
    bool Chance(std::uint32_t percent) { return Below(100) < percent; }

private:
    std::mt19937 engine_;
};

WriterRecord MakeRecord(Dice& dice, std::int32_t key) {
    WriterRecord record;
    static constexpr std::uint16_t kTypes[] = {1, 1, 1, 1, 4, 4, 10, 2, 19, 0, 5, 7, 20, 300};
    record.type = kTypes[dice.Below(std::size(kTypes))];
    record.uin =
        dice.Chance(80) ? key : kKeys[dice.Below(static_cast<std::uint32_t>(kKeys.size()))];
    const std::uint32_t pieces = dice.Below(8);
    for (std::uint32_t i = 0; i < pieces; ++i) {
        record.text += kPieces[dice.Below(static_cast<std::uint32_t>(kPieces.size()))];
    }
    static constexpr std::uint32_t kDirections[] = {0, 1, 0, 1, 2, 0xFFFFFFFF};
    record.direction = kDirections[dice.Below(std::size(kDirections))];
    // Two years around 2021, some of them about the change to and from daylight time.
    record.stamp = static_cast<std::int32_t>(1577836800 + dice.Below(2 * 365 * 86400));
    if (dice.Chance(3)) {
        record.marker = 0x00A1;
    }
    if (dice.Chance(3)) {
        record.length = static_cast<std::uint16_t>(record.text.size() + 1 + dice.Below(3));
    }
    return record;
}

// A history of `events` events. With `messy`, some entries point past the end, before the
// start, at an earlier record or into the middle of one.
void WriteHistory(HistoryWriter& writer, Dice& dice, int events, bool messy) {
    std::vector<std::int32_t> offsets;
    for (int i = 0; i < events; ++i) {
        const std::int32_t key = kKeys[dice.Below(static_cast<std::uint32_t>(kKeys.size()))];
        std::int32_t offset = writer.AppendRecord(MakeRecord(dice, key));
        if (messy && !offsets.empty() && dice.Chance(10)) {
            static constexpr std::int32_t kFar = 0x7FFFFF00;
            const std::int32_t earlier =
                offsets[dice.Below(static_cast<std::uint32_t>(offsets.size()))];
            const std::int32_t choices[] = {kFar, -8, earlier, earlier + 3, offset + 1};
            offset = choices[dice.Below(5)];
        }
        offsets.push_back(offset);
        writer.AppendEntry(key, offset);
    }
}

const std::vector<std::string> kPatterns = {"",
                                            "a",
                                            "ab",
                                            "URL",
                                            "[URL]",
                                            "\r\n",
                                            "\n\r",
                                            "\x82\xA0",
                                            "\xA0\x83",
                                            "\xFE",
                                            "\xFE"
                                            "a",
                                            "zz",
                                            "zqxj",
                                            "\x83\x43\x83\x78",      // イベ
                                            "\x83T\x83|\x81[\x83g",  // サポート
                                            "\x90\xE0\x96\xBE",      // 説明
                                            std::string("a\0", 2),
                                            "]\r\n\r\n"};

std::string SearchDigestText(MessageDatabase& db, std::int32_t key) {
    std::string out;
    auto run = [&](SearchCriteria criteria, bool downward, std::int32_t start) {
        criteria.ready = true;
        criteria.position = start;
        HeadlessList list(db, key, start, 10);
        out += '|';
        while (FindNext(db, criteria, downward, list)) {
            out += std::to_string(criteria.position) + ',';
        }
    };
    const std::int32_t middle = db.EventCount(key) / 2;
    for (const std::string& pattern : kPatterns) {
        SearchCriteria both;
        both.searchText = pattern;
        both.includeReceived = both.includeSent = true;
        run(both, true, kNoRow);
        run(both, false, middle);
        SearchCriteria sent = both;
        sent.includeReceived = false;
        run(sent, false, kNoRow);
        SearchCriteria dated = both;
        dated.includeSent = false;
        dated.useDateRange = true;
        dated.rangeStart = 1585000000;  // across the spring change of 2020
        dated.rangeEnd = 1600000000;
        run(dated, true, middle);
    }
    return out;
}

std::string StatsDigestText(MessageDatabase& db, std::int32_t key) {
    const MemberStats stats = ComputeStats(db, key);
    std::string out;
    for (const CountTable* table : {&stats.allByType, &stats.sentByType, &stats.receivedByType,
                                    &stats.byHour, &stats.byWeekday}) {
        for (const auto& [k, count] : *table) {
            out += std::to_string(k) + '=' + std::to_string(count) + ' ';
        }
        out += '|';
    }
    return out;
}

std::string ExportDigestText(MessageDatabase& db, std::int32_t key, const std::string& path) {
    std::string out;
    EXPECT_TRUE(ExportText(db, key, RowSelection::All(), path).ok);
    out += ReadFileBytes(path);
    const ExportTransform utf8 = [](std::string_view bytes, std::string& to) {
        AppendUtf8FromShiftJis(bytes, to);
    };
    EXPECT_TRUE(ExportText(db, key, RowSelection::Rows({3, 1, 2, 999999}), path, utf8).ok);
    out += ReadFileBytes(path);
    return out;
}

std::string ListDigestText(MessageDatabase& db, std::int32_t key) {
    std::string out;
    EventRecord record;
    ListLineWriter writer;
    for (std::int32_t row = 0; row < db.EventCount(key); ++row) {
        AppendListRow(db, key, row, record, writer, out);
        out += '\n';
    }
    return out;
}

std::string Digest(const std::string& text) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char c : text) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
    }
    char buffer[17];
    std::snprintf(buffer, sizeof buffer, "%016llx", static_cast<unsigned long long>(hash));
    return buffer;
}

// Where AllDigests writes the texts of the test that runs.
std::string TextsStem() {
    const char* folder = std::getenv("TALVORA_TEST_TMP");
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    return (folder != nullptr ? std::string(folder)
                              : std::filesystem::temp_directory_path().string()) +
           "/exact-" + (test != nullptr ? test->name() : "run") + "-";
}

// One digest per kind of result, over all members and the pseudo-member. The texts behind
// them are also written to files, named in the digest line's failure message, so that when a
// digest changes the texts of two builds can be compared line by line.
std::string AllDigests(MessageDatabase& db, const TempFolder& folder) {
    std::string search, stats, exported, list;
    for (const std::int32_t key : {ALL_MEMBERS, 5, 1, -3, 424242}) {
        search += SearchDigestText(db, key);
        stats += StatsDigestText(db, key);
        exported += ExportDigestText(db, key, folder.File("export.txt"));
        list += ListDigestText(db, key);
    }
    const std::string stem = TextsStem();
    for (const auto& [kind, text] : {std::pair<const char*, const std::string&>{"search", search},
                                     {"stats", stats},
                                     {"export", exported},
                                     {"list", list}}) {
        std::ofstream(stem + kind + ".txt", std::ios::binary) << text;
    }
    return "search " + Digest(search) + " stats " + Digest(stats) + " export " + Digest(exported) +
           " list " + Digest(list);
}

class ExactResults : public ::testing::Test {
protected:
    ExactResults() : tz_("EST5EDT,M3.2.0,M11.1.0") {}

    // A digest that differs points at the texts it was taken of.
    ::testing::ScopedTrace texts_{
        __FILE__, __LINE__,
        "the texts behind the digests: " + TextsStem() + "{search,stats,export,list}.txt"};
    ScopedTimeZone tz_;
    TestHistory h_;
    MessageDatabase db_;
};

TEST_F(ExactResults, OrderlyHistory) {
    Dice dice(11);
    WriteHistory(h_.writer, dice, 900, false);
    ASSERT_TRUE(db_.Open(h_.paths.data, h_.paths.index));
    EXPECT_EQ(AllDigests(db_, h_.folder),
              "search ba559c546a586d31 stats 82e4fa18413648cf export ff8dc9be29cdb7cb "
              "list c779658fc7a3ed92");
}

TEST_F(ExactResults, MessyOffsets) {
    Dice dice(12);
    WriteHistory(h_.writer, dice, 900, true);
    ASSERT_TRUE(db_.Open(h_.paths.data, h_.paths.index));
    EXPECT_EQ(AllDigests(db_, h_.folder),
              "search 930e0793e7894ce0 stats 2bbb43aa5998279b export a1afb73ee66c6c17 "
              "list 6ee2aec6b1e9f9a4");
}

// Results taken before appends, and a record that the end of the file cut short until
// the rest of it arrived, must not linger after the next pass or a reopening.
TEST_F(ExactResults, AppendsAndReopening) {
    Dice dice(13);
    WriteHistory(h_.writer, dice, 400, false);
    ASSERT_TRUE(db_.Open(h_.paths.data, h_.paths.index));
    const std::string before = AllDigests(db_, h_.folder);

    WriterRecord cut = MakeRecord(dice, 5);
    cut.type = 1;
    cut.marker = kWriterRecordMarker;
    cut.text = "cut short ab";
    const std::string bytes = EncodeRecord(cut);
    const std::int32_t offset = h_.writer.AppendRecordPrefix(cut, 12);
    h_.writer.AppendEntry(5, offset);
    db_.ReadIndex();
    const std::string cutShort = AllDigests(db_, h_.folder);
    h_.writer.WriteDataAt(offset + 12, bytes.substr(12));
    WriteHistory(h_.writer, dice, 300, false);
    db_.ReadIndex();
    const std::string after = AllDigests(db_, h_.folder);

    MessageDatabase fresh;
    ASSERT_TRUE(fresh.Open(h_.paths.data, h_.paths.index));
    EXPECT_EQ(AllDigests(fresh, h_.folder), after);
    EXPECT_EQ(before,
              "search ff86831bceb967c1 stats ae7b11bbd406f45b export 5302b7d3fb755b4c "
              "list ae3717dffa3b10c2");
    EXPECT_EQ(cutShort,
              "search 2b1daa04d884b62a stats 9a2f77d1e1cdf86f export b22f2d32415fd6a6 "
              "list b4682427a9916ca8");
    EXPECT_EQ(after,
              "search 6b445031e6aafdc7 stats 2ab87905bfe82e17 export dc826a612d80d3a2 "
              "list b4cea532c81ba845");

    // The same paths with other content: the reopened database knows only the new pair.
    db_.Close();
    HistoryWriter other = CreateHistoryWriter(h_.paths);
    Dice otherDice(14);
    WriteHistory(other, otherDice, 200, false);
    ASSERT_TRUE(db_.Open(h_.paths.data, h_.paths.index));
    MessageDatabase second;
    ASSERT_TRUE(second.Open(h_.paths.data, h_.paths.index));
    EXPECT_EQ(AllDigests(db_, h_.folder), AllDigests(second, h_.folder));
}

}  // namespace
