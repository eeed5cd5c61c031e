#pragma once

#include <cstdint>
#include <cstdlib>
#include <string>

#include "database/MessageDatabase.h"

// The benchmark history that bench/run.sh makes.
inline std::string BenchFolder() {
    const char* folder = std::getenv("TALVORA_BENCH_FOLDER");
    return folder != nullptr ? folder : "build-bench/history";
}
inline std::int32_t BenchUin() {
    const char* uin = std::getenv("TALVORA_BENCH_UIN");
    return uin != nullptr ? std::atoi(uin) : 1000000;
}
inline std::string BenchDataFile() {
    return MessageDatabase::DataFileName(BenchFolder(), BenchUin());
}

// One database, opened once for every benchmark that only reads.
MessageDatabase& BenchDatabase();

// Seconds that `grep -c -F text` takes over the data file (best of three), the yardstick
// of the search, statistics and export budgets.
double GrepSeconds(const std::string& text);

// Heap bytes the member table holds: every reference list's capacity plus a map node
// (key, name, list header and the node's links) per member.
double TableBytes(MessageDatabase& db);
// Heap bytes of the caches built over the events (built if they are not yet).
double CacheBytes(MessageDatabase& db);
