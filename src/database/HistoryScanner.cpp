#include "database/HistoryScanner.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <map>
#include <memory>
#include <optional>

#include "database/EventRecord.h"
#include "database/FileAccess.h"
#include "database/MessageDatabase.h"

namespace {

// The index header and its first entry, and the fixed fields of the first record (type,
// owner, direction, time stamp): what every copy of a history shares however far it goes on,
// and enough to tell two histories apart; cheap to read.
constexpr std::size_t kIndexPrint = 10 + 8;
constexpr std::size_t kDataPrint = 24;

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
}

bool EndsWithIgnoringCase(const std::string& name, const char* suffix) {
    const std::size_t length = std::strlen(suffix);
    if (name.size() <= length) {
        return false;
    }
    for (std::size_t i = 0; i < length; ++i) {
        if (Lower(name[name.size() - length + i]) != suffix[i]) {
            return false;
        }
    }
    return true;
}

// The UIN of "<uin>msg.idx" / "<uin>msg.dat" written as the messenger writes it (decimal,
// no sign, no leading zero), so that the folder and UIN open the same pair.
std::optional<std::int32_t> PairUin(const std::string& name, std::size_t suffixLength) {
    const std::size_t digits = name.size() - suffixLength;
    if (digits == 0 || digits > 10 || name[0] == '0') {
        return std::nullopt;
    }
    std::int64_t value = 0;
    for (std::size_t i = 0; i < digits; ++i) {
        if (name[i] < '0' || name[i] > '9') {
            return std::nullopt;
        }
        value = value * 10 + (name[i] - '0');
    }
    if (value > INT32_MAX) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

std::uint64_t Fnv(std::uint64_t hash, const std::uint8_t* bytes, std::size_t length) {
    for (std::size_t i = 0; i < length; ++i) {
        hash = (hash ^ bytes[i]) * 0x100000001B3ULL;
    }
    return hash;
}

// 0 when the index holds no entry: an empty pair is no one's copy.
std::uint64_t Fingerprint(const std::string& dataFile, const std::string& indexFile) {
    FileSystem& files = NativeFileSystem();
    std::unique_ptr<RandomAccessFile> index = files.OpenRead(indexFile);
    std::unique_ptr<RandomAccessFile> data = files.OpenRead(dataFile);
    if (!index || !data) {
        return 0;
    }
    std::array<std::uint8_t, kIndexPrint> head{};
    const std::int64_t got = ReadFully(*index, 0, head.data(), head.size());
    if (got < static_cast<std::int64_t>(kIndexPrint)) {
        return 0;
    }
    std::array<std::uint8_t, kDataPrint> record{};
    const std::int64_t gotData = ReadFully(*data, 0, record.data(), record.size());
    std::uint64_t hash = Fnv(0xCBF29CE484222325ULL, head.data(), static_cast<std::size_t>(got));
    hash = Fnv(hash, record.data(), gotData > 0 ? static_cast<std::size_t>(gotData) : 0);
    return hash == 0 ? 1 : hash;
}

std::string DateText(const std::tm& time) {
    std::array<char, 32> text{};
    const std::size_t length = std::strftime(text.data(), text.size(), "%Y-%m-%d", &time);
    return {text.data(), length};
}

const char* OpenErrorWords(OpenError error) {
    switch (error) {
        case OpenError::NotFound:
            return "a file of the pair is gone";
        case OpenError::PermissionDenied:
            return "a file of the pair may not be read";
        case OpenError::NotAHistory:
            return "a file of the pair is not a plain file";
        default:
            return "a file of the pair cannot be read";
    }
}

}  // namespace

HistoryScanner::HistoryScanner(const std::vector<std::string>& roots, int maxDepth)
    : maxDepth_(maxDepth) {
    // A stack: the first root is read first.
    for (auto root = roots.rbegin(); root != roots.rend(); ++root) {
        std::string path = *root;
        while (path.size() > 1 && path.back() == '/') {
            path.pop_back();
        }
        pending_.push_back({path.empty() ? std::string(".") : path, 0, true});
    }
}

bool HistoryScanner::Step(std::size_t folders) {
    for (std::size_t i = 0; i < folders && !pending_.empty(); ++i) {
        const Pending next = std::move(pending_.back());
        pending_.pop_back();
        ReadFolder(next);
    }
    return !pending_.empty();
}

