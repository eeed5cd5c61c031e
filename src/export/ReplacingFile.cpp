#include "export/ReplacingFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

// Attempts at a free temporary name before giving up.
constexpr int kNameAttempts = 100;

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
    if (path.empty()) {
        error = "cannot write: no file name";
        return false;
    }
    // Beside the target, so that the rename stays within one file system. O_EXCL with a
    // name of our own keeps two exports from sharing a temporary file; the mode follows
    // the umask like any newly created file.
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::string name =
            path + "." + std::to_string(::getpid()) + "-" + std::to_string(attempt) + ".tmp";
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            fd_ = fd;
            temporary_ = name;
            return true;
        }
        if (errno != EEXIST) {
            return Fail(error, errno);
        }
    }
    return Fail(error, EEXIST);
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
    if (std::rename(temporary_.c_str(), path_.c_str()) != 0) {
        return Fail(error, errno);
    }
    temporary_.clear();
    return true;
}
