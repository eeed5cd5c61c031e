#include "support/ScanTree.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "historywriter/HistoryWriter.h"
#include "support/TestHistory.h"

void WriteScanHistory(const std::string& folder, std::int32_t uin,
                      const std::vector<std::int32_t>& stamps, bool capitals) {
    std::filesystem::create_directories(folder);
    HistoryPaths paths = HistoryPathsFor(folder, uin);
    {
        HistoryWriter writer = CreateHistoryWriter(paths);
        for (const std::int32_t stamp : stamps) {
            WriterRecord record;
            record.uin = 4242;
            record.text = "hello";
            record.stamp = stamp;
            writer.AppendEvent(4242, record);
        }
        ASSERT_TRUE(writer.Ok()) << writer.Error();
    }
    if (capitals) {
        const std::string base = folder + '/' + std::to_string(uin);
        std::filesystem::rename(paths.data, base + "MSG.DAT");
        std::filesystem::rename(paths.index, base + "MSG.IDX");
    }
}
