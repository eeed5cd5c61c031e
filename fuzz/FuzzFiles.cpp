#include "FuzzFiles.h"

#include <algorithm>
#include <cstring>

namespace {

std::int64_t CopyOut(const std::string& bytes, std::int64_t offset, void* buffer,
                     std::size_t length) {
    if (offset < 0) {
        return -1;
    }
    if (static_cast<std::size_t>(offset) >= bytes.size()) {
        return 0;
    }
    const std::size_t n = std::min(length, bytes.size() - static_cast<std::size_t>(offset));
    std::memcpy(buffer, bytes.data() + offset, n);
    return static_cast<std::int64_t>(n);
}

class MemoryFile final : public RandomAccessFile {
public:
    explicit MemoryFile(const std::string& bytes) : bytes_(bytes) {}
    std::int64_t ReadAt(std::int64_t offset, void* buffer, std::size_t length) override {
        return CopyOut(bytes_, offset, buffer, length);
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

class ChangingFileSystem::File final : public RandomAccessFile {
public:
    File(ChangingFileSystem& fs, std::shared_ptr<Node> node) : fs_(fs), node_(std::move(node)) {}
    std::int64_t ReadAt(std::int64_t offset, void* buffer, std::size_t length) override {
        if (fs_.failReads) {
            return -1;
        }
        return CopyOut(node_->bytes, offset, buffer, std::min(length, fs_.maxRead));
    }
    FileIdentity Identity() override {
        return {true, 1, node_->number, static_cast<std::int64_t>(node_->bytes.size())};
    }

private:
    ChangingFileSystem& fs_;
    std::shared_ptr<Node> node_;  // kept while open, as an unlinked file is
};

void ChangingFileSystem::Replace(const std::string& path, std::string bytes) {
    auto node = std::make_shared<Node>();
    node->bytes = std::move(bytes);
    node->number = nextNumber_++;
    names_[path] = std::move(node);
}

std::string* ChangingFileSystem::Contents(const std::string& path) {
    auto it = names_.find(path);
    return it == names_.end() ? nullptr : &it->second->bytes;
}

std::unique_ptr<RandomAccessFile> ChangingFileSystem::OpenRead(const std::string& path,
                                                               OpenError* why) {
    auto it = names_.find(path);
    if (why != nullptr) {
        *why = it == names_.end() ? OpenError::NotFound : OpenError::None;
    }
    if (it == names_.end()) {
        return nullptr;
    }
    return std::make_unique<File>(*this, it->second);
}

FileIdentity ChangingFileSystem::Stat(const std::string& path) {
    auto it = names_.find(path);
    if (it == names_.end()) {
        return {};
    }
    return {true, 1, it->second->number, static_cast<std::int64_t>(it->second->bytes.size())};
}
