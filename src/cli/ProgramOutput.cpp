#include "cli/ProgramOutput.h"

#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ostream>

#include "cli/CliApp.h"
#include "export/TemporaryFiles.h"

namespace {

constexpr std::size_t kBufferSize = 64 * 1024;

extern "C" void OnFatalSignal(int sig) {
    RemoveTemporaryFilesNow();
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}

}  // namespace

DescriptorOutput::DescriptorOutput(int fd) : fd_(fd), buffer_(kBufferSize) {
    setp(buffer_.data(), buffer_.data() + buffer_.size());
}

bool DescriptorOutput::WriteAll(const char* p, std::size_t n) {
    while (n > 0 && error_ == 0) {
        const ssize_t written = ::write(fd_, p, n);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            if (errno == EPIPE) {
                std::_Exit(kExitOk);
            }
            error_ = errno;
            break;
        }
        p += written;
        n -= static_cast<std::size_t>(written);
    }
    return error_ == 0;
}

bool DescriptorOutput::Drain() {
    const std::size_t n = static_cast<std::size_t>(pptr() - pbase());
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    return WriteAll(buffer_.data(), n);
}

DescriptorOutput::int_type DescriptorOutput::overflow(int_type c) {
    if (!Drain()) {
        return traits_type::eof();
    }
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
    }
    return traits_type::not_eof(c);
}

std::streamsize DescriptorOutput::xsputn(const char* s, std::streamsize n) {
    const auto size = static_cast<std::size_t>(n);
    if (size <= static_cast<std::size_t>(epptr() - pptr())) {
        std::memcpy(pptr(), s, size);
        pbump(static_cast<int>(n));
        return n;
    }
    // A large piece goes out as it is, after what was buffered before it.
    if (!Drain() || !WriteAll(s, size)) {
        return 0;
    }
    return n;
}

int DescriptorOutput::sync() {
    return Drain() ? 0 : -1;
}

bool DescriptorOutput::Finish() {
    const bool drained = Drain();
    if (fd_ >= 0 && ::close(fd_) != 0 && error_ == 0 && errno != EINTR) {
        error_ = errno;
    }
    fd_ = -1;
    return drained && error_ == 0;
}

void InstallCliSignals() {
    std::signal(SIGPIPE, SIG_IGN);
    for (const int sig : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction action {};
        action.sa_handler = OnFatalSignal;
        sigemptyset(&action.sa_mask);
        struct sigaction before {};
        // A signal the caller ignores (a background job's SIGINT) stays ignored.
        if (::sigaction(sig, nullptr, &before) == 0 && before.sa_handler != SIG_IGN) {
            ::sigaction(sig, &action, nullptr);
        }
    }
}

int FinishCliOutput(int status, std::ostream& out, DescriptorOutput& buffer, std::ostream& err) {
    out.flush();
    if (buffer.Finish()) {
        return status;
    }
    err << "talvora-cli: cannot write standard output: " << std::strerror(buffer.error()) << '\n';
    return status == kExitOk ? kExitFailure : status;
}
