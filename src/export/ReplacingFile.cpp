#include "export/ReplacingFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "export/TemporaryFiles.h"

namespace {

// Attempts at a free temporary name before giving up.
constexpr int kNameAttempts = 100;
// As many links as the kernel itself follows before ELOOP.
constexpr int kMaxLinks = 40;
// Descriptors looked at where the system cannot list them.
constexpr int kMaxDescriptors = 1024;

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
            if (slash != std::string::npos) {
                next.insert(0, path, 0, slash + 1);
            }
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

// `path` made absolute with its folders resolved; the last component as it is when it does
// not exist.
std::string AbsoluteName(const std::string& path) {
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) != nullptr) {
        return resolved;
    }
    const std::size_t slash = path.rfind('/');
    const std::string folder =
        slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    const std::string leaf = slash == std::string::npos ? path : path.substr(slash + 1);
    if (::realpath(folder.c_str(), resolved) == nullptr) {
        return path;
    }
    std::string name = resolved;
    if (name.back() != '/') {
        name += '/';
    }
    return name + leaf;
}

bool IsWritableDescriptorOn(int fd, const struct stat& st) {
    struct stat open {};
    if (::fstat(fd, &open) != 0 || open.st_dev != st.st_dev || open.st_ino != st.st_ino) {
        return false;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    return flags >= 0 && (flags & O_ACCMODE) != O_RDONLY;
}

// A descriptor of this process that has the file `st` describes open for writing; -1 when
// there is none.
int WritableDescriptorOn(const struct stat& st) {
    if (DIR* dir = ::opendir("/proc/self/fd")) {
        int found = -1;
        const int own = ::dirfd(dir);
        while (const dirent* entry = ::readdir(dir)) {
            char* end = nullptr;
            const long fd = std::strtol(entry->d_name, &end, 10);
            if (end != entry->d_name && *end == '\0' && fd != own && fd >= 0 && fd <= INT_MAX &&
                IsWritableDescriptorOn(static_cast<int>(fd), st)) {
                found = static_cast<int>(fd);
                break;
            }
        }
        ::closedir(dir);
        return found;
    }
    for (int fd = 0; fd < kMaxDescriptors; ++fd) {
        if (IsWritableDescriptorOn(fd, st)) {
            return fd;
        }
    }
    return -1;
}

}  // namespace

ReplacingFile::~ReplacingFile() {
    Discard();
}

void ReplacingFile::Protect(std::uint64_t device, std::uint64_t inode, OutputFailure::Kind why) {
    protected_.push_back({device, inode, std::string(), why});
}

void ReplacingFile::ProtectPath(const std::string& path, OutputFailure::Kind why) {
    if (path.empty()) {
        return;
    }
    Protected entry{0, 0, AbsoluteName(path), why};
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        entry.device = static_cast<std::uint64_t>(st.st_dev);
        entry.inode = static_cast<std::uint64_t>(st.st_ino);
    }
    protected_.push_back(std::move(entry));
}

const ReplacingFile::Protected* ReplacingFile::ProtectionOf(const struct stat* st,
                                                            const std::string& name) const {
    for (const Protected& entry : protected_) {
        const bool sameFile = st != nullptr && entry.inode != 0 &&
                              entry.device == static_cast<std::uint64_t>(st->st_dev) &&
                              entry.inode == static_cast<std::uint64_t>(st->st_ino);
        const bool sameName = st == nullptr && !entry.name.empty() && entry.name == name;
        if (sameFile || sameName) {
            return &entry;
        }
    }
    return nullptr;
}

bool ReplacingFile::Fail(std::string& error, OutputFailure::Kind kind, int code) {
    failure_ = {kind, code, path_};
    error = OutputFailureText(failure_);
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
        ForgetTemporaryFile(temporary_);
        temporary_.clear();
    }
}

bool ReplacingFile::Open(const std::string& path, std::string& error) {
    Discard();
    path_ = path;
    target_.clear();
    failure_ = {};
    keepLinks_ = false;
    if (path.empty()) {
        return Fail(error, OutputFailure::Kind::NoName);
    }
    if (WritesInterrupted()) {
        return Fail(error, OutputFailure::Kind::Interrupted);
    }
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        return OpenExisting(st, error);
    }
    if (errno != ENOENT) {
        return Fail(error, OutputFailure::Kind::System, errno);
    }
    if (!FollowLinks(path, target_)) {
        return Fail(error, OutputFailure::Kind::System, errno);
    }
    if (const Protected* entry = ProtectionOf(nullptr, AbsoluteName(target_))) {
        return Fail(error, entry->why);
    }
    return OpenTemporary(nullptr, error);
}

bool ReplacingFile::Admit(const std::string& path, std::string& error) {
    Discard();
    path_ = path;
    failure_ = {};
    if (path.empty()) {
        return Fail(error, OutputFailure::Kind::NoName);
    }
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        if (const Protected* entry = ProtectionOf(&st, std::string())) {
            return Fail(error, entry->why);
        }
        return true;
    }
    if (errno != ENOENT || !FollowLinks(path, target_)) {
        return Fail(error, OutputFailure::Kind::System, errno);
    }
    if (const Protected* entry = ProtectionOf(nullptr, AbsoluteName(target_))) {
        return Fail(error, entry->why);
    }
    return true;
}

