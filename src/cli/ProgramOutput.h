#pragma once

#include <iosfwd>
#include <streambuf>
#include <vector>

// The standard output of the real program: written through its descriptor in large
// pieces, with the first write error kept, so that a full disk or /dev/full is reported
// instead of taken for success. Once a write failed, nothing more is written. A reader that
// went away (`| head -1`) ends the program quietly with status 0: it wanted nothing more.
class DescriptorOutput final : public std::streambuf {
public:
    explicit DescriptorOutput(int fd);
    ~DescriptorOutput() override = default;
    DescriptorOutput(const DescriptorOutput&) = delete;
    DescriptorOutput& operator=(const DescriptorOutput&) = delete;

    // Writes what is buffered and closes the descriptor; false when a byte was lost (the
    // errno is in error()).
    bool Finish();
    int error() const { return error_; }

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* s, std::streamsize n) override;
    int sync() override;

private:
    bool Drain();
    bool WriteAll(const char* p, std::size_t n);

    int fd_;
    int error_ = 0;
    std::vector<char> buffer_;
};

// SIGPIPE becomes a write error (see above); SIGINT, SIGTERM and SIGHUP remove the
// temporary file of an export in progress before they end the program as they would.
void InstallCliSignals();

// What main does after the command: the output flushed and closed, a lost byte reported on
// `err` with status 1 (unless the command failed already).
int FinishCliOutput(int status, std::ostream& out, DescriptorOutput& buffer, std::ostream& err);
