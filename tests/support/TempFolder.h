#pragma once

#include <string>

// A fresh, empty folder for one test, removed with everything in it when the object goes.
// Made under $TALVORA_TEST_TMP (set by CTest), else $TMPDIR, else /tmp.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // Empty when the folder could not be made.
    const std::string& Path() const { return path_; }
    // `name` inside the folder.
    std::string File(const std::string& name) const;

private:
    std::string path_;
};

// The whole content of a file; empty when it cannot be read.
std::string ReadFileBytes(const std::string& path);
// Writes `bytes` over the file at `path` in place (same inode, as cp or a restore does).
bool OverwriteFileBytes(const std::string& path, const std::string& bytes);