bool ReplacingFile::OpenExisting(const struct stat& st, std::string& error) {
    if (const Protected* entry = ProtectionOf(&st, std::string())) {
        return Fail(error, entry->why);
    }
    if (S_ISDIR(st.st_mode)) {
        return Fail(error, OutputFailure::Kind::System, EISDIR);
    }
    if (const int fd = WritableDescriptorOn(st); fd >= 0) {
        // Our own standard output, or another descriptor on the file: its position (and
        // O_APPEND) decide where the bytes go.
        target_ = path_;
        fd_ = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
        return fd_ >= 0 || Fail(error, OutputFailure::Kind::System, errno);
    }
    if (!S_ISREG(st.st_mode)) {
        // A FIFO, a terminal or a device takes the bytes as they come; replacing it would
        // put a plain file where the device was.
        target_ = path_;
        return OpenDirect(O_WRONLY, error);
    }
    if (::faccessat(AT_FDCWD, path_.c_str(), W_OK, AT_EACCESS) != 0) {
        return errno == EACCES || errno == EPERM ? Fail(error, OutputFailure::Kind::NotWritable)
                                                 : Fail(error, OutputFailure::Kind::System, errno);
    }
    if (!FollowLinks(path_, target_)) {
        return Fail(error, OutputFailure::Kind::System, errno);
    }
    if (!SameFile(st, target_)) {
        // Reached through a link that names no path of its own (a descriptor's link to a
        // deleted file, say): the only way to it is the way the caller gave.
        target_ = path_;
        return OpenDirect(O_WRONLY | O_TRUNC, error);
    }
    keepLinks_ = st.st_nlink > 1;
    return OpenTemporary(&st, error);
}

bool ReplacingFile::OpenDirect(int flags, std::string& error) {
    fd_ = ::open(path_.c_str(), flags | O_CLOEXEC | O_NOCTTY);
    if (fd_ < 0) {
        return Fail(error, OutputFailure::Kind::System, errno);
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
        // A quit signal between the file's creation and its note would leave it behind: the
        // signals wait for the note (they arrive the moment the mask is restored).
        sigset_t quit{};
        sigset_t before{};
        sigemptyset(&quit);
        sigaddset(&quit, SIGINT);
        sigaddset(&quit, SIGTERM);
        sigaddset(&quit, SIGHUP);
        ::pthread_sigmask(SIG_BLOCK, &quit, &before);
        const int fd = ::open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        const int openError = errno;
        if (fd >= 0) {
            fd_ = fd;
            temporary_ = name;
            NoteTemporaryFile(temporary_);
        }
        ::pthread_sigmask(SIG_SETMASK, &before, nullptr);
        if (fd >= 0) {
            break;
        }
        if (openError != EEXIST) {
            return Fail(error, OutputFailure::Kind::System, openError);
        }
    }
    if (fd_ < 0) {
        return Fail(error, OutputFailure::Kind::System, EEXIST);
    }
    if (existing != nullptr && !keepLinks_) {
        // The owner can be kept only with the right to do so; the mode in any case (after
        // the owner, since a change of owner drops the set-id bits).
        [[maybe_unused]] const int kept = ::fchown(fd_, existing->st_uid, existing->st_gid);
        if (::fchmod(fd_, existing->st_mode & 07777) != 0) {
            return Fail(error, OutputFailure::Kind::System, errno);
        }
    }
    return true;
}

bool ReplacingFile::Write(std::string_view bytes, std::string& error) {
    if (fd_ < 0) {
        return Fail(error, OutputFailure::Kind::System, EBADF);
    }
    while (!bytes.empty()) {
        if (WritesInterrupted()) {
            return Fail(error, OutputFailure::Kind::Interrupted);
        }
        const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return Fail(error, OutputFailure::Kind::System, errno);
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// The finished temporary file's bytes into the target itself, so that its other names see
// them too; the temporary file goes afterwards.
bool ReplacingFile::CopyIntoTarget(std::string& error) {
    const int out = ::open(target_.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NOCTTY);
    if (out < 0) {
        return Fail(error, OutputFailure::Kind::System, errno);
    }
    std::vector<char> buffer(1 << 20);
    off_t at = 0;
    while (true) {
        const ssize_t got = ::pread(fd_, buffer.data(), buffer.size(), at);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            const int code = got < 0 ? errno : 0;
            const bool closed = ::close(out) == 0;
            if (code != 0 || !closed) {
                return Fail(error, OutputFailure::Kind::System, code != 0 ? code : errno);
            }
            return true;
        }
        for (ssize_t done = 0; done < got;) {
            const ssize_t put =
                ::write(out, buffer.data() + done, static_cast<std::size_t>(got - done));
            if (put < 0 && errno != EINTR) {
                const int code = errno;
                ::close(out);
                return Fail(error, OutputFailure::Kind::System, code);
            }
            done += std::max<ssize_t>(put, 0);
        }
        at += got;
    }
}

bool ReplacingFile::Commit(std::string& error) {
    if (fd_ < 0) {
        return Fail(error, OutputFailure::Kind::System, EBADF);
    }
    if (WritesInterrupted()) {
        return Fail(error, OutputFailure::Kind::Interrupted);
    }
    if (temporary_.empty()) {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0 || Fail(error, OutputFailure::Kind::System, errno);
    }
    if (keepLinks_) {
        if (!CopyIntoTarget(error)) {
            return false;
        }
        Discard();
        return true;
    }
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) {
        return Fail(error, OutputFailure::Kind::System, errno);
    }
    if (std::rename(temporary_.c_str(), target_.c_str()) != 0) {
        return Fail(error, OutputFailure::Kind::System, errno);
    }
    ForgetTemporaryFile(temporary_);
    temporary_.clear();
    return true;
}
