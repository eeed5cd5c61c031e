#include "database/FileAccess.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {

FileIdentity IdentityOf(const struct stat& st) {
    FileIdentity id;
    id.valid = true;
    id.device = static_cast<std::uint64_t>(st.st_dev);
    id.inode = static_cast<std::uint64_t>(st.st_ino);
    id.size = static_cast<std::int64_t>(st.st_size);
    return id;
}

class PosixFile final : public RandomAccessFile {
public:
    explicit PosixFile(int fd) : fd_(fd) {}
    ~PosixFile() override { ::close(fd_); }
    PosixFile(const PosixFile&) = delete;
    PosixFile& operator=(const PosixFile&) = delete;

    std::int64_t ReadAt(std::int64_t offset, void* buffer, std::size_t length) override {
        if (offset < 0) {
            return -1;
        }
        auto* out = static_cast<char*>(buffer);
        std::size_t done = 0;
        // pread may return less than asked without being at the end; keep going until
        // the end of the file or an error.
        while (done < length) {
            ssize_t n = ::pread(fd_, out + done, length - done,
                                static_cast<off_t>(offset + static_cast<std::int64_t>(done)));
            if (n < 0) {
                if (errno == EINTR) {
                    continue;
                }
                return done > 0 ? static_cast<std::int64_t>(done) : -1;
            }
            if (n == 0) {
                break;
            }
            done += static_cast<std::size_t>(n);
        }
        return static_cast<std::int64_t>(done);
    }

    int Descriptor() const override { return fd_; }

    FileIdentity Identity() override {
        struct stat st {};
        if (::fstat(fd_, &st) != 0) {
            return {};
        }
        return IdentityOf(st);
    }

private:
    int fd_;
};

OpenError ErrorOf(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR:
        case ENAMETOOLONG:
            return OpenError::NotFound;
        case EACCES:
        case EPERM:
            return OpenError::PermissionDenied;
        case EISDIR:
            return OpenError::NotAHistory;
        default:
            return OpenError::ReadError;
    }
}

std::unique_ptr<RandomAccessFile> Open(const std::string& path, OpenError& error) {
    if (path.empty()) {
        error = OpenError::NotFound;
        return nullptr;
    }
    int fd;
    do {
        // O_NONBLOCK: a FIFO given as a history must not block the open.
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        error = ErrorOf(errno);
        return nullptr;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        error = ErrorOf(errno);
        ::close(fd);
        return nullptr;
    }
    if (!S_ISREG(st.st_mode)) {
        error = OpenError::NotAHistory;
        ::close(fd);
        return nullptr;
    }
    error = OpenError::None;
    return std::make_unique<PosixFile>(fd);
}

class PosixFileSystem final : public FileSystem {
public:
    std::unique_ptr<RandomAccessFile> OpenRead(const std::string& path, OpenError* why) override {
        OpenError error = OpenError::None;
        auto file = Open(path, error);
        if (why != nullptr) {
            *why = error;
        }
        return file;
    }

    FileIdentity Stat(const std::string& path) override {
        struct stat st {};
        if (path.empty() || ::stat(path.c_str(), &st) != 0) {
            return {};
        }
        return IdentityOf(st);
    }

    std::vector<std::string> ListFolder(const std::string& folder) override {
        std::vector<std::string> names;
        DIR* dir = ::opendir(folder.empty() ? "/" : folder.c_str());
        if (dir == nullptr) {
            return names;
        }
        while (const dirent* entry = ::readdir(dir)) {
            names.emplace_back(entry->d_name);
        }
        ::closedir(dir);
        return names;
    }
};

}  // namespace

std::int64_t ReadFully(RandomAccessFile& file, std::int64_t offset, void* buffer,
                       std::size_t length) {
    auto* out = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < length) {
        const std::int64_t got =
            file.ReadAt(offset + static_cast<std::int64_t>(done), out + done, length - done);
        if (got <= 0) {
            if (got < 0 && done == 0) {
                return -1;
            }
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    return static_cast<std::int64_t>(done);
}

FileSystem& NativeFileSystem() {
    static PosixFileSystem fileSystem;
    return fileSystem;
}
