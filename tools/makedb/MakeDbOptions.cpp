#include "makedb/MakeDbOptions.h"

#include "historywriter/HistoryWriter.h"

#include <charconv>
#include <limits>

namespace {

constexpr std::string_view kUsage =
    R"(Usage: talvora-makedb (--folder DIR --uin N | --data FILE --index FILE) [options]

Writes a history pair (<uin>msg.dat and <uin>msg.idx) for tests, benchmarks and demos.

Where:
  --folder DIR        folder of the pair; with --uin N the files are DIR/<N>msg.dat
  --uin N             and DIR/<N>msg.idx
  --data FILE         the data file, given directly
  --index FILE        the index file, given directly

What (a new pair replaces existing files):
  --events N          number of events (default 1000; about 5000 with --demo)
  --members M         number of members (default 20; not with --demo)
  --text-bytes B      average text length in bytes (default 60; not with --demo)
  --years Y           spread the events over the Y years before the end (default 2,
                      at most 60; not with --demo)
  --seed S            seed; the same seed gives the same history (default 1)
  --now T             end the history at time stamp T instead of the current time
  --demo              a believable two-year history with every event type
  --settings FILE     with --demo: also write a viewer settings file for the pair

Live:
  --append N          append N events to an existing pair, one at a time, as the
                      messenger does while it runs
  --interval T        milliseconds between appended events (default 1000)
  --quiet             print nothing per appended event

  --help              show this text

Exit status: 0 done, 1 I/O error, 2 usage error.
)";

constexpr std::string_view kValueOptions[] = {
    "--folder", "--uin",      "--data",   "--index",    "--events",     "--members", "--seed",
    "--now",    "--settings", "--append", "--interval", "--text-bytes", "--years"};

bool TakesValue(std::string_view name) {
    for (std::string_view known : kValueOptions) {
        if (name == known) {
            return true;
        }
    }
    return false;
}

template <typename T>
bool ParseNumber(std::string_view text, T& out, T low, T high) {
    T value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high) {
        return false;
    }
    out = value;
    return true;
}

class Parser {
public:
    explicit Parser(const std::vector<std::string_view>& args) : args_(args) {}
    ParsedOptions Run();

private:
    bool Option(std::string_view name, std::string_view value);
    bool Check();
    bool Fail(std::string message) {
        error_ = std::move(message);
        return false;
    }
    template <typename T>
    bool Number(std::string_view name, std::string_view value, T& out, T low, T high) {
        if (!ParseNumber(value, out, low, high)) {
            return Fail("invalid value for " + std::string(name) + ": " + std::string(value));
        }
        return true;
    }

    const std::vector<std::string_view>& args_;
    MakeDbOptions options_;
    std::string error_;
    bool seenYears_ = false;
};

bool Parser::Option(std::string_view name, std::string_view value) {
    constexpr auto kInt64Max = std::numeric_limits<std::int64_t>::max();
    constexpr auto kInt32Max = std::numeric_limits<std::int32_t>::max();
    std::int64_t number = 0;
    if (name == "--folder") {
        options_.folder = value;
    } else if (name == "--uin") {
        std::int32_t uin = 0;
        if (!Number(name, value, uin, std::numeric_limits<std::int32_t>::min(), kInt32Max)) {
            return false;
        }
        options_.uin = uin;
    } else if (name == "--data") {
        options_.dataPath = value;
    } else if (name == "--index") {
        options_.indexPath = value;
    } else if (name == "--events") {
        if (!Number(name, value, number, std::int64_t{0}, std::int64_t{kInt32Max})) {
            return false;
        }
        options_.events = number;
    } else if (name == "--members") {
        return Number(name, value, options_.members, 1, 1000000);
    } else if (name == "--text-bytes") {
        return Number(name, value, options_.textBytes, 0, 65000);
    } else if (name == "--years") {
        seenYears_ = true;
        return Number(name, value, options_.years, 1, 60);
    } else if (name == "--seed") {
        return Number(name, value, options_.seed, std::uint64_t{0},
                      std::numeric_limits<std::uint64_t>::max());
    } else if (name == "--now") {
        if (!Number(name, value, number, std::int64_t{0}, std::int64_t{kInt32Max})) {
            return false;
        }
        options_.now = number;
    } else if (name == "--settings") {
        options_.settingsPath = value;
    } else if (name == "--append") {
        if (!Number(name, value, number, std::int64_t{0}, kInt64Max)) {
            return false;
        }
        options_.append = number;
    } else if (name == "--interval") {
        return Number(name, value, options_.intervalMs, std::int64_t{0}, std::int64_t{86400000});
    }
    return true;
}

bool Parser::Check() {
    const bool byFolder = !options_.folder.empty() || options_.uin.has_value();
    const bool byPaths = !options_.dataPath.empty() || !options_.indexPath.empty();
    if (byFolder && byPaths) {
        return Fail("give either --folder and --uin or --data and --index, not both");
    }
    if (byFolder) {
        if (options_.folder.empty() || !options_.uin) {
            return Fail("--folder and --uin go together");
        }
        const HistoryPaths paths = HistoryPathsFor(options_.folder, *options_.uin);
        options_.dataPath = paths.data;
        options_.indexPath = paths.index;
    } else if (options_.dataPath.empty() || options_.indexPath.empty()) {
        return Fail(byPaths ? "--data and --index go together"
                            : "no pair given: use --folder and --uin, or --data and --index");
    }
    if (options_.demo && seenYears_) {
        return Fail("--years does not go with --demo");
    }
    if (options_.append && (options_.demo || options_.events)) {
        return Fail("--append adds to an existing pair; it does not go with --demo or --events");
    }
    if (!options_.settingsPath.empty() && !options_.demo) {
        return Fail("--settings goes with --demo");
    }
    return true;
}

ParsedOptions Parser::Run() {
    for (std::size_t i = 0; i < args_.size(); ++i) {
        const std::string_view arg = args_[i];
        if (arg == "--help" || arg == "-h") {
            options_.help = true;
            return {options_, {}};
        }
        if (arg == "--demo" || arg == "--quiet") {
            (arg == "--demo" ? options_.demo : options_.quiet) = true;
            continue;
        }
        std::string_view name = arg;
        std::string_view value;
        const auto equals = arg.find('=');
        if (equals != std::string_view::npos) {
            name = arg.substr(0, equals);
            value = arg.substr(equals + 1);
        }
        if (!TakesValue(name)) {
            Fail(arg.substr(0, 2) == "--" ? "unknown option: " + std::string(name)
                                          : "unexpected argument: " + std::string(arg));
            return {std::nullopt, error_};
        }
        if (equals == std::string_view::npos) {
            if (i + 1 == args_.size()) {
                Fail("missing value for " + std::string(arg));
                return {std::nullopt, error_};
            }
            value = args_[++i];
        }
        if (!Option(name, value)) {
            return {std::nullopt, error_};
        }
    }
    if (!Check()) {
        return {std::nullopt, error_};
    }
    return {options_, {}};
}

}  // namespace

ParsedOptions ParseMakeDbOptions(const std::vector<std::string_view>& args) {
    return Parser(args).Run();
}

std::string_view MakeDbUsage() {
    return kUsage;
}
