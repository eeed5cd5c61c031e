#pragma once

#include <cstddef>
#include <cstdint>

// Bytes of a file seen through a read-only mapping rather than copied out of it. A file
// cut short underneath does not fault: the pages past its new end read as zeros (see
// MappedBytes.cpp), and faults() tells that it happened.
class MappedBytes {
public:
    MappedBytes() = default;
    ~MappedBytes() { Release(); }
    MappedBytes(const MappedBytes&) = delete;
    MappedBytes& operator=(const MappedBytes&) = delete;

    // Maps `length` bytes of the open file `fd` from `offset` (no more than the file holds
    // now); false, with nothing mapped, when the system will not.
    bool Map(int fd, std::int64_t offset, std::size_t length);
    void Release();

    const std::uint8_t* data() const { return data_; }
    std::size_t size() const { return size_; }

    // How many pages of any mapping were found cut short so far, in this process.
    static std::uint64_t faults();

private:
    void* base_ = nullptr;
    std::size_t mapped_ = 0;
    int slot_ = -1;
    const std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
};
