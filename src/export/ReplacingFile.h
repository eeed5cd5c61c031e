#pragma once

#include <string>
#include <string_view>

// A file written under a temporary name beside its target and renamed into place by
// Commit, so that a failed or interrupted write never leaves a file that looks complete.
// Dropping the object without a successful Commit removes the temporary file.
class ReplacingFile {
public:
    ReplacingFile() = default;
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // Each returns false with the reason in `error` ("cannot write PATH: reason").
    bool Open(const std::string& path, std::string& error);
    bool Write(std::string_view bytes, std::string& error);
    bool Commit(std::string& error);

private:
    bool Fail(std::string& error, int code);
    void Discard();

    std::string path_;
    std::string temporary_;
    int fd_ = -1;
};
