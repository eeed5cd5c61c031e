#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "export/ExportOutput.h"
#include "export/OutputFailure.h"

// The one writer of everything an export produces.
// - A regular file (new, or existing, also behind a symbolic link) is written under a
//   temporary name beside it and put in place by Commit, so that a failed or interrupted
//   write leaves the old file as it was. An existing file keeps its mode, where allowed its
//   owner, and its other hard links (it is then rewritten in place from the finished
//   temporary file). A file the user may not write is refused, as cp would.
// - A file that a descriptor of this process has open for writing (/dev/stdout,
//   /dev/fd/N, /proc/self/fd/N, or any path to the same file) is written through that
//   descriptor, at its position, never replaced: a shell's `>> log` keeps what log held.
// - Anything else that is already there (a FIFO, a terminal, a device) is written
//   directly, never replaced.
// - Protected files (the history being read, the settings in use) are refused, whatever
//   path reaches them.
// Dropping the object without a successful Commit removes the temporary file; so does a
// quit signal (see TemporaryFiles.h).
class ReplacingFile final : public ExportOutput {
public:
    ReplacingFile() = default;
    ~ReplacingFile() override;
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // Refuses every path to this file (device and inode) with `why`.
    void Protect(std::uint64_t device, std::uint64_t inode, OutputFailure::Kind why);
    // The same for the file at `path`, also while it does not exist yet (then by name).
    void ProtectPath(const std::string& path, OutputFailure::Kind why);

    // Each returns false with the reason in `error` (English) and in failure().
    bool Open(const std::string& path, std::string& error);
    bool Write(std::string_view bytes, std::string& error) override;
    bool Commit(std::string& error);

    // Refuses `path` as Open would when it reaches a protected file, and opens nothing: for
    // a writer that changes an existing file in place by its own means.
    bool Admit(const std::string& path, std::string& error);

    const OutputFailure& failure() const { return failure_; }
    // The temporary file being written, empty when the bytes go to the target directly.
    const std::string& temporaryPath() const { return temporary_; }
    // The file the bytes end up in: `path` with its symbolic links followed.
    const std::string& target() const { return target_; }

private:
    struct Protected {
        std::uint64_t device = 0;
        std::uint64_t inode = 0;
        std::string name;  // the absolute name, for a file that did not exist
        OutputFailure::Kind why = OutputFailure::Kind::None;
    };

    bool Fail(std::string& error, OutputFailure::Kind kind, int code = 0);
    void Discard();
    const Protected* ProtectionOf(const struct stat* st, const std::string& name) const;
    bool OpenExisting(const struct stat& st, std::string& error);
    bool OpenDirect(int flags, std::string& error);
    bool OpenTemporary(const struct stat* existing, std::string& error);
    bool CopyIntoTarget(std::string& error);

    std::vector<Protected> protected_;
    std::string path_;
    std::string target_;
    std::string temporary_;   // empty when writing directly
    bool keepLinks_ = false;  // the target has other hard links: rewrite it in place
    int fd_ = -1;
    OutputFailure failure_;
};
