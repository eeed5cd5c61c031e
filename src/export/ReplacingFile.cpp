#include "export/ReplacingFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// Attempts at a free temporary name before giving up.
constexpr int kNameAttempts = 100;
// As many links as the kernel itself follows before ELOOP.
constexpr int kMaxLinks = 40;

// Follows the symbolic links of the last component of `path` (the folders on the way are
// resolved by the kernel, the rename included). A link that points nowhere gives the path
// it points at, which is then created. False with errno set on a loop or a read error.
bool FollowLinks(std::string path, std::string& target) {
    for (int hop = 0; hop <= kMaxLinks; ++hop) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0) {
            if (errno != ENOENT) {
                return false;
            }
            target = path;
            return true;
        }
        if (!S_ISLNK(st.st_mode)) {
            target = path;
            return true;
        }
        std::vector<char> link(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 2);
        const ssize_t n = ::readlink(path.c_str(), link.data(), link.size());
        if (n < 0) {
            return false;
        }
        std::string next(link.data(), static_cast<std::size_t>(n));
        if (next.empty()) {
            errno = ENOENT;
            return false;
        }
        if (next.front() != '/') {
            const std::size_t slash = path.rfind('/');
            next = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + next;
        }
        path = std::move(next);
    }
    errno = ELOOP;
    return false;
}

bool SameFile(const struct stat& a, const std::string& path) {
    struct stat b {};
    return ::stat(path.c_str(), &b) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

}  // namespace

ReplacingFile::~ReplacingFile() {
    Discard();
}

bool ReplacingFile::Fail(std::string& error, int code) {
    error = "cannot write " + path_ + ": " + std::strerror(code);
    Discard();
    return false;
}

void ReplacingFile::Discard() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        temporary_.clear();
    }
}

bool ReplacingFile::Open(const std::string& path, std::string& error) {
    Discard();
    path_ = path;
    target_.clear();
    if (path.empty()) {
        error = "cannot write: no file name";
        return false;
    }
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        if (errno != ENOENT) {
            return Fail(error, errno);
        }
        if (!FollowLinks(path, target_)) {
            return Fail(error, errno);
        }
        return OpenTemporary(nullptr, error);
    }
    if (S_ISDIR(st.st_mode)) {
        return Fail(error, EISDIR);
    }
    if (!S_ISREG(st.st_mode)) {
        // A FIFO, a terminal or a device takes the bytes as they come; replacing it would
        // put a plain file where the device was.
        target_ = path;
        return OpenDirect(O_WRONLY, error);
    }
    if (!FollowLinks(path, target_)) {
        return Fail(error, errno);
    }
    if (!SameFile(st, target_)) {
        // Reached through a link that names no path of its own (/dev/stdout on a deleted
        // file, say): the only way to it is the way the caller gave.
        target_ = path;
        return OpenDirect(O_WRONLY | O_TRUNC, error);
    }
    return OpenTemporary(&st, error);
}

bool ReplacingFile::OpenDirect(int flags, std::string& error) {
    fd_ = ::open(path_.c_str(), flags | O_CLOEXEC | O_NOCTTY);
    if (fd_ < 0) {
        return Fail(error, errno);
    }
    return true;
}

bool ReplacingFile::OpenTemporary(const struct stat* existing, std::string& error) {
    // Beside the target, so that the rename stays within one file system. O_EXCL with a
    // name of our own keeps two exports from sharing a temporary file. A new file's mode
    // follows the umask; a replaced one's is copied before any byte is written, so that a
    // private file is never readable by others on the way.
    const mode_t mode = existing != nullptr ? 0600 : 0666;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::string name =
            target_ + "." + std::to_string(::getpid()) + "-" + std::to_string(attempt) + ".tmp";
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0) {
            fd_ = fd;
            temporary_ = name;
            break;
        }
        if (errno != EEXIST) {
            return Fail(error, errno);
        }
    }
    if (fd_ < 0) {
        return Fail(error, EEXIST);
    }
    if (existing != nullptr) {
        // The owner can be kept only with the right to do so; the mode in any case (after
        // the owner, since a change of owner drops the set-id bits).
        [[maybe_unused]] const int kept = ::fchown(fd_, existing->st_uid, existing->st_gid);
        if (::fchmod(fd_, existing->st_mode & 07777) != 0) {
            return Fail(error, errno);
        }
    }
    return true;
}

bool ReplacingFile::Write(std::string_view bytes, std::string& error) {
    if (fd_ < 0) {
        return Fail(error, EBADF);
    }
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return Fail(error, errno);
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

bool ReplacingFile::Commit(std::string& error) {
    if (fd_ < 0) {
        return Fail(error, EBADF);
    }
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) {
        return Fail(error, errno);
    }
    if (temporary_.empty()) {
        return true;
    }
    if (std::rename(temporary_.c_str(), target_.c_str()) != 0) {
        return Fail(error, errno);
    }
    temporary_.clear();
    return true;
}