void HistoryScanner::ReadFolder(const Pending& folder) {
    current_ = folder.path;
    // A root is taken as named (it may itself be a link, as /home often is); nothing below
    // it that is a link is followed.
    const int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC | (folder.root ? 0 : O_NOFOLLOW);
    const int fd = ::open(folder.path.c_str(), flags);
    if (fd < 0) {
        notes_.push_back({folder.path, std::strerror(errno)});
        return;
    }
    struct stat self {};
    if (::fstat(fd, &self) != 0 || !visited_.emplace(self.st_dev, self.st_ino).second) {
        ::close(fd);
        return;
    }
    DIR* dir = ::fdopendir(fd);
    if (dir == nullptr) {
        notes_.push_back({folder.path, std::strerror(errno)});
        ::close(fd);
        return;
    }
    ++foldersRead_;
    const std::string prefix = folder.path == "/" ? folder.path : folder.path + '/';
    std::map<std::int32_t, std::pair<std::string, std::string>> pairs;  // data, index
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        unsigned char type = entry->d_type;
        if (type == DT_UNKNOWN) {
            struct stat info {};
            if (::fstatat(::dirfd(dir), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) {
                continue;
            }
            type = S_ISDIR(info.st_mode) ? DT_DIR : (S_ISREG(info.st_mode) ? DT_REG : DT_LNK);
        }
        if (type == DT_DIR) {
            if (folder.depth < maxDepth_) {
                pending_.push_back({prefix + name, folder.depth + 1, false});
            }
        } else if (type == DT_REG) {
            const bool isIndex = EndsWithIgnoringCase(name, "msg.idx");
            if (isIndex || EndsWithIgnoringCase(name, "msg.dat")) {
                if (const std::optional<std::int32_t> uin = PairUin(name, 7)) {
                    auto& pair = pairs[*uin];
                    (isIndex ? pair.second : pair.first) = prefix + name;
                }
            }
        }
    }
    ::closedir(dir);
    for (const auto& [uin, files] : pairs) {
        if (!files.first.empty() && !files.second.empty()) {
            found_.push_back(Measure(folder.path, uin, files.first, files.second));
        }
    }
}

FoundHistory HistoryScanner::Measure(const std::string& folder, std::int32_t uin,
                                     const std::string& dataFile, const std::string& indexFile) {
    FoundHistory found;
    found.folder = folder;
    found.uin = uin;
    found.dataFile = dataFile;
    found.indexFile = indexFile;
    MessageDatabase db;
    const OpenResult opened = db.Open(dataFile, indexFile);
    if (!opened) {
        found.problem = OpenErrorWords(opened.error);
        return found;
    }
    found.opened = true;
    found.events = db.entryCount();
    found.fingerprint = Fingerprint(dataFile, indexFile);
    if (found.events == 0) {
        return found;
    }
    EventRecord first;
    EventRecord last;
    db.ReadEvent(ALL_MEMBERS, 0, first);
    db.ReadEvent(ALL_MEMBERS, found.events - 1, last);
    if (first.stampRead && last.stampRead) {
        found.dated = true;
        found.firstTime = first.timeValue;
        found.lastTime = last.timeValue;
        found.firstDate = DateText(first.time);
        found.lastDate = DateText(last.time);
    } else {
        found.problem = "the first or the last event cannot be read";
    }
    return found;
}

std::vector<FoundHistory> HistoryScanner::Arrange(std::vector<FoundHistory> histories) {
    std::sort(histories.begin(), histories.end(), [](const FoundHistory& a, const FoundHistory& b) {
        if (a.dated != b.dated) {
            return a.dated;
        }
        if (a.lastTime != b.lastTime) {
            return a.lastTime > b.lastTime;
        }
        if (a.events != b.events) {
            return a.events > b.events;
        }
        return a.folder != b.folder ? a.folder < b.folder : a.uin < b.uin;
    });
    std::vector<FoundHistory> arranged;
    arranged.reserve(histories.size());
    std::vector<bool> placed(histories.size(), false);
    for (std::size_t i = 0; i < histories.size(); ++i) {
        if (placed[i]) {
            continue;
        }
        placed[i] = true;
        arranged.push_back(histories[i]);
        if (histories[i].fingerprint == 0) {
            continue;
        }
        for (std::size_t j = i + 1; j < histories.size(); ++j) {
            if (!placed[j] && histories[j].uin == histories[i].uin &&
                histories[j].fingerprint == histories[i].fingerprint) {
                placed[j] = true;
                arranged.push_back(histories[j]);
                arranged.back().copyOf = histories[i].folder;
            }
        }
    }
    return arranged;
}
