#pragma once

#include <memory>
#include <string>
#include <vector>

#include "database/FileAccess.h"

// The machine's file system with a hook on every read, for tests that count, cut short
// or fail reads.
class PassThroughFileSystem : public FileSystem {
public:
    std::unique_ptr<RandomAccessFile> OpenRead(const std::string& path, OpenError* why) override;
    FileIdentity Stat(const std::string& path) override { return NativeFileSystem().Stat(path); }
    std::vector<std::string> ListFolder(const std::string& folder) override {
        return NativeFileSystem().ListFolder(folder);
    }

    // One read of the file opened from `path`; by default passed on unchanged.
    virtual std::int64_t Read(const std::string& path, RandomAccessFile& file, std::int64_t offset,
                              void* buffer, std::size_t length);
};
