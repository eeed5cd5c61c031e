#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "database/FileAccess.h"

// Files held in memory, so that each fuzz input costs no disk I/O.
class MemoryFileSystem final : public FileSystem {
public:
    void Put(const std::string& path, std::string bytes) { files_[path] = std::move(bytes); }
    std::unique_ptr<RandomAccessFile> OpenRead(const std::string& path, OpenError* why) override;
    FileIdentity Stat(const std::string& path) override;
    std::vector<std::string> ListFolder(const std::string&) override { return {}; }

private:
    std::map<std::string, std::string> files_;
};
