#include "database/LargeMemory.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

namespace {

constexpr std::size_t kWorthIt = 256 * 1024;

}  // namespace

void PrepareForWriting(void* data, std::size_t bytes) {
    if (data == nullptr || bytes < kWorthIt) {
        return;
    }
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto begin = (reinterpret_cast<std::uintptr_t>(data) + page - 1) & ~(page - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(data) + bytes) & ~(page - 1);
    if (end <= begin) {
        return;
    }
    void* start = static_cast<char*>(data) + (begin - reinterpret_cast<std::uintptr_t>(data));
    const std::size_t length = end - begin;
#ifdef MADV_HUGEPAGE
    madvise(start, length, MADV_HUGEPAGE);
#endif
#ifdef MADV_POPULATE_WRITE
    madvise(start, length, MADV_POPULATE_WRITE);
#endif
}
