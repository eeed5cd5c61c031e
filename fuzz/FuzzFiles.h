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

// Files held in memory that change underneath their readers as files on disk do: a file
// cut or grown in place changes for every open handle; a file replaced (or removed) under
// its name keeps its old contents for the handles already open, and the new one has a
// new identity. Reads can be made to fail or to come short.
class ChangingFileSystem final : public FileSystem {
public:
    // Puts a new file under `path` (a new identity).
    void Replace(const std::string& path, std::string bytes);
    void Remove(const std::string& path) { names_.erase(path); }
    // The file now under `path`, to be changed in place; nullptr when there is none.
    std::string* Contents(const std::string& path);

    std::size_t maxRead = SIZE_MAX;  // every read is cut to this many bytes
    bool failReads = false;          // every read fails

    std::unique_ptr<RandomAccessFile> OpenRead(const std::string& path, OpenError* why) override;
    FileIdentity Stat(const std::string& path) override;
    std::vector<std::string> ListFolder(const std::string&) override { return {}; }

private:
    struct Node {
        std::string bytes;
        std::uint64_t number = 0;
    };
    class File;

    std::map<std::string, std::shared_ptr<Node>> names_;
    std::uint64_t nextNumber_ = 1;
};
