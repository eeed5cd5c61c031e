#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>

#include "export/ExportOutput.h"

// The output file of an export. A regular file (new, or existing, also behind a symbolic
// link) is written under a temporary name beside it and renamed into place by Commit, so
// that a failed write leaves the old file as it was; an existing file keeps its mode and,
// where allowed, its owner. Anything else that is already there (a FIFO, a terminal,
// /dev/stdout) is written directly, never replaced. Dropping the object without a
// successful Commit removes the temporary file.
class ReplacingFile final : public ExportOutput {
public:
    ReplacingFile() = default;
    ~ReplacingFile() override;
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // Each returns false with the reason in `error` ("cannot write PATH: reason").
    bool Open(const std::string& path, std::string& error);
    bool Write(std::string_view bytes, std::string& error) override;
    bool Commit(std::string& error);

    // The file the bytes end up in: `path` with its symbolic links followed.
    const std::string& target() const { return target_; }

private:
    bool Fail(std::string& error, int code);
    void Discard();
    bool OpenDirect(int flags, std::string& error);
    bool OpenTemporary(const struct stat* existing, std::string& error);

    std::string path_;
    std::string target_;
    std::string temporary_;  // empty when writing directly
    int fd_ = -1;
};
