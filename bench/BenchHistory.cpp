#include "BenchHistory.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <system_error>

#include "database/EventFacts.h"
#include "database/LocalTime.h"

namespace {

// The data file and its real size, at the top of the output beside the machine's.
[[maybe_unused]] const bool kDataFileInContext = [] {
    std::error_code error;
    const auto bytes = std::filesystem::file_size(BenchDataFile(), error);
    benchmark::AddCustomContext("data_file", BenchDataFile());
    benchmark::AddCustomContext("data_file_bytes", error ? "missing" : std::to_string(bytes));
    return true;
}();

}  // namespace

MessageDatabase& BenchDatabase() {
    static MessageDatabase* db = [] {
        InitTimeZone();
        auto* opened = new MessageDatabase;
        if (!opened->OpenFolder(BenchFolder(), BenchUin())) {
            std::abort();
        }
        return opened;
    }();
    return *db;
}

double GrepSeconds(const std::string& text) {
    const std::string command = "grep -c -F '" + text + "' '" + BenchDataFile() + "' > /dev/null";
    double best = 1e9;
    for (int i = 0; i < 3; ++i) {
        const auto start = std::chrono::steady_clock::now();
        if (std::system(command.c_str()) == -1) {
            return 0;
        }
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

double TableBytes(MessageDatabase& db) {
    return static_cast<double>(db.TableBytes());
}

double CacheBytes(MessageDatabase& db) {
    return static_cast<double>(db.Facts().CapacityBytes());
}
