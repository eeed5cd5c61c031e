#include "FuzzFiles.h"

#include <algorithm>
#include <cstring>

namespace {

class MemoryFile final : public RandomAccessFile {
public:
    explicit MemoryFile(const std::string& bytes) : bytes_(bytes) {}
    std::int64_t ReadAt(std::int64_t offset, void* buffer, std::size_t length) override {
        if (offset < 0) {
            return -1;
        }
        if (static_cast<std::size_t>(offset) >= bytes_.size()) {
            return 0;
        }
        const std::size_t n = std::min(length, bytes_.size() - static_cast<std::size_t>(offset));
        std::memcpy(buffer, bytes_.data() + offset, n);
        return static_cast<std::int64_t>(n);
    }
    FileIdentity Identity() override {
        return {true, 1, 1, static_cast<std::int64_t>(bytes_.size())};
    }

private:
    const std::string& bytes_;
};

}  // namespace

std::unique_ptr<RandomAccessFile> MemoryFileSystem::OpenRead(const std::string& path,
                                                             OpenError* why) {
    auto it = files_.find(path);
    if (why != nullptr) {
        *why = it == files_.end() ? OpenError::NotFound : OpenError::None;
    }
    if (it == files_.end()) {
        return nullptr;
    }
    return std::make_unique<MemoryFile>(it->second);
}

FileIdentity MemoryFileSystem::Stat(const std::string& path) {
    auto it = files_.find(path);
    if (it == files_.end()) {
        return {};
    }
    return {true, 1, 1, static_cast<std::int64_t>(it->second.size())};
}
