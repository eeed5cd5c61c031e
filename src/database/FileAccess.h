#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The file layer under MessageDatabase: read-only, shared, positioned reads. Tests put
// a fault-injecting implementation in its place.

// Why a file could not be opened.
enum class OpenError {
    None,
    NotFound,          // no such file (or a folder on the way is missing)
    PermissionDenied,  // it exists but may not be read
    NotAHistory,       // a folder, a device or anything else that is not a plain file
    ReadError,         // any other failure of the system
    AlreadyOpen,       // the pair asked for is the one open: nothing was done
};

struct FileIdentity {
    bool valid = false;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
};

class RandomAccessFile {
public:
    virtual ~RandomAccessFile() = default;
    // Reads up to `length` bytes at `offset` straight from the file (no user-space
    // buffering). Returns the number of bytes read, 0 at the end, -1 on an error.
    virtual std::int64_t ReadAt(std::int64_t offset, void* buffer, std::size_t length) = 0;
    // Device, inode and current size of the open file.
    virtual FileIdentity Identity() = 0;
    // The system's descriptor of the file, for a mapping of it; -1 where there is none
    // (every read then goes through ReadAt).
    virtual int Descriptor() const { return -1; }
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // Opens a file for reading without taking a lock; nullptr when it cannot be opened,
    // and then `why` (when given) says why.
    virtual std::unique_ptr<RandomAccessFile> OpenRead(const std::string& path,
                                                       OpenError* why = nullptr) = 0;
    // Identity of whatever is at `path` now (valid false when nothing is).
    virtual FileIdentity Stat(const std::string& path) = 0;
    // Names of the entries of a folder (empty when it cannot be read).
    virtual std::vector<std::string> ListFolder(const std::string& folder) = 0;
};

// Reads until `length` bytes are in, the end of the file or an error: a file layer may
// hand back fewer bytes than asked without being at the end. -1 only when nothing was read
// and the first read failed.
std::int64_t ReadFully(RandomAccessFile& file, std::int64_t offset, void* buffer,
                       std::size_t length);

// The machine's own file system (POSIX).
FileSystem& NativeFileSystem();
