#include "cli/commands/FollowCommand.h"

#include <algorithm>
#include <csignal>
#include <ctime>
#include <memory>
#include <ostream>
#include <vector>

#include "cli/CliArgs.h"
#include "cli/ListCommands.h"
#include "cli/ListFormat.h"
#include "cli/ListLineWriter.h"
#include "database/MessageDatabase.h"
#include "document/HistoryDocument.h"
#include "export/ExportText.h"
#include "export/ExportWriter.h"
#include "text/ShiftJis.h"

namespace {

// Often enough that a new event shows within half a second, rarely enough to cost nothing.
constexpr long kPollNanoseconds = 150'000'000;

volatile std::sig_atomic_t stopRequested = 0;

extern "C" void RequestStop(int) {
    stopRequested = 1;
}

// Catches SIGINT and SIGTERM while it lives, so that the loop can end normally; without
// SA_RESTART the signal also cuts the sleep short.
class StopSignals {
public:
    StopSignals() {
        stopRequested = 0;
        struct sigaction action {};
        action.sa_handler = RequestStop;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, &previousInt_);
        sigaction(SIGTERM, &action, &previousTerm_);
    }
    ~StopSignals() {
        sigaction(SIGINT, &previousInt_, nullptr);
        sigaction(SIGTERM, &previousTerm_, nullptr);
    }
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    bool Stopped() const { return stopRequested != 0; }

private:
    struct sigaction previousInt_ {};
    struct sigaction previousTerm_ {};
};

// Turns member `key`'s new events into output: list lines, or JSON Lines as the export
// writes them.
class FollowPrinter {
public:
    FollowPrinter(MessageDatabase& db, std::int32_t key, bool jsonLines) : db_(db), key_(key) {
        if (jsonLines) {
            ExportOptions options;
            options.format = ExportFormat::JsonLines;
            json_ = MakeExportWriter(db, key, options);
        }
    }

    // Appends the events that the last pass took: the member's refs from entry `firstNew`
    // on, which are at the end of its list, oldest first.
    void AppendNewEvents(std::int32_t firstNew, std::string& out) {
        const std::vector<EventRef>& refs = db_.Refs(key_);
        std::size_t first = refs.size();
        while (first > 0 && refs[first - 1].entryNumber >= firstNew) {
            --first;
        }
        const auto count = static_cast<std::int32_t>(refs.size());
        for (std::size_t i = first; i < refs.size(); ++i) {
            const auto index = static_cast<std::int32_t>(i);
            if (json_) {
                const bool decoded = db_.ReadEvent(key_, index, record_);
                json_->Event(ExportEvent{record_, decoded, refs[i].entryNumber}, out);
            } else {
                AppendListRow(db_, key_, IndexToRow(count, index), record_, lines_, out);
                out += '\n';
            }
        }
    }

private:
    MessageDatabase& db_;
    std::int32_t key_;
    std::unique_ptr<ExportWriter> json_;
    EventRecord record_;
    ListLineWriter lines_;
};

constexpr CliOption kFollowOptions[] = {
    {"--format", nullptr, "NAME",
     "list (the default), jsonl (the export's JSON Lines) or sqlite (with -o FILE)"},
    {"--output", "-o", "FILE", "sqlite: the archive kept current"},
    {"--rebuild", nullptr, nullptr,
     "sqlite: write the archive anew at the start and after a rewrite of the history"},
};

// Keeps member `key`'s SQLite archive current: what each pass takes is added to it. A
// history rewritten underneath no longer matches the archive; only with `rebuild` is the
// archive then written anew, otherwise the command ends with the refusal.
class ArchiveKeeper {
public:
    ArchiveKeeper(CliContext& context, HistoryDocument& document, std::int32_t key,
                  std::string path, bool rebuild)
        : context_(context),
          document_(document),
          key_(key),
          path_(std::move(path)),
          rebuild_(rebuild) {
        Update(rebuild);
        QObject::connect(&document, &HistoryDocument::appended,
                         [this](const HistoryChange&) { Update(false); });
        QObject::connect(&document, &HistoryDocument::reopened, [this] {
            context_.err << "talvora-cli: the history changed underneath; it was reloaded\n"
                         << std::flush;
            Update(false);
        });
    }

    bool failed() const { return failed_; }

private:
    void Update(bool anew) {
        MessageDatabase& db = document_.database();
        ExportOptions options;
        options.format = ExportFormat::Sqlite;
        options.owner = OwnerFromDataFile(db.dataPath());
        options.rebuild = anew;
        ExportResult result =
            ExportToFile(db, key_, RowSelection::All(), options, path_, {context_.settingsPath});
        if (!result.ok && !anew && rebuild_ &&
            result.failure.kind == OutputFailure::Kind::OtherHistory) {
            context_.err << "talvora-cli: the history was rewritten; the archive is written "
                            "anew\n";
            options.rebuild = true;
            result = ExportToFile(db, key_, RowSelection::All(), options, path_,
                                  {context_.settingsPath});
        }
        if (!result.ok) {
            context_.err << "talvora-cli: " << result.error << '\n' << std::flush;
            failed_ = true;
            return;
        }
        if (result.added > 0 || !started_) {
            context_.out << result.added << (result.added == 1 ? " event" : " events")
                         << " added to " << path_ << '\n'
                         << std::flush;
        }
        started_ = true;
    }

