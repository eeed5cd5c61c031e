#include "database/DataFileCache.h"

#include <algorithm>

DataFileCache::DataFileCache(RandomAccessFile& file) : file_(file), buffer_(kWindow) {}

const std::uint8_t* DataFileCache::Fetch(std::int64_t offset, std::size_t length,
                                         std::size_t& available) {
    available = 0;
    if (offset < 0) {
        return nullptr;
    }
    const std::int64_t end = start_ + static_cast<std::int64_t>(length_);
    const std::int64_t wanted = offset + static_cast<std::int64_t>(length);
    if (length_ > 0 && offset >= start_ && wanted <= end) {
        available = length;
        return buffer_.data() + (offset - start_);
    }

    if (length > kWindow) {
        large_.resize(length);
        const std::int64_t got = ReadFully(file_, offset, large_.data(), length);
        available = got > 0 ? static_cast<std::size_t>(got) : 0;
        return large_.data();
    }

    // Place the new window by the direction of travel: walking backward (the list's
    // order, newest first) keeps the records below this one; walking forward the ones
    // above; a far jump reads only a little.
    const auto window = static_cast<std::int64_t>(kWindow);
    const bool near = length_ > 0 && offset >= start_ - window && offset <= end + window;
    std::int64_t newStart = offset;
    std::size_t size = kSmallWindow;
    if (near) {
        size = kWindow;
        if (offset < start_) {
            const std::int64_t tail =
                std::max<std::int64_t>(static_cast<std::int64_t>(length), 1024);
            newStart = std::max<std::int64_t>(0, offset + tail - window);
        }
    }
    size = std::max(size, length);
    const std::int64_t got = ReadFully(file_, newStart, buffer_.data(), size);
    start_ = newStart;
    length_ = got > 0 ? static_cast<std::size_t>(got) : 0;

    const std::int64_t have = start_ + static_cast<std::int64_t>(length_) - offset;
    if (have <= 0) {
        return nullptr;
    }
    available = std::min(length, static_cast<std::size_t>(have));
    return buffer_.data() + (offset - start_);
}
