#include "support/TestHistory.h"

#include <cstdlib>

#include "database/LocalTime.h"

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
