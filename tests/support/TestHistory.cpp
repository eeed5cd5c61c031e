#include "support/TestHistory.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>

#include "database/LocalTime.h"

namespace {

// Whether TZ spells out its rule ("JST-9", "EST5EDT,M3.2.0,M11.1.0", "<+0530>-5:30") rather
// than naming a zone file ("Asia/Tokyo", ":Europe/Berlin").
bool SpellsOutRule(const std::string& tz) {
    std::size_t i = 0;
    if (!tz.empty() && tz[0] == '<') {
        i = tz.find('>');
        if (i == std::string::npos) {
            return false;
        }
        ++i;
    } else {
        while (i < tz.size() && std::isalpha(static_cast<unsigned char>(tz[i])) != 0) {
            ++i;
        }
        if (i < 3) {
            return false;
        }
    }
    if (i < tz.size() && (tz[i] == '+' || tz[i] == '-')) {
        ++i;
    }
    return i < tz.size() && std::isdigit(static_cast<unsigned char>(tz[i])) != 0;
}

// Without its zone file the C library quietly takes UTC, and a test meant for another zone
// would pass or fail for the wrong reason: it fails saying why instead.
void ExpectZoneInstalled(const std::string& tz) {
    if (tz.empty() || SpellsOutRule(tz)) {
        return;
    }
    const char* dir = std::getenv("TZDIR");
    const std::filesystem::path file =
        std::filesystem::path(dir != nullptr ? dir : "/usr/share/zoneinfo") /
        (tz[0] == ':' ? tz.substr(1) : tz);
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        ADD_FAILURE() << "time zone " << tz << " is not installed (no " << file.string()
                      << "): install tzdata";
    }
}

}  // namespace

HistoryWriter CreateHistoryWriter(const HistoryPaths& paths) {
    auto writer = HistoryWriter::Create(paths.data, paths.index);
    if (!writer) {
        std::abort();
    }
    return std::move(*writer);
}

TestHistory::TestHistory(std::int32_t owner)
    : paths(HistoryPathsFor(folder.Path(), owner)), writer(CreateHistoryWriter(paths)) {}

std::int32_t TestHistory::Message(std::int32_t key, const std::string& text, std::int32_t stamp,
                                  std::uint32_t direction) {
    WriterRecord record;
    record.type = 1;
    record.uin = key;
    record.text = text;
    record.stamp = stamp;
    record.direction = direction;
    return writer.AppendEvent(key, record);
}

ScopedTimeZone::ScopedTimeZone(const char* tz) {
    const char* old = std::getenv("TZ");
    hadPrevious_ = old != nullptr;
    if (hadPrevious_) {
        previous_ = old;
    }
    ExpectZoneInstalled(tz);
    setenv("TZ", tz, 1);
    InitTimeZone();
}

ScopedTimeZone::~ScopedTimeZone() {
    if (hadPrevious_) {
        setenv("TZ", previous_.c_str(), 1);
    } else {
        unsetenv("TZ");
    }
    InitTimeZone();
}
