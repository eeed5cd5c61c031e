#include "database/MappedBytes.h"

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <mutex>

namespace {

// The mappings alive, where the bus-error handler can see them without locks.
constexpr int kSlots = 32;
struct Region {
    std::atomic<std::uintptr_t> begin{0};
    std::atomic<std::uintptr_t> end{0};
};
Region regions[kSlots];
std::atomic<std::uint64_t> cutShortPages{0};
std::uintptr_t pageSize = 4096;
struct sigaction previous {};

// A read past the end of a file that shrank after it was mapped raises SIGBUS. When the
// address lies in one of our mappings, that page is replaced by zeros and the read goes
// on; anything else is the previous handler's (or ends the program, as it would have).
extern "C" void OnBusError(int sig, siginfo_t* info, void* context) {
    const auto address = reinterpret_cast<std::uintptr_t>(info->si_addr);
    for (Region& region : regions) {
        if (address >= region.begin.load(std::memory_order_acquire) &&
            address < region.end.load(std::memory_order_acquire)) {
            void* page = static_cast<char*>(info->si_addr) - (address & (pageSize - 1));
            if (::mmap(page, pageSize, PROT_READ, MAP_FIXED | MAP_PRIVATE | MAP_ANONYMOUS, -1, 0) !=
                MAP_FAILED) {
                cutShortPages.fetch_add(1, std::memory_order_relaxed);
                return;
            }
            break;
        }
    }
    if ((previous.sa_flags & SA_SIGINFO) != 0 && previous.sa_sigaction != nullptr) {
        previous.sa_sigaction(sig, info, context);
        return;
    }
    if (previous.sa_handler != SIG_DFL && previous.sa_handler != SIG_IGN &&
        previous.sa_handler != nullptr) {
        previous.sa_handler(sig);
        return;
    }
    // The fault comes back on return, and ends the program.
    std::signal(sig, SIG_DFL);
}

void InstallHandlerOnce() {
    static std::once_flag once;
    std::call_once(once, [] {
        pageSize = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
        struct sigaction action {};
        action.sa_sigaction = OnBusError;
        action.sa_flags = SA_SIGINFO | SA_NODEFER;
        sigemptyset(&action.sa_mask);
        ::sigaction(SIGBUS, &action, &previous);
    });
}

int TakeSlot(std::uintptr_t begin, std::uintptr_t end) {
    for (int i = 0; i < kSlots; ++i) {
        // The beginning first: a slot whose end is still 0 matches no address.
        std::uintptr_t free = 0;
        if (regions[i].begin.compare_exchange_strong(free, begin)) {
            regions[i].end.store(end, std::memory_order_release);
            return i;
        }
    }
    return -1;
}

}  // namespace

bool MappedBytes::Map(int fd, std::int64_t offset, std::size_t length) {
    Release();
    struct stat st {};
    if (fd < 0 || offset < 0 || ::fstat(fd, &st) != 0 || st.st_size <= offset) {
        return false;
    }
    InstallHandlerOnce();
    const auto available = static_cast<std::uint64_t>(st.st_size - offset);
    const std::size_t wanted = available < length ? static_cast<std::size_t>(available) : length;
    const std::int64_t start = offset & ~static_cast<std::int64_t>(pageSize - 1);
    const std::size_t lead = static_cast<std::size_t>(offset - start);
    const std::size_t mapped = lead + wanted;
    void* base = ::mmap(nullptr, mapped, PROT_READ, MAP_SHARED | MAP_POPULATE, fd, start);
    if (base == MAP_FAILED) {
        return false;
    }
    const auto begin = reinterpret_cast<std::uintptr_t>(base);
    // Whole pages: the bytes of the last page past the mapped length belong to it too.
    const int slot = TakeSlot(begin, begin + ((mapped + pageSize - 1) & ~(pageSize - 1)));
    if (slot < 0) {
        ::munmap(base, mapped);
        return false;  // too many at once: the caller reads instead
    }
    base_ = base;
    mapped_ = mapped;
    slot_ = slot;
    data_ = static_cast<const std::uint8_t*>(base) + lead;
    size_ = wanted;
    return true;
}

void MappedBytes::Release() {
    if (base_ == nullptr) {
        return;
    }
    regions[slot_].end.store(0, std::memory_order_release);
    regions[slot_].begin.store(0, std::memory_order_release);
    ::munmap(base_, mapped_);
    base_ = nullptr;
    mapped_ = 0;
    slot_ = -1;
    data_ = nullptr;
    size_ = 0;
}

std::uint64_t MappedBytes::faults() {
    return cutShortPages.load(std::memory_order_relaxed);
}
