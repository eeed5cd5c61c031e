#include "cli/commands/DetectCommand.h"

#include <unistd.h>
#include <QFile>

#include <chrono>
#include <ostream>

#include "cli/CliArgs.h"
#include "database/HistoryScanner.h"
#include "database/LocalTime.h"
#include "settings/VelmuSettings.h"

namespace {

constexpr CliOption kDetectOptions[] = {
    {"--scan", nullptr, nullptr, "walk the folders named (DIR...) for history pairs instead"},
    {"--depth", nullptr, "N", "with --scan: how many folder levels to go down (default 12)"},
};

std::string Dash(const std::string& text) {
    return text.empty() ? std::string("-") : text;
}

// One line per pair, newest last date first; a copy as `copy-of FOLDER` under the newest.
void PrintFound(std::ostream& out, const std::vector<FoundHistory>& found) {
    for (const FoundHistory& history : found) {
        if (!history.copyOf.empty()) {
            out << "copy-of\t" << history.folder << '\n';
            continue;
        }
        out << "history\t" << history.folder << '\t' << history.uin << '\t' << history.events
            << '\t' << Dash(history.firstDate) << '\t' << Dash(history.lastDate) << '\n';
    }
}

int RunScan(CliContext& context, const CliArgs& args) {
    if (args.positionals().empty()) {
        return UsageError(context, "detect --scan needs the folders to walk (DIR...)");
    }
    int depth = HistoryScanner::kDefaultDepth;
    if (const std::optional<std::string> text = args.Value("--depth")) {
        const std::optional<std::int32_t> value = ParseInt32(*text);
        if (!value || *value < 0 || *value > 1000) {
            return UsageError(context, "not a folder depth (0 to 1000): " + *text);
        }
        depth = *value;
    }
    InitTimeZone();
    HistoryScanner scanner(args.positionals(), depth);
    // The progress line only on a terminal, and at most a few times a second.
    const bool terminal = ::isatty(STDERR_FILENO) == 1;
    auto shown = std::chrono::steady_clock::now();
    bool progress = false;
    for (bool more = true; more;) {
        more = scanner.Step(64);
        for (const ScanNote& note : scanner.TakeNotes()) {
            context.err << (progress ? "\r\033[K" : "") << "talvora-cli: skipped " << note.folder
                        << ": " << note.reason << '\n';
            progress = false;
        }
        const auto now = std::chrono::steady_clock::now();
        if (terminal && more && now - shown > std::chrono::milliseconds(200)) {
            shown = now;
            progress = true;
            context.err << "\r\033[Kscanning: " << scanner.foldersRead() << " folders, "
                        << scanner.found().size() << " histories" << std::flush;
        }
    }
    if (progress) {
        context.err << "\r\033[K" << std::flush;
    }
    const std::vector<FoundHistory> found = HistoryScanner::Arrange(scanner.found());
    PrintFound(context.out, found);
    for (const FoundHistory& history : found) {
        if (!history.problem.empty()) {
            context.err << "talvora-cli: " << history.indexFile << ": " << history.problem << '\n';
        }
    }
    context.out.flush();
    return kExitOk;
}

int RunDetect(CliContext& context, const CliArgs& args) {
    if (args.Has("--scan")) {
        return RunScan(context, args);
    }
    if (args.Has("--depth")) {
        return UsageError(context, "--depth goes with --scan");
    }
    if (!args.positionals().empty()) {
        return UsageError(context, "detect takes no arguments");
    }
    const VelmuSettings found = ReadVelmuSettings();
    if (!found.ok) {
        context.err << "talvora-cli: cannot read the messenger's settings: "
                    << found.reason.toStdString() << '\n';
        return kExitFailure;
    }
    if (!found.folder && !found.uin) {
        const std::string where = QFile::encodeName(found.source).toStdString();
        context.err << "talvora-cli: found no settings of the messenger in " << where
                    << (QFile::exists(found.source)
                            ? "\n"
                            : " (there is no such file: no Wine prefix there; WINEPREFIX names "
                              "another)\n");
        return kExitFailure;
    }
    if (found.folder) {
        context.out << "folder\t" << QFile::encodeName(*found.folder).toStdString() << '\n';
    }
    if (found.uin) {
        context.out << "uin\t" << *found.uin << '\n';
    }
    context.out.flush();
    return kExitOk;
}

}  // namespace

const CliCommand& DetectCommand() {
    static const CliCommand command{"detect",
                                    "[--scan DIR...]",
                                    "the history folder and owner UIN the messenger uses",
                                    RunDetect,
                                    false,
                                    kDetectOptions};
    return command;
}
