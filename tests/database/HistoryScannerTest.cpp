#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "database/HistoryScanner.h"
#include "support/ScanTree.h"
#include "support/TempFolder.h"
#include "support/TestHistory.h"

namespace {

constexpr std::int32_t kDay = 86400;
constexpr std::int32_t kStart = 1000000000;  // 2001-09-09 01:46:40 UTC

std::vector<FoundHistory> ScanAll(const std::string& root, int depth) {
    HistoryScanner scanner({root}, depth);
    while (scanner.Step(1)) {
    }
    return HistoryScanner::Arrange(scanner.found());
}

}  // namespace

// One tree with what a copied disk holds: histories, a copy in capitals, a lone index, a
// damaged pair, a link back to the top and a folder too deep.
TEST(HistoryScanner, FindsPairsCopiesAndDamageInOneWalk) {
    ScopedTimeZone utc("UTC0");
    TempFolder root;
    const std::string top = root.Path();
    WriteScanHistory(top + "/a", 12345, {kStart, kStart + kDay, kStart + 3 * kDay});
    WriteScanHistory(top + "/b/backup", 12345, {kStart, kStart + kDay}, true);
    WriteScanHistory(top + "/c", 999, {kStart + 9 * kDay});
    WriteScanHistory(top + "/lonely", 555, {kStart});
    std::filesystem::remove(top + "/lonely/555msg.dat");
    WriteScanHistory(top + "/damaged", 777, {kStart, kStart + kDay});
    std::filesystem::resize_file(top + "/damaged/777msg.dat", 6);
    WriteScanHistory(top + "/d1/d2/d3", 888, {kStart});
    std::filesystem::create_directory_symlink(top, top + "/a/loop");

    const std::vector<FoundHistory> found = ScanAll(top, 2);
    ASSERT_EQ(found.size(), 4U);
    EXPECT_EQ(found[0].folder, top + "/c");
    EXPECT_EQ(found[0].firstDate, "2001-09-18");
    EXPECT_EQ(found[1].folder, top + "/a");
    EXPECT_EQ(found[1].events, 3);
    EXPECT_EQ(found[1].firstDate, "2001-09-09");
    EXPECT_EQ(found[1].lastDate, "2001-09-12");
    EXPECT_TRUE(found[1].copyOf.empty());
    EXPECT_EQ(found[2].folder, top + "/b/backup");
    EXPECT_EQ(found[2].copyOf, top + "/a");
    EXPECT_EQ(found[2].indexFile, top + "/b/backup/12345MSG.IDX");
    // The damaged pair is listed with its count, undated, and says why.
    EXPECT_EQ(found[3].folder, top + "/damaged");
    EXPECT_EQ(found[3].events, 2);
    EXPECT_FALSE(found[3].dated);
    EXPECT_FALSE(found[3].problem.empty());
}

TEST(HistoryScanner, NotesUnreadableAndMissingFoldersAndGoesOn) {
    TempFolder root;
    const std::string top = root.Path();
    WriteScanHistory(top + "/ok", 1, {kStart});
    std::filesystem::create_directory(top + "/locked");
    ::chmod((top + "/locked").c_str(), 0);
    HistoryScanner scanner({top + "/missing", top});
    while (scanner.Step(8)) {
    }
    const std::vector<ScanNote> notes = scanner.TakeNotes();
    ::chmod((top + "/locked").c_str(), 0700);
    ASSERT_FALSE(notes.empty());
    EXPECT_EQ(notes[0].folder, top + "/missing");
    if (::geteuid() != 0) {  // root reads any folder
        ASSERT_EQ(notes.size(), 2U);
        EXPECT_EQ(notes[1].folder, top + "/locked");
    }
    ASSERT_EQ(scanner.found().size(), 1U);
    EXPECT_EQ(scanner.found()[0].uin, 1);
}
