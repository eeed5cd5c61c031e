#pragma once

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

// A history pair found by a scan, measured by its index pass and its first and last events.
struct FoundHistory {
    std::string folder;
    std::int32_t uin = 0;
    std::string dataFile;
    std::string indexFile;
    bool opened = false;      // the pair could be opened and its index read
    std::int32_t events = 0;  // entries of the index pass
    bool dated = false;       // the first and last events' time stamps could be read
    std::int64_t firstTime = 0;
    std::int64_t lastTime = 0;
    std::string firstDate;  // YYYY-MM-DD in the local zone; empty when not dated
    std::string lastDate;
    std::string problem;  // what could not be read (English); empty for a sound pair
    // The first index entries and the first record's bytes, hashed: pairs of one UIN with
    // the same fingerprint are copies of one history.
    std::uint64_t fingerprint = 0;
    // The folder of the newest copy of the same history; empty when this one is not a copy.
    std::string copyOf;
};

// A folder the scan could not read, and why.
struct ScanNote {
    std::string folder;
    std::string reason;
};

// Walks folder trees for <uin>msg.idx / <uin>msg.dat pairs (letter case ignored) in steps,
// so that a caller can show progress and stop between them. Read-only: folders and files are
// opened for reading only; symbolic links below the roots are never followed and a folder
// met twice (a bind mount) is read once, so the walk always ends.
class HistoryScanner {
public:
    static constexpr int kDefaultDepth = 12;

    explicit HistoryScanner(const std::vector<std::string>& roots, int maxDepth = kDefaultDepth);

    // Reads up to `folders` folders (and measures the pairs found in them); false once the
    // whole walk is done.
    bool Step(std::size_t folders);
    bool done() const { return pending_.empty(); }

    std::size_t foldersRead() const { return foldersRead_; }
    const std::string& currentFolder() const { return current_; }
    // Every pair found so far, in the order found.
    const std::vector<FoundHistory>& found() const { return found_; }
    // The notes of unreadable folders since the last call.
    std::vector<ScanNote> TakeNotes() { return std::exchange(notes_, {}); }

    // Newest last date first (undated ones last), each history's copies right after it with
    // copyOf set.
    static std::vector<FoundHistory> Arrange(std::vector<FoundHistory> histories);
    // Measures one pair: the index pass, the first and last events, the fingerprint.
    static FoundHistory Measure(const std::string& folder, std::int32_t uin,
                                const std::string& dataFile, const std::string& indexFile);

private:
    struct Pending {
        std::string path;
        int depth = 0;
        bool root = false;
    };
    void ReadFolder(const Pending& folder);

    std::vector<Pending> pending_;
    std::set<std::pair<std::uint64_t, std::uint64_t>> visited_;
    int maxDepth_;
    std::size_t foldersRead_ = 0;
    std::string current_;
    std::vector<FoundHistory> found_;
    std::vector<ScanNote> notes_;
};
