#include "export/TemporaryFiles.h"

#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstring>

namespace {

// Exports run one at a time; a few slots leave room for a test or a tool that nests them.
constexpr int kSlots = 8;
constexpr std::size_t kPathBytes = 4096;

struct Slot {
    char path[kPathBytes];
    volatile std::sig_atomic_t used;
};

Slot slots[kSlots];
volatile std::sig_atomic_t interrupted = 0;

}  // namespace

void NoteTemporaryFile(const std::string& path) {
    if (path.size() >= kPathBytes) {
        return;
    }
    for (Slot& slot : slots) {
        if (slot.used == 0) {
            std::memcpy(slot.path, path.c_str(), path.size() + 1);
            // The name is whole before a handler may look at it.
            std::atomic_signal_fence(std::memory_order_release);
            slot.used = 1;
            return;
        }
    }
}

void ForgetTemporaryFile(const std::string& path) {
    for (Slot& slot : slots) {
        if (slot.used != 0 && path == slot.path) {
            slot.used = 0;
            return;
        }
    }
}

void RemoveTemporaryFilesNow() {
    for (Slot& slot : slots) {
        if (slot.used != 0) {
            std::atomic_signal_fence(std::memory_order_acquire);
            ::unlink(slot.path);
        }
    }
}

void InterruptWrites() {
    interrupted = 1;
}

bool WritesInterrupted() {
    return interrupted != 0;
}

void ResumeWrites() {
    interrupted = 0;
}