    CliContext& context_;
    HistoryDocument& document_;
    std::int32_t key_;
    std::string path_;
    bool rebuild_;
    bool started_ = false;
    bool failed_ = false;
};

// The data offset of every entry taken, in index order.
std::vector<std::int32_t> EntryOffsets(MessageDatabase& db) {
    std::vector<std::int32_t> offsets;
    for (const EventRef& ref : db.Refs(ALL_MEMBERS)) {
        offsets.push_back(ref.dataOffset);
    }
    return offsets;
}

// Follows one history through appends, replacements and absences, as the window does: the
// history document's live check decides what happened, and each event is printed once.
class Follower {
public:
    Follower(CliContext& context, HistoryDocument& document, std::int32_t key, bool jsonLines)
        : context_(context), document_(document), key_(key), jsonLines_(jsonLines) {
        Restart();
        QObject::connect(&document, &HistoryDocument::appended,
                         [this](const HistoryChange& change) { Print(change.firstNewEntry); });
        QObject::connect(&document, &HistoryDocument::reopened, [this] { Reopened(); });
        QObject::connect(&document, &HistoryDocument::closed, [this] {
            context_.err << "talvora-cli: the history is gone; waiting for it to come back\n"
                         << std::flush;
        });
    }

private:
    void Restart() {
        printer_ = std::make_unique<FollowPrinter>(document_.database(), key_, jsonLines_);
        printed_ = EntryOffsets(document_.database());
    }

    // A history that goes on from the one read before (a newer copy of it) is printed from
    // where that one stood; any other history counts as read, and only what is appended to
    // it later is printed.
    void Reopened() {
        context_.err << "talvora-cli: the history changed underneath; it was reloaded\n";
        MessageDatabase& db = document_.database();
        const std::vector<std::int32_t> now = EntryOffsets(db);
        const bool goesOn = now.size() >= printed_.size() &&
                            std::equal(printed_.begin(), printed_.end(), now.begin());
        if (!goesOn) {
            context_.err << "talvora-cli: another history is there now; only its new events "
                            "follow\n";
        }
        context_.err << std::flush;
        const auto firstNew = static_cast<std::int32_t>(goesOn ? printed_.size() : now.size());
        Restart();
        Print(firstNew);
    }

    void Print(std::int32_t firstNew) {
        printer_->AppendNewEvents(firstNew, out_);
        const std::vector<EventRef>& all = document_.database().Refs(ALL_MEMBERS);
        for (std::size_t i = printed_.size(); i < all.size(); ++i) {
            printed_.push_back(all[i].dataOffset);
        }
        if (!out_.empty()) {
            FlushOutput(context_, out_, true);
        }
    }

    CliContext& context_;
    HistoryDocument& document_;
    std::int32_t key_;
    bool jsonLines_;
    std::unique_ptr<FollowPrinter> printer_;
    std::vector<std::int32_t> printed_;  // the data offsets of the entries seen so far
    std::string out_;
};

int RunFollow(CliContext& context, const CliArgs& args) {
    std::int32_t key = 0;
    if (!ParseKeyArgument(context, args.positionals(), "follow", key)) {
        return kExitUsage;
    }
    const std::string format = args.Value("--format").value_or("list");
    if (format != "list" && format != "jsonl" && format != "sqlite") {
        return UsageError(context, "unknown follow format " + format + " (list, jsonl or sqlite)");
    }
    const auto path = args.Value("--output");
    if ((format == "sqlite") != (path.has_value() || args.Has("--rebuild"))) {
        return UsageError(context, format == "sqlite"
                                       ? "follow --format sqlite needs the archive: -o FILE"
                                       : "-o and --rebuild are for --format sqlite");
    }
    if (path && (path->empty() || *path == "-")) {
        return UsageError(context, "the sqlite format writes a file: it needs -o FILE");
    }
    // A document of its own, with the live check's waits; the table read for the command
    // line goes first.
    context.db->Close();
    HistoryDocument document(*context.settings);
    if (!document.Open(*context.location)) {
        context.err << "talvora-cli: the history cannot be opened again\n";
        return kExitFailure;
    }
    StopSignals stopSignals;
    std::unique_ptr<Follower> follower;
    std::unique_ptr<ArchiveKeeper> keeper;
    if (path) {
        keeper =
            std::make_unique<ArchiveKeeper>(context, document, key, *path, args.Has("--rebuild"));
    } else {
        follower = std::make_unique<Follower>(context, document, key, format == "jsonl");
    }
    // A failed write ends the command (the program reports it).
    while (!stopSignals.Stopped() && context.out && !(keeper && keeper->failed())) {
        // An entry is printed once it is written whole, and once; a history replaced or
        // gone is opened again when it holds together.
        document.Check();
        struct timespec pause {
            0, kPollNanoseconds
        };
        nanosleep(&pause, nullptr);
    }
    return context.out && !(keeper && keeper->failed()) ? kExitOk : kExitFailure;
}

}  // namespace

const CliCommand& FollowCommand() {
    static const CliCommand command{
        "follow",  "KEY", "member KEY's new events as they arrive, until interrupted",
        RunFollow, true,  kFollowOptions};
    return command;
}
